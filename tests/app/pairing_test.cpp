// Classification and pairing of the reflections: the indexed Friedel search
// finds the same mates as the plain search over later rows, in groups of
// every Laue class and with singular or null operators; centric rows,
// duplicates, the outlier limit and the coverage report with missing_A.dat.
#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "app/borq.hpp"
#include "reflections/reflct_util.hpp"
#include "support/hand_built_groups.hpp"
#include "support/scratch_dir.hpp"

namespace {

using borq::FsqData;
using borq::HklInfo;
using hand_built::SpaceGroup;

struct Reflection { int h, k, l; float fo2, sigma, fc2; };

// The tables of the list (row 0 unused); returns the row count.
std::int32_t fill(const std::vector<Reflection>& list, HklInfo& hkl, FsqData& fsq) {
    hkl.assign(list.size() + 1, {});
    fsq.assign(list.size() + 1, {});
    for (std::size_t i = 0; i < list.size(); ++i)
        hkl[i + 1] = {list[i].h, list[i].k, list[i].l, 0, 0, 0}, fsq[i + 1] = {list[i].fo2, list[i].sigma, list[i].fc2};
    return static_cast<std::int32_t>(list.size());
}

// The Friedel search as a plain loop over all later rows of the same key.
void plain_friedel_search(std::int32_t n, const SpaceGroup& group, HklInfo& hkl) {
    for (std::int32_t i = 1; i <= n; ++i)
        for (std::int32_t j = i + 1; j <= n && hkl[i].partner == -1; ++j) {
            if (hkl[j].partner > 0 || hkl[j].asu_key != hkl[i].asu_key) continue;
            for (std::int32_t op = 0; op < group.reduced_count && hkl[i].partner == -1; ++op) {
                const auto img = vorn_reflections_utilities::hr_i({hkl[j].h, hkl[j].k, hkl[j].l},
                                                                 group.operators[static_cast<std::size_t>(op)].rot);
                if (-img[0] == hkl[i].h && -img[1] == hkl[i].k && -img[2] == hkl[i].l) hkl[i].partner = j, hkl[j].partner = i;
            }
        }
}

TEST(Pairing, IndexedSearchAgreesWithThePlainSearch) {
    auto groups = hand_built::many_groups();
    groups.push_back(std::make_unique<SpaceGroup>());
    groups.back()->reduced_count = 3;  // null rotations
    groups.push_back(hand_built::group_from(16, "singular", "mmm", " ", {}));
    groups.back()->reduced_count = 2;
    groups.back()->operators[1].rot = hand_built::rotation_of("x,x,z");  // not invertible: scanned
    std::mt19937 random(19);
    std::uniform_int_distribution<int> index(-2, 2);  // small: duplicates and many mates
    for (const auto& group : groups)
        for (int trial = 0; trial < 20; ++trial) {
            std::vector<Reflection> list(60);
            for (auto& r : list) r = {index(random), index(random), index(random), 1, 1, 1};
            HklInfo fast, plain;
            FsqData fsq;
            const std::int32_t n = fill(list, fast, fsq);
            borq::pack_hkl(n, *group, fast, fsq);
            borq::find_centric(n, *group, fast);
            plain = fast;
            borq::find_friedels(n, *group, fast);
            plain_friedel_search(n, *group, plain);
            for (std::int32_t i = 1; i <= n; ++i)
                ASSERT_EQ(fast[i].partner, plain[i].partner) << group->hm_symbol.trimmed() << ", trial " << trial << ", row "
                                                             << i << ": " << fast[i].h << " " << fast[i].k << " " << fast[i].l;
        }
}

// Keys, sort, centric marks, pairs and outliers as a run does them: the
// outlier limit is twice the largest calculated difference of a pair and a
// pair beyond it (not at it) is outlying; an empty record (no operators)
// pairs nothing, null rotations key every row 0 0 0 and find 0 0 0 centric.
TEST(Pairing, ClassesOutliersAndMissingPartners) {
    const auto p1 = hand_built::group_from(1, "P 1", "-1", " ", {});
    auto none = std::make_unique<SpaceGroup>(), null_ops = std::make_unique<SpaceGroup>();
    null_ops->reduced_count = 2;
    const std::vector<Reflection> three{{1, 2, 3, 10, 1, 10}, {-1, -2, -3, 12, 1, 11}, {0, 0, 0, 5, 1, 5}};
    const std::string no_partner = "No partner for reflections: \n" + std::string(28, ' '), next = "\n" + std::string(28, ' ');
    // classes: centric, paired, unpaired, outlying rows; missing: missing_A.dat ("-": not written).
    const struct { const SpaceGroup* group; std::vector<Reflection> list; std::string limit; std::vector<int> classes;
                   std::string missing; } cases[] = {
        {p1.get(), {{1, 2, 3, 10, 1, 10}, {1, 2, 3, 10, 1, 10}, {-1, -2, -3, 12, 1, 11}}, "    2.00", {0, 2, 1, 0},
         no_partner + "   1   2   3\n"},  // listed twice, the opposite once
        {p1.get(), {{1, 0, 0, 10, 1, 5}, {-1, 0, 0, 11, 1, 5}, {2, 0, 0, 10, 1, 5}, {-2, 0, 0, 10, 1, 5}},
         "    0.00\nOutlier:    1   0   0 Obs =     1.00 Calc =     0.00", {0, 2, 0, 2}, "-"},
        {p1.get(), {{1, 0, 0, 100, 1, 10}, {-1, 0, 0, 90, 1, 5}, {2, 0, 0, 100, 1, 10}, {-2, 0, 0, 89.5, 1, 10},
                    {3, 0, 0, 100, 1, 10}, {-3, 0, 0, 80, 1, 10}, {4, 0, 0, 100, 1, 10}, {-4, 0, 0, 70, 1, 10}},
         "   10.00\nOutlier:   -2   0   0 Obs =    10.50 Calc =     0.00\nOutlier:    3   0   0 Obs =    20.00 Calc =     "
         "0.00\nOutlier:    4   0   0 Obs =    30.00 Calc =     0.00", {0, 2, 0, 6}, "-"},
        {none.get(), three, "    0.00", {0, 0, 3, 0}, no_partner + "  -1  -2  -3" + next + "   0   0   0" + next + "   1   2   3\n"},
        {null_ops.get(), three, "    0.00", {1, 0, 2, 0}, no_partner + "   1   2   3" + next + "  -1  -2  -3\n"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.limit);
        borq_test::ScratchDir scratch("pairing");
        HklInfo hkl;
        FsqData fsq;
        const std::int32_t n = fill(c.list, hkl, fsq);
        std::ostringstream out;
        std::int32_t n_pairs = -1;
        borq::pack_hkl(n, *c.group, hkl, fsq);
        borq::find_centric(n, *c.group, hkl);
        borq::find_friedels(n, *c.group, hkl);
        borq::find_outliers(n, hkl, fsq, out);
        borq::count_classes(n, hkl, n_pairs, out);
        EXPECT_TRUE(out.str().starts_with("\nINFORMATION ON OUTLIERS:\nMax. allowed difference   = " + c.limit + "\n\nCOVERAGE")) << out.str();
        std::vector<int> classes(4);
        for (std::int32_t i = 1; i <= n; ++i) {
            const std::int32_t j = hkl[i].partner;
            ++classes[j == 0 ? 0 : j > 0 ? 1 : j == -1 ? 2 : 3];
            EXPECT_EQ(hkl[i].asu_key, c.group == null_ops.get() ? 0 : hkl[i].asu_key);
            EXPECT_TRUE(j <= 0 || (hkl[j].partner == i && hkl[j].asu_key == hkl[i].asu_key && hkl[j].h == -hkl[i].h)) << i;
        }
        EXPECT_EQ(classes, c.classes);
        EXPECT_EQ(n_pairs, c.classes[1] / 2);
        EXPECT_EQ(c.missing == "-" ? "-" : borq_test::read_file("missing_A.dat"), c.missing);
    }
}

}  // namespace
