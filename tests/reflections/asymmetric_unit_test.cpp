// The class rules of the reciprocal asymmetric unit, the dispatcher on the
// space-group number and the report of write_asu.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "support/hand_built_groups.hpp"
#include "reflections/reflct_util.hpp"

namespace {

using namespace vorn_reflections_utilities;

constexpr Hkl zero{0, 0, 0};

TEST(AsymmetricUnit, ClassRulesReturnTheNormalisedFormOrZero) {
    // Triclinic: normalised on l, h, k.
    EXPECT_EQ(asu_hkl_triclinic({1, -2, 0}), (Hkl{1, -2, 0}));
    EXPECT_EQ(asu_hkl_triclinic({-1, 2, 0}), (Hkl{1, -2, 0}));
    EXPECT_EQ(asu_hkl_triclinic({0, -3, 0}), (Hkl{0, 3, 0}));
    EXPECT_EQ(asu_hkl_triclinic({2, 5, -1}), (Hkl{-2, -5, 1}));
    // Monoclinic, unique axis b (also the default and a blank axis).
    EXPECT_EQ(asu_hkl_monoclinic({-1, 2, 0}), zero);
    EXPECT_EQ(asu_hkl_monoclinic({1, -2, 0}, "b"), zero);
    EXPECT_EQ(asu_hkl_monoclinic({1, 2, 0}, " "), (Hkl{1, 2, 0}));
    EXPECT_EQ(asu_hkl_monoclinic({-3, 0, 0}), (Hkl{3, 0, 0}));
    EXPECT_EQ(asu_hkl_monoclinic({-1, -2, -3}), (Hkl{1, 2, 3}));
    EXPECT_EQ(asu_hkl_monoclinic({1, -2, 3}), zero);
    // Unique axis a: the 0kl plane keeps l > 0, or l = 0 and k >= 0.
    EXPECT_EQ(asu_hkl_monoclinic({0, -1, 2}, "a"), (Hkl{0, -1, 2}));
    EXPECT_EQ(asu_hkl_monoclinic({0, 1, -2}, "a"), (Hkl{0, -1, 2}));
    EXPECT_EQ(asu_hkl_monoclinic({0, -1, 0}, "a"), (Hkl{0, 1, 0}));
    EXPECT_EQ(asu_hkl_monoclinic({1, 2, 0}, "a"), (Hkl{1, 2, 0}));
    EXPECT_EQ(asu_hkl_monoclinic({1, -2, 0}, "a"), zero);
    EXPECT_EQ(asu_hkl_monoclinic({1, -2, 1}, "a"), (Hkl{1, -2, 1}));
    // Unique axis c, the axis text adjusted and lower-cased; unknown letters.
    EXPECT_EQ(asu_hkl_monoclinic({1, -2, 3}, "  C"), asu_hkl_monoclinic({1, -2, 3}, "c"));
    EXPECT_EQ(asu_hkl_monoclinic({-1, 2, 3}, "c"), (Hkl{-1, 2, 3}));
    EXPECT_EQ(asu_hkl_monoclinic({1, 2, 3}, "x"), zero);
    // Orthorhombic.
    EXPECT_EQ(asu_hkl_orthorhombic({-1, -2, -3}), (Hkl{1, 2, 3}));
    EXPECT_EQ(asu_hkl_orthorhombic({1, -2, 3}), zero);
    // Tetragonal.
    EXPECT_EQ(asu_hkl_tetragonal({2, 1, 3}, " 4/MMM"), (Hkl{2, 1, 3}));
    EXPECT_EQ(asu_hkl_tetragonal({2, 1, 3}, "    "), zero);
    EXPECT_EQ(asu_hkl_tetragonal({2, 1, 3}, "4/mm"), zero);
    EXPECT_EQ(asu_hkl_tetragonal({0, 2, 1}, "4/m"), (Hkl{0, 2, 1}));
    EXPECT_EQ(asu_hkl_tetragonal({2, 0, 1}, "4/m"), zero);
    EXPECT_EQ(asu_hkl_tetragonal({-2, -1, -1}, "4/m"), (Hkl{2, 1, 1}));
    // Trigonal: the text is cut to 4 characters.
    EXPECT_EQ(asu_hkl_trigonal({0, 0, -2}, "-3"), (Hkl{0, 0, 2}));
    EXPECT_EQ(asu_hkl_trigonal({2, -1, 1}, "-3"), (Hkl{2, -1, 1}));
    EXPECT_EQ(asu_hkl_trigonal({-1, 2, 1}, "-3"), zero);
    EXPECT_EQ(asu_hkl_trigonal({1, -1, 0}, "-3"), zero);
    EXPECT_EQ(asu_hkl_trigonal({2, 1, -3}, "-3m"), (Hkl{2, 1, -3}));
    EXPECT_EQ(asu_hkl_trigonal({2, 1, -3}, "-3m R"), (Hkl{2, 1, -3}));
    EXPECT_EQ(asu_hkl_trigonal({2, 1, -3}, "-3m1"), zero);
    EXPECT_EQ(asu_hkl_trigonal({0, 1, -1}, "-3m"), zero);
    EXPECT_EQ(asu_hkl_trigonal({0, -1, 1}, "-3m"), zero);
    EXPECT_EQ(asu_hkl_trigonal({2, 2, -1}, "-31m"), (Hkl{2, 2, -1}));
    EXPECT_EQ(asu_hkl_trigonal({1, 0, -1}, "-31m"), zero);
    EXPECT_EQ(asu_hkl_trigonal({-1, 0, 1}, "-31m"), zero);
    // Hexagonal and cubic.
    EXPECT_EQ(asu_hkl_hexagonal({0, 2, 1}, "6/m"), (Hkl{0, 2, 1}));
    EXPECT_EQ(asu_hkl_hexagonal({2, 1, 1}, "6/mmm"), (Hkl{2, 1, 1}));
    EXPECT_EQ(asu_hkl_hexagonal({1, 2, 1}, "6/mmm"), zero);
    EXPECT_EQ(asu_hkl_cubic({3, 1, 1}, "m-3"), (Hkl{3, 1, 1}));
    EXPECT_EQ(asu_hkl_cubic({2, 2, 2}, "m-3"), (Hkl{2, 2, 2}));
    EXPECT_EQ(asu_hkl_cubic({0, 1, 0}, "m-3"), zero);
    EXPECT_EQ(asu_hkl_cubic({3, 2, 1}, "m-3m"), (Hkl{3, 2, 1}));
    EXPECT_EQ(asu_hkl_cubic({2, 3, 1}, "m-3m"), zero);
    // The zero reflection is zero everywhere.
    EXPECT_EQ(asu_hkl_triclinic(zero), zero);
    EXPECT_EQ(asu_hkl_cubic(zero, "m-3m"), zero);
}

TEST(AsymmetricUnit, DispatcherSelectsByNumberThenByLaueText) {
    auto group = hand_built::group_from(5, "C 1 2 1", "2/m", "-c1", {});
    // Setting "-c1" means unique axis c: (-1, 0, 2) is in the b-axis unit only.
    EXPECT_EQ(asu_hkl({-1, 0, 2}, *group), zero);
    group->setting_choice = "A1";  // upper case: axis b
    EXPECT_EQ(asu_hkl({-1, 0, 2}, *group), (Hkl{-1, 0, 2}));
    group->setting_choice = "a2";
    EXPECT_EQ(asu_hkl({1, -2, 0}, *group), zero);

    group->number = 0;
    group->laue_class = "-3m1";
    EXPECT_EQ(asu_hkl({1, 2, 3}, *group), zero);
    group->laue_class = "mmm";
    EXPECT_EQ(asu_hkl({-1, -2, -3}, *group), (Hkl{1, 2, 3}));
    group->laue_class = "-31m";  // known to the dispatcher as to the report
    EXPECT_EQ(asu_hkl({2, 2, -1}, *group), (Hkl{2, 2, -1}));
}

// The rule chosen once for a group: the Laue class of the first and last
// number of each range, the -31m trigonal groups, the monoclinic axis of the
// setting, and the stored Laue text outside 1..230.  Applied to a reflection
// it gives what the class routine of that Laue class gives.
TEST(AsymmetricUnit, RuleChosenOnceFollowsNumberAxisAndLaueText) {
    auto group = hand_built::group_from(1, "P 1", "-1", " ", {});
    const std::pair<int, AsuRule> by_number[] = {
        {1, AsuRule::triclinic},          {2, AsuRule::triclinic},        {3, AsuRule::monoclinic_b},
        {15, AsuRule::monoclinic_b},      {16, AsuRule::orthorhombic},    {74, AsuRule::orthorhombic},
        {75, AsuRule::tetragonal_4_m},    {88, AsuRule::tetragonal_4_m},  {89, AsuRule::tetragonal_4_mmm},
        {142, AsuRule::tetragonal_4_mmm}, {143, AsuRule::trigonal_3},     {148, AsuRule::trigonal_3},
        {149, AsuRule::trigonal_31m},     {150, AsuRule::trigonal_3m},    {157, AsuRule::trigonal_31m},
        {163, AsuRule::trigonal_31m},     {164, AsuRule::trigonal_3m},    {167, AsuRule::trigonal_3m},
        {168, AsuRule::hexagonal_6_m},    {176, AsuRule::hexagonal_6_m},  {177, AsuRule::hexagonal_6_mmm},
        {194, AsuRule::hexagonal_6_mmm},  {195, AsuRule::cubic_m3},       {206, AsuRule::cubic_m3},
        {207, AsuRule::cubic_m3m},        {230, AsuRule::cubic_m3m}};
    for (const auto& [number, rule] : by_number) {
        group->number = number;
        EXPECT_EQ(asu_rule(*group), rule) << "space group " << number;
    }
    group->number = 4;
    const std::pair<const char*, AsuRule> by_axis[] = {{"c1", AsuRule::monoclinic_c}, {"-a3", AsuRule::monoclinic_a},
                                                       {" c", AsuRule::monoclinic_c}, {"A1", AsuRule::monoclinic_b},
                                                       {" ", AsuRule::monoclinic_b},  {"-", AsuRule::monoclinic_b}};
    for (const auto& [code, rule] : by_axis) {
        group->setting_choice = code;
        EXPECT_EQ(asu_rule(*group), rule) << "setting \"" << code << "\"";
    }
    group->number = 231;
    group->laue_class = "6/mmm";
    EXPECT_EQ(asu_rule(*group), AsuRule::hexagonal_6_mmm);
    group->laue_class = " -3m";  // as stored: not adjusted
    EXPECT_EQ(asu_rule(*group), AsuRule::none);

    const std::pair<AsuRule, Hkl (*)(const Hkl&)> plain[] = {{AsuRule::triclinic, &asu_hkl_triclinic},
                                                              {AsuRule::orthorhombic, &asu_hkl_orthorhombic}};
    for (int h = -2; h <= 2; ++h)
        for (int k = -2; k <= 2; ++k)
            for (int l = -2; l <= 2; ++l) {
                const Hkl hkl{h, k, l};
                for (const auto& [rule, routine] : plain) EXPECT_EQ(asu_hkl(hkl, rule), routine(hkl));
                EXPECT_EQ(asu_hkl(hkl, AsuRule::monoclinic_a), asu_hkl_monoclinic(hkl, "a"));
                EXPECT_EQ(asu_hkl(hkl, AsuRule::monoclinic_c), asu_hkl_monoclinic(hkl, "c"));
                EXPECT_EQ(asu_hkl(hkl, AsuRule::trigonal_31m), asu_hkl_trigonal(hkl, "-31m"));
                EXPECT_EQ(asu_hkl(hkl, AsuRule::hexagonal_6_m), asu_hkl_hexagonal(hkl, "6/m"));
                EXPECT_EQ(asu_hkl(hkl, AsuRule::cubic_m3), asu_hkl_cubic(hkl, "m-3"));
                EXPECT_EQ(asu_hkl(hkl, AsuRule::none), zero);
            }
}

TEST(AsymmetricUnit, WriteAsuReportsOrSetsTheErrorPair) {
    auto group = hand_built::p212121();
    std::ostringstream out;
    init_err_refl();
    write_asu(*group, out);
    const std::string second = "    [mmm  ]  " + std::string("hkl: h >=0, k >=0, l >=0") + std::string(86, ' ');
    EXPECT_EQ(out.str(), " => Reciprocal Asymmetric Unit \n" + second + "\n");
    EXPECT_EQ(second.size(), 123u);
    EXPECT_FALSE(err_refl);

    group->number = 0;
    group->laue_class = "-31m";
    out.str("");
    write_asu(*group, out);
    EXPECT_NE(out.str().find("hkl: h >=0, h >=k >0   and  h0l: h >=0, l >=0"), std::string::npos);

    group->laue_class = "m3m";
    out.str("");
    write_asu(*group, out);
    EXPECT_EQ(out.str(), "");
    EXPECT_TRUE(err_refl);
    EXPECT_EQ(err_refl_mess, " SpaceGroup Laue Wrong");
    init_err_refl();
    EXPECT_FALSE(err_refl);
}

TEST(ReflectionEquality, IntegerAndRealTests) {
    EXPECT_TRUE(hkl_equali({1, 2, 3}, {1, 2, 3}));
    EXPECT_FALSE(hkl_equali({1, 2, 3}, {1, 2, -3}));
    EXPECT_TRUE(hkl_equalr({0.0f, 1.0f, 2.0f}, {0.0002f, 1.0f, 2.0f}));
    EXPECT_FALSE(hkl_equalr({0.0f, 1.0f, 2.0f}, {0.00021f, 1.0f, 2.0f}));
    EXPECT_FALSE(hkl_equalr({0.0f, std::nanf(""), 2.0f}, {0.0f, 1.0f, 2.0f}));
}

}  // namespace
