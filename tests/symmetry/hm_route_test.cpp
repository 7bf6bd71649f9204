// Hermann-Mauguin symbols: the syntax check gives its exact messages, and the
// route builds the reduced operators of each crystal system by its rules.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "symmetry/symmetry.hpp"

namespace {

using namespace vorn_crystallographic_symmetry;

// A grid from up to three fields, as the route reads them.
SymbolGrid grid_of(std::vector<std::string> fields) {
    SymbolGrid g;
    for (auto& f : g) f.fill(' ');
    for (std::size_t d = 0; d < fields.size() && d < 3; ++d)
        for (std::size_t p = 0; p < fields[d].size(); ++p) g[d][p < 4 ? p : 3] = fields[d][p];
    return g;
}

std::string check(std::vector<std::string> fields) {
    check_symbol_hm(grid_of(std::move(fields)));
    return err_symm ? err_symm_mess : std::string("ok");
}

struct HmResult {
    std::int32_t system = -1, centre_code = -1, lattice = -1, count = -1;
    std::array<RotationMatrix, 24> rotations{};
    std::array<Vector3, 24> translations{};
    FixedText<2> bravais;
    std::vector<std::string> texts() const {
        std::vector<std::string> t;
        for (int k = 0; k < count; ++k) t.push_back(get_symsymbi(rotations[k], translations[k]));
        return t;
    }
    std::string op(int k) const { return get_symsymbi(rotations[k - 1], translations[k - 1]); }
};

HmResult hms(std::string_view symbol) {
    HmResult r;
    get_so_from_hms(r.system, r.centre_code, r.lattice, r.count, r.rotations, r.translations, r.bravais, symbol);
    return r;
}

TEST(HmSymbolSyntax, CharacterClasses) {
    for (const char* c : {"1", "2", "3", "4", "5", "6", "1 "}) EXPECT_TRUE(is_axis(c)) << c;
    for (const char* c : {"0", "7", "a", "", " 1"}) EXPECT_FALSE(is_axis(c)) << c;
    for (const char* c : {"A", "B", "C", "D", "M", "N"}) EXPECT_TRUE(is_plane(c)) << c;
    for (const char* c : {"a", "m", "E", "P"}) EXPECT_FALSE(is_plane(c)) << c;
    for (char c : std::string("xXyYzZ")) EXPECT_TRUE(is_xyz(c));
    EXPECT_FALSE(is_xyz('w'));
    EXPECT_TRUE(is_digit('7'));
    EXPECT_TRUE(is_digit(std::string_view("34")));
    EXPECT_FALSE(is_digit('a'));
}

TEST(HmSymbolSyntax, EveryRuleWithItsMessage) {
    const std::string cr(1, '\r');
    EXPECT_EQ(check({"21/C"}), "ok");
    EXPECT_EQ(check({"65"}), "ok");
    EXPECT_EQ(check({"43"}), "ok");
    EXPECT_EQ(check({"2M"}), " A rotation axis cannot be immediately followed by a plane" + cr +
                                 " within the same symmetry direction");
    EXPECT_EQ(check({"M2"}), " A mirror plane cannot be immediately followed by a rotation axis" + cr +
                                 " within the same symmetry direction");
    EXPECT_EQ(check({"22"}), " The symbol: 2 has been repeated within the same symmetry direction");
    EXPECT_EQ(check({"5"}), " The fivefold axis is not allowed");
    EXPECT_EQ(check({"23"}), " Screw axis: 2 3 not allowed");
    EXPECT_EQ(check({"M", "C", "E"}), " The symbol: E is not allowed");
    EXPECT_EQ(check({"2/MC"}), " There is more than one plane within the same symmetry direction");
    EXPECT_EQ(std::string(" A rotation axis cannot be immediately followed by a plane").size() + 1 +
                  std::string(" within the same symmetry direction").size(),
              94u);
    // A passing grid leaves the pair cleared.
    set_err_symm("stale");
    EXPECT_EQ(check({"2", "2", "2"}), "ok");
}

TEST(HmRoute, SymbolsOfTheLowerSystems) {
    HmResult r = hms("P 21/c");
    EXPECT_EQ(r.system, 2);
    EXPECT_EQ(r.bravais.trimmed(), "mP");
    EXPECT_EQ(r.centre_code, 2);
    EXPECT_EQ(r.texts(), (std::vector<std::string>{"x,y,z", "-x,y+1/2,-z+1/2"}));
    EXPECT_EQ(hms("C 2/c").texts(), hms("C 1 2/c 1").texts());
    EXPECT_EQ(hms("P 1 1 21/b").op(2), "-x,-y+1/2,z+1/2");
    r = hms("P -1");
    EXPECT_EQ(r.bravais.trimmed(), "aP");
    EXPECT_EQ(r.count, 1);
    EXPECT_EQ(r.centre_code, 2);
    EXPECT_EQ(hms("P 1").centre_code, 1);
    EXPECT_EQ(hms("p 21/c").texts(), hms("P 21/C").texts());

    r = hms("P n m a");
    EXPECT_EQ(r.centre_code, 2);
    EXPECT_EQ(r.texts(),
              (std::vector<std::string>{"x,y,z", "x+1/2,-y+1/2,-z+1/2", "-x,y+1/2,-z", "-x+1/2,-y,z+1/2"}));
    // Origin shifts (1/4,1/4,0) for C m c a and (1/4,1/4,1/4) for I m m a
    // move the inversion to the origin; I b a m needs none.
    EXPECT_EQ(hms("C m c a").texts(), (std::vector<std::string>{"x,y,z", "x+1/2,-y+1/2,-z", "-x+1/2,y,-z+1/2",
                                                                "-x,-y+1/2,z+1/2"}));
    EXPECT_EQ(hms("I m m a").op(2), "x+1/2,-y+1/2,-z+1/2");
    EXPECT_EQ(hms("I b a m").op(2), "x+1/2,-y+1/2,-z");
    EXPECT_EQ(hms("F d d 2").op(2), "-x+1/4,y+1/4,z+1/4");
    EXPECT_EQ(hms("F d d d").op(2), "x,-y+1/4,-z+1/4");
    EXPECT_EQ(hms("P 2 2 21").op(3), "-x,y,-z+1/2");
    EXPECT_EQ(hms("P 21 21 2").op(2), "x+1/2,-y+1/2,-z");
    EXPECT_EQ(hms("P 21 21 2").op(3), "-x+1/2,y+1/2,-z");
    EXPECT_EQ(hms("P 21 21 21").texts(), (std::vector<std::string>{"x,y,z", "x+1/2,-y+1/2,-z",
                                                                   "-x,y+1/2,-z+1/2", "-x+1/2,-y,z+1/2"}));
    EXPECT_EQ(hms("P n a 21").op(2), "-x+1/2,y+1/2,z+1/2");
    EXPECT_EQ(hms("P n a 21").op(3), "x+1/2,-y+1/2,z");
    EXPECT_EQ(hms("P m n 21").op(4), "-x+1/2,-y,z+1/2");
}

TEST(HmRoute, SymbolsOfTheHigherSystems) {
    EXPECT_EQ(hms("P 42/n").op(2), "-y,x+1/2,z+1/2");
    EXPECT_EQ(hms("P 4/n").op(2), "-y+1/2,x,z");
    EXPECT_EQ(hms("I 41/a").op(2), "-y+3/4,x+1/4,z+1/4");
    EXPECT_EQ(hms("I 41/a m d").op(2), "-y+1/4,x+3/4,z+1/4");
    EXPECT_EQ(hms("I 41").op(2), "-y,x+1/2,z+1/4");
    EXPECT_EQ(hms("P 4 21 2").op(2), "-y+1/2,x+1/2,z");
    EXPECT_EQ(hms("P 42 n m").op(2), "-y+1/2,x+1/2,z+1/2");
    HmResult r = hms("P 41 2 2");
    EXPECT_EQ(r.count, 8);
    EXPECT_EQ(r.op(5), "y,x,-z+3/4");
    EXPECT_EQ(hms("P -4 21 m").op(5), "x+1/2,-y+1/2,-z");
    EXPECT_EQ(hms("P 4 m").count, 4);

    EXPECT_EQ(hms("P 31 1 2").op(4), "-y,-x,-z+2/3");
    EXPECT_EQ(hms("P 32 1 2").op(4), "-y,-x,-z+1/3");
    EXPECT_EQ(hms("P 31 2 1").op(4), "y,x,-z");
    EXPECT_EQ(hms("P 65 2 2").op(7), "y,x,-z+2/3");
    EXPECT_EQ(hms("P 63 2 2").op(7), "y,x,-z");
    r = hms("P -6 c 2");
    EXPECT_EQ(r.count, 12);
    for (int k = 4; k <= 6; ++k) EXPECT_NEAR(r.translations[k - 1][2], 0.5f, 1e-6) << k;
    r = hms("P 3 1 c");
    EXPECT_EQ(r.system, 5);
    EXPECT_EQ(r.bravais.trimmed(), "hP");
    EXPECT_EQ(hms("P 6/m m m").bravais.trimmed(), "hP");
    EXPECT_EQ(hms("R 3").bravais.trimmed(), "hR");

    r = hms("P 21 3");
    EXPECT_EQ(r.count, 12);
    EXPECT_EQ(r.centre_code, 1);
    EXPECT_EQ(r.op(2), "x+1/2,-y+1/2,-z");
    EXPECT_EQ(r.op(3), "-x,y+1/2,-z+1/2");
    EXPECT_EQ(r.op(4), "-x+1/2,-y,z+1/2");
    EXPECT_EQ(hms("P 43 3 2").op(13), "y+1/4,x+3/4,-z+3/4");
    EXPECT_EQ(hms("P 41 3 2").op(13), "y+3/4,x+1/4,-z+1/4");
    EXPECT_EQ(hms("F 41 3 2").op(13), "y+1/4,x+1/4,-z+1/4");
    EXPECT_EQ(hms("I -4 3 d").op(13), "y+1/4,x+1/4,z+1/4");
    EXPECT_EQ(hms("P -4 3 n").op(13), "y+1/2,x+1/2,z+1/2");
    EXPECT_EQ(hms("F -4 3 c").op(13), "y,x,z+1/2");
    r = hms("F d -3 m");
    EXPECT_EQ(r.count, 24);
    EXPECT_EQ(r.centre_code, 2);
    EXPECT_EQ(r.op(2), "x,-y+1/4,-z+1/4");
    EXPECT_EQ(r.bravais.trimmed(), "cF");
}

// Malformed symbols are refused with the message naming the symbol as given.
TEST(HmRoute, WrongSymbols) {
    for (const char* s : {"X 2   ", "P21/c", "", "   ", "P 1 1 1", "P 1 2", "R m m m", "R 2 2 2", "P"}) {
        const HmResult r = hms(s);
        EXPECT_TRUE(err_symm) << '"' << s << '"';
        EXPECT_EQ(err_symm_mess, " Wrong space-group symbol: " + std::string(s)) << '"' << s << '"';
        EXPECT_EQ(r.count, 1) << s;
    }
    EXPECT_EQ(hms("X 2").lattice, 0);
    hms("C m c e");
    EXPECT_EQ(err_symm_mess, " The symbol: E is not allowed");
    const HmResult r = hms("P 23");
    EXPECT_EQ(err_symm_mess, " Screw axis: 2 3 not allowed");
    EXPECT_EQ(r.system, 5);  // the 3 decides the system, written before the check
    EXPECT_EQ(r.bravais.trimmed(), "hP");
}

TEST(HmRoute, ModTransAndCentreCode) {
    std::array<Vector3, 3> t = {Vector3{-0.25f, 1.5f, 0.0f}, Vector3{1.0f, -1.0f, 0.75f}, Vector3{-3.0f, 2.0f, 5.0f}};
    std::int32_t code = -1;
    mod_trans(2, 0, t, &code);
    EXPECT_EQ(code, 2);
    EXPECT_EQ(t[0], (Vector3{0.75f, 0.5f, 0.0f}));
    EXPECT_EQ(t[1], (Vector3{0.0f, 0.0f, 0.75f}));
    EXPECT_EQ(t[2], (Vector3{-3.0f, 2.0f, 5.0f}));  // beyond the count
    mod_trans(1, 1, t, &code);
    EXPECT_EQ(code, 1);
}

}  // namespace
