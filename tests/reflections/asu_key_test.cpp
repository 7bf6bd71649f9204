// The asymmetric-unit key is a property of the Friedel/Bijvoet orbit: every
// reflection, its opposite and the images of both under the reduced
// operators share one key, and reflections of different orbits never do.
#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "support/hand_built_groups.hpp"
#include "reflections/reflct_util.hpp"

namespace {

using namespace vorn_reflections_utilities;
using hand_built::group_from;

std::string text_of(const Hkl& h) {
    return std::to_string(h[0]) + " " + std::to_string(h[1]) + " " + std::to_string(h[2]);
}

// Smallest member of {+h R_i, -h R_i}: names the orbit independently of the key.
Hkl orbit_name(const Hkl& h, const SpaceGroup& group) {
    Hkl best{};
    for (std::int32_t i = 0; i < group.reduced_count; ++i) {
        const Hkl image = hr_i(h, group.operators[static_cast<std::size_t>(i)].rot);
        const Hkl opposite{-image[0], -image[1], -image[2]};
        const Hkl smaller = image < opposite ? image : opposite;
        if (i == 0 || smaller < best) best = smaller;
    }
    return best;
}

void expect_key_names_orbits(const SpaceGroup& group) {
    SCOPED_TRACE(std::string("group ") + std::string(group.hm_symbol.trimmed()));
    std::map<Hkl, Hkl> orbit_of_key, key_of_orbit;
    for (int h = -4; h <= 4; ++h) {
        for (int k = -4; k <= 4; ++k) {
            for (int l = -4; l <= 4; ++l) {
                const Hkl hkl{h, k, l};
                const Hkl key = get_hequiv_asu(hkl, group);
                const Hkl orbit = orbit_name(hkl, group);
                // Opposite and Bijvoet mates share the key.
                EXPECT_EQ(get_hequiv_asu({-h, -k, -l}, group), key) << "reflection " << text_of(hkl);
                for (std::int32_t i = 0; i < group.reduced_count; ++i) {
                    const Hkl image = hr_i(hkl, group.operators[static_cast<std::size_t>(i)].rot);
                    EXPECT_EQ(get_hequiv_asu({-image[0], -image[1], -image[2]}, group), key)
                        << "reflection " << text_of(hkl) << ", operator " << i + 1;
                }
                const auto [kp, key_new] = orbit_of_key.emplace(key, orbit);
                EXPECT_EQ(kp->second, orbit) << "key " << text_of(key) << " shared by two orbits, reflection "
                                             << text_of(hkl);
                const auto [op, orbit_new] = key_of_orbit.emplace(orbit, key);
                EXPECT_EQ(op->second, key) << "orbit of " << text_of(hkl) << " has two keys";
            }
        }
    }
}

TEST(AsuKey, NamesTheOrbitInManyGroups) {
    std::vector<std::unique_ptr<SpaceGroup>> groups;
    groups.push_back(hand_built::p1());
    groups.push_back(group_from(3, "P 1 2 1", "2/m", "b", {"-x,y,-z"}));
    groups.push_back(group_from(3, "P 1 1 2", "2/m", "c", {"-x,-y,z"}));
    groups.push_back(group_from(3, "P 2 1 1", "2/m", "a", {"x,-y,-z"}));
    groups.push_back(group_from(14, "P 1 21/c 1", "2/m", "b1", {"-x,y+1/2,-z+1/2"}));
    groups.push_back(hand_built::p212121());
    groups.push_back(group_from(22, "F 2 2 2", "mmm", " ", {"-x,-y,z", "-x,y,-z"}));
    groups.push_back(group_from(75, "P 4", "4/m", " ", {"-y,x,z"}));
    groups.push_back(group_from(81, "P -4", "4/m", " ", {"y,-x,-z"}));
    groups.push_back(group_from(89, "P 4 2 2", "4/mmm", " ", {"-y,x,z", "-x,y,-z"}));
    groups.push_back(group_from(143, "P 3", "-3", " ", {"-y,x-y,z"}));
    groups.push_back(group_from(146, "R 3", "-3", "R", {"z,x,y"}));
    groups.push_back(group_from(149, "P 3 1 2", "-31m", " ", {"-y,x-y,z", "-y,-x,-z"}));
    groups.push_back(group_from(150, "P 3 2 1", "-3m1", " ", {"-y,x-y,z", "y,x,-z"}));
    groups.push_back(group_from(155, "R 3 2", "-3m", "R", {"z,x,y", "-y,-x,-z"}));
    groups.push_back(group_from(168, "P 6", "6/m", " ", {"x-y,x,z"}));
    groups.push_back(group_from(174, "P -6", "6/m", " ", {"y,-x+y,-z"}));
    groups.push_back(group_from(177, "P 6 2 2", "6/mmm", " ", {"x-y,x,z", "y,x,-z"}));
    groups.push_back(group_from(195, "P 2 3", "m-3", " ", {"z,x,y", "-x,-y,z", "-x,y,-z"}));
    groups.push_back(group_from(207, "P 4 3 2", "m-3m", " ", {"z,x,y", "-y,x,z"}));
    // A group the number does not name: the Laue text selects the rule.
    groups.push_back(group_from(0, "unknown", "-3m1", " ", {"-y,x-y,z", "y,x,-z"}));
    for (const auto& group : groups) expect_key_names_orbits(*group);
}

TEST(AsuKey, SpecialRecordsAndWorkedReflections) {
    // No operators: the reflection itself.
    auto empty = std::make_unique<SpaceGroup>();
    EXPECT_EQ(get_hequiv_asu({1, 2, 3}, *empty), (Hkl{1, 2, 3}));
    EXPECT_EQ(get_hequiv_asu({-1, -2, -3}, *empty), (Hkl{-1, -2, -3}));
    // Null rotations, as a failed construction leaves them: every key 0 0 0.
    auto null_ops = std::make_unique<SpaceGroup>();
    null_ops->reduced_count = 2;
    EXPECT_EQ(get_hequiv_asu({1, 2, 3}, *null_ops), (Hkl{0, 0, 0}));

    auto p1 = hand_built::p1();
    EXPECT_EQ(get_hequiv_asu({-1, 2, 0}, *p1), (Hkl{1, -2, 0}));
    EXPECT_EQ(get_hequiv_asu({1, -2, 0}, *p1), (Hkl{1, -2, 0}));
    EXPECT_EQ(get_hequiv_asu({0, 0, 0}, *p1), (Hkl{0, 0, 0}));

    auto p2 = group_from(3, "P 1 2 1", "2/m", "b", {"-x,y,-z"});
    EXPECT_EQ(get_hequiv_asu({-1, 2, 0}, *p2), (Hkl{1, 2, 0}));
    EXPECT_EQ(get_hequiv_asu({1, -2, 0}, *p2), (Hkl{1, 2, 0}));

    // R 3 on rhombohedral axes: no image of 1 -1 0 lies in the "-3" unit;
    // the key is still shared with the opposite reflection.
    auto r3 = group_from(146, "R 3", "-3", "R", {"z,x,y"});
    EXPECT_EQ(get_hequiv_asu({1, -1, 0}, *r3), get_hequiv_asu({-1, 1, 0}, *r3));
    EXPECT_EQ(get_hequiv_asu({1, -1, 0}, *r3), (Hkl{1, 0, -1}));
}

}  // namespace
