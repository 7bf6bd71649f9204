// The text report of a space group and its special Wyckoff positions, byte for byte against stored outputs:
// labelled fields, centring translations two to a line, operators with their geometric symbols, Wyckoff letters
// from the last down (or reordered), and counts beyond the arrays or negative listing only what the arrays hold.
#include <gtest/gtest.h>

#include <map>
#include <functional>
#include <memory>

#include "support/scratch_dir.hpp"
#include "symmetry/symmetry.hpp"
#include "text/string_util.hpp"

namespace {

using namespace vorn_crystallographic_symmetry;
namespace su = vorn_string_utilities;

// The bytes `write` puts on a formatted unit must be those of tests/data/reports/<name>.txt.
void expect_report(const std::string& name, const std::function<void(std::int32_t)>& write) {
    SCOPED_TRACE(name);
    const std::string golden = std::string(BORQ_TEST_DATA) + "/reports/" + name + ".txt";
    borq_test::ScratchDir scratch("space_group_report");
    ASSERT_TRUE(su::open_unit(41, "report.txt", su::UnitAccess::write));
    write(41);
    su::close_unit(41);
    EXPECT_EQ(borq_test::read_file("report.txt"), borq_test::read_file(golden));
}

TEST(SpaceGroupReport, ShortAndFullReportsByteForByte) {
    std::map<std::string, std::unique_ptr<SpaceGroup>> g;
    for (const auto& [name, symbol] : {std::pair{"p2m", "P 1 2/m 1"}, {"c2c", "C 1 2/c 1"}})
        set_spacegroup(symbol, *(g[name] = std::make_unique<SpaceGroup>()));
    const std::vector<std::string> generators = {"-x,-y,z", "x+1/3,y+2/3,z"};
    set_spacegroup("", *(g["z_lattice"] = std::make_unique<SpaceGroup>()), generators, 2, "GEN");
    g["long_texts"] = std::make_unique<SpaceGroup>(*g["z_lattice"]);
    g["long_texts"]->operator_symbols[0] = "-x+y+0.3333333,-x+0.6666667,z+0.16666667";  // 40 characters
    g["long_texts"]->multiplicity = 2;
    for (const std::int32_t count : {1000, -2}) {  // counts beyond the arrays, or negative
        SpaceGroup& c = *(g["count_" + std::to_string(count)] = std::make_unique<SpaceGroup>());
        c.lattice_letter = "Z";
        c.reduced_count = c.multiplicity = c.centring_count = c.wyckoff.orbit_count = count;
        for (auto& text : c.operator_symbols) text = "x,y,z";
        for (auto& orbit : c.wyckoff.orbits) orbit.position_count = count;
    }
    for (const auto& [name, record] : g)
        for (const bool full : {false, true})
            expect_report(name + (full ? "_full" : "_short"), [&r = *record, full](std::int32_t u) { write_spacegroup(r, u, full); });
    // Origin choice 1 of P 4/n: the centre (1/4,1/4,0) after the asymmetric unit, in the frame of one-digit fractions.
    SpaceGroup p4n1;
    set_spacegroup("P 4/n:1", p4n1);
    expect_report("p4n1_short", [&p4n1](std::int32_t u) { write_spacegroup(p4n1, u, false); });
}

TEST(SpaceGroupReport, WyckoffPositionsInStoredOrOrderedLetters) {
    WyckoffSet w;
    w.orbit_count = 3;
    const std::int32_t counts[] = {2, 1, 4};
    for (std::size_t k = 0; k < 3; ++k) {
        w.orbits[k].multiplicity = 2 * counts[k];
        w.orbits[k].position_count = counts[k];
        for (std::size_t j = 0; j < 6; ++j) w.orbits[k].positions[j] = std::to_string(k + 1) + "," + std::string(25, 'x') + std::to_string(j + 1);
    }
    expect_report("wyckoff_ordered", [&](std::int32_t u) { write_wyckoff(w, "Pnma  ", u, true); });
    expect_report("wyckoff_stored", [&](std::int32_t u) { write_wyckoff(w, "Pnma", u); });
    w.orbit_count = 0;
    expect_report("wyckoff_none", [&](std::int32_t u) { write_wyckoff(w, "Pnma", u); });
}

}  // namespace
