// Symmetry operators x -> Rx + t: Jones-faithful texts written and read (refusals with their messages, zero rows
// written "0" so that every accepted text reads back), magnetic and symmetry-translation codes, rotation orders,
// products, inverses, equality modulo centring, and the names of point operations among the model rotations.
#include <gtest/gtest.h>

#include "maths/math_gen.hpp"
#include "symmetry/symmetry.hpp"

namespace {

using namespace vorn_crystallographic_symmetry;

// The operator of a text such as "-y,x-y,z+1/3", read without the determinant check.
SymmetryOperator op(const char* text) {
    SymmetryOperator o;
    read_xsym(text, 1, o.rot, o.tr, false);
    return o;
}
RotationMatrix rot(const char* text) { return op(text).rot; }

TEST(OperatorTexts, Writers) {
    const struct { const char* rotation; Vector3 t; const char* text; } integer[] = {
        {"-x,-y,z", {0, 0, 0.5f}, "-x,-y,z+1/2"}, {"x-y,-x+y,y", {0, 0, 1.0f / 3.0f}, "x-y,-x+y,y+1/3"},
        {"x,y,z", {1.0f / 12.0f, -0.25f, 11.0f / 12.0f}, "x+1/12,y-1/4,z+11/12"}, {"x,y,z", {1.0f, 0, 0}, "x+1,y,z"},
        {"x,y,z", {0.0002f, -0.0002f, 0}, "x,y,z"}, {"x,y,z", {0.37f, 0, 0}, "x***/**,y,z"},
        {"0,y,z", {0.5f, 0, 0}, "1/2,y,z"}, {"0,y,z", {0, 0, 0}, "0,y,z"}, {"y,0,0", {0, 0, 0}, "y,0,0"},
        {"2x-y,-3y,2y+z", {0, 0, 0}, "2x-y,-3y,2y+z"}, {"x,y,z", {0.3334f, 0, 0}, "x***/**,y,z"}};
    for (const auto& c : integer) EXPECT_EQ(get_symsymbi(rot(c.rotation), c.t), c.text) << c.text;
    EXPECT_EQ(get_symsymbi(RotationMatrix{{{10, 0, 0}, {0, -10, 0}, {0, 0, 1}}}, {}), "*x,**y,z");
    const struct { RealMatrix m; Vector3 t; const char* text; } real[] = {
        {{{{0.5f, 0, 0}, {-2.0f / 3.0f, 1, 0}, {0, 0.5f, 0}}}, {0, 0, 0}, "x/2,-2x/3+y,y/2"},
        {{{{0, 0, 0}, {-1, 1, 0}, {2, 0, -1}}}, {0.5f, 0.25f, 0}, "1/2,-x+y+1/4,2x-z"},
        {{}, {0.3334f, 0, 0}, "***/**,0,0"}, {{{{-1, 0, 0}, {0, 0, -1}, {0, 1, 1}}}, {0, 0, 0}, "-x,-z,y+z"},
        {{}, {0, -0.25f, 0.75f}, "0,-1/4,3/4"}};
    for (const auto& c : real) EXPECT_EQ(get_symsymbr(c.m, c.t), c.text) << c.text;
    // The fractions follow the tolerance in force when the text is written.
    vorn_math_general::set_epsg(1.0e-3f);
    EXPECT_EQ(get_symsymbi(rot("x,y,z"), {0.3334f, 0, 0}), "x+1/3,y,z");
    EXPECT_EQ(get_symsymbr({}, {0.3334f, 0, 0}), "1/3,0,0");
    vorn_math_general::set_epsg_default();
}

// Each text read from its start position, with or without the determinant check: the operator written back (after
// an error: what was read before it), the exact translation, the message.  An accepted text reads back unchanged.
TEST(OperatorTexts, Reader) {
    const std::string nines = "x+" + std::string(39, '9') + ",y,z", ones = "x,y," + std::string(60, '1') + "/3",
                      fives = "x,-y-" + std::string(45, '5') + ",z", sevens = "-x+1,-y," + std::string(50, '7') + "-z";
    const struct { std::string text; int start; bool det; const char* out; Vector3 t; std::string error; } cases[] = {
        {"-y,x-y,z+1/3", 1, true, "-y,x-y,z+1/3", {0, 0, 1.0f / 3.0f}, ""}, {"X*Y*Z", 1, true, "x,y,z", {0, 0, 0}, ""},
        {"-1/2+x, y-1/2, 1/2-2x", 1, false, "x-1/2,y-1/2,-2x+1/2", {-0.5f, -0.5f, 0.5f}, ""},
        {"x+0.25,2x+1,z", 1, false, "x+1/4,2x+1,z", {0.25f, 1.0f, 0}, ""}, {"x,y,y", 1, false, "x,y,y", {0, 0, 0}, ""},
        {"x+1/12,y-5/24,z+11/12", 1, true, "x+1/12,y-5/24,z+11/12", {1.0f / 12.0f, -5.0f / 24.0f, 11.0f / 12.0f}, ""},
        {"x,y,z,+1", 1, true, "x,y,z", {0, 0, 0}, ""}, {"op: -x,-y,z", 5, true, "-x,-y,z", {0, 0, 0}, ""},
        {"0,y,1/2", 1, false, "0,y,1/2", {0, 0, 0.5f}, ""}, {"x,-+,z", 1, false, "x,0,z", {0, 0, 0}, ""},
        {"-0,y,z", 1, false, "0,y,z", {0, 0, 0}, ""}, {"y,x,/3", 1, false, "y,x,0", {0, 0, 0}, ""},
        {"x,y,z+" + std::string(38, '1'), 1, true, "x,y,z+**", {0, 0, 1.1111111e37f}, ""},
        {"x,y", 1, true, "x,y,0", {0, 0, 0}, " Blank operator field"},
        {"x,,z", 1, true, "x,0,0", {0, 0, 0}, " Blank operator field"},
        {"x,y,y", 1, true, "x,y,y", {0, 0, 0}, " The above operator is wrong: x,y,y"},
        {"-x,-y,z+1/2q", 1, true, "-x,-y,z", {0, 0, 0}, " Invalid character... q in operator string"},
        {"x+1/0,y,z", 1, true, "x,0,0", {0, 0, 0}, " Zero denominator in operator string: x+1/0,y,z"},
        {nines, 1, true, "x,0,0", {0, 0, 0}, " The above operator is wrong: " + nines},
        {ones, 1, true, "x,y,0", {0, 0, 0}, " The above operator is wrong: " + ones},
        {fives, 1, true, "x,-y,0", {0, 0, 0}, " The above operator is wrong: " + fives},
        {sevens, 1, true, "-x+1,-y,-z", {0, 0, 0}, " The above operator is wrong: " + sevens}};
    for (const auto& c : cases) {
        SymmetryOperator o, back;
        read_xsym(c.text, c.start, o.rot, o.tr, c.det);
        EXPECT_TRUE(err_symm == !c.error.empty() && err_symm_mess == c.error) << c.text << ": " << err_symm_mess;
        EXPECT_EQ(get_symsymbi(o.rot, o.tr), c.out) << c.text;
        if (err_symm || c.out == std::string("x,y,z+**")) continue;  // no fraction fits 1.1e37
        EXPECT_EQ(o.tr, c.t) << c.text;
        read_xsym(get_symsymbi(o.rot, o.tr), 1, back.rot, back.tr, false);
        EXPECT_TRUE(equal_symop(o, back)) << c.text;
    }
    RotationMatrix r{};
    read_xsym("-x,y,-z", 1, r);
    EXPECT_EQ(r, rot("-x,y,-z"));
}

TEST(OperatorTexts, MagneticOperatorsAndCodes) {
    const struct { const char* text; bool det; const char* rotation; float phase; std::string error; } cases[] = {
        {"msym -u,v,-w,-1", false, "-x,y,-z", -1, ""}, {"DSYM V, U, W, +1", true, "y,x,z", 1, ""},
        {"u,v,w", false, "x,y,0", 0, " Blank operator field u,v,w"},
        {"msym mx,my,mz,+1", false, "0,0,0", 1, " Invalid character... m in Sym. Op."},
        {"msym u,u,w,+1", true, "x,x,z", 1, " The above operator is wrong msym u,u,w,+1"},
        {"msym u,u,w,+1", false, "x,x,z", 1, ""}};
    for (const auto& c : cases) {
        RotationMatrix m{};
        float phase = 5;
        read_msymm(c.text, m, phase, c.det);
        EXPECT_EQ(std::tuple(err_symm_mess, get_symsymbi(m, {}), phase), std::tuple(c.error, c.rotation, c.phase))
            << c.text;
    }
    // Every code the writer gives is read back in the round trip of the operator services; leading blanks here.
    std::int32_t n = 0;
    Vector3 t{9, 9, 9};
    read_symtrans_code("  _12.555", n, t);
    EXPECT_EQ(std::tuple(n, t), std::tuple(12, Vector3{}));
    EXPECT_EXIT(read_symtrans_code("_a.555", n, t), testing::ExitedWithCode(2), "symmetry-translation code");
    EXPECT_EXIT(read_symtrans_code("_2.4x6", n, t), testing::ExitedWithCode(2), "symmetry-translation code");
}

TEST(OperatorAlgebra, OrdersEqualityProductsInverses) {
    const struct { const char* rotation; std::int32_t order; } orders[] = {
        {"x,y,z", 1}, {"-x,-y,-z", -1}, {"-x,y,z", -2}, {"-x,-y,z", 2}, {"-y,x-y,z", 3}, {"y,-x+y,-z", -3},
        {"-y,x,z", 4}, {"y,-x,-z", -4}, {"x-y,x,z", 6}, {"-x+y,-x,-z", -6}, {"0,0,0", 0}, {"2x,y,z", 0}};
    for (const auto& c : orders) EXPECT_EQ(axes_rotation(rot(c.rotation)), c.order) << c.rotation;

    EXPECT_TRUE(equal_symop(op("x+1/2,y,z"), {rot("x,y,z"), {0.50015f, 0, 0}}));
    EXPECT_FALSE(equal_symop(op("x+1/2,y,z"), {rot("x,y,z"), {0.5003f, 0, 0}}) ||
                 equal_symop(op("x,y,z"), op("x+1,y,z")) || equal_symop(op("x+1/2,y,z"), op("x+1/2,y,y+z")));
    const std::vector<SymmetryOperator> list = {op("x,y,z"), op("-x,-y,z+1/2")};
    const struct { const char* text; std::int32_t n; bool is_new; } members[] = {
        {"-x,-y,z+1/2", 0, true}, {"-x,-y,z+1/2", 2, false}, {"-x,-y,z+1/2", 1, true}, {"-x,-y,z", 2, true},
        {"-x,-y,z", 50, true}};
    for (const auto& c : members) EXPECT_EQ(is_new_op(op(c.text), c.n, list), c.is_new) << c.text << c.n;
    for (char letter : std::string("PABCIRFZ")) EXPECT_TRUE(equiv_symop(op("x,y,z"), op("x+1,y,z-2"), letter));
    EXPECT_TRUE(equiv_symop(op("x,y,z"), op("x+1/2,y+1/2,z"), 'C') &&
                !equiv_symop(op("x,y,z"), op("x+1/2,y+1/2,z"), 'P') && !equiv_symop(op("-x,y,z"), op("x,y,z"), 'P'));

    EXPECT_EQ(product_symop(op("x+1/2,y,z"), op("x+3/4,y,z")).tr, (Vector3{1.25f, 0, 0}));
    EXPECT_EQ(sym_prod(op("x+1/2,y,z"), op("x+3/4,y,z")).tr, (Vector3{0.25f, 0, 0}));
    EXPECT_EQ(sym_prod(op("x+1/2,y,z"), op("x+3/4,y,z"), false).tr, (Vector3{1.25f, 0, 0}));
    const auto text = [](const SymmetryOperator& o) { return get_symsymbi(o.rot, o.tr); };
    EXPECT_EQ(text(product_symop(op("-x,-y,z"), op("x+1/2,y,z"))), "-x-1/2,-y,z");  // op2 acts first
    EXPECT_EQ(text(product_symop(op("-y,x,z+1/4"), op("y,x,-z"))), "-x,y,-z+1/4");

    SymmetryOperator inverse = op("-x,y,z+1");  // a singular matrix leaves zero outputs
    inverse_symm(rot("x+y,x+y,z"), {0.5f, 0, 0}, inverse.rot, inverse.tr);
    EXPECT_EQ(err_symm_mess, "Inversion Matrix Failed");
    EXPECT_TRUE(inverse.rot == RotationMatrix{} && inverse.tr == Vector3{});
    SpaceGroup never_built, g1, g2;  // group equality ignores the order of the texts
    EXPECT_FALSE(spgr_equal(never_built, never_built));
    const char* texts[] = {"x,y,z", "-x,y+1/2,-z+1/2", "-x,-y,-z", "x,-y+1/2,z+1/2"};
    g1.multiplicity = g2.multiplicity = 4;
    for (int i = 0; i < 4; ++i) g1.operator_symbols[i] = g2.operator_symbols[3 - i] = texts[i];
    EXPECT_TRUE(spgr_equal(g1, g2));
    g2.operator_symbols[0] = "x,-y,z";
    EXPECT_FALSE(spgr_equal(g1, g2));
    g2 = g1;
    g2.multiplicity = 3;
    EXPECT_FALSE(spgr_equal(g1, g2));
}

// Model rotations 1-24 cubic, 25-36 hexagonal; symbols, Kovalev labels and moment images on either axes.
TEST(PointOperations, SearchAndNames) {
    const std::string rewrite =
        " Try to re-write your S.O. using a rotational part identical to a S.O. of the space group ";
    const struct { const char* rotation; std::int32_t first, last, index; std::string error; } searches[] = {
        {"x,y,z", 1, 24, 1, ""}, {"-x,-y,-z", 1, 24, -1, ""}, {"-y,x-y,z", -5, 100, 26, ""},
        {"-y,x-y,z", 1, 24, 0, rewrite + "P m -3 m"}, {"z,x,y", 25, 36, 0, rewrite + "P 6/m m m"},
        {"x,y,z", 40, 50, 0, rewrite + "P m -3 m or P 6/m m m"}};
    for (const auto& c : searches) {
        std::int32_t index = 99;
        searchop(rot(c.rotation), c.first, c.last, index);
        EXPECT_EQ(index, c.index) << c.rotation << ' ' << c.first;
        EXPECT_TRUE(err_symm == !c.error.empty() && err_symm_mess == c.error) << c.rotation << ' ' << c.first;
    }
    const bool saved = hexa;
    const struct { bool hexagonal; const char* rotation; std::string symel, symkov, moment; } names[] = {
        {false, "z,x,y", " 3+ ( x, x, x)", " 3+ ( x, x, x) ->  h9", "?"},
        {false, "-x,y,z", "  m ( 0, y, z)", "  m ( 0, y, z) -> h26", "?"},
        {false, "x,y,z", "  1           ", "?", "( Mx, My, Mz)      "},
        {false, "-y,x-y,z", std::string(14, ' '), std::string(21, ' '), "(   -My, Mx-My, Mz)"},
        {false, "-x,-y,z", "?", "?", "(-Mx,-My, Mz)      "}, {false, "y,-x+y,-z", "?", "?", "(    My,-Mx+My,-Mz)"},
        {false, "2x,y,z", "?", "?", std::string(19, ' ')}, {true, "z,x,y", std::string(14, ' '), "?", "?"},
        {true, "y,x,z", "  m ( x, x, z)", "?", "?"}, {true, "-y,x-y,z", " 3+ ( 0, 0, z)", "?", "(   -My, Mx-My, Mz)"},
        {true, "-x,-y,-z", " -1           ", "?", "(-Mx,-My,-Mz)      "}};
    for (const auto& c : names) {
        hexa = c.hexagonal;
        const RotationMatrix r = rot(c.rotation);
        const std::string symel = get_symel(r);
        EXPECT_EQ(err_symm, symel == std::string(14, ' ')) << c.rotation << c.hexagonal;  // the pair tells why
        EXPECT_EQ(c.symel == "?" ? "?" : symel, c.symel) << c.rotation << c.hexagonal;
        EXPECT_EQ(c.symkov == "?" ? "?" : get_symkov(r), c.symkov) << c.rotation << c.hexagonal;
        EXPECT_EQ(c.moment == "?" ? "?" : decodmatmag(r), c.moment) << c.rotation << c.hexagonal;
    }
    hexa = saved;
}

}  // namespace
