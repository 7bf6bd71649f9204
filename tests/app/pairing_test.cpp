// Classification and pairing: keys and sort, centric reflections, Friedel
// pairs (the indexed search against the plain search over later rows),
// outlying pairs and the coverage report with missing_A.dat.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <sstream>

#include "app/borq.hpp"
#include "support/scratch_dir.hpp"
#include "support/hand_built_groups.hpp"
#include "reflections/reflct_util.hpp"

namespace {

using borq::FsqData;
using borq::HklInfo;
using borq_test::read_file;
using borq_test::ScratchDir;
using hand_built::group_from;
using vorn_crystallographic_symmetry::SpaceGroup;

struct Reflection {
    int h, k, l;
    float fo2, sigma, fc2;
};

void fill(const std::vector<Reflection>& list, HklInfo& hkl, FsqData& fsq) {
    hkl.assign(list.size() + 1, {});
    fsq.assign(list.size() + 1, {});
    for (std::size_t i = 0; i < list.size(); ++i) {
        hkl[i + 1].h = list[i].h;
        hkl[i + 1].k = list[i].k;
        hkl[i + 1].l = list[i].l;
        fsq[i + 1] = {list[i].fo2, list[i].sigma, list[i].fc2};
    }
}

// Keys, sort, centric marks, pairs, outliers and counts, as a run does them.
std::string classify(const SpaceGroup& group, HklInfo& hkl, FsqData& fsq, std::int32_t& n_pairs) {
    const auto n = static_cast<std::int32_t>(hkl.size()) - 1;
    std::ostringstream out;
    borq::pack_hkl(n, group, hkl, fsq);
    borq::find_centric(n, group, hkl);
    borq::find_friedels(n, group, hkl);
    borq::find_outliers(n, hkl, fsq, out);
    borq::count_classes(n, hkl, n_pairs, out);
    return out.str();
}

std::string coverage(int n, int centric, int paired, int unpaired, int outlying) {
    const auto line = [](const char* label, int v) {
        std::string number = std::to_string(v);
        return std::string(label) + std::string(8 - number.size(), ' ') + number + "\n";
    };
    return "\nCOVERAGE STATISTICS:\n" + line("Number of reflections in hkl file                       = ", n) +
           line("Number of centric  data                                 = ", centric) +
           line("Number of paired acentric data (excl outliers)          = ", paired) +
           line("Number of unpaired acentric data                        = ", unpaired) +
           line("Number of outlying pairs                                = ", outlying);
}

// The Friedel search as a plain loop over all later rows of the same key.
void plain_friedel_search(std::int32_t n, const SpaceGroup& group, HklInfo& hkl) {
    for (std::int32_t i = 1; i <= n; ++i) {
        if (hkl[i].partner != -1) continue;
        for (std::int32_t j = i + 1; j <= n && hkl[i].partner == -1; ++j) {
            if (hkl[j].partner > 0 || hkl[j].asu_key != hkl[i].asu_key) continue;
            for (std::int32_t op = 0; op < group.reduced_count; ++op) {
                const auto img = vorn_reflections_utilities::hr_i({hkl[j].h, hkl[j].k, hkl[j].l},
                                                                 group.operators[static_cast<std::size_t>(op)].rot);
                if (-img[0] == hkl[i].h && -img[1] == hkl[i].k && -img[2] == hkl[i].l) {
                    hkl[i].partner = j;
                    hkl[j].partner = i;
                    break;
                }
            }
        }
    }
}

TEST(Pairing, IndexedSearchAgreesWithThePlainSearch) {
    std::vector<std::unique_ptr<SpaceGroup>> groups;
    groups.push_back(hand_built::p1());
    groups.push_back(hand_built::p212121());
    groups.push_back(group_from(14, "P 1 21/c 1", "2/m", "b1", {"-x,y+1/2,-z+1/2"}));
    groups.push_back(group_from(150, "P 3 2 1", "-3m1", " ", {"-y,x-y,z", "y,x,-z"}));
    groups.push_back(group_from(146, "R 3", "-3", "R", {"z,x,y"}));
    groups.push_back(group_from(207, "P 4 3 2", "m-3m", " ", {"z,x,y", "-y,x,z"}));
    auto null_ops = std::make_unique<SpaceGroup>();
    null_ops->reduced_count = 3;
    null_ops->hm_symbol = "null rotations";
    groups.push_back(std::move(null_ops));
    auto odd = group_from(16, "singular", "mmm", " ", {});
    odd->reduced_count = 2;
    odd->operators[1].rot = hand_built::rotation_of("x,x,z");  // not invertible: scanned
    groups.push_back(std::move(odd));

    std::mt19937 random(19);
    for (const auto& group : groups) {
        for (int trial = 0; trial < 20; ++trial) {
            // Small indices, so that duplicates and many mates occur.
            std::uniform_int_distribution<int> index(-2, 2);
            std::vector<Reflection> list(60);
            for (auto& r : list) r = {index(random), index(random), index(random), 1, 1, 1};
            HklInfo fast, plain;
            FsqData fsq;
            fill(list, fast, fsq);
            const auto n = static_cast<std::int32_t>(list.size());
            borq::pack_hkl(n, *group, fast, fsq);
            borq::find_centric(n, *group, fast);
            plain = fast;
            borq::find_friedels(n, *group, fast);
            plain_friedel_search(n, *group, plain);
            for (std::int32_t i = 1; i <= n; ++i)
                ASSERT_EQ(fast[i].partner, plain[i].partner)
                    << group->hm_symbol.trimmed() << ", trial " << trial << ", row " << i << ": " << fast[i].h << " "
                    << fast[i].k << " " << fast[i].l;
        }
    }
}

TEST(Pairing, GroupsWithoutUsableOperators) {
    ScratchDir scratch("pairing_empty");
    const std::vector<Reflection> list{{1, 2, 3, 10, 1, 10}, {-1, -2, -3, 12, 1, 11}, {0, 0, 0, 5, 1, 5}};
    HklInfo hkl;
    FsqData fsq;
    std::int32_t n_pairs = -1;

    // reduced_count 0: nothing centric, nothing paired, everything missing.
    auto none = std::make_unique<SpaceGroup>();
    fill(list, hkl, fsq);
    std::string out = classify(*none, hkl, fsq, n_pairs);
    EXPECT_EQ(out, "\nINFORMATION ON OUTLIERS:\nMax. allowed difference   =     0.00\n" + coverage(3, 0, 0, 3, 0) +
                       "Acentric reflections with missing partners are in missing_A.dat.\n\n");
    EXPECT_EQ(n_pairs, 0);
    EXPECT_EQ(read_file("missing_A.dat"), "No partner for reflections: \n" + std::string(28, ' ') + "  -1  -2  -3\n" +
                                              std::string(28, ' ') + "   0   0   0\n" + std::string(28, ' ') +
                                              "   1   2   3\n");

    // Null rotations (a failed construction): every key 0, only 0 0 0 centric.
    auto null_ops = std::make_unique<SpaceGroup>();
    null_ops->reduced_count = 2;
    fill(list, hkl, fsq);
    out = classify(*null_ops, hkl, fsq, n_pairs);
    EXPECT_NE(out.find(coverage(3, 1, 0, 2, 0)), std::string::npos) << out;
    for (std::size_t i = 1; i <= 3; ++i) EXPECT_EQ(hkl[i].asu_key, 0);
}

TEST(Pairing, PairsDuplicatesAndOutliers) {
    ScratchDir scratch("pairing_pairs");
    HklInfo hkl;
    FsqData fsq;
    std::int32_t n_pairs = -1;
    auto p1 = hand_built::p1();

    // One pair in P 1; the row sort_i puts first is the first mate.
    fill({{1, 2, 3, 10, 1, 10}, {-1, -2, -3, 12, 1, 11}}, hkl, fsq);
    std::string out = classify(*p1, hkl, fsq, n_pairs);
    EXPECT_EQ(n_pairs, 1);
    EXPECT_EQ(hkl[1].partner, 2);
    EXPECT_EQ(hkl[2].partner, 1);
    EXPECT_EQ(hkl[1].asu_key, hkl[2].asu_key);
    EXPECT_EQ(out.find("missing_A.dat"), std::string::npos);

    // A reflection listed twice and its opposite once: one pair, one left.
    // No unpaired row before: an old missing_A.dat stays untouched.
    scratch.write("missing_A.dat", "old");
    fill({{1, 2, 3, 10, 1, 10}, {1, 2, 3, 10, 1, 10}, {-1, -2, -3, 12, 1, 11}}, hkl, fsq);
    out = classify(*p1, hkl, fsq, n_pairs);
    EXPECT_NE(out.find(coverage(3, 0, 2, 1, 0)), std::string::npos) << out;
    EXPECT_NE(read_file("missing_A.dat"), "old");

    // Equal calculated intensities: limit 0.00, every pair with different
    // observed values is outlying; equal observed values are not.
    fill({{1, 0, 0, 10, 1, 5}, {-1, 0, 0, 11, 1, 5}, {2, 0, 0, 10, 1, 5}, {-2, 0, 0, 10, 1, 5}}, hkl, fsq);
    out = classify(*p1, hkl, fsq, n_pairs);
    EXPECT_NE(out.find("Max. allowed difference   =     0.00\nOutlier: "), std::string::npos) << out;
    EXPECT_NE(out.find(coverage(4, 0, 2, 0, 1)), std::string::npos) << out;

    // Limit 2 x 5 = 10: a difference of exactly 10 is kept, 10.5 is not;
    // three outlying pairs show as 3 and six rows of -2.
    fill({{1, 0, 0, 100, 1, 10},  {-1, 0, 0, 90, 1, 5},  {2, 0, 0, 100, 1, 10}, {-2, 0, 0, 89.5, 1, 10},
          {3, 0, 0, 100, 1, 10},  {-3, 0, 0, 80, 1, 10}, {4, 0, 0, 100, 1, 10}, {-4, 0, 0, 70, 1, 10}},
         hkl, fsq);
    out = classify(*p1, hkl, fsq, n_pairs);
    EXPECT_NE(out.find("Max. allowed difference   =    10.00\n"), std::string::npos) << out;
    EXPECT_NE(out.find(coverage(8, 0, 2, 0, 3)), std::string::npos) << out;
    int minus_two = 0;
    for (std::size_t i = 1; i <= 8; ++i) minus_two += hkl[i].partner == -2;
    EXPECT_EQ(minus_two, 6);
    EXPECT_EQ(n_pairs, 1);
}

}  // namespace
