// Orbits, site multiplicity and occupancy, stabilisers and suborbits: every peer point (Wyckoff representatives,
// general points, points outside the cell) gives the peer's multiplicities and site-symmetry operators, and the
// hand-worked cases hold exactly.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <memory>

#include "group_checks.hpp"

namespace {

using namespace vorn_crystallographic_symmetry;

// "x,y,z" to five significant digits: 0.8999996 reads 0.9.
std::string text_of(const Vector3& v) {
    char s[64];
    std::snprintf(s, sizeof s, "%.5g,%.5g,%.5g", v[0], v[1], v[2]);
    return s;
}

// One call summarised: "count: entry entry ... /size of the outputs".
enum Call { orbit, orbit_conv, orbit_centred, stabiliser, suborbits, suborbits_prim, site };
std::string summary(Call call, const SpaceGroup& g, const Vector3& p, const std::vector<std::int32_t>& sub_ops) {
    std::int32_t n = 0;
    std::vector<Vector3> points;
    std::vector<std::int32_t> numbers;
    if (call <= orbit_centred) get_orbit(p, g, n, points, &numbers, call == orbit_conv, call == orbit_centred);
    if (call == stabiliser) get_stabilizer(p, g, n, numbers, points);
    if (call >= suborbits && call != site) get_suborbits(p, g, sub_ops, n, points, numbers, call == suborbits_prim);
    if (call == site) return std::to_string(get_multip_pos(p, g)) + " " + std::to_string(get_occ_site(p, g));
    std::string s = std::to_string(n) + ":";
    for (std::size_t k = 0; k < numbers.size(); ++k)
        s += " " + std::to_string(numbers[k]) + (call <= stabiliser ? "(" + text_of(points[k]) + ")" : "");
    return s + " /" + std::to_string(points.size());
}

}  // namespace

// Orbit (primitive and conventional), stabiliser operators with their lattice shifts, and the suborbits of a general
// point under the stabiliser: each of its order, as many as the quotient.
TEST(Orbits, EveryPeerPointHasThePeersOrbitAndStabiliser) {
    std::string hall;
    auto g = std::make_unique<SpaceGroup>();
    for (const auto& f : tables_test::read_tsv("orbits-peer.tsv")) {
        SCOPED_TRACE(f[0] + " " + f[2] + " " + f[5]);
        if (f[2] != hall) group_checks::build(*g, hall = f[2]);
        Vector3 p{};
        std::sscanf(f[5].c_str(), "%f,%f,%f", &p[0], &p[1], &p[2]);
        std::int32_t mult = 0, centred = 0, order = 0;
        std::vector<Vector3> orbit, shift;
        std::vector<std::int32_t> ops, suborbit;
        get_orbit(p, *g, mult, orbit);
        get_orbit(p, *g, centred, orbit, nullptr, true);
        get_stabilizer(p, *g, order, ops, shift);
        EXPECT_EQ(std::vector<int>({get_multip_pos(p, *g), mult, centred, order}),
                  std::vector<int>({std::stoi(f[6]), std::stoi(f[6]), std::stoi(f[7]), std::stoi(f[8])}));
        EXPECT_EQ(get_occ_site(p, *g), std::stof(f[6]) / static_cast<float>(g->multiplicity));
        std::vector<std::string> texts;
        for (std::size_t k = 0; k < static_cast<std::size_t>(order); ++k) {
            const SymmetryOperator& op = at1(g->operators, static_cast<std::size_t>(ops[k]));
            texts.push_back(get_symsymbi(op.rot, {op.tr[0] + shift[k][0], op.tr[1] + shift[k][1], op.tr[2] + shift[k][2]}));
        }
        std::sort(texts.begin(), texts.end());
        EXPECT_EQ(texts, symmetry_test_data::split(f[9], ';'));
        get_suborbits({0.1234f, 0.2718f, 0.3141f}, *g, ops, mult, orbit, suborbit, true);
        for (std::int32_t s = 1; s <= mult / order; ++s) EXPECT_EQ(std::count(suborbit.begin(), suborbit.end(), s), order);
    }
}

TEST(Orbits, WorkedExamplesAndDecisions) {
    constexpr float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case { Call call; const char* hall; Vector3 point; std::vector<std::int32_t> sub_ops; const char* want; };
    const Vector3 general = {0.1f, 0.2f, 0.3f};
    const Case cases[] = {
        {orbit_centred, "-P 1", {0.5f, 0.5f, 0.5f}, {}, "1: 1(-0.5,-0.5,-0.5) /1"},
        {orbit, "C 2y", general, {}, "4: 1(0.1,0.2,0.3) 2(0.9,0.2,0.7) 3(0.6,0.7,0.3) 4(0.4,0.7,0.7) /4"},
        {orbit_conv, "C 2y", general, {}, "2: 1(0.1,0.2,0.3) 2(0.9,0.2,0.7) /2"},
        {orbit_centred, "P 1", {1.6f, -0.7f, 0}, {}, "1: 1(0.6,-0.7,0) /1"},
        {orbit, "P -2y", {0.1f, 0.0001f, 0.2f}, {}, "2: 1(0.1,0.0001,0.2) 2(0.1,0.9999,0.2) /2"},
        {site, "P -2y", {0.1f, 0.0001f, 0.2f}, {}, "2 1.000000"},
        {stabiliser, "-P 2y", {0.5f, 0, 0.5f}, {}, "4: 1(0,0,0) 4(0,0,0) 2(1,0,1) 3(1,0,1) /4"},
        {stabiliser, "P -2y", {0.1f, 0.0003f, 0.2f}, {}, "1: 1(0,0,0) 0(0,0,0) /2"},
        {stabiliser, "-P 1", {0.000075f, 0.000075f, 0.000075f}, {}, "1: 1(0,0,0) 0(0,0,0) /2"},
        // Shifts beyond -1..1 are found and ordered by their components.
        {stabiliser, "-P 1", {1.5f, 0, 0}, {}, "2: 1(0,0,0) 2(3,0,0) /2"},
        {stabiliser, "-P 2y", {-1.5f, 2, 0.5f}, {}, "4: 1(0,0,0) 2(-3,0,1) 3(-3,4,1) 4(0,4,0) /4"},
        {stabiliser, "-P 1", {nan, 0, 0}, {}, "1: 1(0,0,0) 0(0,0,0) /2"}, {suborbits, "-P 2y", general, {1, 2, 0}, "4: 1 1 2 2 /4"},
        {suborbits, "-P 2y", general, {1, 3, 0, 2}, "4: 1 2 1 2 /4"}, {suborbits, "-P 2y", general, {1, 2, 3, 4}, "4: 1 1 1 1 /4"},
        {suborbits, "-P 2y", general, {0, 1}, "4: 0 0 0 0 /4"},
        // The list ends at its end or at a number that names no operator.
        {suborbits, "-P 2y", general, {1}, "4: 1 2 3 4 /4"}, {suborbits, "-P 2y", general, {1, 2, 5, 3}, "4: 1 1 2 2 /4"},
        {suborbits, "C 2y", general, {1, 3, -1, 2}, "2: 1 2 /2"}, {suborbits, "-P 1", general, {2, 0}, "2: 0 1 /2"},
        {suborbits_prim, "C 2y", general, {1, 3, 0}, "4: 1 2 1 2 /4"},
    };
    auto g = std::make_unique<SpaceGroup>();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.hall) + " " + text_of(c.point));
        EXPECT_EQ(summary(c.call, group_checks::build(*g, c.hall), c.point, c.sub_ops), c.want);
    }
    EXPECT_EQ(summary(site, SpaceGroup{}, general, {}), "0 0.000000");  // a record never built: no quotient by zero
}
