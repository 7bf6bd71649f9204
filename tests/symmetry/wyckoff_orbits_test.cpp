// Special Wyckoff positions: each tabulated representative expands under the
// group's operators into as many positions as the peer's site multiplicity
// (divided by the centring count) requires.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "symmetry/symmetry.hpp"
#include "support/tsv_fixture.hpp"
#include "tables/sym_table.hpp"

namespace {

using namespace vorn_crystallographic_symmetry;

struct WyckoffMultiplicities {
    std::string key;
    std::vector<int> multiplicities;
};

std::vector<WyckoffMultiplicities> read_multiplicities() {
    std::vector<WyckoffMultiplicities> rows;
    for (std::vector<std::string> f : tables_test::read_tsv("wyckoff-multiplicities.tsv")) {
        f.resize(3);
        WyckoffMultiplicities row{f[0], {}};
        std::istringstream numbers(f[2]);
        for (int m; numbers >> m;) row.multiplicities.push_back(m);
        rows.push_back(row);
    }
    return rows;
}

TEST(WyckoffOrbits, EveryTabulatedLetterHasThePeersMultiplicity) {
    const std::vector<WyckoffMultiplicities> rows = read_multiplicities();
    ASSERT_EQ(rows.size(), 273u);
    SpaceGroup g;
    int letters = 0;
    for (const WyckoffMultiplicities& row : rows) {
        set_spacegroup(row.key, g);
        ASSERT_FALSE(err_symm) << row.key << ": " << err_symm_mess;
        ASSERT_EQ(g.wyckoff.orbit_count, static_cast<int>(row.multiplicities.size())) << row.key;
        for (std::size_t k = 0; k < row.multiplicities.size(); ++k) {
            const WyckoffOrbit& orbit = g.wyckoff.orbits[k];
            EXPECT_EQ(orbit.multiplicity, row.multiplicities[k])
                << row.key << " letter " << static_cast<char>('a' + k) << " " << orbit.positions[0].trimmed();
            EXPECT_EQ(orbit.multiplicity, g.centring_count * orbit.position_count);
            ++letters;
        }
    }
    EXPECT_EQ(letters, 1783);
}

TEST(WyckoffOrbits, RepresentativeAndCentringImages) {
    SpaceGroup g;
    set_spacegroup("C 2/m", g);
    std::int32_t n = -1;
    std::array<FixedText<40>, 48> texts;
    wyckoff_orbit(g, "", n, texts);
    EXPECT_EQ(n, 0);
    EXPECT_TRUE(texts[0].blank());

    // In C 2/m the point 1/4,1/4,0 and its image 3/4,3/4,0 differ by the
    // C centring: one position, site multiplicity 4 with the centring.
    wyckoff_orbit(g, "1/4,1/4,0", n, texts);
    EXPECT_EQ(n, 2);
    EXPECT_EQ(texts[0].trimmed(), "1/4,1/4,0");
    EXPECT_EQ(texts[1].trimmed(), "3/4,1/4,0");
    EXPECT_FALSE(err_symm);  // the singular matrix of a position is no error here

    // The representative keeps its table spelling and is still recognised
    // when an image is spelled by the writer.
    set_spacegroup("P -1", g);
    wyckoff_orbit(g, " 0,0,0.5", n, texts);
    EXPECT_EQ(n, 1);
    EXPECT_EQ(texts[0].trimmed(), "0,0,0.5");
    wyckoff_orbit(g, "x,y,z", n, texts);
    EXPECT_EQ(n, 2);
    EXPECT_EQ(texts[1].trimmed(), "-x,-y,-z");
}


// The Wyckoff positions are found by the group's symbol, or by the alias with
// the same Hall symbol (the full symbol "P 1 21/c 1" has no row of its own).
// Tables damaged between two constructions are refilled first, so the second
// construction finds the same positions.
TEST(WyckoffOrbits, AliasAndRefilledTables) {
    namespace tables = vorn_symmetry_tables;
    SpaceGroup short_symbol, full_symbol;
    set_spacegroup("P 21/c", short_symbol);
    set_spacegroup("P 1 21/c 1", full_symbol);
    ASSERT_EQ(short_symbol.wyckoff.orbit_count, 4);
    ASSERT_EQ(full_symbol.wyckoff.orbit_count, 4);
    for (std::size_t k = 0; k < 4; ++k) {
        const WyckoffOrbit& a = short_symbol.wyckoff.orbits[k];
        const WyckoffOrbit& b = full_symbol.wyckoff.orbits[k];
        EXPECT_EQ(a.position_count, 2) << k;
        EXPECT_EQ(a.multiplicity, b.multiplicity) << k;
        EXPECT_EQ(a.positions, b.positions) << k;
    }

    for (auto& row : tables::wyckoff_info) {
        row.hm_symbol = "damaged";
        row.orbit_count = 0;
    }
    for (auto& row : tables::spgr_info) row.hall_symbol = "damaged";
    SpaceGroup again;
    set_spacegroup("P 1 21/c 1", again);
    EXPECT_FALSE(err_symm) << err_symm_mess;
    EXPECT_EQ(again.hall_symbol.trimmed(), "-P 2ybc");
    ASSERT_EQ(again.wyckoff.orbit_count, 4);
    for (std::size_t k = 0; k < 4; ++k) EXPECT_EQ(again.wyckoff.orbits[k].positions, full_symbol.wyckoff.orbits[k].positions) << k;
    EXPECT_EQ(tables::wyckoff_info[2].hm_symbol.trimmed(), "P -1");
}

}  // namespace
