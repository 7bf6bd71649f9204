// Equivalent reflections: multiplicity, absence, equivalence and restricted
// phases of the peer's reflections in 553 groups; the reciprocal asymmetric
// unit (one accepted form and one key per Friedel/Bijvoet orbit), its rules
// chosen by number, axis and Laue text, and the report of write_asu; s and
// absences of indices near the 32-bit limits; the condition table filled once.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <map>
#include <set>
#include <sstream>

#include "reflections/index_box.hpp"
#include "reflections/reflct_util.hpp"
#include "setting_groups.hpp"
#include "support/hand_built_groups.hpp"
#include "support/unit_cell.hpp"
#include "text/string_util.hpp"

namespace {

using namespace vorn_reflections_utilities;
using R = AsuRule;
constexpr Hkl zero{0, 0, 0};

std::string text_of(const Hkl& h) { return std::to_string(h[0]) + " " + std::to_string(h[1]) + " " + std::to_string(h[2]); }
Hkl minus(const Hkl& h) { return {-h[0], -h[1], -h[2]}; }

// Over a box of reflections: the orbit (images under the reduced operators
// and their opposites) shares one key, the greatest accepted form or, when
// none is accepted, the greatest member; no two orbits share a key.  The rule
// of the group accepts one form per orbit (-3m: one or two; on rhombohedral
// axes through the obverse hexagonal indices), the same for h and -h.
TEST(AsymmetricUnit, OneAcceptedFormAndOneKeyPerOrbit) {
    for (const auto& group : hand_built::many_groups()) {
        SCOPED_TRACE(std::string(group->hm_symbol.trimmed()));
        const AsuRule rule = asu_rule(*group);
        std::map<Hkl, Hkl> orbit_of_key;
        for (int i = 0; i < 729; ++i) {
            const Hkl hkl{i / 81 - 4, i / 9 % 9 - 4, i % 9 - 4}, key = get_hequiv_asu(hkl, *group), form = asu_hkl(hkl, rule);
            std::set<Hkl> orbit, accepted;
            for (std::int32_t op = 0; op < group->reduced_count; ++op) {
                const Hkl image = hr_i(hkl, group->operators[static_cast<std::size_t>(op)].rot);
                for (const Hkl& member : {image, minus(image)}) {
                    orbit.insert(member);
                    EXPECT_EQ(get_hequiv_asu(member, *group), key) << text_of(hkl) << " image " << text_of(member);
                    if (asu_hkl(member, rule) != zero) accepted.insert(asu_hkl(member, rule));
                }
            }
            EXPECT_EQ(key, accepted.empty() ? *orbit.rbegin() : *accepted.rbegin()) << text_of(hkl);
            EXPECT_EQ(orbit_of_key.emplace(key, *orbit.begin()).first->second, *orbit.begin()) << text_of(key);
            EXPECT_EQ(asu_hkl(minus(hkl), rule), form) << text_of(hkl);
            EXPECT_EQ(asu_hkl(hkl, *group), form) << text_of(hkl);
            EXPECT_TRUE(form == zero || form == hkl || form == minus(hkl)) << text_of(hkl);
            const std::size_t n = accepted.size();
            EXPECT_TRUE(n == 1 || hkl == zero || rule == R::none ||
                        ((rule == R::trigonal_3m || rule == R::rhombohedral_3m) && n == 2)) << text_of(hkl) << ": " << n << " forms";
        }
    }
}

TEST(AsymmetricUnit, WorkedFormsKeysAndImages) {
    const struct { AsuRule rule; Hkl hkl, form; } forms[] = {  // opposites and orbit mates follow from the property
        {R::triclinic, {1, -2, 0}, {1, -2, 0}}, {R::triclinic, {0, -3, 0}, {0, 3, 0}}, {R::triclinic, {2, 5, -1}, {-2, -5, 1}},
        {R::monoclinic_b, {1, 2, 0}, {1, 2, 0}}, {R::monoclinic_b, {-3, 0, 0}, {3, 0, 0}}, {R::monoclinic_b, {-1, -2, -3}, {1, 2, 3}},
        {R::monoclinic_b, {-1, 0, 2}, {-1, 0, 2}}, {R::monoclinic_a, {0, -1, 2}, {0, -1, 2}}, {R::monoclinic_a, {0, -1, 0}, {0, 1, 0}},
        {R::monoclinic_a, {1, 2, 0}, {1, 2, 0}}, {R::monoclinic_a, {1, -2, 0}, zero}, {R::monoclinic_a, {1, -2, 1}, {1, -2, 1}},
        {R::monoclinic_c, {-1, 2, 3}, {-1, 2, 3}}, {R::monoclinic_c, {-1, 0, 2}, zero}, {R::orthorhombic, {-1, -2, -3}, {1, 2, 3}},
        {R::orthorhombic, {1, -2, 3}, zero}, {R::tetragonal_4_mmm, {2, 1, 3}, {2, 1, 3}}, {R::tetragonal_4_m, {0, 2, 1}, {0, 2, 1}},
        {R::tetragonal_4_m, {2, 0, 1}, zero}, {R::tetragonal_4_m, {-2, -1, -1}, {2, 1, 1}}, {R::trigonal_3, {0, 0, -2}, {0, 0, 2}},
        {R::trigonal_3, {2, -1, 1}, {2, -1, 1}}, {R::trigonal_3, {-1, 2, 1}, zero}, {R::trigonal_3, {1, -1, 0}, zero},
        {R::trigonal_3m, {2, 1, -3}, {2, 1, -3}}, {R::trigonal_3m, {0, 1, -1}, zero}, {R::trigonal_31m, {2, 2, -1}, {2, 2, -1}},
        {R::trigonal_31m, {1, 0, -1}, zero}, {R::hexagonal_6_m, {0, 2, 1}, {0, 2, 1}}, {R::hexagonal_6_mmm, {2, 1, 1}, {2, 1, 1}},
        {R::hexagonal_6_mmm, {1, 2, 1}, zero}, {R::cubic_m3, {3, 1, 1}, {3, 1, 1}}, {R::cubic_m3, {2, 2, 2}, {2, 2, 2}},
        {R::cubic_m3, {0, 1, 0}, zero}, {R::cubic_m3m, {3, 2, 1}, {3, 2, 1}}, {R::cubic_m3m, {2, 3, 1}, zero}};
    for (const auto& c : forms) EXPECT_EQ(asu_hkl(c.hkl, c.rule), c.form) << text_of(c.hkl) << ", rule " << int(c.rule);
    // No operators: the reflection itself; null rotations (a failed
    // construction): every key 0 0 0.
    SpaceGroup empty, null_ops;
    null_ops.reduced_count = 2;
    EXPECT_EQ(get_hequiv_asu({-1, -2, -3}, empty), (Hkl{-1, -2, -3}));
    EXPECT_EQ(get_hequiv_asu({1, 2, 3}, null_ops), zero);
    // The row vector h R, wrapping around in 32 bits.
    EXPECT_EQ(hr_i({1, 2, 3}, hand_built::rotation_of("-y,x-y,z")), (Hkl{2, -3, 3}));
    EXPECT_EQ(hr_i({INT_MAX, 1, 0}, hand_built::rotation_of("x+y,y,z")), (Hkl{INT_MAX, INT_MIN, 0}));
}

// The class routines read the Laue text or axis left-adjusted, in any case,
// cut to their width; any other text selects no rule.
TEST(AsymmetricUnit, ClassRoutinesSelectTheRuleFromTheirText) {
    using Routine = Hkl (*)(const Hkl&, std::string_view);
    const Routine m = &asu_hkl_monoclinic, t = &asu_hkl_tetragonal, g = &asu_hkl_trigonal, h = &asu_hkl_hexagonal,
                  c = &asu_hkl_cubic, one = [](const Hkl& x, std::string_view) { return asu_hkl_triclinic(x); },
                  mmm = [](const Hkl& x, std::string_view) { return asu_hkl_orthorhombic(x); };
    const struct { Routine routine; const char* text; AsuRule rule; } texts[] = {
        {m, "b", R::monoclinic_b}, {m, " ", R::monoclinic_b}, {m, "  C", R::monoclinic_c}, {m, "a", R::monoclinic_a},
        {m, "x", R::none}, {t, " 4/MMM", R::tetragonal_4_mmm}, {t, "4/m", R::tetragonal_4_m}, {t, "    ", R::none},
        {t, "4/mm", R::none}, {g, "-3", R::trigonal_3}, {g, "-3m R", R::trigonal_3m}, {g, "-3m1", R::none},
        {g, "-31m", R::trigonal_31m}, {h, "6/m", R::hexagonal_6_m}, {h, "6/mmm", R::hexagonal_6_mmm}, {h, "6/mm", R::none},
        {c, "m-3", R::cubic_m3}, {c, "m-3m", R::cubic_m3m}, {c, "m3m", R::none}, {one, "", R::triclinic},
        {mmm, "", R::orthorhombic}};
    for (const auto& row : texts)
        for (int i = 0; i < 125; ++i) {
            const Hkl hkl{i / 25 - 2, i / 5 % 5 - 2, i % 5 - 2};
            EXPECT_EQ(row.routine(hkl, row.text), asu_hkl(hkl, row.rule)) << "\"" << row.text << "\" " << text_of(hkl);
        }
    EXPECT_EQ(asu_hkl_monoclinic({1, 2, 0}), (Hkl{1, 2, 0}));  // the default axis is b
}

// The rule and the report of write_asu chosen by the first and last number of
// each range, the -31m trigonal groups, the monoclinic axis of the setting, the
// rhombohedral-axes settings, and the stored Laue text outside 1..230 (number
// 0 or 231: as stored, not adjusted); an unknown Laue class sets the error
// pair and writes nothing; the reset clears it.
TEST(AsymmetricUnit, RuleAndReportChosenByNumberAxisAndLaueText) {
    const std::string t3 = "hkl: h+k>0, l>0    hk0: h>0, k>=0", t3m = "hkl: h >=0  h >=k  and   hhl: h >=0, l >=0";
    const std::map<AsuRule, std::string> texts = {
        {R::triclinic, "hkl: l >=0    hk0: h >=0    0k0: k >=0"}, {R::monoclinic_b, "hkl: k >=0, l >=0   hk0: h >=0"},
        {R::monoclinic_c, "hkl: k >=0, l >=0   h0l: h >=0"}, {R::monoclinic_a, "hkl: h >=0, l >=0   0kl: l >=0"},
        {R::orthorhombic, "hkl: h >=0, k >=0, l >=0"}, {R::tetragonal_4_mmm, "hkl: h >=0, k >=0, l >=0 and h >=k"},
        {R::tetragonal_4_m, "hkl: h >=0, l >=0 with k >=0 if h =0 and k >0 if h >0"}, {R::trigonal_3, t3},
        {R::rhombohedral_3, t3}, {R::trigonal_3m, t3m}, {R::rhombohedral_3m, t3m},
        {R::trigonal_31m, "hkl: h >=0, h >=k >0   and  h0l: h >=0, l >=0"},
        {R::hexagonal_6_m, "hkl: h > 0, k > 0, l >=0   and  0kl: k >=0, l >=0"},
        {R::hexagonal_6_mmm, "hkl: h >=0, k >=0, l >=0 with h >=k"}, {R::none, ""},
        {R::cubic_m3, "hkl: h > l, k > l, l >=0  and   hkk: k >=0, h >=k"},
        {R::cubic_m3m, "hkl: h >=0, k >=0, l >=0 with h >=k  and k >=l"}};
    auto group = hand_built::group_from(1, "P 1", "-1", " ", {});
    const auto check = [&group, &texts](int number, const char* setting, const char* laue, AsuRule rule) {
        SCOPED_TRACE(std::to_string(number) + " \"" + setting + "\" \"" + laue + "\"");
        group->number = number;
        group->setting_choice = setting;
        group->laue_class = laue;
        std::ostringstream out;
        init_err_refl();
        EXPECT_EQ(asu_rule(*group), rule);
        write_asu(*group, out);
        const std::string text = texts.at(rule), padded = (laue + std::string(5, ' ')).substr(0, 5);
        EXPECT_EQ(out.str(), text.empty() ? "" : " => Reciprocal Asymmetric Unit \n    [" + padded + "]  " + text +
                                                     std::string(110 - text.size(), ' ') + "\n");
        EXPECT_EQ(err_refl, text.empty());
        EXPECT_EQ(err_refl_mess, text.empty() ? " SpaceGroup Laue Wrong" : "");
    };
    const std::pair<int, AsuRule> by_number[] = {
        {1, R::triclinic}, {2, R::triclinic}, {3, R::monoclinic_b}, {15, R::monoclinic_b}, {16, R::orthorhombic},
        {74, R::orthorhombic}, {75, R::tetragonal_4_m}, {88, R::tetragonal_4_m}, {89, R::tetragonal_4_mmm},
        {142, R::tetragonal_4_mmm}, {143, R::trigonal_3}, {148, R::trigonal_3}, {149, R::trigonal_31m},
        {150, R::trigonal_3m}, {157, R::trigonal_31m}, {163, R::trigonal_31m}, {164, R::trigonal_3m},
        {167, R::trigonal_3m}, {168, R::hexagonal_6_m}, {176, R::hexagonal_6_m}, {177, R::hexagonal_6_mmm},
        {194, R::hexagonal_6_mmm}, {195, R::cubic_m3}, {206, R::cubic_m3}, {207, R::cubic_m3m}, {230, R::cubic_m3m}};
    for (const auto& [number, rule] : by_number) check(number, " ", "?", rule);
    const std::pair<const char*, AsuRule> by_axis[] = {{"c1", R::monoclinic_c}, {"-a3", R::monoclinic_a}, {" c", R::monoclinic_c},
                                                       {"A1", R::monoclinic_b}, {" ", R::monoclinic_b},   {"-", R::monoclinic_b}};
    for (const auto& [code, rule] : by_axis) check(4, code, "2/m", rule);
    check(148, "R", "-3 R", R::rhombohedral_3);
    check(166, "R", "-3m R", R::rhombohedral_3m);
    const std::pair<const char*, AsuRule> by_laue[] = {
        {"-1", R::triclinic}, {"2/m", R::monoclinic_b}, {"mmm", R::orthorhombic}, {"4/m", R::tetragonal_4_m},
        {"4/mmm", R::tetragonal_4_mmm}, {"-3", R::trigonal_3}, {"-31m", R::trigonal_31m}, {"-3m", R::trigonal_3m},
        {"6/m", R::hexagonal_6_m}, {"6/mmm", R::hexagonal_6_mmm}, {"m-3", R::cubic_m3}, {"m-3m", R::cubic_m3m},
        {" -3m", R::none}, {"m3m", R::none}};
    for (const auto& [laue, rule] : by_laue)
        for (int number : {0, 231}) check(number, " ", laue, rule);
}

// Every line, with integer and real indices: both multiplicities, the
// absence, h equivalent to -h without Friedel's law (the centric flag), the
// list of equivalents (distinct, each an image of h or, when doubled, of -h),
// and for a centric line not absent every operator sending h to -h turns the
// restricted phase phi into -phi.
TEST(EquivalentsPeer, EveryReflectionOfEveryGroup) {
    std::size_t built = 0, groups = 0, phases = 0;
    std::unique_ptr<SpaceGroup> g;
    std::vector<Hkl> list(384);
    std::vector<HklReal> real_list(384);
    const auto settings = tables_test::read_tsv("settings-table.tsv");
    for (const auto& f : tables_test::read_tsv("reflections-peer.tsv")) {
        if (std::stoul(f[0]) != built) g = setting_groups::group_of_symbol(settings.at((built = std::stoul(f[0])) - 1)[2]), ++groups;
        const Hkl h{std::stoi(f[1]), std::stoi(f[2]), std::stoi(f[3])}, minus{-h[0], -h[1], -h[2]};
        const HklReal r{float(h[0]), float(h[1]), float(h[2])}, minus_r{-r[0], -r[1], -r[2]};
        const int plain = std::stoi(f[4]), friedel = std::stoi(f[5]);
        SCOPED_TRACE("row " + f[0] + ": " + f[1] + " " + f[2] + " " + f[3]);
        std::int32_t mult = 0, mult_r = 0;
        hkl_equiv_listi(h, *g, false, mult, list);
        hkl_equiv_listr(r, *g, false, mult_r, real_list);
        EXPECT_EQ((std::vector<int>{hkl_multi(h, *g, false), hkl_multi(h, *g, true), hkl_multr(r, *g, false),
                                    hkl_multr(r, *g, true), mult, mult_r}),
                  (std::vector<int>{plain, friedel, plain, friedel, plain, plain}));
        EXPECT_EQ((std::vector<bool>{hkl_absenti(h, *g), hkl_absentr(r, *g), hkl_equivi(h, minus, *g), hkl_equivr(r, minus_r, *g)}),
                  (std::vector<bool>{f[6] == "1", f[6] == "1", f[7] == "1", f[7] == "1"}));
        EXPECT_EQ(std::set<Hkl>(list.begin(), list.begin() + mult).size(), std::size_t(mult));
        for (std::size_t j = 0; j < std::size_t(mult); ++j) {
            EXPECT_TRUE(hkl_equivi(h, list[j], *g, plain == friedel));
            EXPECT_EQ(real_list[j], (HklReal{float(list[j][0]), float(list[j][1]), float(list[j][2])}));
        }
        for (std::size_t i = 0; f[8] != "-" && i < std::size_t(g->multiplicity); ++i) {
            if (hr_i(h, g->operators[i].rot) != minus) continue;
            Hkl image{};
            float phase = -1;
            hkl_rpi(h, std::stof(f[8]), g->operators[i], image, phase);
            EXPECT_NEAR(std::remainder(phase + std::stof(f[8]), 360.0f), 0.0f, 0.01f) << "operator " << i + 1;
            EXPECT_TRUE(image == minus && phase >= 0 && phase < 360) << phase;
            ++phases;
        }
    }
    EXPECT_EQ(groups, 553u);
    EXPECT_GT(phases, 10000u);
}

// Indices far beyond those of a data set: s from exact 64-bit squares, the
// same as hs_r of the same values; the absence in I 2 2 2 decided on the
// exact phase sum (h+k+l odd), the same through the operators gathered by
// rotation; real indices keep the 32-bit real sum (20000001 is 2*10^7 as a
// 32-bit real), whose nearest whole turn does not saturate at 2^31; a screw
// translation 1.3 (no multiple of 1/24) is judged on the 32-bit real shift,
// and only for reflections that its twofold keeps.
TEST(Equivalents, LargeIndices) {
    const UnitCell cubic = test_cells::unit_cell(10, 10, 10), triclinic = test_cells::unit_cell(7, 9, 11, 71, 83, 97);
    const struct { const UnitCell* cell; Hkl h; float s; } metrics[] = {  // s 0: compared with hs_r only
        {&cubic, {50000, 0, 0}, 2500}, {&cubic, {INT_MIN, 0, 0}, 107374184}, {&triclinic, {46341, -16777215, 16777215}, 0},
        {&triclinic, {-65536, 9, 16777216}, 0}};
    for (const auto& m : metrics) {
        const float s = hs_i(m.h, *m.cell);
        EXPECT_EQ(s, hs_r({float(m.h[0]), float(m.h[1]), float(m.h[2])}, *m.cell)) << text_of(m.h);
        EXPECT_TRUE(m.s == 0 || s == m.s) << text_of(m.h) << ": " << s;
    }
    const auto body = setting_groups::group_of_symbol("I 2 2 2");
    const auto screw = hand_built::group_from(4, "P 1 1 21", "2/m", "c", {"-x,-y,z"});
    screw->operators[1].tr = {0, 0, 1.3f};
    const auto by_rotation = detail::gather_operators(*body), screw_by_rotation = detail::gather_operators(*screw);
    const struct { Hkl h; bool integer_absent, real_absent; } body_rows[] = {
        {{20000001, 0, 0}, true, false}, {{2000000001, 0, 0}, true, false}, {{2000000000, 2000000000, 2000000000}, false, false},
        {{INT_MAX, INT_MAX, INT_MAX}, true, false}, {{INT_MIN, INT_MAX, 1}, false, true}};
    for (const auto& row : body_rows) {
        EXPECT_EQ(hkl_absenti(row.h, *body), row.integer_absent) << text_of(row.h);
        EXPECT_EQ(detail::absent(row.h, by_rotation), row.integer_absent) << text_of(row.h);
        EXPECT_EQ(hkl_absentr({float(row.h[0]), float(row.h[1]), float(row.h[2])}, *body), row.real_absent) << text_of(row.h);
    }
    const std::pair<Hkl, bool> screw_rows[] = {{{0, 0, 1}, true}, {{0, 0, 10}, false}, {{0, 0, 2000000000}, false},
                                               {{INT_MIN, 0, 1}, false}};  // not kept: -2^31 is not 2^31
    for (const auto& [h, expected] : screw_rows) {
        EXPECT_EQ(hkl_absenti(h, *screw), expected) << text_of(h);
        EXPECT_EQ(detail::absent(h, screw_by_rotation), expected) << text_of(h);
    }
}

// Phases into [0, 360) for real indices (-30 + 360 h.t with h.t = -1/2 gives
// 150); real indices within 0.0002 of a reflection kept by a 21 axis.
TEST(Equivalents, RealIndices) {
    auto screw = hand_built::group_from(4, "P 1 1 21", "2/m", "c", {"-x,-y,z"});
    screw->operators[1].tr = {0, 0, 0.5f};
    HklReal image{};
    float phase = -1;
    hkl_rpr({1, 0, -1}, -30, screw->operators[1], image, phase);
    EXPECT_TRUE(phase == 150 && image == (HklReal{-1, 0, -1})) << phase;
    EXPECT_TRUE(hkl_absentr({0.00005f, 0, 1}, *screw) && !hkl_absentr({0.0003f, 0, 1}, *screw) && !hkl_absentr({0, 0, 2}, *screw));
}

// The extinction search fills the condition table while its flag is false
// and sets the flag; once it is set, a search leaves the table as it stands
// (here a row planted by hand, shown as the C-centring condition).
TEST(ConditionTable, FilledOnceByTheExtinctionSearch) {
    const auto centred = setting_groups::group_of_symbol("C 1 2 1");
    const std::string row_1 = "(h k l)    h+k=2n : xy0 centred face (C)";
    const struct { bool flag; std::string shown; } steps[] = {{false, row_1}, {true, "planted row"}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.shown);
        hkl_ref_conditions[0] = "planted row";
        hkl_ref_cond_ini = step.flag;
        std::vector<std::string> lines(80, std::string(90, ' '));
        std::int32_t count = 0;
        search_extinctions_file(*centred, count, lines);
        EXPECT_EQ(vorn_string_utilities::trim_right(lines[4]), "     # 1: " + step.shown);
        EXPECT_TRUE(hkl_ref_cond_ini);
    }
    init_ref_cond();
    EXPECT_EQ(hkl_ref_conditions[0].trimmed(), row_1);
}

// Equality of integer indices, and of real indices within 0.0002 (NaN never equal).
TEST(ReflectionEquality, IntegerAndRealTests) {
    EXPECT_TRUE(hkl_equali({1, 2, 3}, {1, 2, 3}) && !hkl_equali({1, 2, 3}, {1, 2, -3}));
    EXPECT_TRUE(hkl_equalr({0.0f, 1.0f, 2.0f}, {0.0002f, 1.0f, 2.0f}));
    EXPECT_FALSE(hkl_equalr({0.0f, 1.0f, 2.0f}, {0.00021f, 1.0f, 2.0f}));
    EXPECT_FALSE(hkl_equalr({0.0f, std::nanf(""), 2.0f}, {0.0f, 1.0f, 2.0f}));
}

}  // namespace
