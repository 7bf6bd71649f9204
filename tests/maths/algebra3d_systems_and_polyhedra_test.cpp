// 3-D algebra: Sarrus determinants (integers wrap modulo 2^32) equal the
// triple product, cross and tensor products, adjugate inverses (exact for every
// unimodular matrix), the Jacobi eigen-solver (V L V^T = A), rotations, planes;
// small integer systems in parametric form (worked cases, error texts, every
// point of a solution solving random 2x3 systems and W - I of every tabulated
// rotation); cylindrical/spherical round trips; polyhedron volumes and centres.
#include <set>

#include "maths/math_3D.hpp"
#include "maths/table_checks.hpp"
#include "support/settings_operators_fixture.hpp"

using namespace vorn_math_3d;
using Pts = std::vector<Vec3f>;
using cf = std::complex<float>;
using cd = std::complex<double>;

namespace {
const double pi = 3.141592653589793;

// One worked case: coefficients, right-hand side, particular solution, free
// coefficients and codes, and the error text ("" when solved).
template <class W, class T, class V, class I> struct System { W w; T t; V part, coef; I code; std::string mess; };
template <class W, class T, class V, class I>  // the row type follows from the solver's
void check_systems(std::initializer_list<System<W, std::decay_t<T>, V, I>> rows,
                   void (*solve)(const W&, T, V&, V&, I&)) {
    int k = 0;
    for (const auto& c : rows) {
        V part{}, coef{};
        I code{};
        solve(c.w, c.t, part, coef, code);
        EXPECT_EQ(std::tie(part, coef, code, err_math3d_mess), std::tie(c.part, c.coef, c.code, c.mess)) << "row " << k;
        EXPECT_EQ(err_math3d, !c.mess.empty()) << "row " << k++;
    }
}

// Solves W x = t (the first `rows` rows of w) for t = W x0; false when refused. Otherwise checks the parameter
// count against 3 - rank and that the points for parameters in (-spread, spread) solve it within tol0 + tol1 sum|p|.
bool check_solution(const Mat3i& w, int rows, const Vec3d& x0, std::mt19937& gen, double spread, double tol0, double tol1) {
    Vec3f t{}, part{}, coef{};
    Vec3i code{};
    for (int i = 0; i < rows; ++i) t[i] = float(w[i][0] * x0[0] + w[i][1] * x0[1] + w[i][2] * x0[2]);
    if (rows == 3) resolv_sist_3x3(w, t, part, coef, code);
    else resolv_sist_2x3(Mat23i{{w[0], w[1]}}, Vec2f{t[0], t[1]}, part, coef, code);
    if (err_math3d) return false;
    const std::string what = testing::PrintToString(w) + " t=" + testing::PrintToString(t);
    int rank = rows == 3 && determ_a_i(w) != 0 ? 3 : 0;  // small entries: the products are exact
    for (int a = 0; a < rows; ++a)
        for (int b = a; b < rows; ++b)
            rank = std::max(rank, w[a] == Vec3i{} ? 0 : cross_product_in(w[a], w[b]) == Vec3i{} ? 1 : 2);
    std::set<int> used(code.begin(), code.end());
    used.erase(0);
    EXPECT_EQ(int(used.size()), 3 - rank) << what;
    std::uniform_real_distribution<double> u(-spread, spread);
    for (int k = 0; k < 3; ++k) {
        const Vec3d p{u(gen), u(gen), u(gen)};
        Vec3d x{};
        for (int j = 0; j < 3; ++j) x[j] = part[j] + (code[j] ? double(coef[j]) * p[std::size_t(code[j] - 1)] : 0.0);
        for (int i = 0; i < rows; ++i)
            EXPECT_NEAR(w[i][0] * x[0] + w[i][1] * x[1] + w[i][2] * x[2], t[i], tol0 + tol1 * (std::fabs(p[0]) + std::fabs(p[1]) + std::fabs(p[2]))) << what;
    }
    return true;
}

// Volume of the convex hull of points with no four in a plane, in 64 bits: every triple with all other points on
// one side is a facet, and adds its tetrahedron with the mean of the points. `inside`: the point lies strictly
// on the inner side of every facet.
double hull_volume(const Pts& v, const Vec3f& point, bool& inside) {
    auto d = [&](std::size_t i, int c) { return double(v[i][c]); };
    const std::size_t n = v.size();
    Vec3d g{};
    for (std::size_t i = 0; i < n; ++i)
        for (int c = 0; c < 3; ++c) g[c] += d(i, c) / double(n);
    double volume = 0;
    inside = true;
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = i + 1; j < n; ++j)
            for (std::size_t k = j + 1; k < n; ++k) {
                const Vec3d a{d(j, 0) - d(i, 0), d(j, 1) - d(i, 1), d(j, 2) - d(i, 2)}, b{d(k, 0) - d(i, 0), d(k, 1) - d(i, 1), d(k, 2) - d(i, 2)};
                const Vec3d normal{a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
                auto side = [&](const Vec3d& p) { return (p[0] - d(i, 0)) * normal[0] + (p[1] - d(i, 1)) * normal[1] + (p[2] - d(i, 2)) * normal[2]; };
                int above = 0, below = 0;
                for (std::size_t m = 0; m < n; ++m)
                    if (m != i && m != j && m != k) (side({d(m, 0), d(m, 1), d(m, 2)}) > 0 ? above : below)++;
                if (above != 0 && below != 0) continue;
                volume += std::fabs(side(g)) / 6;
                inside = inside && side(g) * side({point[0], point[1], point[2]}) > 0;
            }
    return volume;
}

template <class T> Mat3<T> product(const Mat3<T>& a, const Mat3<T>& b) {
    Mat3<T> c{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) c[i][j] = a[i][0] * b[0][j] + a[i][1] * b[1][j] + a[i][2] * b[2][j];
    return c;
}
// max |V diag(l) V^T - A| over the upper triangle of A taken as symmetric, and max |V^T V - I|.
std::pair<double, double> eigen_errors(const Mat3f& a, const Vec3f& l, const Mat3f& v) {
    double rec = 0, orth = 0;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            double s = 0, o = 0;
            for (int k = 0; k < 3; ++k) s += double(v[i][k]) * l[k] * v[j][k], o += double(v[k][i]) * v[k][j];
            rec = std::max(rec, std::fabs(s - (i <= j ? a[i][j] : a[j][i])));
            orth = std::max(orth, std::fabs(o - (i == j)));
        }
    return {rec, orth};
}
}  // namespace

TEST(Determinant3d, SarrusWithWrapAroundAndTripleProduct) {
    const std::pair<Mat3i, std::int32_t> cases[] = {
        {{{{-1, 0, 0}, {0, -1, 0}, {0, 0, -1}}}, -1}, {{{{65536, 0, 0}, {0, 65536, 0}, {0, 0, 65536}}}, 0},  // 2^48 wraps to 0
        {{{{46341, 0, 0}, {0, 46341, 0}, {0, 0, 1}}}, -2147479015}, {{{{int_min, 0, 0}, {0, -1, 0}, {0, 0, 1}}}, int_min}};
    for (const auto& [m, det] : cases) EXPECT_EQ(determ_a_i(m), det) << testing::PrintToString(m);
    std::mt19937 gen(7);
    std::uniform_int_distribution<int> d(-9, 9);
    for (int trial = 0; trial < 500; ++trial) {
        const Vec3i a{d(gen), d(gen), d(gen)}, b{d(gen), d(gen), d(gen)}, c{d(gen), d(gen), d(gen)}, bc = cross_product_in(b, c);
        const Mat3i rows{{a, b, c}}, cols{{{a[0], b[0], c[0]}, {a[1], b[1], c[1]}, {a[2], b[2], c[2]}}};
        const Vec3f af{float(a[0]), float(a[1]), float(a[2])}, bf{float(b[0]), float(b[1]), float(b[2])}, cf3{float(c[0]), float(c[1]), float(c[2])};
        const std::int32_t det = determ_a_i(rows);  // small integers: exact in 32-bit reals too
        ASSERT_EQ(std::make_tuple(determ_v_i(a, b, c), determ_a_i(cols), a[0] * bc[0] + a[1] * bc[1] + a[2] * bc[2],
                                  determ_a_r(Mat3f{{af, bf, cf3}}), determ_v_r(af, bf, cf3)),
                  std::make_tuple(det, det, det, float(det), float(det))) << "trial " << trial;
    }
}

TEST(Products3d, CrossCrossMatrixAndTensor) {
    EXPECT_EQ(std::make_tuple(cross_product_dp({1, 0, 0}, {0, 1, 0}), cross_product_sp({2, 4, 6}, {1, 2, 3}), cross_product_in({1, 2, 3}, {4, 5, 6})),
              std::make_tuple(Vec3d{0, 0, 1}, Vec3f{0, 0, 0}, Vec3i{-3, 6, -3}));
    // Complex members: ordinary products, no conjugation.
    EXPECT_EQ(std::make_pair(cross_product_cmpl_sp({cf(0, 1), 0, 0}, {0, cf(0, 1), 0}), cross_product_cmpl_dp({cd(1, 2), 3, cd(0, 1)}, {cd(0, 1), cd(2, 2), 1})),
              std::make_pair(Vec3cf{0, 0, cf(-1, 0)}, Vec3cd{cd(5, -2), cd(-2, -2), cd(-2, 3)}));
    EXPECT_EQ(mat_cross_in({1, 2, 3}), (Mat3i{{{0, 3, -2}, {-3, 0, 1}, {2, -1, 0}}}));  // M y = y x x and y M = x x y
    EXPECT_EQ(mat_cross_sp({1.5f, -2.0f, 0.25f}), (Mat3f{{{0, 0.25f, 2}, {-0.25f, 0, 1.5f}, {-2, -1.5f, 0}}}));
    EXPECT_EQ(mat_cross_cmpl_sp({cf(1, 1), cf(2, -2), cf(0, 3)}),
              (Mat3cf{{{0, cf(0, 3), cf(-2, 2)}, {cf(0, -3), 0, cf(1, 1)}, {cf(2, -2), cf(-1, -1), 0}}}));
    EXPECT_EQ(tensor_product_in({1, 2, 3}, {4, 5, 6}), (Mat3i{{{4, 5, 6}, {8, 10, 12}, {12, 15, 18}}}));
    EXPECT_EQ(std::make_pair(at1(tensor_product_cmpl_dp({cd(0, 1), 1, 0}, {cd(0, 1), 2, 0}), 1, 1), at1(tensor_product_dp({1, 2, 3}, {0.5, 1, 2}), 3, 3)),
              std::make_pair(cd(-1, 0), 6.0));  // i i, not i conj(i)
}

TEST(Inverse3d, AdjugateInverseSilentOnSingular) {
    EXPECT_EQ(std::make_pair(invert_sp(Mat3f{{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}}), invert_sp(Mat3f{{{std::nanf(""), 0, 0}, {0, 1, 0}, {0, 0, 1}}})),
              std::make_pair(Mat3f{}, Mat3f{}));  // singular, NaN determinant
    EXPECT_NEAR(invert_sp(Mat3f{{{1e-10f, 0, 0}, {0, 1e-10f, 0}, {0, 0, 1e-10f}}})[0][0], 1e10f, 1e4f);  // det 1e-30
    std::mt19937 gen(11);
    std::uniform_real_distribution<double> d(-1.0, 1.0);
    for (int trial = 0; trial < 200; ++trial) {
        Mat3d a{};
        for (int k = 0; k < 9; ++k) a[k / 3][k % 3] = d(gen) + (k % 4 == 0 ? 3.0 : 0.0);
        const Mat3d p = product(a, invert_dp(a));
        for (int k = 0; k < 9; ++k) ASSERT_NEAR(p[k / 3][k % 3], k % 4 == 0, 1e-13) << "trial " << trial;
    }
}

TEST(Inverse3d, MatrixInverseOfUnimodularAndCellMatricesAndFailures) {
    auto inverse = [](const Mat3f& a) {
        Mat3f m; std::int32_t f = -1; matrix_inverse(a, m, f); return std::tuple(f, err_math3d, err_math3d_mess, m); };
    // Every integer matrix with entries in {-1,0,1}: singular ones reported, determinant +-1 ones inverted exactly.
    for (int code = 0; code < 19683; ++code) {
        Mat3i r{};
        Mat3f a{};
        for (int k = 0, c = code; k < 9; ++k, c /= 3) a[k / 3][k % 3] = float(r[k / 3][k % 3] = c % 3 - 1);
        const std::int32_t det = determ_a_i(r);
        const auto [fail, err, mess, inv] = inverse(a);
        ASSERT_EQ(std::make_pair(fail, err), std::make_pair(det == 0 ? 1 : 0, det == 0)) << "code " << code;
        if (det * det == 1) { ASSERT_EQ(product(a, inv), (Mat3f{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}})) << code; }
    }
    const std::string singular = "Singular Matrix: inversion imposible";
    const float s = std::cbrt(0.9e-20f), s2 = float(double(s) * s);  // |det| just below 1e-20 fails, 1e-20 divides
    EXPECT_EQ(inverse(Mat3f{{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}}),  // singular: the undivided adjugate
              std::make_tuple(1, true, singular, Mat3f{{{-3, 6, -3}, {6, -12, 6}, {-3, 6, -3}}}));
    EXPECT_EQ(inverse(Mat3f{{{s, 0, 0}, {0, s, 0}, {0, 0, s}}}),
              std::make_tuple(1, true, singular, Mat3f{{{s2, 0, 0}, {0, s2, 0}, {0, 0, s2}}}));
    const auto [fail, err, mess, inv] = inverse(Mat3f{{{nan_f, 0, 0}, {0, 1, 0}, {0, 0, 1}}});  // NaN: singular
    EXPECT_EQ(std::tie(fail, err, mess), std::make_tuple(1, true, singular));
    EXPECT_EQ(inverse(Mat3f{{{1e-20f, 0, 0}, {0, 1, 0}, {0, 0, 1}}}),
              std::make_tuple(0, false, "", Mat3f{{{float(1 / double(1e-20f)), 0, 0}, {0, 1, 0}, {0, 0, 1}}}));
}

TEST(Jacobi3d, EigenvectorsReconstructAndFailures) {
    Vec3f l{9, 9, 9}, l3;
    Mat3f v, v3;
    matrix_diageigen(Mat3f{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}, l, v);  // identity takes the 45-degree step
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(l[i], 1.0f, 2.5e-7f);  // c^2 + s^2 rounded to 32 bits
    EXPECT_TRUE(!err_math3d && std::fabs(v[0][1]) > 0.1f && eigen_errors(Mat3f{}, {0, 0, 0}, v).second < 1e-6);
    matrix_diageigen(Mat3f{}, l, v);  // the zero matrix never converges
    EXPECT_EQ(std::make_tuple(err_math3d, err_math3d_mess, l), std::make_tuple(true, " Convergence not reached in diagonalization ", Vec3f{0, 0, 0}));
    EXPECT_TRUE((matrix_diageigen(Mat3f{{{std::nanf(""), 0, 0}, {0, 1, 0}, {0, 0, 2}}}, l, v), err_math3d));
    std::mt19937 gen(5);
    std::uniform_real_distribution<float> d(-3.0f, 3.0f);
    for (int trial = 0; trial < 301; ++trial) {
        Mat3f a{{{25, 0, -3.2f}, {0, 36, 0}, {-3.2f, 0, 49}}};  // last: a monoclinic metric tensor
        if (trial < 300)
            for (int i = 0; i < 3; ++i)
                for (int j = i; j < 3; ++j) a[i][j] = a[j][i] = d(gen);
        matrix_diageigen(a, l, v);
        ASSERT_FALSE(err_math3d) << "trial " << trial;
        const auto [rec, orth] = eigen_errors(a, l, v);
        EXPECT_TRUE(rec < 1e-4 && orth < 1e-5) << "trial " << trial << " " << rec << " " << orth;
        for (int i = 1; i < 3; ++i)  // only the upper triangle is read
            for (int j = 0; j < i; ++j) a[i][j] = float(100 * i - j);
        matrix_diageigen(a, l3, v3);
        ASSERT_TRUE(l == l3 && v == v3) << "trial " << trial;
    }
}

TEST(Geometry3d, LengthsRotationsPlanesAndState) {
    const Mat3f hex{{{2, -1, 0}, {0, std::sqrt(3.0f), 0}, {0, 0, 5}}};  // hexagonal a = 2, c = 5
    check({EQ(veclength(Mat3f{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}, {3, 4, 0}), 5), EQ(veclength(hex, {0, 0, 1}), 5),
           NEAR(veclength(hex, {1, 1, 0}), 2, 1e-6)});
    const Vec3f x{0.3f, -1.7f, 2.5f};
    EXPECT_EQ(std::make_tuple(rotate_ox(x, 0), rotate_oy(x, 0), rotate_oz(x, 0), rotate_oz({1, 0, 0}, 90)[1], rotate_oz({1, 0, 0}, 90)[2],
                              rotate_ox({0, 1, 0}, 90)[2], rotate_oy({0, 0, 1}, 90)[0]),  // z turns towards x about y
              std::make_tuple(x, x, x, 1.0f, 0.0f, 1.0f, 1.0f));
    check({NEAR(rotate_oz({1, 0, 0}, 90)[0], 0, 1e-7), NEAR(rotate_ox({0, 1, 0}, 90)[1], 0, 1e-7), NEAR(rotate_oy({0, 0, 1}, 90)[2], 0, 1e-7)});
    // a x + b y + c z + d = 0 through three points: both senses of z = 0, x + y + z = 1, collinear points
    auto plane = [](const Vec3f& p1, const Vec3f& p2, const Vec3f& p3) {
        std::array<float, 4> e{}; get_plane_from_points(p1, p2, p3, e[0], e[1], e[2], e[3]); return e; };
    using P = std::array<float, 4>;
    EXPECT_EQ(std::make_tuple(plane({0, 0, 0}, {1, 0, 0}, {0, 1, 0}), plane({0, 0, 0}, {0, 1, 0}, {1, 0, 0}),
                              plane({1, 0, 0}, {0, 1, 0}, {0, 0, 1}), plane({0, 0, 0}, {1, 1, 1}, {2, 2, 2})),
              std::make_tuple(P{0, 0, 1, 0}, P{0, 0, -1, 0}, P{1, 1, 1, -1}, P{0, 0, 0, 0}));  // collinear: zeros
    const float start = eps, set = (set_eps(1.0e-3f), eps);
    set_eps_default();
    err_math3d = true, err_math3d_mess = "x";
    init_err_math3d();
    EXPECT_EQ(std::make_tuple(start, set, eps, err_math3d, err_math3d_mess), std::make_tuple(1.0e-5f, 1.0e-3f, 1.0e-5f, false, ""));
}

TEST(SmallSystems, WorkedCasesOfEverySolver) {
    const float e = eps, e2 = 0.5f * eps;  // |t| = eps: inconsistent for one equation, not for two zero rows
    const std::string c13 = "Inconsistent case ax+by+cz=t (1x3)";
    check_systems({{{0, 0}, e2, {0, 0}, {1, 1}, {1, 2}, ""}, {{0, 0}, e, {0, 0}, {1, 1}, {0, 0}, "Inconsistent solution (1x2)"}},
                  resolv_sist_1x2);
    check_systems({{{1, 2, 3}, 1, {0, 0, 0}, {1, 1, 1}, {0, 0, 0}, c13},
                   {{0, 0, -2}, 0.5f, {0, 0, -0.25f}, {1, 1, 0}, {1, 2, 0}, ""},  // the plane z = t/a3
                   {{0, 0, 0}, 0, {0, 0, 0}, {1, 1, 1}, {1, 2, 3}, ""},
                   {{0, 0, 0}, e, {0, 0, 0}, {1, 1, 1}, {0, 0, 0}, "Inconsistent solution (1 x 3)"}}, resolv_sist_1x3);
    check_systems({{{{{0, 0}, {2, 4}}}, {7, 1}, {0, 0.25f}, {1, -0.5f}, {1, 1}, ""},  // zero row's rhs unseen
                   {{{{0, 0}, {0, 0}}}, {e, -e}, {0, 0}, {1, 1}, {1, 2}, ""},
                   {{{{0, 0}, {0, 0}}}, {0, 0.1f}, {0, 0}, {1, 1}, {0, 0}, "Inconsistent solution (2x2)"},
                   {{{{0, 0}, {0, 3}}}, {0, 1.5f}, {0, 0.5f}, {1, 0}, {1, 0}, ""},  // zero row wins over zero column
                   // 32-bit determinant: 65536^2 wraps to 0, solved as proportional from the first equation
                   {{{{65536, 0}, {0, 65536}}}, {1, 2}, {1.0f / 65536, 0}, {0, 1}, {0, 2}, ""}}, resolv_sist_2x2);
    check_systems({{{{{0, 4, 0}, {0, 8, 0}}}, {1, 9}, {0, 0.25f, 0}, {1, 0, 1}, {1, 0, 3}, ""},  // the first equation wins
                   {{{{0, 0, -2}, {0, 0, 0}}}, {0.5f, 7}, {0, 0, -0.25f}, {1, 1, 0}, {1, 2, 0}, ""},  // zero row's rhs unseen
                   {{{{0, 0, 0}, {0, 0, 0}}}, {e, e}, {0, 0, 0}, {1, 1, 1}, {1, 2, 3}, ""},
                   {{{{0, 0, 0}, {0, 0, 0}}}, {0, 0.01f}, {0, 0, 0}, {1, 1, 1}, {0, 0, 0}, "Inconsistent solution in (2x3)"},
                   {{{{1, 2, 3}, {3, 1, 2}}}, {0, 0}, {0, 0, 0}, {1, 1, 1}, {0, 0, 0}, c13},  // six non-zero: refused
                   // real quotients: 2/3 and 1 - 2/3 truncated would lose the coupling
                   {{{{2, 3, 0}, {0, 5, 7}}}, {1, 2}, {0, 0.333333343f, 0.0476190485f}, {1, -0.666666687f, 0.476190478f},
                    {1, 1, 1}, ""}}, resolv_sist_2x3);
    check_systems({{{{{1, 1, 0}, {2, 2, 0}, {0, 0, 1}}}, {0.5f, 123, 0.25f}, {0, 0.5f, 0.25f}, {1, -1, 0}, {1, 1, 0}, ""},
                   {Mat3i{}, {0, e, 0}, {0, 0, 0}, {1, 1, 1}, {0, 0, 0}, "Inconsistent system (3 x 3)"},
                   {{{{0, 0, 0}, {-2, 0, 0}, {0, 0, 0}}}, {0, -0.5f, 0}, {0.25f, 0, 0}, {0, 1, 1}, {0, 2, 3}, ""},
                   {{{{1, 1, 1}, {1, 1, 1}, {2, 2, 2}}}, {0, 0, 0}, {0, 0, 0}, {1, 1, 1}, {0, 0, 0}, c13},
                   {{{{-1, 0, 0}, {int_min, 0, 0}, {0, 1, 0}}}, {0, 0, 0}, {0, 0, 0}, {0, 0, 1}, {0, 0, 3}, ""}},
                  resolv_sist_3x3);  // INT32_MIN / -1 does not trap
}

TEST(SmallSystems, RandomAndFixedPointSystemsAreSolvedOrRefusedAsStated) {
    // 2x3: random rows. 3x3: rows are integer combinations of two random rows, so pairs of them are proportional
    // by rational factors (-3z = 3 against 2z = -2) as well as whole ones; rank 1 when the second row is null.
    // Then W - I of every operator of the tabulated settings, right-hand side from a point on a 1/12 grid.
    std::set<Mat3i> rotations;
    for (const auto& setting : symmetry_test_data::read_settings_operators())
        for (const std::string& op : setting.operators) {
            Mat3i w{{{-1, 0, 0}, {0, -1, 0}, {0, 0, -1}}};  // W - I
            int row = 0, sign = 1;
            for (char ch : op) {
                if (ch == ',') ++row, sign = 1;
                else if (ch == '+' || ch == '-') sign = ch == '+' ? 1 : -1;
                else if (ch >= 'x' && ch <= 'z' && row < 3) w[row][ch - 'x'] += sign;
            }
            ASSERT_EQ(row, 2) << op;
            rotations.insert(w);
        }
    EXPECT_GE(rotations.size(), 64u);
    std::mt19937 gen(17);
    std::uniform_int_distribution<int> c(-3, 3);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    for (int rows : {2, 3}) {
        int solved = 0;
        for (int trial = 0; trial < 20000; ++trial) {
            Vec3i a{c(gen), c(gen), c(gen)}, b{};
            if (rows == 2 || trial % 3) b = {c(gen), c(gen), c(gen)};
            Mat3i w{{a, b}};
            for (int i = 0; i < 3 && rows == 3; ++i) {
                const int p = c(gen), q = c(gen);
                for (int j = 0; j < 3; ++j) w[i][j] = p * a[j] + q * b[j];
            }
            const double tol = rows == 2 ? 1.8e-4 : 1e-3;
            const bool ok = check_solution(w, rows, {u(gen), u(gen), u(gen)}, gen, 2.0, tol, tol);
            solved += ok;
            // refused only where an equation of three non-zero coefficients is left to solve: in 2x3, when
            // every row is null or full (so every column has a non-zero coefficient)
            bool refused = err_math3d_mess == "Inconsistent case ax+by+cz=t (1x3)";
            for (const Vec3i& r : w) refused = refused && (rows == 3 || r == Vec3i{} || (r[0] && r[1] && r[2]));
            EXPECT_TRUE(ok || (refused && std::ranges::any_of(w, [](const Vec3i& r) { return r[0] && r[1] && r[2]; })))
                << testing::PrintToString(w) << err_math3d_mess;
        }
        EXPECT_GT(solved, 5000) << rows;
    }
    auto twelfth = [&] { return std::round(u(gen) * 12) / 12; };
    for (int trial = 0; trial < 4 * int(rotations.size()); ++trial)
        EXPECT_TRUE(check_solution(*std::next(rotations.begin(), trial / 4), 3, {twelfth(), twelfth(), twelfth()}, gen, 1.0, 1e-5, 0.0)) << err_math3d_mess;
    Vec3f part{}, coef{};  // the third equation x = 3.96 was dropped when -3z = 3 and 2z = -2 were not seen as one
    Vec3i code{};
    resolv_sist_3x3(Mat3i{{{0, 0, -3}, {0, 0, 2}, {1, 0, 0}}}, Vec3f{3, -2, 3.96f}, part, coef, code);
    EXPECT_EQ(std::make_tuple(part, coef, code, err_math3d), std::make_tuple(Vec3f{3.96f, 0, -1}, Vec3f{0, 1, 0}, Vec3i{0, 2, 0}, false));
}

TEST(Coordinates3d, ZeroAngleRulesUnitsAndRoundTrips) {
    auto cyl = [](Vec3d c, const char* unit) { Vec3d r{}; get_cylindr_coord_dp(c, r[0], r[1], r[2], unit); return r; };
    auto sph = [](Vec3d c, const char* unit) { Vec3d r{}; get_spheric_coord_dp(c, r[0], r[1], r[2], unit); return r; };
    auto sph_sp = [](Vec3f c) { Vec3f r{}; get_spheric_coord_sp(c, r[0], r[1], r[2]); return r; };
    auto cart = [](Vec3d s, const char* unit) { Vec3d c{}; get_cart_from_spher_dp(s[0], s[1], s[2], c, unit); return c; };
    Vec3f cf;
    get_cart_from_cylin_sp(2.0f, 90.0f, -1.0f, cf, "D");
    const Vec3d s4 = sph({1, 1, 0}, "D"), a = cart({2, 90, 180}, "D");
    EXPECT_EQ(cart({2, 0.5, 1}, "x"), cart({2, 0.5, 1}, ""));  // another unit letter means radians
    EXPECT_EQ(std::make_tuple(cyl({0, 0, 5}, ""), cyl({-1, 0, 2}, "D"), cyl({0, -2, 2}, "d"), sph({0, 0, 0}, ""), sph({0, 0, -2}, ""),
                              sph({0, 0, -2}, "d"), cf[1], cf[2]),
              std::make_tuple(Vec3d{0, 0, 5}, Vec3d{1, 180, 2}, Vec3d{2, -90, 2}, Vec3d{0, 0, 0}, Vec3d{2, pi, 0}, Vec3d{2, 180, 0}, 2.0f, -1.0f));
    check({EQ(cyl({1e-6, -1e-6, 0}, "")[1], 0), NEAR(s4[1], 90, 1e-12), NEAR(s4[2], 45, 1e-12), NEAR(a[0], -2, 1e-15), NEAR(a[1], 0, 1e-15),
           NEAR(a[2], 0, 1e-15), NEAR(cf[0], 0, 1e-6), EQ(sph({1e-7, 1e-7, 1}, "")[2], 0), EQ(sph_sp({1e-30f, 0, 1})[1], 0)});  // azimuth 0 near the pole
    for (float z : {1.0f, -3.0f, 1e-20f, 7.1e-3f, 3.4e17f})  // z/r rounding above 1 still gives the pole
        EXPECT_EQ(std::pair(sph_sp({0, 0, z})[1], sph_sp({0, 0, z})[2]), std::pair(z > 0 ? 0.0f : float(pi), 0.0f))
            << "z = " << z;
    std::mt19937 gen(2);
    std::uniform_real_distribution<double> u(-10.0, 10.0);
    for (int trial = 0; trial < 200; ++trial) {  // round trips; the 32-bit members in degrees
        const Vec3d p{u(gen), u(gen), u(gen)}, back = cart(sph(p, "D"), "D"), c = cyl(p, trial % 2 ? "r" : "D");
        const Vec3f q{float(p[0]), float(p[1]), float(p[2])}, r = sph_sp(q);
        Vec3d b2;
        Vec3f c2, c3;
        get_cart_from_cylin_dp(c[0], c[1], c[2], b2, trial % 2 ? "r" : "D"), get_cart_from_spher_sp(r[0], r[1], r[2], c2);
        get_cylindr_coord_sp(q, c3[0], c3[1], c3[2], "d"), get_cart_from_cylin_sp(c3[0], c3[1], c3[2], c3, "d");
        for (int k = 0; k < 3; ++k)
            EXPECT_TRUE(std::fabs(b2[k] - p[k]) <= 1e-12 && std::fabs(back[k] - p[k]) <= 1e-12 && std::fabs(c2[k] - q[k]) <= 1e-5f &&
                        std::fabs(c3[k] - q[k]) <= 1e-5f) << trial;
    }
}

TEST(Polyhedra3d, VolumesWorkedRefusedAndAtEveryScale) {
    const Pts tet{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, tri{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    const Pts moved{{9, -4, 1}, {11, -4, 1}, {9, -2, 1}, {11, -2, 1}, {9, -4, 3}, {11, -4, 3}, {9, -2, 3}, {11, -2, 3}};
    Pts hex, cube, small_cube, extra = tet, octahedron{{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    for (int k = 0; k < 12; ++k) hex.push_back({float(std::cos(k * pi / 3)), float(std::sin(k * pi / 3)), k < 6 ? -1.0f : 1.0f});
    for (int i = 0; i < 8; ++i) cube.push_back({(i & 1) ? 1.0f : -1.0f, (i & 2) ? 1.0f : -1.0f, (i & 4) ? 1.0f : -1.0f});
    for (const Vec3f& p : cube) small_cube.push_back({0.03f * p[0], 0.03f * p[1], 0.03f * p[2]});
    extra.insert(extra.end(), {{1, 0, 0}, {5, 5, 5}});  // a repeated vertex: no change, no NaN; only the first vertex_count used
    const std::string few = "The number of vertices for polyhedron volume is less than 4";
    struct Case { std::int32_t n; Pts v; Vec3f centre; float volume, tol; std::string mess; };
    const Case cases[] = {
        {8, cube, {0, 0, 0}, 8, 1e-5f, ""}, {8, moved, {10.3f, -3.5f, 2.2f}, 8, 1e-4f, ""},
        {5, extra, {0.1f, 0.1f, 0.1f}, 1.0f / 6, 1e-6f, ""}, {4, extra, {0.1f, 0.1f, 0.1f}, 1.0f / 6, 1e-6f, ""},
        {12, hex, {0, 0, 0.5f}, float(3 * std::sqrt(3.0)), 1e-4f, ""},  // six-vertex faces counted once
        // a centre close to the plane of four vertices (not a face), and a small cube: distances judged by the size
        {6, octahedron, {0, 0, 2e-4f}, 4.0f / 3, 1e-7f, ""}, {8, small_cube, {0, 0, 0}, 2.16e-4f, 1e-10f, ""},
        {3, tri, {0, 0, 0}, 0, 0, few}, {-2, tri, {0, 0, 0}, 0, 0, few},
        {5, tri, {0, 0, 0}, 0, 0, "The number of vertices exceeds the vertex array"}};  // never read past
    for (const Case& c : cases) {
        EXPECT_NEAR(polyhedron_volume(c.n, c.v, c.centre), c.volume, c.tol) << testing::PrintToString(c.v);
        EXPECT_EQ(std::make_pair(err_math3d, err_math3d_mess), std::make_pair(!c.mess.empty(), c.mess)) << c.n;
    }
    (void)polyhedron_volume(4, Pts{{nan_f, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, {0.1f, 0.1f, 0.1f});  // no crash
    // Random points on a sphere (no four in a plane) against their hull, and a cube, an octahedron and a hexagonal
    // prism turned at random in 32-bit coordinates (faces of four and six vertices, planes through the centre; the
    // volume kept to the rounding of the turns); scales 0.01 to 100, centres anywhere inside, some close to a face or
    // to a plane through vertices.
    std::mt19937 gen(31);
    std::uniform_real_distribution<double> u(-1.0, 1.0), w(0.0, 1.0);
    const std::pair<Pts, double> shapes[] = {{cube, 8.0}, {octahedron, 4.0 / 3}, {hex, 3 * std::sqrt(3.0)}};
    int done = 0;
    for (int trial = 0; trial < 600; ++trial) {
        const double scale = std::pow(10.0, 4 * w(gen) - 2);
        const auto& [shape, unit_volume] = shapes[trial / 2 % 3];
        const float a = float(180 * u(gen)), b = float(180 * u(gen)), g = float(180 * u(gen));  // turns about x, y, z
        Pts v;
        Vec3d mix{};  // the centre: a random mixture of the vertices
        double total = 0;
        for (int i = 0; i < (trial % 2 ? 4 + trial % 11 : int(shape.size())); ++i) {
            const Vec3d p{u(gen), u(gen), u(gen)};
            const double r = std::hypot(p[0], p[1], p[2]), weight = w(gen) + 0.01;
            const Vec3f x = trial % 2 ? Vec3f{float(p[0] / r), float(p[1] / r), float(p[2] / r)}
                                      : rotate_oz(rotate_oy(rotate_ox(shape[std::size_t(i)], a), b), g);
            v.push_back({float(scale * x[0]), float(scale * x[1]), float(scale * x[2])});
            total += weight;
            for (int k = 0; k < 3; ++k) mix[k] += weight * v.back()[k];
        }
        // On every third trial the centre is pulled to within 1e-4 of the way to vertex 0 (sphere points) or to the
        // mean of vertices 0 and 1 (shapes).
        Vec3f c{};
        for (int k = 0; k < 3; ++k) {
            const double near = trial % 2 ? v[0][k] : 0.5 * (v[0][k] + v[1][k]);
            c[k] = float(trial % 3 ? mix[k] / total : near + 1e-4 * (mix[k] / total - near));
        }
        double volume = unit_volume * scale * scale * scale;
        bool inside = true;
        if (trial % 2) volume = hull_volume(v, c, inside);
        if (!inside) continue;  // moved out of a flat polyhedron by its rounding to 32 bits
        ++done;
        EXPECT_NEAR(polyhedron_volume(std::int32_t(v.size()), v, c) / volume, 1.0, 2e-6)
            << "trial " << trial << " scale " << scale << " " << testing::PrintToString(v);
    }
    EXPECT_GT(done, 590);
}

TEST(Polyhedra3d, CircumcentreSphereCentreAndFailures) {
    auto centre = [](std::int32_t n, const Pts& v) {
        Vec3f c{9, 9, 9}, b{9, 9, 9}; get_centroid_coord(n, v, c, b); return std::make_tuple(c, b, err_math3d, err_math3d_mess); };
    const auto [c1, b1, e1, m1] = centre(3, {{0, 0, 0}, {2, 0, 0}, {0, 2, 0}});
    const Pts tilted{{1, 2, 3}, {4, 0, 1}, {2, 5, -1}};  // circumcentre equidistant from the corners
    const auto [c2, b2, e2, m2] = centre(3, tilted);
    const Vec3f shift{0.25f, -1.5f, 3.0f};  // shifted octahedron: the shift is the centre
    const auto [c3, b3, e3, m3] = centre(6, {{1.25, -1.5, 3}, {-0.75, -1.5, 3}, {0.25, -0.5, 3}, {0.25, -2.5, 3},
                                             {0.25, -1.5, 4}, {0.25, -1.5, 2}});
    auto dist = [&c = c2](const Vec3f& p) { return std::hypot(double(p[0] - c[0]), double(p[1] - c[1]), double(p[2] - c[2])); };
    check({NEAR(c1[0], 1, 1e-6), NEAR(c1[1], 1, 1e-6), NEAR(c1[2], 0, 1e-6), NEAR(b1[0], 2.0 / 3, 1e-6), NEAR(b1[1], 2.0 / 3, 1e-6),
           EQ(b1[2], 0), NEAR(dist(tilted[0]), dist(tilted[1]), 1e-4), NEAR(dist(tilted[0]), dist(tilted[2]), 1e-4),
           EQ(e1 || e2 || e3, 0), NEAR(c3[0], shift[0], 1e-5), NEAR(c3[1], shift[1], 1e-5), NEAR(c3[2], shift[2], 1e-5),
           NEAR(b3[0], shift[0], 1e-6), NEAR(b3[1], shift[1], 1e-6), NEAR(b3[2], shift[2], 1e-6)});
    const Vec3f zero{0, 0, 0};
    const std::tuple<std::int32_t, Pts, std::string> failures[] = {
        {2, {{0, 0, 0}, {2, 0, 0}}, "Centroid calculation needs 3 vertives as minimum"},
        {3, {{0, 0, 0}, {1, 1, 1}, {2, 2, 2}}, "Imposible to define a Plane with the three given points"},
        {3, {{0, 0, 0}, {5e-5f, 0, 0}, {0, 1e5f, 0}}, "Check your points! Seems that two of them are equal"},  // short edge
        {4, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, "Determinant is singular to calculate Centroid point"},  // coplanar
        {4, {{0, 0, 0}, {2, 0, 0}, {0, 2, 0}}, "The number of vertices exceeds the vertex array"},  // count beyond the array
        {4, {{nan_f, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, "Determinant is singular to calculate Centroid point"}};
    for (const auto& [n, v, mess] : failures) EXPECT_EQ(centre(n, v), std::make_tuple(zero, zero, true, mess));
}
