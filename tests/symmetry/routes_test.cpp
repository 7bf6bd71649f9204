// The four routes to a reduced operator list, called directly: Hermann-Mauguin rules, Hall symbols (centre of
// symmetry and change of origin applied to the whole group), closure of generators (pure translations give the
// centring, inversions the centre) and full lists kept as given; each refused input with its exact message; a lone
// space-group number taken as the number reader reads it.
#include <gtest/gtest.h>

#include <sstream>

#include "group_checks.hpp"

namespace {

using namespace vorn_crystallographic_symmetry;
using Texts = std::vector<std::string>;

struct Route {
    std::int32_t system = -1, code = -1, lattice = -1, count = -1, generators = -1;
    std::array<RotationMatrix, 48> rotations{};
    std::array<Vector3, 48> translations{};
    FixedText<2> bravais;
    Vector3 centre{};
    char letter = '?';
    std::string op(int k) const { return get_symsymbi(rotations[k - 1], translations[k - 1]); }
};

// 'M' Hermann-Mauguin, 'H' Hall, 'G' generators, 'F' full list.
Route run(char route, const std::string& symbol, const Texts& ops = {}) {
    Route r;
    if (route == 'M') {
        get_so_from_hms(r.system, r.code, r.lattice, r.count, r.rotations, r.translations, r.bravais, symbol);
    } else if (route == 'H') {
        get_so_from_hall(r.system, r.code, r.lattice, r.count, r.rotations, r.translations, r.bravais, r.centre,
                         r.generators, symbol);
    } else {
        for (std::size_t k = 0; k < ops.size(); ++k) read_xsym(ops[k], 1, r.rotations[k], r.translations[k]);
        r.count = static_cast<std::int32_t>(ops.size());
        if (route == 'G')
            get_so_from_gener(r.system, r.code, r.lattice, r.count, r.rotations, r.translations, r.bravais, r.centre,
                              r.generators, r.letter);
        else
            get_so_from_fix(r.system, r.code, r.lattice, r.count, r.rotations, r.translations, r.bravais, r.centre,
                            r.letter);
    }
    return r;
}

// system code lattice count generators bravais letter (centre) lattice state [second centring] texts (up to 8)
std::string summary(const Route& r) {
    std::ostringstream o;
    o << r.system << ' ' << r.code << ' ' << r.lattice << ' ' << r.count << ' ' << r.generators << ' '
      << r.bravais.trimmed() << ' ' << r.letter << " (" << r.centre[0] << ' ' << r.centre[1] << ' ' << r.centre[2]
      << ") " << lat_ch << nlat;
    if (nlat > 1) o << " [" << ltr[1][0] << ' ' << ltr[1][1] << ' ' << ltr[1][2] << ']';
    for (int k = 1; k <= r.count && r.count <= 8; ++k) o << (k == 1 ? " " : ";") << r.op(k);
    return o.str();
}

// Text outside the Hall grammar is refused with a blank message (an origin shift of half a cell or more and a
// symbol beyond 16 characters with a message naming them); a malformed Hermann-Mauguin symbol with the message
// naming it as given, one operator (the identity row left unset) in the list.
TEST(Routes, ReducedListsAndRefusals) {
    for (const char* s : {"P  2", "P 2  2", "P 5", "P 21", "P2", "P21/c", "R 3:H", "P 2 2 2 2 2", "P 3*1",
                          "P 2 (0 0 1 1)", "P 2 -", "P 2 2 -1n 2", "-P 2 -1", "P 2 (0 0 1) 2", "P 2x/", "-P 2:1", "P 1n"})
        EXPECT_TRUE(run('H', s).count == 0 && err_symm && err_symm_mess.empty()) << s << err_symm_mess;
    for (const char* s : {"X 2   ", "P21/c", "", "   ", "P 1 1 1", "P 1 2", "R m m m", "R 2 2 2", "P"})
        EXPECT_TRUE(run('M', s).count == 1 && err_symm_mess == " Wrong space-group symbol: " + std::string(s)) << s;

    Texts translations;
    for (int k = 1; k <= 12; ++k) translations.push_back("x+" + std::to_string(k) + "/13,y,z");
    const Texts distinct = {"-x,-y,z", "-x,y,-z", "z,x,y", "y,x,-z", "x,y,-z", "-y,x,z", "-y,x-y,z", "x-y,x,z",
        "y,z,x", "-z,-x,y", "z,-x,-y", "-z,x,-y", "x,z,y", "z,y,x", "-x,z,y", "y,-x,z", "x,-z,y", "-y,-x,z", "x,z,-y",
        "z,-y,x", "-z,y,x", "y,-z,-x", "-y,z,-x", "y,x,z", "-x,-z,-y", "z,x,-y"};  // more than the table holds
    // message: none when accepted.
    const struct { char route; std::string symbol; Texts ops; std::string expected; const char* message; } cases[] = {
        {'H', "P 1", {}, "1 1 1 1 1 aP ? (0 0 0) P1 x,y,z", nullptr},
        {'H', "-P 1", {}, "1 2 1 1 1 aP ? (0 0 0) P1 x,y,z", nullptr}, {'H', "P -1", {}, "=", nullptr},
        {'H', "P 2 2 -1n", {}, "3 0 1 4 2 oP ? (0.25 0.25 0.25) P1 x,y,z;-x,-y,z;x,-y,-z;-x,y,-z", nullptr},
        {'H', "F 4d 2 3 -1d", {}, "7 0 7 24 3 cF ? (0.125 0.125 0.125) F4 [0.5 0.5 0]", nullptr},
        {'H', "I 4bw", {}, "4 1 5 4 1 tI ? (0 0 0) I2 [0.5 0.5 0.5] x,y,z;-y,x+1/2,z+1/4;y+1/2,-x,z+3/4;-x,-y,z", nullptr},
        {'H', "P 31 2c (0 0 1)", {}, "5 1 1 6 2 hP ? (0 0 0) P1 x,y,z;-y,x-y,z+1/3;-y,-x,-z+2/3;-x+y,-x,z+2/3;x,x-y,-z;-x+y,y,-z+1/3", nullptr},
        {'H', "p 2ac 2ab", {}, "3 1 1 4 2 oP ? (0 0 0) P1 x,y,z;-x+1/2,-y,z+1/2;x+1/2,-y+1/2,-z;-x,y+1/2,-z+1/2", nullptr},
        {'H', "  P 2ac 2ab", {}, "=", nullptr}, {'H', "P 2ac 2ab", {}, "=", nullptr},
        {'H', "P 2 (0 0 1", {}, "2 1 1 2 1 mP ? (0 0 0) P1 x,y,z;-x,-y,z", nullptr},
        {'H', "P 2 (0 0 1)", {}, "=", nullptr},
        {'H', "P 2 -1", {}, "2 2 1 2 1 mP ? (0 0 0) P1 x,y,z;-x,-y,z", nullptr}, {'H', "-P 2", {}, "=", nullptr},
        {'H', "Z 2", {}, "0 1 0 0 1  ? (0 0 0) P1", " IBRAVL is Equal Zero"},
        {'H', "-Q 1", {}, "=", " IBRAVL is Equal Zero"}, {'H', "-", {}, "=", " IBRAVL is Equal Zero"},
        {'H', "P 2 (0 0 6)", {}, "=", " Origin shift out of range in Hall symbol: P 2 (0 0 6)"},
        {'H', "p 2 (9 0 -7)", {}, "=", " Origin shift out of range in Hall symbol: p 2 (9 0 -7)"},
        {'H', "P -2bc -2c (0 0 1)", {}, "=", " Hall symbol longer than 16 characters: P -2bc -2c (0 0 1)"},
        {'H', "P 2ac 2ab 2ab 2ab", {}, "=", " Hall symbol longer than 16 characters: P 2ac 2ab 2ab 2ab"},
        {'H', "P 6 3*", {}, "0 1 1 0 2  ? (0 0 0) P1", " Dimension of Table exceeded (II)"},
        {'M', "P 21/c", {}, "2 2 1 2 -1 mP ? (0 0 0) P1 x,y,z;-x,y+1/2,-z+1/2", nullptr},
        {'M', "C 2/c", {}, "2 2 4 2 -1 mC ? (0 0 0) C2 [0.5 0.5 0] x,y,z;-x,y,-z+1/2", nullptr},
        {'M', "P -1", {}, "1 2 1 1 -1 aP ? (0 0 0) P1 x,y,z", nullptr}, {'M', "P 1", {}, "1 1 1 1 -1 aP ? (0 0 0) P1 x,y,z", nullptr},
        {'M', "P n m a", {}, "3 2 1 4 -1 oP ? (0 0 0) P1 x,y,z;x+1/2,-y+1/2,-z+1/2;-x,y+1/2,-z;-x+1/2,-y,z+1/2", nullptr},
        {'M', "C m c a", {}, "3 2 4 4 -1 oC ? (0 0 0) C2 [0.5 0.5 0] x,y,z;x+1/2,-y+1/2,-z;-x+1/2,y,-z+1/2;-x,-y+1/2,z+1/2", nullptr},
        {'M', "P 21 21 21", {}, "3 1 1 4 -1 oP ? (0 0 0) P1 x,y,z;x+1/2,-y+1/2,-z;-x,y+1/2,-z+1/2;-x+1/2,-y,z+1/2", nullptr},
        {'M', "P 41 2 2", {}, "4 1 1 8 -1 tP ? (0 0 0) P1 x,y,z;-y,x,z+1/4;-x,-y,z+1/2;y,-x,z+3/4;y,x,-z+3/4;x,-y,-z+1/2;-y,-x,-z+1/4;-x,y,-z", nullptr},
        {'M', "P 3 1 c", {}, "5 1 1 6 -1 hP ? (0 0 0) P1 x,y,z;-y,x-y,z;-x+y,-x,z;y,x,z+1/2;x-y,-y,z+1/2;-x,-x+y,z+1/2", nullptr},
        {'M', "R 3", {}, "5 1 6 3 -1 hR ? (0 0 0) R3 [0.666667 0.333333 0.333333] x,y,z;-y,x-y,z;-x+y,-x,z", nullptr},
        {'M', "P 4 m", {}, "4 1 1 4 -1 tP ? (0 0 0) P1 x,y,z;-y,x,z;-x,-y,z;y,-x,z", nullptr},
        {'M', "X 2", {}, "0 1 0 1 -1  ? (0 0 0) P1 0,0,0", " Wrong space-group symbol: X 2"},
        {'M', "C m c e", {}, "3 1 4 1 -1 oC ? (0 0 0) P1 0,0,0", " The symbol: E is not allowed"},
        {'M', "P 23", {}, "5 1 1 1 -1 hP ? (0 0 0) P1 0,0,0", " Screw axis: 2 3 not allowed"},
        {'G', "", {"-x,-y,z", "x,y,z+1/2"}, "2 1 8 2 1 mZ Z (0 0 0) Z2 [0 0 0.5] x,y,z;-x,-y,z", nullptr},
        {'G', "", {"x+1/2,y+1/2,z", "-x,y,-z"}, "2 1 4 2 1 mC C (0 0 0) C2 [0.5 0.5 0] x,y,z;-x,y,-z", nullptr},
        {'G', "", {"-x,-y,z+1/4", "-x,-y,z+3/4"}, "2 1 8 4 1 mZ Z (0 0 0) Z2 [0 0 0.5]*", nullptr},
        {'G', "", {"x,y+1/2,z+1/2", "x+1/2,y+1/2,z"}, "1 1 7 1 0 aF F (0 0 0) F4 [0.5 0.5 0] x,y,z", nullptr},
        {'G', "", {"y,-x+y,-z"}, "5 2 1 3 1 hP P (0 0 0) P1 x,y,z;y,-x+y,-z;-x+y,-x,z", nullptr},  // a rotoinversion of order 6 is a crystallographic generator
        {'G', "", {"-x,-y,-z", "-x,-y,z"}, "2 2 1 2 1 mP P (0 0 0) P1 x,y,z;-x,-y,z", nullptr},
        {'G', "", {"-x+1/2,-y,-z", "-x,-y,z"}, "2 0 1 2 1 mP P (0.25 0 0) P1 x,y,z;-x,-y,z", nullptr},
        {'G', "", {"-x,-y,z", "x,y,-z"}, "2 2 1 2 1 mP P (0 0 0) P1 x,y,z;-x,-y,z", nullptr},
        {'G', "", {"-x,-y,z+1/4", "x,y,-z+1/4"}, "2 0 1 4 1 mP P (0 0 0.25)*", nullptr},
        {'G', "", {"-y,x,z", "x,y,-z"}, "4 2 1 4 2 tP P (0 0 0) P1 x,y,z;-y,x,z;x,y,-z;y,-x,z", nullptr},
        {'G', "", {}, "1 1 1 1 0 aP P (0 0 0) P1 x,y,z", nullptr},
        // Equal rotations among later generators leave the centring; a power equal to a given generator keeps
        // the generator's translation, so the listing follows the standard one.
        {'G', "", {"-x,y,-z", "-x,-y,z", "-x+1/2,-y+1/2,z"},
         "3 1 4 4 2 oC C (0 0 0) C2 [0.5 0.5 0] x,y,z;-x,y,-z;-x,-y,z;x,-y,-z", nullptr},
        {'G', "", {"x+1/2,y+1/2,z+1/2", "-x+1/2,-y+1/2,z+1/2", "-y,x+1/2,z+1/4"},
         "4 1 5 4 2 tI I (0 0 0) I2 [0.5 0.5 0.5] x,y,z;-x+1/2,-y+1/2,z+1/2;-y,x+1/2,z+1/4;y+1/2,-x,z+3/4", nullptr},
        {'G', "", translations, "1 1 8 1 0 aZ Z (0 0 0) Z12 [0.0769231 0 0] x,y,z", nullptr},
        {'G', "", {"-y,x,z", "z,x,y", "x,y,-z", "x,-y,z"}, "*", " Dimension of Table exceeded (II)"},
        {'G', "", distinct, "*", " Dimension of Table exceeded (I)"},
        {'G', "", {"x+y,y,z"}, "*", " The generators do not form a space group"},
        {'F', "", {"x,y,z", "-x,-y,z", "x+1/2,y+1/2,z", "-x+1/2,-y+1/2,z"}, "2 1 4 4 -1 mC C (0 0 0) C2 [0.5 0.5 0] x,y,z;-x,-y,z;x+1/2,y+1/2,z;-x+1/2,-y+1/2,z", nullptr},
        {'F', "", {"x,y,z", "-x,-y,-z"}, "1 2 1 2 -1 aP P (0 0 0) P1 x,y,z;-x,-y,-z", nullptr},
        {'F', "", {"x,y,z", "-x+1/2,-y+1/2,-z"}, "1 0 1 2 -1 aP P (0.25 0.25 0) P1 x,y,z;-x+1/2,-y+1/2,-z", nullptr},
        {'F', "", {"x,y,z", "x-1/2,y-1/2,z"}, "1 1 8 2 -1 aZ Z (0 0 0) Z2 [-0.5 -0.5 0] x,y,z;x-1/2,y-1/2,z", nullptr},
        {'F', "", {"x,y,z", "-x,y,-z", "x,-y,z", "-x,-y,-z"}, "2 2 1 4 -1 mP P (0 0 0) P1 x,y,z;-x,y,-z;x,-y,z;-x,-y,-z", nullptr},
    };
    std::string previous;  // "=": the summary of the row before
    for (const auto& c : cases) {
        const Route r = run(c.route, c.symbol, c.ops);
        const std::string got = summary(r), expected = c.expected == "=" ? previous : c.expected;
        previous = got;
        SCOPED_TRACE(std::string(1, c.route) + " \"" + c.symbol + "\" " + std::to_string(c.ops.size()));
        const bool prefix = expected.back() == '*';  // the rest is not pinned
        EXPECT_EQ(prefix ? got.substr(0, expected.size() - 1) + '*' : got, expected);
        EXPECT_EQ(err_symm, c.message != nullptr);
        EXPECT_EQ(err_symm_mess, c.message ? c.message : "");
    }
}

// The syntax of the direction fields, each broken rule with its message; a passing grid clears the pair.
TEST(Routes, HermannMauguinSyntaxAndTranslations) {
    for (const char* c : {"1", "2", "3", "4", "5", "6", "1 "}) EXPECT_TRUE(is_axis(c)) << c;
    for (const char* c : {"0", "7", "a", "", " 1"}) EXPECT_FALSE(is_axis(c)) << c;
    for (const char* c : {"A", "B", "C", "D", "M", "N"}) EXPECT_TRUE(is_plane(c)) << c;
    for (const char* c : {"a", "m", "E", "P"}) EXPECT_FALSE(is_plane(c)) << c;
    for (char c : std::string("xXyYzZw")) EXPECT_EQ(is_xyz(c), c != 'w') << c;
    EXPECT_TRUE(is_digit('7') && is_digit(std::string_view("34")) && !is_digit('a'));
    const std::string within = "\r within the same symmetry direction";
    const struct { Texts fields; std::string message; } cases[] = {
        {{"21/C"}, "ok"}, {{"65"}, "ok"}, {{"43"}, "ok"}, {{"2", "2", "2"}, "ok"},
        {{"2M"}, " A rotation axis cannot be immediately followed by a plane" + within},
        {{"M2"}, " A mirror plane cannot be immediately followed by a rotation axis" + within},
        {{"22"}, " The symbol: 2 has been repeated within the same symmetry direction"},
        {{"5"}, " The fivefold axis is not allowed"}, {{"23"}, " Screw axis: 2 3 not allowed"},
        {{"M", "C", "E"}, " The symbol: E is not allowed"},
        {{"2/MC"}, " There is more than one plane within the same symmetry direction"}};
    for (const auto& c : cases) {
        SymbolGrid grid;
        for (auto& f : grid) f.fill(' ');
        for (std::size_t d = 0; d < c.fields.size(); ++d)
            for (std::size_t p = 0; p < c.fields[d].size(); ++p) grid[d][std::min<std::size_t>(p, 3)] = c.fields[d][p];
        set_err_symm("stale");
        check_symbol_hm(grid);
        EXPECT_EQ(err_symm ? err_symm_mess : "ok", c.message) << c.fields[0];
    }
    // The first count translations brought into [0,1) (the third is beyond the count); centre code 2 - flag.
    std::array<Vector3, 3> t = {Vector3{-0.25f, 1.5f, 0.0f}, Vector3{1.0f, -1.0f, 0.75f}, Vector3{-3.0f, 2.0f, 5.0f}};
    std::int32_t code = -1, acentric = -1;
    mod_trans(2, 0, t, &code);
    mod_trans(1, 1, t, &acentric);
    EXPECT_EQ(t, (std::array<Vector3, 3>{Vector3{0.75f, 0.5f, 0.0f}, {0.0f, 0.0f, 0.75f}, {-3.0f, 2.0f, 5.0f}}));
    EXPECT_TRUE(code == 2 && acentric == 1);
}

// Inputs found by fuzzing the construction: each is refused with its message or builds a true group (identity,
// no operator twice, closed modulo whole cells) of the given order, the group of I a 3 d when so marked.  Hall
// symbols with a "1" rotation part or rotations that do not keep the centring, text beyond a matched symbol,
// generators with whole-cell translations; the tabulated symbols show that the check is sound.
TEST(Routes, FuzzRegressionInputs) {
    const std::string no_group = "refused: The operators of the Hall symbol do not form a space group: ";
    const struct { std::string symbol; Texts ops; std::string outcome; } cases[] = {
        {"P 1 1", {}, "group 1"}, {"P 4 1", {}, "group 4"}, {"P 42 1 2", {}, "group 8"}, {"P -4 1", {}, "group 4"},
        {"B 1 1", {}, "group 2"}, {"-I 1 2c", {}, "group 8"}, {"P 61 1 (0 0", {}, "group 6"},
        {"-R 2", {}, no_group + "-R 2"}, {"R 2c", {}, no_group + "R 2c"}, {"-I 3", {}, no_group + "-I 3"},
        {"F 6", {}, no_group + "F 6"}, {"-f 3", {}, no_group + "-f 3"},
        {"A -3a 2", {}, "refused: Dimension of Table exceeded (II)"},
        {"-C 1c 2", {}, "refused:"}, {"I 2bw 2bw", {}, "group 16"}, {"I A 3 D     c", {}, "group 96 Ia-3d"},
        {"I a 3 d     2C 3P 42z", {}, "group 96 Ia-3d"}, {"F D 3 C     -P", {}, "group 192"}, {"P 1", {}, "group 1"},
        {"P 21/c", {}, "group 4"}, {"I a 3 d", {}, "group 96 Ia-3d"}, {"F d 3 c", {}, "group 192"},
        {"R -3 c:r", {}, "group 12"}, {"-P 2ybc", {}, "group 4"}, {"P 61 2 2", {}, "group 12"},
        {"F m -3 m", {}, "group 192"}, {"P 4 2 2     :1", {}, "group 8"}, {"", {"x+1,y,z", "-x,-y,-z"}, "group 2"},
        {"", {"x,y,z+1", "-x,-y,z+1/2"}, "group 2"}, {"", {"x+21,y+1,z", "-x,-y,-z"}, "group 2"}};
    SpaceGroup reference;
    set_spacegroup("I a 3 d", reference);
    for (const auto& c : cases) {
        SpaceGroup g;
        if (c.ops.empty()) set_spacegroup(c.symbol, g);
        else set_spacegroup("user", g, c.ops, static_cast<std::int32_t>(c.ops.size()), "GEN");
        const std::string fault = group_checks::group_fault(g);
        const std::string built = "group " + std::to_string(g.multiplicity) + fault;
        EXPECT_EQ(err_symm ? "refused:" + err_symm_mess : built + (spgr_equal(g, reference) ? " Ia-3d" : ""), c.outcome)
            << '"' << c.symbol << '"' << c.ops.size();
    }
}

// A lone number selects the first setting of its type by the value the number reader reads, exponent and decimal
// point included; a value outside 1..230 is out of limits, a fraction is refused with the text, the record reset.
TEST(Routes, SpaceGroupNumbersAsTheNumberReaderReadsThem) {
    const std::string fraction = " Number of Space Group not a whole number: ", limits = " Number of Space Group out of limits";
    const struct { std::string symbol, outcome; } cases[] = {
        {"14", "14 P 1 21/c 1"}, {" 19 ", "19 P 21 21 21"}, {"2E1", "20 C 2 2 21"}, {"1e1", "10 P 1 2/m 1"},
        {"4.", "4 P 1 21 1"}, {"1.4E1", "14 P 1 21/c 1"}, {"140e-1", "14 P 1 21/c 1"}, {"1.2.3", fraction + "1.2.3"},
        {" 14.5", fraction + "14.5"}, {"1E-1", limits}, {"230.5", limits}, {"2.31E2", limits}, {"4294967310", limits}};
    for (const auto& c : cases) {
        SpaceGroup g;
        g.number = -1;
        set_spacegroup(c.symbol, g);
        const std::string built = std::to_string(g.number) + ' ' + std::string(g.hm_symbol.trimmed());
        EXPECT_EQ(err_symm ? err_symm_mess : built, c.outcome) << '"' << c.symbol << '"';
        EXPECT_TRUE(!err_symm || (g.number == 0 && g.multiplicity == 0 && g.hm_symbol.trimmed() == "unknown")) << c.symbol;
    }
}

}  // namespace
