// set_spacegroup fills the whole record from a number, a Hermann-Mauguin or Hall symbol, tabulated or user
// generators or a full list: the reduced set, its inversion images at the centre, the centring copies, the texts,
// the hexagonal-axes flag and the special Wyckoff positions; refused inputs leave the reset record.
#include <gtest/gtest.h>

#include "group_checks.hpp"
#include "tables/sym_table.hpp"

namespace {

using namespace vorn_crystallographic_symmetry;
using group_checks::describe;
using Texts = std::vector<std::string>;

const std::string reset_record = "0|unknown|unknown|unknown|?|?|?|?|0|?|?|0|?   |?|-1 (0 0 0)|0|0|0|0|?/?|0|1 1 1";

// expected: describe(), then up to 8 stored texts (reduced set, inversion images, centring copies); count: the
// number of texts announced when it is not the number given.
struct Case { std::string symbol; Texts ops; const char* mode; std::string expected;
              bool use_hall = false; int count = 0; };

void build(const Case& c, SpaceGroup& g) {
    if (c.ops.empty())
        set_spacegroup(c.symbol, g, std::nullopt, std::nullopt,
                       c.mode ? std::optional<std::string_view>(c.mode) : std::nullopt, c.use_hall);
    else
        set_spacegroup(c.symbol, g, c.ops, c.count ? c.count : static_cast<std::int32_t>(c.ops.size()), c.mode);
}

TEST(SpaceGroupRecord, BuiltFromEveryKindOfInput) {
    const std::string pad(11, ' ');
    const Case cases[] = {
        {"P 21/c", {}, nullptr, "14|P 21/c|-P 2ybc|Monoclinic|2/m|2/m|b1|IT (Generated from Hermann-Mauguin symbol)|0|P|mP|1|  P:|Centric (-1 at origin)|2 (0 0 0)|2|4|1|4|x,y,z/?|4|1 0.25 1 x,y,z;-x,y+1/2,-z+1/2;-x,-y,-z;x,-y+1/2,z+1/2"},
        {"14", {}, nullptr, "14|P 1 21/c 1|-P 2ybc|Monoclinic|2/m|2/m|b1|Generated from Hall symbol|0|P|mP|1|  P:|Centric (-1 at origin)|2 (0 0 0)|2|4|1|4|x,y,z/?|4|1 0.25 1 x,y,z;-x,y+1/2,-z+1/2;-x,-y,-z;x,-y+1/2,z+1/2"},
        {"P 21/c", {}, nullptr, "14|P 21/c|-P 2ybc|Monoclinic|2/m|2/m|b1|Generated from Hall symbol|0|P|mP|1|  P:|Centric (-1 at origin)|2 (0 0 0)|2|4|1|4|x,y,z/?|4|1 0.25 1 x,y,z;-x,y+1/2,-z+1/2;-x,-y,-z;x,-y+1/2,z+1/2", true},
        {"P M 3", {}, nullptr, "200|P m 3|-P 2 2 3|Cubic|m-3|m-3||IT (Generated from Hermann-Mauguin symbol)|0|P|cP|1|  P:|Centric (-1 at origin)|2 (0 0 0)|12|24|3|24|x,y,z/?|11|0.5 0.5 0.5"},
        {"p 21 21 21", {}, nullptr, "19|P 21 21 21|P 2ac 2ab|Orthorhombic|mmm|222||IT (Generated from Hermann-Mauguin symbol)|0|P|oP|1|  P:|Acentric|1 (0 0 0)|4|4|2|4|x,y,z/?|0|0.5 0.5 1 x,y,z;x+1/2,-y+1/2,-z;-x,y+1/2,-z+1/2;-x+1/2,-y,z+1/2"},
        {"P 21 21 21  xyz", {}, nullptr, "="}, {pad + "P 21 21 21", {}, nullptr, "="},
        {pad + "P 21 21 21:9", {}, "HMS", "0|P 21 21 21:9|unknown|Orthorhombic|mmm|222|?|IT (Generated from Hermann-Mauguin symbol)|0|P|oP|1|  P:|Acentric|1 (0 0 0)|4|4|0|4|x,y,z/?|0|1 1 1 x,y,z;x+1/2,-y+1/2,-z;-x,y+1/2,-z+1/2;-x+1/2,-y,z+1/2"},
        {"F -4 D 2", {}, nullptr, "122|F -4 d 2|F -4 -2cd|Tetragonal|4/mmm|-42m||Generated from Hall symbol|0|F|tF|4|  F:|Acentric|1 (0 0 0)|8|32|2|32|x,y,z/?|0|0.5 1 0.125"},
        {"P 4/N M M:1", {}, nullptr, "129|P 4/n m m:1|P 4ab 2ab -1ab|Tetragonal|4/mmm|4/mmm|1|Generated from Hall symbol|0|P|tP|1|  P:|Centric (-1 not at origin)  Gen(-1):-x+1/2,-y+1/2,-z|0 (0.25 0.25 0)|8|16|2|16|x,y,z/?|10|0 0.5 0.5"},
        {"R -3 C:R", {}, nullptr, "167|R -3 c:r|-P 3* 2n|Trigonal|-3m R|-3m|R|Generated from Hall symbol|0|P|hP|1|  P:|Centric (-1 at origin)|2 (0 0 0)|6|12|2|12|x,y,z/?|5|1.25 1.25 0.75"},
        {"R 3", {}, nullptr, "146|R 3|R 3|Trigonal|-3|3|H|IT (Generated from Hermann-Mauguin symbol)|1|R|hR|3|  R:|Acentric|1 (0 0 0)|3|9|1|9|x,y,z/?|1|0.666667 0.666667 0.333333"},
        {"P 3 1 c", {}, nullptr, "159|P 3 1 c|P 3 -2c|Trigonal|-31m|31m||IT (Generated from Hermann-Mauguin symbol)|1|P|hP|1|  P:|Acentric|1 (0 0 0)|6|6|2|6|x,y,z/?|2|0.666667 0.666667 0.5 x,y,z;-y,x-y,z;-x+y,-x,z;y,x,z+1/2;x-y,-y,z+1/2;-x,-x+y,z+1/2"},
        {"P 6/m m m", {}, nullptr, "191|P 6/m m m|-P 6 2|Hexagonal|6/mmm|6/mmm||IT (Generated from Hermann-Mauguin symbol)|1|P|hP|1|  P:|Centric (-1 at origin)|2 (0 0 0)|12|24|2|24|x,y,z/?|17|0.666667 0.333333 0.5"},
        {"R 3:R", {}, nullptr, "146|R 3:r|P 3*|Trigonal|-3 R|3|R|Generated from Hall symbol|0|P|hP|1|  P:|Acentric|1 (0 0 0)|3|3|1|3|x,y,z/?|1|1 1 1 x,y,z;z,x,y;y,z,x"},
        {"P N N N:1", {}, nullptr, "48|P n n n:1|P 2 2 -1n|Orthorhombic|mmm|mmm|1|Generated from Hall symbol|0|P|oP|1|  P:|Centric (-1 not at origin)  Gen(-1):-x+1/2,-y+1/2,-z+1/2|0 (0.25 0.25 0.25)|4|8|2|8|x,y,z/?|12|0.25 0.5 1 x,y,z;-x,-y,z;x,-y,-z;-x,y,-z;-x+1/2,-y+1/2,-z+1/2;x+1/2,y+1/2,-z+1/2;-x+1/2,y+1/2,z+1/2;x+1/2,-y+1/2,z+1/2"},
        {"I 41/a m d", {}, nullptr, "141|I 41/a m d|-I 4bd 2|Tetragonal|4/mmm|4/mmm|2|IT (Generated from Hermann-Mauguin symbol)|0|I|tI|2|  I:|Centric (-1 at origin)|2 (0 0 0)|8|32|2|32|x,y,z/?|8|0.5 0.25 0.125"},
        {"F m -3 m", {}, nullptr, "225|F m -3 m|-F 4 2 3|Cubic|m-3m|m-3m||IT (Generated from Hermann-Mauguin symbol)|0|F|cF|4|  F:|Centric (-1 at origin)|2 (0 0 0)|24|192|3|192|x,y,z/x,-z+1/2,y+1/2|11|0.5 0.25 0.25"},
        {"P 41 21 2", {}, "ITC", "92|P 41 21 2|P 4abw 2nw|Tetragonal|4/mmm|422||Generated from explicit IT generators|0|P|tP|1|  P:|Acentric|1 (0 0 0)|8|8|3|8|x,y,z/?|1|1 1 0.125 x,y,z;-x,-y,z+1/2;-y+1/2,x+1/2,z+1/4;-x+1/2,y+1/2,-z+1/4;y+1/2,-x+1/2,z+3/4;x+1/2,-y+1/2,-z+3/4;-y,-x,-z+1/2;y,x,-z"},
        {"F m -3 m", {}, "ITC", "225|F m -3 m|-F 4 2 3|Cubic|m-3m|m-3m||Generated from explicit IT generators|0|F|cF|4|  F:|Centric (-1 at origin)|2 (0 0 0)|24|192|4|192|x,y,z/-x,-z+1/2,y+1/2|11|0.5 0.25 0.25"},
        {"0000000000014", {}, "ITC", "1|P 1|P 1|Triclinic|-1|1||Generated from explicit IT generators|0|P|aP|1|  P:|Acentric|1 (0 0 0)|1|1|0|1|x,y,z/?|0|1 1 1 x,y,z"},  // generators read from the row's 12 characters
        {"48", {}, "itc", "48|P n n n|-P 2ab 2bc|Orthorhombic|mmm|mmm|2|Generated from explicit IT generators|0|P|oP|1|  P:|Centric (-1 at origin)|2 (0 0 0)|4|8|2|8|x,y,z/?|12|0.25 0.25 1 x,y,z;-x+1/2,-y+1/2,z;-x+1/2,y,-z+1/2;x,-y+1/2,-z+1/2;-x,-y,-z;x+1/2,y+1/2,-z;x+1/2,-y,z+1/2;-x,y+1/2,z+1/2"},
        {"P 2 -1", {}, "HAL", "0|unknown|P 2 -1|Monoclinic|2/m|2/m|?|Generated from Hall symbol|0|P|mP|1|  P:|Centric (-1 at origin)|2 (0 0 0)|2|4|1|4|x,y,z/?|0|1 1 1 x,y,z;-x,-y,z;-x,-y,-z;x,y,-z"},
        {"-P 2 (0 0 1)", {}, "HAL", "0|unknown|-P 2 (0 0 1)|Monoclinic|2/m|2/m|?|Generated from Hall symbol|0|P|mP|1|  P:|Centric (-1 not at origin)  Gen(-1):-x,-y,-z+1/6|0 (0 0 0.0833333)|2|4|1|4|x,y,z/?|0|1 1 1 x,y,z;-x,-y,z;-x,-y,-z+1/6;x,y,-z+1/6"},
        {"P 2 -1 (0 0 1)", {}, "HAL", "0|unknown|P 2 -1 (0 0 1)|Monoclinic|2/m|2/m|?|Generated from Hall symbol|0|P|mP|1|  P:|Centric (-1 not at origin)  Gen(-1):-x,-y,-z+1/6|0 (0 0 0.0833333)|2|4|1|4|x,y,z/?|0|1 1 1 x,y,z;-x,-y,z;-x,-y,-z+1/6;x,y,-z+1/6"},
        {"P 2 2 -1n (1 0 0)", {}, "HAL", "0|unknown|P 2 2 -1N (1 0 0|Orthorhombic|mmm|mmm|?|Generated from Hall symbol|0|P|oP|1|  P:|Centric (-1 not at origin)  Gen(-1):-x+2/3,-y+1/2,-z+1/2|0 (0.333333 0.25 0.25)|4|8|2|8|x,y,z/?|0|1 1 1 x,y,z;-x+1/6,-y,z;x,-y,-z;-x+1/6,y,-z;-x+2/3,-y+1/2,-z+1/2;x+1/2,y+1/2,-z+1/2;-x+2/3,y+1/2,z+1/2;x+1/2,-y+1/2,z+1/2"},
        {"P 2 2 -1N (1 0 0", {}, "HAL", "="},
        {"", {"x+1/2,y+1/2,z", "-x,y,-z", "-x,-y,-z"}, "GEN", "0|unknown|unknown|Monoclinic|2/m|2/m|?|Non-Conventional (user-given operators)|0|C|mC|2|  C:|Centric (-1 at origin)|2 (0 0 0)|2|8|1|8|x,y,z/?|0|1 1 1 x,y,z;-x,y,-z;-x,-y,-z;x,-y,z;x+1/2,y+1/2,z;-x+1/2,y+1/2,-z;-x+1/2,-y+1/2,-z;x+1/2,-y+1/2,z"},
        {"", {"-y,x,z", "x,y,-z"}, "GEN", "0|unknown|unknown|Tetragonal|4/m|4/m|?|Non-Conventional (user-given operators)|0|P|tP|1|  P:|Centric (-1 at origin)|2 (0 0 0)|4|8|2|8|x,y,z/?|0|1 1 1 x,y,z;-y,x,z;x,y,-z;y,-x,z;-x,-y,-z;y,-x,-z;-x,-y,z;-y,x,-z"},
        {"", {"-x,-y,z", "x+1/2,y,z"}, "GEN", "0|unknown|unknown|Monoclinic|2/m|2|?|Non-Conventional (user-given operators)|0|Z|mZ|2|  Z:|Acentric|1 (0 0 0)|2|4|1|4|x,y,z/?|0|1 1 1 x,y,z;-x,-y,z;x+1/2,y,z;-x+1/2,-y,z"},
        {"user", {"x,y,z", "-x,y+1/2,-z+1/2", "-x,-y,-z", "x,-y+1/2,z+1/2"}, "FIX", "0|unknown|unknown|Monoclinic|2/m|2/m|?|Non-Conventional (user-given operators)|0|P|mP|1|  P:|Centric (-1 at origin)|2 (0 0 0)|4|4|3|4|x,y,z/?|0|1 1 1 x,y,z;-x,y+1/2,-z+1/2;-x,-y,-z;x,-y+1/2,z+1/2"},
    };
    std::string previous;
    for (const Case& c : cases) {
        SpaceGroup g;
        build(c, g);
        std::string got = describe(g), expected = c.expected == "=" ? previous : c.expected;  // "=": as the row before
        for (int k = 0; k < g.multiplicity && g.multiplicity <= 8; ++k)
            got += (k ? ";" : " ") + std::string(g.operator_symbols[k].trimmed());
        previous = got;
        EXPECT_EQ(got, expected) << '"' << c.symbol << "\" " << c.mode << ' ' << err_symm_mess;
        EXPECT_EQ(group_checks::group_fault(g), "") << c.symbol;
        EXPECT_EQ(hexa, g.hexagonal) << c.symbol;
    }
}

TEST(SpaceGroupRecord, RefusedInputsLeaveTheResetRecord) {
    const std::vector<std::string> centrings = {"x+1/2,y,z", "x,y+1/2,z", "x,y,z+1/2", "-x,-y,z", "-x,y,-z",
                                                "z,x,y",     "y,x,-z",   "-x,-y,-z"};
    const std::string infinite = "-x,-y," + std::string(50, '3') + "+z";
    const std::string overflow = "-x+1,-y," + std::string(50, '7') + "-z", wrong = " The above operator is wrong: ";
    const std::string no_group = " The generators do not form a space group";
    const std::string limits = " Number of Space Group out of limits";
    const std::string exceeds = " The number of operators exceeds the list given or 48";
    const struct { Case c; std::string message; } cases[] = {
        {{"231", {}, nullptr, ""}, limits}, {{"0", {}, nullptr, ""}, limits}, {{"-4", {}, nullptr, ""}, limits},
        {{"", {}, "GEN", ""}, " Generators should be provided in GEN calling Set_SpaceGroup"},
        {{"", {}, "FIX", ""}, " Generators should be provided if FIX option is Used"},
        {{"P 1", {}, "XYZ", ""}, " Problems in SpaceGroup"},
        {{"X 99", {}, "ITC", ""}, " Problems in SpaceGroup: X 99 => the HM symbol or the number is incorrect "},
        {{"Q 2", {}, nullptr, "0|unknown|Q 2|unknown|?|?|?|Generated from Hall symbol|0|P||1|?   |Acentric|1 (0 0 0)|0|0|1|0|?/?|0|1 1 1"}, " IBRAVL is Equal Zero"},
        {{"P 2 -", {}, nullptr, "0|unknown|P 2 -|unknown|?|?|?|Generated from Hall symbol|0|P||1|  P:|Acentric|1 (0 0 0)|0|0|1|0|?/?|0|1 1 1"}, ""},
        {{"B 63", {}, "HMS", "0|B 63|unknown|Hexagonal|?|?|?|IT (Generated from Hermann-Mauguin symbol)|0|B|hP|2|  B:|Acentric|1 (0 0 0)|6|0|0|0|?/?|0|1 1 1"}, " Wrong space-group symbol: B 63" + std::string(16, ' ')},
        {{"-C 4Y", {}, nullptr, "0|unknown|-C 4Y|Tetragonal|?|?|?|Generated from Hall symbol|0|C|tC|2|  C:|Centric (-1 at origin)|2 (0 0 0)|4|0|1|0|?/?|0|1 1 1"}, " The operators of the Hall symbol do not form a space group: -C 4Y"},
        {{"", {"-x,-y,z+1/2q"}, "GEN", ""}, " Invalid character... q in operator string"},
        {{"", {"x,y,z", "-x,-y"}, "FIX", ""}, " Blank operator field"},
        {{"", {"x,y,z", infinite}, "GEN", ""}, wrong + infinite},
        {{"", {overflow, "x,-y,-z"}, "GEN", ""}, wrong + overflow},
        {{"", {"-y,x,z", "x+1/2,y,z"}, "GEN", "0|unknown|unknown|Tetragonal|?|?|?|Non-Conventional (user-given operators)|0|Z|tZ|2|  Z:|Acentric|1 (0 0 0)|4|0|1|0|?/?|0|1 1 1"}, no_group},
        {{"", {"x+y,y,z"}, "GEN", "*"}, no_group}, {{"", {"x,y+z,z", "-x,-y,-z"}, "GEN", "*"}, no_group},
        {{"", {"-x,-y,z", "2x,y,-z"}, "GEN", "*"}, no_group}, {{"", {"-x+y,y,-z+x"}, "GEN", "*"}, no_group},
        {{"", {"y,z,x", "x-y,y,z+1/2"}, "GEN", "*"}, no_group}, {{"", {"-8y+2/3,z+2x,z"}, "GEN", "*"}, no_group},
        {{"", {"2x,y,z"}, "GEN", "*"}, no_group}, {{"", {"x+y,y,z", "-x,-y,z"}, "GEN", "*"}, no_group},
        {{"", {"-x,-y,z", "x,y,-z"}, "GEN", "", false, 3}, exceeds}, {{"", Texts(49, "x,y,z"), "FIX", ""}, exceeds},
        {{"", centrings, "GEN", "0|unknown|unknown|Cubic|m-3m|m-3m|?|Non-Conventional (user-given operators)|0|Z|cZ|8|  Z:|Centric (-1 at origin)|2 (0 0 0)|24|192|4|192|x,y,z/-x,-z,y+1/2|0|1 1 1"}, " Dimension of Table exceeded: more than 192 operators"},
    };
    for (const auto& [c, message] : cases) {
        SpaceGroup g;
        hexa = true;
        build(c, g);
        EXPECT_TRUE(err_symm && err_symm_mess == message) << c.symbol << ": " << err_symm_mess;
        const std::string expected = c.expected.empty() ? reset_record : c.expected;  // "*": not pinned
        EXPECT_EQ(expected == "*" ? expected : describe(g), expected) << '"' << c.symbol << "\" " << c.mode;
        EXPECT_TRUE(hexa || g.multiplicity > 0) << c.symbol;
    }
}

// Hexagonal axes: some rotation after operator 1 couples a and b.  An error message is cut to 150 characters.
TEST(SpaceGroupRecord, HexagonalAxesTestAndMessageCut) {
    const RotationMatrix one{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}, three{{{0, -1, 0}, {1, -1, 0}, {0, 0, 1}}},
        six{{{1, -1, 0}, {1, 0, 0}, {0, 0, 1}}}, cubic_three{{{0, 0, 1}, {1, 0, 0}, {0, 1, 0}}};
    EXPECT_TRUE(is_hexa(2, std::vector{one, three}) && is_hexa(2, std::vector{one, six}));
    EXPECT_FALSE(is_hexa(2, std::vector{one, cubic_three}) || is_hexa(1, std::vector{one, three}) ||
                 is_hexa(0, std::vector{one, three}));  // operator 1 is not examined
    set_err_symm(std::string(200, 'e'));
    EXPECT_TRUE(err_symm && err_symm_mess == std::string(150, 'e'));
}

// Each tabulated Wyckoff representative expands into the peer's site multiplicity (centring included).
TEST(WyckoffOrbits, EveryTabulatedLetterHasThePeersMultiplicity) {
    SpaceGroup g;
    const auto rows = tables_test::read_tsv("wyckoff-multiplicities.tsv");
    ASSERT_EQ(rows.size(), 273u);
    for (std::vector<std::string> f : rows) {
        f.resize(3);
        set_spacegroup(f[0], g);
        ASSERT_FALSE(err_symm) << f[0] << ": " << err_symm_mess;
        std::string got;
        for (int k = 0; k < g.wyckoff.orbit_count; ++k)
            got += (k ? " " : "") + std::to_string(g.wyckoff.orbits[static_cast<std::size_t>(k)].multiplicity);
        EXPECT_EQ(got, f[2]) << f[0];
    }
}

// A representative keeps its table spelling; images equal to it up to a centring are not listed again.
TEST(WyckoffOrbits, RepresentativeImagesAndAliases) {
    const struct { const char* group; const char* rep; const char* orbit; } cases[] = {
        {"C 2/m", "", ""}, {"C 2/m", "1/4,1/4,0", "1/4,1/4,0;3/4,1/4,0"}, {"P -1", " 0,0,0.5", "0,0,0.5"},
        {"P -1", "x,y,z", "x,y,z;-x,-y,-z"}, {"P 1 21/c 1", "0,0,0", "0,0,0;0,1/2,1/2"}};
    for (const auto& c : cases) {
        SpaceGroup g;
        set_spacegroup(c.group, g);
        std::int32_t n = -1;
        std::array<FixedText<40>, 48> texts;
        wyckoff_orbit(g, c.rep, n, texts);
        EXPECT_FALSE(err_symm);
        std::string got;
        for (int k = 0; k < n; ++k) got += (k ? ";" : "") + std::string(texts[static_cast<std::size_t>(k)].trimmed());
        EXPECT_EQ(got, c.orbit) << c.group << ' ' << c.rep;
        EXPECT_TRUE(texts[static_cast<std::size_t>(n)].blank()) << c.group << ' ' << c.rep;
    }
    // The full symbol "P 1 21/c 1" has no Wyckoff row: the row with its Hall symbol gives the positions, also
    // after the tables were damaged between two constructions (they are refilled first).
    namespace tables = vorn_symmetry_tables;
    SpaceGroup short_symbol, full_symbol, again;
    set_spacegroup("P 21/c", short_symbol);
    set_spacegroup("P 1 21/c 1", full_symbol);
    for (auto& row : tables::wyckoff_info) row.hm_symbol = "damaged", row.orbit_count = 0;
    for (auto& row : tables::spgr_info) row.hall_symbol = "damaged";
    set_spacegroup("P 1 21/c 1", again);
    EXPECT_EQ(again.hall_symbol.trimmed(), "-P 2ybc");
    EXPECT_EQ(tables::wyckoff_info[2].hm_symbol.trimmed(), "P -1");
    for (std::size_t k = 0; k < 26; ++k) {
        EXPECT_EQ(short_symbol.wyckoff.orbits[k].positions, full_symbol.wyckoff.orbits[k].positions) << k;
        EXPECT_EQ(again.wyckoff.orbits[k].positions, full_symbol.wyckoff.orbits[k].positions) << k;
        EXPECT_EQ(again.wyckoff.orbits[k].multiplicity, short_symbol.wyckoff.orbits[k].multiplicity) << k;
    }
}

}  // namespace
