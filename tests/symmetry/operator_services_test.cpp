// Operator services: products of operator texts (stated cases, inverses and
// associativity over the fixture operators), symmetry-translation codes
// (stated codes and a round trip through the reader) and the labelled
// operator line of both families, byte for byte through a unit.
#include <gtest/gtest.h>

#include <limits>

#include "group_checks.hpp"
#include "support/scratch_dir.hpp"

using namespace vorn_crystallographic_symmetry;
namespace su = vorn_string_utilities;

namespace {
std::string product(std::string_view a, std::string_view b, std::optional<bool> mod_lat = std::nullopt) {
    return group_checks::in_field(3, [&](std::string& ab) { sym_prod_st(a, b, ab, mod_lat); });
}
}  // namespace

// mod: -1 absent, 0 false, 1 true; then the whole text and the error message left.
TEST(OperatorServices, ProductsOfTexts) {
    const struct { const char* a; const char* b; int mod; const char* want; const char* error; } cases[] = {
        {"-y,x,z", "x+1/2,y,z", -1, "-y,x+1/2,z", ""}, {"x+1/2,y,z", "-y,x,z", -1, "-y+1/2,x,z", ""},
        {"-x,-y,-z", "x+1/2,y,z", 1, "-x+1/2,-y,-z", ""}, {"-x,-y,-z", "x+1/2,y,z", 0, "-x-1/2,-y,-z", ""},
        {"x+1/2,y,z", "x+1/2,y,z", -1, "x,y,z    ", ""}, {"x+1/2,y,z", "x+1/2,y,z", 0, "x+1,y,z  ", ""},
        {"x,y,z", "x+1/2,y,z", -1, "x+1/2,y,z", ""}, {"x-10,y,z", "x-1/2,y,z", -1, "x-1/2,y,z", ""},
        {"x,y,q", "-x,-y,z", -1, "-x,-y,0", " Invalid character... q in operator string"},
        {"x,y,z", "", -1, "0,0,0", " Blank operator field"}, {"2x,y,0", "x,y,z", -1, "2x,y,0", " The above operator is wrong: 2x,y,0"},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(product(c.a, c.b, c.mod < 0 ? std::nullopt : std::optional<bool>(c.mod == 1)) == c.want &&
                    err_symm_mess == c.error) << c.a << " * " << c.b;
}

// A times its inverse is x,y,z; (A.B).C = A.(B.C) reduced and unreduced, over the operators of the 611 settings.
TEST(OperatorServices, ProductIdentitiesOverFixtureOperators) {
    const auto rows = tables_test::read_tsv("operator-symbols-peer.tsv");
    for (std::size_t k = 0, n = rows.size(); k < n; ++k) {
        SymmetryOperator op, inv;
        read_xsym(rows[k][0], 1, op.rot, op.tr);
        inverse_symm(op.rot, op.tr, inv.rot, inv.tr);
        EXPECT_EQ(su::trim_right(product(rows[k][0], get_symsymbi(inv.rot, inv.tr))), "x,y,z") << rows[k][0];
        const std::string &a = rows[k * 7 % n][0], &b = rows[k * 31 % n][0], &c = rows[k * 101 % n][0];
        EXPECT_EQ(su::trim_right(product(product(a, b, k % 2 == 0), c, k % 2 == 0)),
                  su::trim_right(product(a, product(b, c, k % 2 == 0), k % 2 == 0))) << a << " * " << b << " * " << c << k;
    }
}

TEST(OperatorServices, SymmetryTranslationCodes) {
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    const struct { std::int32_t n; Vector3 t; std::size_t width; const char* want; } cases[] = {
        {1, {0, 0, 0}, 8, ""}, {2, {0, 0, 0}, 8, "_2"}, {2, {0.4f, -0.4f, 0}, 8, "_2"}, {1, {1, 0, 0}, 8, "_1.655"},
        {12, {-1, 0, 2}, 8, "_12.457"}, {3, {0.5f, -0.5f, 0}, 8, "_3.645"}, {192, {4, 4, 4}, 8, "_192.999"}, {5, {5, 0, 0}, 8, "_5.*55"},
        {5, {-6, 0, 0}, 8, "_5.*55"}, {1000, {0, 0, 1}, 8, "_***.556"}, {1000, {}, 8, "_***"}, {0, {1, 1, 1}, 8, ""}, {-3, {}, 8, ""},
        {12, {1, 0, 0}, 4, "_12."}, {3, {4.4999f, -5.4999f, 4.5f}, 8, "_3.90*"}, {3, {-5.5f, 0, 0}, 8, "_3.*55"},
        {7, {nan, inf, -inf}, 8, "_7.***"}, {7, {3.0e9f, -3.0e9f, 0}, 8, "_7.**5"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(group_checks::in_field(c.width, [&](std::string& s) { write_symtrans_code(c.n, c.t, s); }),
                  su::fixed(c.want, c.width)) << c.want;
    for (std::int32_t n : {1, 2, 9, 10, 99, 100, 192, 999})
        for (int m = 0; m < 1000; ++m) {  // every translation in -5..4
            const Vector3 t{float(m / 100 - 5), float(m / 10 % 10 - 5), float(m % 10 - 5)};
            FixedText<8> code;
            write_symtrans_code(n, t, code);
            std::int32_t back = 0;
            Vector3 t_back{};
            read_symtrans_code(code.view(), back, t_back);
            ASSERT_TRUE(back == n && t_back == t) << n << " " << m << " " << code.str();
        }
}

// The stated lines of both families, a translation the Seitz symbol cannot show, a number too wide for the
// magnetic line, rotations outside the family (empty fields, error kept) and a text longer than 35.
TEST(OperatorServices, LabelledOperatorLines) {
    borq_test::ScratchDir dir("write_sym");
    const struct { bool hexagonal; std::int32_t n; const char* op; float phase; bool mag; bool error; } cases[] = {
        {false, 1, "x,y,z", 0.25f, true, false}, {true, 2, "-y,x-y,z", 0, false, false}, {true, 13, "-x,-y,-z", 0, true, false},
        {false, 25, "-x,-y,-z", -1.5f, true, false}, {false, 1, "x+0.2,y,z", 0, false, false},
        {false, 100, "-y,x+1/2,z", 1234567.0f, true, false}, {true, 1, "-y,x,z", 0, true, true},
        {false, 7, "-x+y-z+11/12,-x-y+z+11/12,x-y-z+11/12", 0, true, true},
    };
    ASSERT_TRUE(su::open_unit(21, "lines.txt", su::UnitAccess::write));
    for (const auto& c : cases) {
        SymmetryOperator op;
        read_xsym(c.op, 1, op.rot, op.tr);
        hexa = c.hexagonal;
        write_sym(21, c.n, op.rot, op.tr, c.phase, c.mag);
        EXPECT_EQ(err_symm, c.error) << c.n;
    }
    su::close_unit(21);
    hexa = false;
    EXPECT_EQ(borq_test::read_file(dir.path() / "lines.txt"),
              "   1 ::   1 ::  h1 :: x,y,z :: { x, y, z|  0   0   0 }\n"
              "      ( 1): ( Mx, My, Mz) MPhas:       0.2500\n"
              "   2 ::  3+ ( 0, 0, z) ::  h3 :: -y,x-y,z :: {  -y, x-y, z|  0   0   0 }\n"
              "  13 ::  -1 :: h13 :: -x,-y,-z :: {-x  ,  -y,-z|  0   0   0 }\n"
              "      (13): (-Mx   ,   -My,-Mz) MPhas:       0.0000\n"
              "  25 ::  -1 :: h25 :: -x,-y,-z :: {-x,-y,-z|  0   0   0 }\n"
              "      (25): (-Mx,-My,-Mz) MPhas:      -1.5000\n"
              "   1 ::   1 ::  h1 :: x+1/5,y,z :: { x, y, z|  0   0 }\n"
              " 100 ::  4+ ( 0, 0, z) :: h14 :: -y,x+1/2,z :: {-y, x, z|  0  1/2  0 }\n"
              "      (**): (-My, Mx, Mz) MPhas: 1234567.0000\n"
              "   1 ::  ::  :: -y,x,z :: \n"
              "      ( 1):                     MPhas:       0.0000\n"
              "   7 ::  ::  :: -x+y-z+11/12,-x-y+z+11/12,x-y-z+11/12 :: \n"
              "      ( 7):               MPhas:       0.0000\n");
}
