// Multiplicity, absences, equivalence and phases of the peer's reflections in
// the 553 distinct groups of the settings table, and real indices off the lattice.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "reflections/reflct_util.hpp"
#include "setting_groups.hpp"
#include "support/hand_built_groups.hpp"

namespace {

using namespace vorn_reflections_utilities;

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
    for (const auto& f : tables_test::read_tsv("reflections-peer.tsv")) {
        if (std::stoul(f[0]) != built) g = setting_groups::group_of_row(built = std::stoul(f[0])), ++groups;
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

}  // namespace
