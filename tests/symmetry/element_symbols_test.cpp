// Geometric symbols of symmetry operations: every operator of the 611
// settings (and unreduced extras) names the peer's element, screw or glide
// vector, location and sense; the worked texts are byte-exact.
#include <gtest/gtest.h>

#include <cmath>

#include "group_checks.hpp"
#include "support/tsv_fixture.hpp"

namespace {

using namespace vorn_crystallographic_symmetry;

// An affine set "1/4,y,0" or a vector "1/2,1/2,0": coefficients m (columns
// x, y, z) and constant c, read as an operator text without determinant check.
struct Affine { RotationMatrix m{}; Vector3 c{}; };
Affine affine(const std::string& text) { Affine a; read_xsym(text, 1, a.m, a.c, false); return a; }

bool near(const Vector3& a, const Vector3& b) {
    return std::fabs(a[0] - b[0]) < 1e-5f && std::fabs(a[1] - b[1]) < 1e-5f && std::fabs(a[2] - b[2]) < 1e-5f;
}

// Why a symbol disagrees with the peer's element (empty when it agrees).
std::string mismatch(const std::string& symbol, const std::vector<std::string>& f) {
    const int type = std::stoi(f[1]), sense = std::stoi(f[3]);
    const Vector3 axis = affine(f[2]).c, intrinsic = affine(f[4]).c, point = affine(f[5]).c;
    const std::string mark = symbol.substr(0, symbol.find(' '));
    const bool plane = std::string("mabcndg").find(mark[0]) != std::string::npos;
    std::string rest = symbol.size() > mark.size() ? symbol.substr(mark.size() + 1) : "";
    Vector3 shown{};
    if (rest.starts_with("(")) shown = affine(rest.substr(1, rest.find(')') - 1)).c, rest.erase(0, rest.find(')') + 2);
    else if (plane && mark[0] <= 'c' && mark[0] != 'm') shown[static_cast<std::size_t>(mark[0] - 'a')] = 0.5f;
    if ((plane ? -2 : mark == "t" ? 1 : std::stoi(mark)) != type) return "type";
    if (!near(shown, mark == "1" ? Vector3{} : intrinsic)) return "vector";
    if (mark == "1" || mark == "t") return rest.empty() ? "" : "identity";
    // The location: a point, line or plane; a free letter's value comes from the component it alone fills.
    const std::size_t semi = rest.find("; ");
    if (semi != std::string::npos && !near(affine(rest.substr(semi + 2)).c, point)) return "centre";
    const Affine loc = affine(rest.substr(0, semi));
    Vector3 s{}, at = loc.c;
    std::vector<int> letters;
    for (int j = 0; j < 3; ++j)
        if (loc.m[0][j] || loc.m[1][j] || loc.m[2][j]) letters.push_back(j);
    for (int i = 0; i < 3; ++i)
        for (int j : letters)
            if (loc.c[i] == 0 && loc.m[i][j] && std::abs(loc.m[i][0]) + std::abs(loc.m[i][1]) + std::abs(loc.m[i][2]) == std::abs(loc.m[i][j]))
                s[j] = point[i] / float(loc.m[i][j]);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) at[i] += float(loc.m[i][j]) * s[j];
    if (letters.size() != (type == -1 ? 0u : type == -2 ? 2u : 1u)) return "dimension";
    if (!near(at, point)) return "location";
    if (letters.size() != 1) return "";
    const int j = letters[0];
    const float d[3] = {float(loc.m[0][j]), float(loc.m[1][j]), float(loc.m[2][j])};
    if (!near({d[1] * axis[2] - d[2] * axis[1], d[2] * axis[0] - d[0] * axis[2], d[0] * axis[1] - d[1] * axis[0]}, {}))
        return "axis";
    const char want = sense == 0 ? '0' : sense * (d[0] * axis[0] + d[1] * axis[1] + d[2] * axis[2] > 0 ? 1 : -1) == 1 ? '+' : '-';
    return want == (mark.back() == '+' || mark.back() == '-' ? mark.back() : '0') ? "" : "sense";
}

}  // namespace

TEST(ElementSymbols, EveryPeerOperatorNamesItsElement) {
    const auto rows = tables_test::read_tsv("operator-symbols-peer.tsv");
    ASSERT_EQ(rows.size(), 903u);
    for (const auto& f : rows) {
        FixedText<100> symbol;
        symmetry_symbol_xyz(f[0], symbol);
        EXPECT_EQ(mismatch(std::string(symbol.trimmed()), f), "") << f[0] << " -> \"" << symbol.trimmed() << '"';
    }
}

// Beyond the fixture's substance: the text layout of each kind, the tolerances, the unreduced vectors, the glide
// letters, the refused rotations and the cuts at the field width and at 30 characters.
TEST(ElementSymbols, WorkedTextsByteForByte) {
    const struct { const char* op; std::size_t width; const char* want; } cases[] = {
        {"x+0.0001,y,z", 100, "1"}, {"x+0.001,y,z", 100, "t (***/**,0,0)"}, {"x+1/2,y+1/2,z", 100, "t (1/2,1/2,0)"},
        {"-x,-y,z+0.0001", 100, "2 0,0,z"}, {"-x+1/2,y+1/2,-z", 100, "2 (0,1/2,0) 1/4,y,0"},
        {"-y+1/2,x+1/4,z+1/4", 100, "4+ (0,0,1/4) 1/8,3/8,z"}, {"-y,x-y,z-1/3", 100, "3+ (0,0,-1/3) 0,0,z"}, {"z,-x,-y", 100, "3- x,-x,x"},
        {"-x-1/2,-y,-z", 100, "-1 -1/4,0,0"}, {"x,y,-z+1/2", 100, "m x,y,1/4"}, {"x+0.0001,y,-z", 100, "m x,y,0"},
        {"x+1/2,y,-z+1/2", 100, "a x,y,1/4"}, {"x,-y,z+1/2", 100, "c x,0,z"}, {"x+1/2,y+1/2,-z", 100, "n (1/2,1/2,0) x,y,0"},
        {"x+1/4,y+1/4,-z", 100, "d (1/4,1/4,0) x,y,0"}, {"x+1/4,y+3/4,-z", 100, "d (1/4,3/4,0) x,y,0"},
        {"x+3/4,y+3/4,-z", 100, "g (3/4,3/4,0) x,y,0"}, {"x-1/2,y,-z", 100, "g (-1/2,0,0) x,y,0"},
        {"x+1/2,y+1,-z", 100, "g (1/2,1,0) x,y,0"}, {"x+0.001,y,-z", 100, "g (***/**,0,0) x,y,0"}, {"y,-x,-z", 100, "-4+ 0,0,z; 0,0,0"},
        {"2x,y,z", 100, ""}, {"x,y", 100, ""}, {"y+1/4,-x+3/4,-z+1/4", 100, "-4+ 1/2,1/4,z; 1/2,1/4,1/8"},
        {"y+1/4,-x+3/4,-z+1/4", 3, "-4+"}, {"-x+0.001,-y+0.002,z+0.003", 100, "2 (0,0,***/**) ***/**,***/**,z"},
        {"-x+0.001,-y+0.002,z+0.003", 14, "2 (0,0,***/**)"},
        // planes whose normal has no null component, which the solver's form cannot hold: written with two free
        // coordinates, the last of least coefficient following
        {"-x-2y-2z,-2x-y-2z,2x+2y+3z", 100, "m x,y,-x-y"}, {"-x-3y-6z,y,z", 100, "m -3/2y-3z,y,z"},
        {"-x-2y-2z,-2x-y-2z+1/2,2x+2y+3z+1/2", 100, "g (-1,-1/2,3/2) x,y,-x-y+1/2"},
        {"-x-3y-6z+1,y+1/2,z", 100, "g (-3/4,1/2,0) -3/2y-3z+7/8,y,z"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(group_checks::in_field(c.width, [&](std::string& s) { symmetry_symbol_xyz(c.op, s); }),
                  vorn_string_utilities::fixed(c.want, c.width)) << c.op;
    // Substitution: a plane location read as the operator text P.u + q holds fixed points up to the glide,
    // W.(P.u + q) + t = P.u + q + g for every u, with g = (W.t + t)/2.
    for (const auto& [op, location] : {std::pair{"-x-2y-2z,-2x-y-2z,2x+2y+3z", "x,y,-x-y"},
                                       std::pair{"-x-2y-2z,-2x-y-2z+1/2,2x+2y+3z+1/2", "x,y,-x-y+1/2"}}) {
        RotationMatrix w, p;
        Vector3 t, q;
        read_xsym(op, 1, w, t);
        read_xsym(location, 1, p, q);
        for (int i = 0; i < 3; ++i) {
            float wq = 0.0f, wt = 0.0f;
            for (int j = 0; j < 3; ++j) {
                std::int32_t wp = 0;
                for (int k = 0; k < 3; ++k) wp += w[i][k] * p[k][j];
                EXPECT_EQ(wp, p[i][j]) << op;
                wq += static_cast<float>(w[i][j]) * q[j];
                wt += static_cast<float>(w[i][j]) * t[j];
            }
            EXPECT_FLOAT_EQ(wq + t[i] - q[i], (wt + t[i]) / 2.0f) << op;
        }
    }
    FixedText<40> field;  // the record and field forms; a blank text leaves the reader's error
    symmetry_symbol_op(SymmetryOperator{{{{0, 1, 0}, {-1, 0, 0}, {0, 0, -1}}}, {0.25f, 0.75f, 0.25f}}, field);
    EXPECT_EQ(field.str(), vorn_string_utilities::fixed("-4+ 1/2,1/4,z; 1/2,1/4,1/8", 40));
    symmetry_symbol_xyz("", field);
    EXPECT_TRUE(err_symm && err_symm_mess == " Blank operator field" && field.blank());
}
