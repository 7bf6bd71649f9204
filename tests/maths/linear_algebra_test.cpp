// Dense linear algebra: LU factors with row-scaled pivoting (pivot records,
// parities, singular stops), A x = b, A A^-1 = I, det(AB) = det A det B; the
// symmetric and Hermitian eigen-solvers (V L V^T = A, H v = l v, published tie
// order, error texts); U diag(w) V^T = A, the absolute rank threshold and the
// row/column linear-dependence tests with their error texts.

#include "maths/math_gen.hpp"
#include "maths/table_checks.hpp"

using namespace vorn_math_general;
using VD = std::vector<double>;
using MF = Matrix<float>;
using MD = Matrix<double>;

namespace {

template <class T, class F> Matrix<T> build(std::int32_t r, std::int32_t c, F f) {
    Matrix<T> m(r, c);
    for (std::int32_t k = 0; k < r * c; ++k) m.at1(k / c + 1, k % c + 1) = f(k / c + 1, k % c + 1);
    return m;
}
template <class T> Matrix<T> product(const Matrix<T>& a, const Matrix<T>& b) {  // summed in double
    using S = std::conditional_t<std::is_floating_point_v<T>, double, std::complex<double>>;
    return build<T>(a.rows, b.cols, [&](auto i, auto j) { S s = 0; for (std::int32_t k = 1; k <= a.cols; ++k) s += S(a.at1(i, k)) * S(b.at1(k, j)); return T(s); });
}
template <class T> Matrix<T> adjoint(const Matrix<T>& a) {
    return build<T>(a.cols, a.rows, [&](auto i, auto j) { if constexpr (std::is_floating_point_v<T>) return a.at1(j, i); else return std::conj(a.at1(j, i)); });
}
template <class T> Matrix<T> identity(std::int32_t n) { return build<T>(n, n, [](auto i, auto j) { return T(i == j); }); }
template <class T, class W> Matrix<T> scale_columns(const Matrix<T>& a, const W& w) {
    return build<T>(a.rows, a.cols, [&](auto i, auto j) { return a.at1(i, j) * w[std::size_t(j - 1)]; });
}
template <class T> double max_dev(const Matrix<T>& a, const Matrix<T>& b) {
    double e = a.rows == b.rows && a.cols == b.cols ? 0 : 1e30;
    for (std::size_t k = 0; k < std::min(a.data.size(), b.data.size()); ++k)
        e = std::max(e, std::abs(std::complex<double>(a.data[k]) - std::complex<double>(b.data[k])));
    return e;
}
// Diagonally dominant (well conditioned) on a cyclic shift of the diagonal, so that the decomposition interchanges rows.
MF random_matrix(std::mt19937& gen, std::int32_t n) {
    std::uniform_real_distribution<float> d(-2.0f, 2.0f);
    const std::int32_t shift = std::int32_t(gen() % unsigned(n));
    return build<float>(n, n, [&](auto i, auto j) { return d(gen) + ((i + shift) % n + 1 == j ? float(2 * n + 3) * (i % 2 ? 1 : -1) : 0.0f); });
}
struct Lu { MF f; float parity; bool singular; VI piv; };
Lu lu(MF a) { Lu r{{}, 0, false, {}}; lu_decomp(a, r.parity, r.singular, &r.piv); r.f = a; return r; }
auto inverse(const MF& a) { MF m; bool s = false; VI p; invert_matrix(a, m, s, &p); return std::make_tuple(s, m, p); }
float det_r(const MF& a, std::int32_t n) { float d = -99; determinant_r(a, n, d); return d; }
float det_c(const Matrix<C>& a, std::int32_t n) { float d = -99; determinant_c(a, n, d); return d; }
// Eigenvalues (len entries, filled with 9 before), eigenvectors (7 before) and the error pair after the call.
template <class T> auto diag(const Matrix<T>& a, std::int32_t n, std::size_t len, bool vectors = true) {
    VF ev(len, 9.0f);
    Matrix<T> v{{T(7)}};
    if constexpr (std::is_same_v<T, float>) diagonalize_symm(a, n, ev, vectors ? &v : nullptr);
    else diagonalize_herm(a, n, ev, &v);
    return std::make_tuple(ev, v, err_mathgen, err_mathgen_mess);
}
template <class T> auto svd(Matrix<T> a, std::size_t wn, Matrix<T> v) {
    std::vector<T> w(wn, T(7));
    if constexpr (sizeof(T) == 8) svdcmp_dp(a, w, v);
    else svdcmp_sp(a, w, v);
    return std::make_tuple(a, w, v, err_mathgen, err_mathgen_mess);
}
}  // namespace

TEST(LuDecomposition, WorkedPivotRecordsSingularStopsAndDeterminants) {
    const MF empty, zero_row{{1, 2, 3}, {0, 0, 0}, {4, 5, 7}}, tiny{{1.0e-16f, 0}, {0, 1.0e-16f}}, swap{{0, 1}, {1, 0}};
    const Lu e = lu(empty), s = lu(swap), sc = lu({{1, 1000}, {2, 1}}), r1 = lu({{1, 2}, {2, 4}}), z = lu(zero_row);
    EXPECT_EQ(std::tie(e.parity, e.singular, s.parity, s.singular, s.piv), std::make_tuple(1.0f, false, -1.0f, false, VI{2, 2}));
    EXPECT_EQ(std::tie(sc.piv[0], sc.parity), std::make_tuple(2, -1.0f));  // row scaling: 2/2 beats 1/1000
    EXPECT_EQ(std::tie(r1.singular, r1.f.at1(2, 2)), std::make_tuple(true, 1.0e-20f));  // a pivot falling to zero
    EXPECT_EQ(std::tie(z.parity, z.singular, z.f), std::make_tuple(1.0f, true, zero_row));
    // Singular: the work matrix returned, the permutation defined though no step was made; det 1e-32 <= 1e-30 refused.
    auto inv2 = [](const MF& a) { auto [s, m, p] = inverse(a); return std::make_pair(s, m); };
    EXPECT_EQ(inverse(zero_row), std::make_tuple(true, zero_row, VI{1, 2, 3}));
    EXPECT_EQ(std::make_pair(inv2(tiny), inv2(swap)), std::make_pair(std::pair(true, tiny), std::pair(false, swap)));
    const Lu lower = lu({{2, 0, 0}, {1, 1, 0}, {0, 3, 4}});
    VF rhs{0, 0, 8}, untouched{1, 2};  // leading zeros of the permuted rhs skipped; too short: nothing done
    lu_backsub(lower.f, lower.piv, rhs), lu_backsub(lower.f, lower.piv, untouched);
    EXPECT_EQ(std::tie(rhs, untouched), std::make_tuple(VF{0, 0, 2}, VF{1, 2}));
    // A size beyond the rows of a wide matrix is refused though its columns would hold it: the storage behind
    // each 2x3 matrix holds a third row, which a test of the columns alone would let the procedures read.
    MF wide{{2, 0, 0}, {0, 2, 0}, {0, 0, 2}};
    Matrix<C> wide_c{{2, 0, 0}, {0, 2, 0}, {0, 0, 2}};
    wide.rows = wide_c.rows = 2;
    check({EQ(det_r(empty, 0), 1), NEAR(det_r(swap, 2), -1, 1e-6), NEAR(det_r(MF{{-7.5f}}, 1), -7.5, 1e-5),
           EQ(det_r(zero_row, 3), 0), EQ(det_r(tiny, 3), 0),  // a size beyond the matrix is refused
           EQ(det_r(wide, 3), 0), EQ(det_c(wide_c, 3), 0),
           NEAR(det_c(Matrix<C>{{{3, 4}}}, 1), 25, 1e-4), NEAR(det_c(Matrix<C>{{{1, 1}, {2, 2}}, {{1, 0}, {2, 0}}}, 2), 0, 1e-5)});  // |det|^2
    MF id{{1, 0}, {0, 1}}, big{{2, 0, 9}, {0, 4, 9}, {9, 9, 9}}, small{{1}};
    matinv(id, 2), matinv(big, 2), matinv(small, 3), matinv(wide, 3);  // big: the leading block; small, wide: untouched
    EXPECT_EQ(wide.data, (VF{2, 0, 0, 0, 2, 0, 0, 0, 2}));
    EXPECT_EQ(std::tie(id, big, small), std::make_tuple(MF{{1, 0}, {0, 1}}, MF{{0.5f, 0, 9}, {0, 0.25f, 9}, {9, 9, 9}}, MF{{1}}));
    EXPECT_TRUE(std::signbit(id.at1(1, 2)) && std::signbit(id.at1(2, 1)));  // the interchanges leave -0
}

TEST(LuDecomposition, SolvesInvertsAndMultipliesDeterminantsOfRandomMatrices) {
    std::mt19937 gen(7);
    for (int trial = 0; trial < 200; ++trial) {
        SCOPED_TRACE(trial);
        const std::int32_t n = 1 + trial % 8;
        const MF a = random_matrix(gen, n), b2 = random_matrix(gen, n), x = build<float>(n, 1, [](auto i, auto) { return i - 2.5f; });
        MF gj = a, b = product(a, x);
        const Lu f = lu(a);
        const auto [singular, inv, piv] = inverse(a);
        ASSERT_FALSE(f.singular || singular);
        lu_backsub(f.f, f.piv, b.data);
        EXPECT_LT(max_dev(b, x), 2e-5);
        matinv(gj, n);
        EXPECT_LT(std::max(max_dev(product(a, inv), identity<float>(n)), max_dev(product(a, gj), identity<float>(n))), 2e-5);
        const float da = det_r(a, n);
        const Matrix<C> c = build<C>(n, n, [&](auto i, auto j) { return C(a.at1(i, j)); });  // complex determinant of a real matrix: det^2
        check({NEAR(det_r(product(a, b2), n) / (da * det_r(b2, n)), 1, 1e-4), NEAR(det_r(adjoint(a), n) / da, 1, 1e-4),
               NEAR(det_c(c, n) / (da * da), 1, 1e-4)});
    }
}

TEST(Eigen, WorkedTieOrdersSignsAndErrorTexts) {
    const std::string dim = ": Error in dimension of input matrix: A(m,m) with m < n ", order = ": Order n < 1 or eigenvalue array shorter than n ";
    const MF i2{{1, 0}, {0, 1}}, with_nan{{1, nan_f}, {nan_f, 2}};
    EXPECT_EQ(diag(i2, 3, 3), std::make_tuple(VF{0, 0, 0}, MF{{7}}, true, " Diagonalize_SYMM" + dim));
    EXPECT_EQ(diag(MF{{1}}, 0, 1), std::make_tuple(VF{0}, MF{{7}}, true, " Diagonalize_SYMM" + order));
    EXPECT_EQ(diag(i2, 2, 1), std::make_tuple(VF{0}, MF{{7}}, true, " Diagonalize_SYMM" + order));
    EXPECT_EQ(diag(MF{{-2.5f}}, 1, 1), std::make_tuple(VF{-2.5f}, MF{{1}}, false, ""));  // clears the error
    EXPECT_EQ(diag(MF{{1, 0, 0}, {0, 3, 0}, {0, 0, 2}}, 3, 5),  // longer than n: the rest comes back 0
              std::make_tuple(VF{3, 2, 1, 0, 0}, MF{{0, 0, 1}, {1, 0, 0}, {0, 1, 0}}, false, ""));
    EXPECT_EQ(diag(i2, 2, 2), std::make_tuple(VF{1, 1}, MF{{0, 1}, {1, 0}}, false, ""));
    // An off-diagonal below the double rounding of |d1| + |d2| counts as zero: no rotation at all.
    EXPECT_EQ(diag(MF{{0, 1e-10f}, {1e-10f, 1e8f}}, 2, 2), std::make_tuple(VF{1e8f, 0}, MF{{0, 1}, {1, 0}}, false, ""));
    EXPECT_EQ(std::get<3>(diag(with_nan, 2, 2)), " Too many iterations in TQLI2");  // NaN never converges
    EXPECT_EQ(std::get<3>(diag(with_nan, 2, 2, false)), " Too many iterations in TQLI1");
    EXPECT_EQ(diag(Matrix<C>{{C(1, 0)}}, 2, 2), std::make_tuple(VF{0, 0}, Matrix<C>{{7}}, true, " Diagonalize_HERM" + dim));
    EXPECT_EQ(diag(Matrix<C>{{C(1, 0)}}, -1, 1), std::make_tuple(VF{0}, Matrix<C>{{7}}, true, " Diagonalize_HERM" + order));
    EXPECT_EQ(diag(Matrix<C>{{C(4, 0)}}, 1, 1), std::make_tuple(VF{4}, Matrix<C>{{C(0, 1)}}, false, ""));
    VF d{4}, d2{1, 2, 2}, d3{1, 2, 2};
    MF v{{9}}, v2{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}, v3 = v2;
    eigsrt(d, v, 1, 1), eigsrt(d2, v2, 3, 0), eigsrt(d3, v3, 3, 1);  // values only; then the later tie first
    EXPECT_EQ(std::tie(v, d2, v2, v3), std::make_tuple(MF{{9}}, VF{2, 2, 1}, MF{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}, MF{{3, 2, 1}, {6, 5, 4}, {9, 8, 7}}));
}

TEST(Eigen, RandomSymmetricAndHermitianMatricesDecompose) {
    std::mt19937 gen(11);
    std::uniform_real_distribution<float> dist(-3.0f, 3.0f);
    for (int trial = 0; trial < 160; ++trial) {
        SCOPED_TRACE(trial);
        const std::int32_t n = 1 + trial % 7;
        MF a(n, n), v;
        Matrix<C> h(n, n), hv;
        for (std::int32_t i = 1; i <= n; ++i)
            for (std::int32_t j = 1; j <= i; ++j) {
                a.at1(i, j) = a.at1(j, i) = dist(gen);
                const float re = dist(gen), im = i == j ? 0.0f : dist(gen);
                h.at1(j, i) = std::conj(h.at1(i, j) = C(re, im));
            }
        if (trial % 10 == 0 && n > 2) a.at1(2, 1) = a.at1(1, 2) = 0.0f;  // a pre-split matrix
        VF ev(std::size_t(n), 0.0f), values_only = ev, lam = ev;
        diagonalize_symm(a, n, values_only), diagonalize_herm(h, n, lam, &hv);
        ASSERT_FALSE(err_mathgen);
        diagonalize_symm(a, n, ev, &v);
        ASSERT_FALSE(err_mathgen);
        EXPECT_TRUE(std::is_sorted(ev.rbegin(), ev.rend()) && std::is_sorted(lam.rbegin(), lam.rend()));
        EXPECT_LT(max_dev(product(scale_columns(v, ev), adjoint(v)), a), 5e-5);
        EXPECT_LT(max_dev(product(adjoint(v), v), identity<float>(n)), 5e-6);
        EXPECT_LT(max_dev(product(h, hv), scale_columns(hv, lam)), 5e-5);
        EXPECT_LT(max_dev(product(adjoint(hv), hv), identity<C>(n)), 1e-5);
        for (std::int32_t k = 0; k < n; ++k) EXPECT_NEAR(values_only[std::size_t(k)], ev[std::size_t(k)], 2e-5);
    }
}

TEST(SingularValues, WorkedSignsSizeErrorsAndNaN) {
    const std::string sizes = " => Physical dimensions of arguments in SVDcmp_", conv = ": convergence not reached ! ";
    EXPECT_EQ(svd<double>({{1, 0}, {0, 2}}, 2, MD(2, 2)),  // not sorted
              std::make_tuple(MD{{-1, 0}, {0, -1}}, VD{1, 2}, MD{{-1, 0}, {0, -1}}, false, ""));
    EXPECT_EQ(svd<double>(MD(3, 2, 0.0), 2, MD(2, 2, 5.0)),  // zero matrix: V the identity, unit columns in U
              std::make_tuple(MD{{1, 0}, {0, 1}, {0, 0}}, VD{0, 0}, MD{{1, 0}, {0, 1}}, false, ""));
    EXPECT_EQ(svd<double>(MD(3, 0), 0, MD()), std::make_tuple(MD(3, 0), VD{}, MD(), false, ""));  // no columns
    EXPECT_EQ(svd<double>({{1, 2}, {3, 4}}, 2, MD(2, 3, 7.0)),  // mismatched sizes: nothing touched
              std::make_tuple(MD{{1, 2}, {3, 4}}, VD{7, 7}, MD(2, 3, 7.0), true, sizes + "dp are not compatible "));
    EXPECT_EQ(svd<float>({{1, 2}, {3, 4}}, 1, MF(2, 2)),
              std::make_tuple(MF{{1, 2}, {3, 4}}, VF{7}, MF(2, 2), true, sizes + "sp are not compatible "));
    EXPECT_EQ(std::get<4>(svd<double>({{1, std::nan("")}, {2, 3}}, 2, MD(2, 2))), " => SVDcmp_dp" + conv);  // passes run out
}

template <class T> void check_svd(const Matrix<T>& a0, double tol) {
    const auto [u, w, v, err, mess] = svd<T>(a0, std::size_t(a0.cols), Matrix<T>(a0.cols, a0.cols));
    ASSERT_FALSE(err) << mess;
    EXPECT_GE(*std::min_element(w.begin(), w.end()), T(0));
    EXPECT_LE(max_dev(product(scale_columns(u, w), adjoint(v)), a0), tol);
    EXPECT_LE(max_dev(product(adjoint(v), v), identity<T>(a0.cols)), tol);
    EXPECT_LE(a0.rows >= a0.cols ? max_dev(product(adjoint(u), u), identity<T>(a0.cols)) : 0.0, tol);
}

TEST(SingularValues, RandomWideTallAndRankDeficientMatricesReconstruct) {
    std::mt19937 gen(3);
    std::uniform_real_distribution<double> dist(-1.0, 1.0);
    for (int trial = 0; trial < 120; ++trial) {
        SCOPED_TRACE(trial);
        const std::int32_t m = 1 + trial % 6, n = 1 + (trial / 6) % 6;
        MD a(m, n);
        for (auto& x : a.data) x = dist(gen);
        if (trial % 4 == 1 && n >= 2)  // rank deficient: column 2 = 3 column 1
            for (std::int32_t i = 1; i <= m; ++i) a.at1(i, 2) = 3.0 * a.at1(i, 1);
        check_svd(a, 1e-12);
        check_svd(build<float>(m, n, [&](auto i, auto j) { return float(a.at1(i, j)); }), 5e-6);
    }
}

TEST(SingularValues, RankAndLinearDependence) {
    auto rd = [](const MD& a, double tol) { std::int32_t r = -1; rank_dp(a, tol, r); return r; };
    auto rs = [](const MF& a, float tol) { std::int32_t r = -1; rank_sp(a, tol, r); return r; };
    check({EQ(rd(MD{{1, 0}, {0, 2}}, 1.0), 1),  // a value equal to tol does not count
           EQ(rd(MD{{1, 2}, {2, 4}, {3, 6}}, 1e-9), 1), EQ(rs(MF{{1, 0, 0}, {0, 1, 0}}, 1e-6f), 2),
           EQ(rd(MD{{1e-7}}, 1e-6), 0), EQ(rd(MD(3, 2, 0.0), 0.0), 0), EQ(rd(MD(3, 0), 0.0), 0)});
    const std::string conv = ": convergence not reached ! ";  // NaN: the passes run out, rank 0
    const std::int32_t nan_rank = rs(MF{{nan_f, 1}, {2, 3}}, 0.5f);
    EXPECT_EQ(std::make_pair(nan_rank, err_mathgen_mess), std::make_pair(0, " => SVDcmp_sp" + conv));
    // Each row: the dependence answer and the error text right after the call.
    using Dep = std::pair<bool, std::string>;
    auto finish = [](bool d) { return Dep{d, err_mathgen ? err_mathgen_mess : "-"}; };
    auto dr = [&](VF v, std::int32_t len, MF m, std::int32_t r, std::int32_t c) { bool d = false; linear_dependentr(v, len, m, r, c, d); return finish(d); };
    auto di = [&](VI v, std::int32_t len, Matrix<std::int32_t> m, std::int32_t r, std::int32_t c) { bool d = false; linear_dependenti(v, len, m, r, c, d); return finish(d); };
    auto dc = [&](std::vector<C> v, std::int32_t len, Matrix<C> m, std::int32_t r, std::int32_t c) { bool d = false; linear_dependentc(v, len, m, r, c, d); return finish(d); };
    const MF m{{1, 0}, {0, 1}, {0, 0}};
    const Matrix<std::int32_t> mi{{1, 0, 0}, {0, 1, 0}};
    const Matrix<C> mc{{C(1, 0), C(2, 1)}}, col{{C(1, 0)}, {C(0, 1)}};
    const std::string r_dim = " Linear_DependentR: Error in dimension of input matrix or vector";
    const std::pair<Dep, Dep> rows[] = {
        {dr({1, 1}, 2, MF{{1, 0}, {0, 1}}, 2, 2), {true, "-"}}, {dr({0, 0, 1}, 3, m, 3, 2), {false, "-"}},  // row case, column case
        {dr({1e-7f, 0}, 2, MF(0, 2), 0, 2), {true, "-"}}, {dr({1, 0}, 2, MF(0, 2), 0, 2), {false, "-"}},  // no rows: |v| vs 1e-6
        {dr({1, 0, 0, 0}, 4, m, 3, 2), {true, " Linear_DependentR: input dimension of vector incompatible with matrix"}},
        {dr({1, 0}, 3, m, 3, 2), {true, r_dim}}, {dr({1, 0, 0}, 3, m, 4, 2), {true, r_dim}}, {di({1, 2, 4}, 3, mi, 2, 3), {false, "-"}},
        {di({2, 3}, 2, mi, 2, 3), {true, "-"}},  // column case: 2 components cannot hold 4 independent columns
        {di({1}, 5, Matrix<std::int32_t>{{1}}, 1, 1), {true, " Linear_DependentI: Error in dimension of input matrix or vector"}},
        {dc({C(0, 1), C(-1, 2)}, 2, mc, 1, 2), {true, "-"}}, {dc({C(1, 0), C(0, 0)}, 2, mc, 1, 2), {false, "-"}},  // i times the row
        {dc({C(1, 0)}, 1, Matrix<C>{{C(1, 0), C(0, 1)}}, 1, 2), {true, "-"}},  // column case: 2*2+2 > 2*1
        {dc({C(1, 0), C(0, 0), C(0, 0)}, 3, mc, 1, 2), {true, " Linear_DependentC: input dimension of vector incompatible with matrix"}},
        {dc({C(0, 1), C(-1, 0)}, 2, col, 2, 1), {true, "-"}}, {dc({C(1, 0), C(0, 0)}, 2, col, 2, 1), {false, "-"}},  // i times the column
        {dr({1, 2}, 2, MF{{nan_f, 1}}, 1, 2), {true, " => SVDcmp_dp" + conv}}};
    for (std::size_t k = 0; k < std::size(rows); ++k) EXPECT_EQ(rows[k].first, rows[k].second) << "row " << k;
}
