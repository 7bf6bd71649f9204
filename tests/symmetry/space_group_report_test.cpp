// The text report of a space group, byte for byte: labelled fields, centring translations two to a line,
// operators with their geometric symbols ("Symbol: " always at column 50), the special Wyckoff positions from the
// last letter down, and counts beyond the arrays listed only up to the arrays' ends.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <sstream>

#include "support/scratch_dir.hpp"
#include "symmetry/symmetry.hpp"
#include "text/string_util.hpp"

namespace {

using namespace vorn_crystallographic_symmetry;
namespace su = vorn_string_utilities;
using Lines = std::vector<std::string>;

// The report lines written to a formatted unit.
Lines report(const std::function<void(std::int32_t)>& write) {
    borq_test::ScratchDir scratch("space_group_report");
    EXPECT_TRUE(su::open_unit(41, "report.txt", su::UnitAccess::write));
    write(41);
    su::close_unit(41);
    Lines lines;
    std::istringstream in(borq_test::read_file("report.txt"));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

const std::string blank100(100, ' ');
std::string pad(const std::string& text, std::size_t width) { return su::fixed(text, width); }
const std::string wyckoff_header = "    Multp     Site        Representative Coordinates (centring translations excluded)";

TEST(SpaceGroupReport, ShortAndFullReportsByteForByte) {
    auto z_lattice = std::make_unique<SpaceGroup>();
    const std::vector<std::string> generators = {"-x,-y,z", "x+1/3,y+2/3,z"};
    set_spacegroup("", *z_lattice, generators, 2, "GEN");
    auto long_texts = std::make_unique<SpaceGroup>(*z_lattice);
    long_texts->operator_symbols[0] = "-x+y+0.3333333,-x+0.6666667,z+0.16666667";  // 40 characters
    long_texts->multiplicity = 2;
    struct Case { const char* symbol; const SpaceGroup* record; bool full; std::size_t from; Lines expected; bool to_end = true; };
    const Case cases[] = {
        {"P 1 2/m 1", nullptr, false, 0, {"", "", "        Information on Space Group: ",
          "        --------------------------- ", "", " =>  Number of Space group:  10",
          " => Hermann-Mauguin Symbol: P 1 2/m 1", " =>            Hall Symbol: -P 2y",
          " =>   Table Setting Choice: b", " =>           Setting Type: IT (Generated from Hermann-Mauguin symbol)",
          " =>         Crystal System: Monoclinic", " =>             Laue Class: 2/m",
          " =>            Point Group: 2/m", " =>        Bravais Lattice: P", " =>         Lattice Symbol: mP",
          " => Reduced Number of S.O.:   2", " =>   General multiplicity:   4",
          " =>         Centrosymmetry: Centric (-1 at origin)", " => Generators (exc. -1&L):   1",
          " =>        Asymmetric unit:  0.000 <= x <=  0.500", "                             0.000 <= y <=  0.500",
          "                             0.000 <= z <=  1.000",
          " => List of S.O. without inversion and lattice centring translations",
          " => SYMM( 1): x,y,z                                => SYMM( 2): -x,y,-z", ""}},
        {"P 1 2/m 1", nullptr, true, 22, {" => Centring vectors:  0", blank100, "",
          " => List of all Symmetry Operators and Symmetry Symbols", "",
          " => SYMM(  1): x,y,z                             Symbol: 1"}, false},
        {"C 1 2/c 1", nullptr, true, 22, {" => Centring vectors:  1", pad(" => Latt( 1): ( 1/2, 1/2, 0  )", 100), "",
          " => List of all Symmetry Operators and Symmetry Symbols", "",
          " => SYMM(  1): x,y,z                             Symbol: 1",
          " => SYMM(  2): -x,y,-z+1/2                       Symbol: 2 0,y,1/4",
          " => SYMM(  3): -x,-y,-z                          Symbol: -1 0,0,0",
          " => SYMM(  4): x,-y,z+1/2                        Symbol: c x,0,z",
          " => SYMM(  5): x+1/2,y+1/2,z                     Symbol: t (1/2,1/2,0)",
          " => SYMM(  6): -x+1/2,y+1/2,-z+1/2               Symbol: 2 (0,1/2,0) 1/4,y,1/4",
          " => SYMM(  7): -x+1/2,-y+1/2,-z                  Symbol: -1 1/4,1/4,0",
          " => SYMM(  8): x+1/2,-y+1/2,z+1/2                Symbol: n (1/2,0,1/2) x,1/4,z", "",
          " => Special Wyckoff Positions for C 1 2/c 1", " ", wyckoff_header,
          pad("      4       e              0,y,1/4             0,-y,3/4", 109), " ",
          pad("      4       d              1/4,1/4,1/2         3/4,1/4,0", 109), " ",
          pad("      4       c              1/4,1/4,0           3/4,1/4,1/2", 109), " ",
          pad("      4       b              0,1/2,0             0,1/2,1/2", 109), " ",
          pad("      4       a              0,0,0               0,0,1/2", 109), " "}},
        {nullptr, z_lattice.get(), false, 21, {"                             0.000 <= z <=  1.000",
          " => Non-conventional Centring vectors:  3",
          " => Latt( 1): ( 1/3, 2/3, 0  )                     => Latt( 2): ( 2/3, 1/3, 0  )                    ",
          blank100, " => List of S.O. without inversion and lattice centring translations",
          " => SYMM( 1): x,y,z                                => SYMM( 2): -x,-y,z", ""}},
        {nullptr, long_texts.get(), false, 26, {" => SYMM( 1): -x+y+0.3333333,-x+0.6666667,z+0.1666 => SYMM( 2): -x,-y,z", ""}},
        {nullptr, long_texts.get(), true, 28, {
          " => SYMM(  1): -x+y+0.3333333,-x+0.6666667,z+0.16Symbol: 3- (0,0,1/6) 1/3,1/3,z",
          " => SYMM(  2): -x,-y,z                           Symbol: 2 0,0,z"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.symbol ? c.symbol : "hand-made") + (c.full ? " full" : " short"));
        auto g = std::make_unique<SpaceGroup>();
        if (c.symbol) set_spacegroup(c.symbol, *g);
        const Lines lines = report([&](std::int32_t u) { write_spacegroup(c.record ? *c.record : *g, u, c.full); });
        ASSERT_GE(lines.size(), c.from + c.expected.size());
        EXPECT_EQ(Lines(lines.begin() + c.from, lines.begin() + c.from + c.expected.size()), c.expected);
        if (c.to_end) {
            EXPECT_EQ(lines.size(), c.from + c.expected.size());
        }
    }
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
    const std::string x24(24, 'x'), x18(18, 'x');
    const Lines expected = {"", " => Special Wyckoff Positions for Pnma", " ", wyckoff_header,
        pad("      8       c              3," + x18 + "3," + x18 + "3," + x24 + "x3", 109),
        pad("                             3," + x18 + "3," + x18 + "3," + x24 + "x6", 109), " ",
        pad("      4       b              1," + x18 + "1," + x18 + "1," + x24 + "x3", 109), " ",
        pad("      2       a              2," + x18 + "2," + x18 + "2," + x24 + "x3", 109), " "};
    EXPECT_EQ(report([&](std::int32_t u) { write_wyckoff(w, "Pnma  ", u, true); }), expected);
    w.orbit_count = 0;
    EXPECT_EQ(report([&](std::int32_t u) { write_wyckoff(w, "Pnma", u); }), Lines{});
}

TEST(SpaceGroupReport, CountsBeyondTheArraysOrNegativeListOnlyWhatTheArraysHold) {
    struct Case { std::int32_t count; bool full; std::size_t lines; std::string last; };
    const Case cases[] = {
        {1000, false, 22 + 7 + 1 + 24, pad(" => SYMM(47): x,y,z", 50) + " => SYMM(48): x,y,z"},
        {1000, true, 22 + 7 + 3 + 192 + 4 + 26 * 17, " "},
        {-2, false, 22 + 2 + 1 + 1, ""},
        {-2, true, 22 + 2 + 3 + 4, wyckoff_header},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.count) + (c.full ? " full" : " short"));
        auto g = std::make_unique<SpaceGroup>();
        g->lattice_letter = "Z";
        g->reduced_count = g->multiplicity = g->centring_count = g->wyckoff.orbit_count = c.count;
        for (auto& text : g->operator_symbols) text = "x,y,z";
        for (auto& orbit : g->wyckoff.orbits) orbit.position_count = c.count;
        const Lines lines = report([&](std::int32_t u) { write_spacegroup(*g, u, c.full); });
        EXPECT_EQ(lines.size(), c.lines);
        EXPECT_EQ(lines.back(), c.last);
    }
}

}  // namespace
