// Module vorn_math_general: the general numerical library of vorn.
//
// Array convention of the module: storage is 0-based and element i of a
// vector (i counted from 1, as the crystallographic formulas do) is v[i-1];
// matrices are `Matrix<T>` records (row-major storage, 1-based `at1(i,j)`,
// row i and column j) or any nested std::array, read through `MatrixView`.
// Index results (the `order` of the sorts, pivot rows, positions found by
// `imaxloc_*` and `locate_*`) are 1-based numbers.
//
// Integers are std::int32_t and wrap around modulo 2^32 where the algorithms
// say so (done in unsigned arithmetic); reals are 32-bit `float` unless a
// procedure says `_dp` (64-bit).
#pragma once

#include <array>
#include <complex>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vorn_math_general {

// ---- Dense matrix record and read-only view (1-based element access) ----

template <class T>
struct Matrix {
    std::int32_t rows = 0;
    std::int32_t cols = 0;
    std::vector<T> data;  // row-major: element (i,j) at (i-1)*cols + (j-1)

    Matrix() = default;
    Matrix(std::int32_t r, std::int32_t c, T fill = T{})
        : rows(r < 0 ? 0 : r), cols(c < 0 ? 0 : c),
          data(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols), fill) {}
    Matrix(std::initializer_list<std::initializer_list<T>> row_list) {
        rows = static_cast<std::int32_t>(row_list.size());
        cols = rows > 0 ? static_cast<std::int32_t>(row_list.begin()->size()) : 0;
        data.assign(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols), T{});
        std::size_t i = 0;
        for (const auto& row : row_list) {
            std::size_t j = 0;
            for (const T& x : row) {
                if (j < static_cast<std::size_t>(cols)) data[i * static_cast<std::size_t>(cols) + j] = x;
                ++j;
            }
            ++i;
        }
    }
    T& at1(std::int32_t i, std::int32_t j) {
        return data[static_cast<std::size_t>(i - 1) * static_cast<std::size_t>(cols) + static_cast<std::size_t>(j - 1)];
    }
    const T& at1(std::int32_t i, std::int32_t j) const {
        return data[static_cast<std::size_t>(i - 1) * static_cast<std::size_t>(cols) + static_cast<std::size_t>(j - 1)];
    }
    bool operator==(const Matrix&) const = default;
};

// Read-only view of a row-major matrix: built implicitly from a Matrix<T>,
// from a nested std::array (e.g. a 3x3 rotation `std::array<std::array<int,3>,3>`)
// or from a plain two-dimensional array.
template <class T>
struct MatrixView {
    const T* data = nullptr;
    std::int32_t rows = 0;
    std::int32_t cols = 0;

    MatrixView() = default;
    MatrixView(const T* d, std::int32_t r, std::int32_t c) : data(d), rows(r), cols(c) {}
    MatrixView(const Matrix<T>& m) : data(m.data.data()), rows(m.rows), cols(m.cols) {}  // NOLINT
    template <std::size_t R, std::size_t C>
    MatrixView(const std::array<std::array<T, C>, R>& m)  // NOLINT
        : data(R * C > 0 ? m[0].data() : nullptr), rows(static_cast<std::int32_t>(R)),
          cols(static_cast<std::int32_t>(C)) {
        static_assert(sizeof(std::array<std::array<T, C>, R>) == R * C * sizeof(T));
    }
    template <std::size_t R, std::size_t C>
    MatrixView(const T (&m)[R][C])  // NOLINT
        : data(&m[0][0]), rows(static_cast<std::int32_t>(R)), cols(static_cast<std::int32_t>(C)) {}
    const T& at1(std::int32_t i, std::int32_t j) const {
        return data[static_cast<std::size_t>(i - 1) * static_cast<std::size_t>(cols) + static_cast<std::size_t>(j - 1)];
    }
    std::size_t size() const { return static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols); }
};

// ---- Module state ----

// Tolerance of every non-exact test of the module (and of the co-linearity
// tests); 1.0e-5 at start.  Written only by set_epsg / set_epsg_default; read
// by the tolerance tests here and, through them, by the text and symmetry
// modules.
extern float epss;
// Error pair of the module.  Set by the index sorts, the eigen-solvers, the
// singular value decomposition and its users (and by the guards against
// impossible sizes); cleared by init_err_mathgen, which those entry
// procedures call first.  The message is kept without trailing blanks (empty
// when clear), at most 150 characters.
extern bool err_mathgen;
extern std::string err_mathgen_mess;

// ---- Tolerances and exact tests ----

void set_epsg(float tolerance);
void set_epsg_default();
void init_err_mathgen();

bool negligibler(float value);
bool negligiblec(std::complex<float> value);
bool zbelongn(float value);
bool zbelongv(std::span<const float> v);
bool zbelongm(MatrixView<float> a);

// The comparisons use the first n components (leading n x n block); n <= 0
// gives true, an n beyond either array gives false.
bool equal_vector_i(std::span<const std::int32_t> a, std::span<const std::int32_t> b, std::int32_t n);
bool equal_vector_r(std::span<const float> a, std::span<const float> b, std::int32_t n);
bool equal_matrix_i(MatrixView<std::int32_t> a, MatrixView<std::int32_t> b, std::int32_t n);
bool equal_matrix_r(MatrixView<float> a, MatrixView<float> b, std::int32_t n);

// Column i of `limits` holds the lower bound (row 1) and upper bound (row 2)
// of component i; n < 1 gives true, an n beyond the arrays false.
bool in_limits_int(std::int32_t n, MatrixView<std::int32_t> limits, std::span<const std::int32_t> point);
bool in_limits_sp(std::int32_t n, MatrixView<float> limits, std::span<const float> point);
bool in_limits_dp(std::int32_t n, MatrixView<double> limits, std::span<const double> point);

std::int32_t trace_i(MatrixView<std::int32_t> a);
float trace_r(MatrixView<float> a);
std::complex<float> trace_c(MatrixView<std::complex<float>> a);

// Reduction of a translation into the cell: each component u -> t - trunc(t)
// with t = u + 10 rounded to 32 bits.
std::vector<float> modulo_lat(std::span<const float> u);
std::array<float, 3> modulo_lat(const std::array<float, 3>& u);

// ---- Index sorts ----

// order(1..n) receives a permutation of 1..n with keys(order(p)) ascending;
// which of equal keys comes first follows from the fixed quicksort steps.
// Clears the error pair; sets it on stack overflow (" NSTACK too small in
// SORT") or when n exceeds the size of keys or order (order then unchanged).
void sort_i(std::span<const std::int32_t> keys, std::int32_t n, std::span<std::int32_t> order);
void sort_r(std::span<const float> keys, std::int32_t n, std::span<std::int32_t> order);
// Counting sort: list(1..n) (1-based indices into keys) into sorted_list by
// ascending key, equal keys in list order.
void in_sort(std::span<const std::int32_t> keys, std::int32_t n, std::span<const std::int32_t> list,
             std::span<std::int32_t> sorted_list);
// In-place ascending sort of texts (unsigned character codes, blank padded).
void sort_strings(std::span<std::string> texts);
// One Hoare partition step of sort_strings, the first text the pivot.
void partition(std::span<std::string> texts, std::int32_t& marker);

// ---- Integer arithmetic, co-primality and co-linearity ----

// The first 1000 primes, 2 ... 7919 (constant).
extern const std::array<std::int32_t, 1000> primes;
// |n|! modulo 2^32 (0 from 34 on).
std::int32_t factorial(std::int32_t n);
// Euclid on (max, min); u when the smaller argument is 0.
std::int32_t pgcd(std::int32_t a, std::int32_t b);
// Least common multiple a / pgcd * b (wrapping); the larger argument when
// the smaller is 1 or less.
std::int32_t ppcm(std::int32_t a, std::int32_t b);
// True when no prime of the table (up to max_prime, or the largest
// magnitude) divides every component.
bool co_prime(std::span<const std::int32_t> v, std::optional<std::int32_t> max_prime = std::nullopt);
// reduced = v / factor with co-prime components (same length as v).
void co_prime_vector(std::span<const std::int32_t> v, std::span<std::int32_t> reduced, std::int32_t* factor = nullptr);
// a = c b within epss on the first n components.  n < 1 or beyond the
// vectors gives false; the zero vector is co-linear only with the zero vector.
bool co_linear_i(std::span<const std::int32_t> a, std::span<const std::int32_t> b, std::int32_t n);
bool co_linear_r(std::span<const float> a, std::span<const float> b, std::int32_t n);
bool co_linear_c(std::span<const std::complex<float>> a, std::span<const std::complex<float>> b, std::int32_t n);

// ---- Elementary functions ----

// Degree trigonometry; acosd/asind answer 0/180 and 90/-90 outside [-1, 1].
double acosd_dp(double x);
float acosd_sp(float x);
double asind_dp(double x);
float asind_sp(float x);
double atan2d_dp(double y, double x);
float atan2d_sp(float y, float x);
double atand_dp(double x);
float atand_sp(float x);
double cosd_dp(double x);
float cosd_sp(float x);
double sind_dp(double x);
float sind_sp(float x);
double tand_dp(double x);
float tand_sp(float x);
// Angle of the point (x, y) from the x axis, -pi..pi (+pi on the negative x
// axis), in degrees when `degrees`; 0 within 1e-5 of the origin.
void rtan_dp(double y, double x, double& angle, bool degrees = false);
void rtan_sp(float y, float x, float& angle, bool degrees = false);
// sqrt(a^2 + b^2) without destructive overflow or underflow.
double pythag_dp(double a, double b);
float pythag_sp(float a, float b);
// Euclidean norm of x(1..n), safe against overflow and underflow.
float euclidean_norm(std::int32_t n, std::span<const float> x);
// Bessel functions of the first kind of integer order.
float bessj0(float x);
float bessj1(float x);
float bessj(std::int32_t n, float x);

// ---- Vector and matrix helpers ----

// Exchanges; whole-array exchanges of different sizes or shapes do nothing,
// masked exchanges need a mask of the same size.
void swap_i(std::int32_t& a, std::int32_t& b);
void swap_r(float& a, float& b);
void swap_c(std::complex<float>& a, std::complex<float>& b);
void masked_swap_r(float& a, float& b, bool mask);
void swap_iv(std::span<std::int32_t> a, std::span<std::int32_t> b);
void swap_rv(std::span<float> a, std::span<float> b);
void swap_cv(std::span<std::complex<float>> a, std::span<std::complex<float>> b);
void swap_im(Matrix<std::int32_t>& a, Matrix<std::int32_t>& b);
void swap_rm(Matrix<float>& a, Matrix<float>& b);
void swap_cm(Matrix<std::complex<float>>& a, Matrix<std::complex<float>>& b);
void masked_swap_rv(std::span<float> a, std::span<float> b, std::span<const bool> mask);
void masked_swap_rm(Matrix<float>& a, Matrix<float>& b, MatrixView<bool> mask);
// 1-based position of the first largest / smallest element; 0 when empty.
std::int32_t imaxloc_i(std::span<const std::int32_t> array);
std::int32_t imaxloc_r(std::span<const float> array);
std::int32_t iminloc_i(std::span<const std::int32_t> array);
std::int32_t iminloc_r(std::span<const float> array);
// Bisection in an ascending table: j with table(j) < x <= table(j+1), 1 at
// or below table(1), n at or above table(n).  A size n < 1 or beyond the
// table gives 0 and sets the error pair.
std::int32_t locate_i(std::span<const std::int32_t> table, std::int32_t n, std::int32_t x);
std::int32_t locate_r(std::span<const float> table, std::int32_t n, float x);
std::int32_t locate_ib(std::span<const std::int32_t> table, std::int32_t x);
std::int32_t locate_rb(std::span<const float> table, float x);
// Length and scalar product in the metric G (n x n); 2^-126 on mismatched sizes.
float norm_i(std::span<const std::int32_t> x, MatrixView<float> metric);
float norm_r(std::span<const float> x, MatrixView<float> metric);
float scalar_i(std::span<const std::int32_t> x, std::span<const std::int32_t> y, MatrixView<float> metric);
float scalar_r(std::span<const float> x, std::span<const float> y, MatrixView<float> metric);
// Outer product: element (i,j) = a(i) b(j).
Matrix<float> outerprod_sp(std::span<const float> a, std::span<const float> b);
Matrix<double> outerprod_dp(std::span<const double> a, std::span<const double> b);

// ---- LU decomposition, inversion and determinants ----

// In place LU factors of the square matrix a with row-scaled partial
// pivoting; `pivots`, when given, is resized to n and receives the row
// interchanged at each step.  Singular rows or pivots (<= 1e-20) stop it.
void lu_decomp(Matrix<float>& a, float& parity, bool& singular, std::vector<std::int32_t>* pivots = nullptr);
// Solves with the factors of lu_decomp: b (n entries) in, the solution out.
void lu_backsub(const Matrix<float>& a, std::span<const std::int32_t> pivots, std::span<float> b);
// Gauss-Jordan inversion in place of the leading n x n block (no singularity test).
void matinv(Matrix<float>& a, std::int32_t n);
// Inverse through the LU factors; on `singular` the inverse holds the work
// matrix as the decomposition left it.
void invert_matrix(const Matrix<float>& a, Matrix<float>& inverse, bool& singular,
                   std::vector<std::int32_t>* permutation = nullptr);
// Determinant of the leading n x n block; 0 when the decomposition is singular.
void determinant_r(MatrixView<float> a, std::int32_t n, float& determinant);
// Determinant of the real 2n x 2n form of a complex block: |det|^2.
void determinant_c(MatrixView<std::complex<float>> a, std::int32_t n, float& determinant);

// ---- Symmetric and Hermitian eigen-solvers ----

// Eigenvalues (decreasing) and, when asked, unit eigenvectors as columns
// (resized to n x n) of the leading n x n block.  Clear the error pair; set
// it when n does not fit the matrix, when n < 1 or the eigenvalue array is
// shorter than n (eigenvalues then all 0), or when the QL iteration does not
// converge (results returned all the same).
void diagonalize_symm(MatrixView<float> a, std::int32_t n, std::span<float> eigenvalues,
                      Matrix<float>* eigenvectors = nullptr);
void diagonalize_herm(MatrixView<std::complex<float>> a, std::int32_t n, std::span<float> eigenvalues,
                      Matrix<std::complex<float>>* eigenvectors = nullptr);
// Kernels: Householder tridiagonalisation (tred2 keeps the transformation in
// a), QL with implicit shifts (tqli2 rotates z into the eigenvectors), and
// the selection sort into decreasing order (vector_mode 1 moves columns).
void tred1(Matrix<float>& a, std::int32_t n, std::span<float> d, std::span<float> e);
void tred2(Matrix<float>& a, std::int32_t n, std::span<float> d, std::span<float> e);
void tqli1(std::span<float> d, std::span<float> e, std::int32_t n);
void tqli2(std::span<float> d, std::span<float> e, std::int32_t n, Matrix<float>& z);
void eigsrt(std::span<float> d, Matrix<float>& v, std::int32_t n, std::int32_t vector_mode);

// ---- Singular value decomposition, rank and linear dependence ----

// A (m x n) = U diag(w) V^T: a becomes U, w (n entries, unsorted, >= 0) and
// v (n x n, V itself) must be sized by the caller.  Clears the error pair;
// sets it on mismatched sizes (nothing touched) or after 500 passes.
void svdcmp_dp(Matrix<double>& a, std::span<double> w, Matrix<double>& v);
void svdcmp_sp(Matrix<float>& a, std::span<float> w, Matrix<float>& v);
// Number of singular values strictly above the absolute threshold tol
// (0 when the decomposition fails).
void rank_dp(MatrixView<double> a, double tol, std::int32_t& rank);
void rank_sp(MatrixView<float> a, float tol, std::int32_t& rank);
// False exactly when the vector with the used rows (vector_length = columns)
// or columns (vector_length = rows) of the matrix is linearly independent.
void linear_dependentr(std::span<const float> vector, std::int32_t vector_length, MatrixView<float> matrix,
                       std::int32_t rows, std::int32_t columns, bool& dependent);
void linear_dependenti(std::span<const std::int32_t> vector, std::int32_t vector_length,
                       MatrixView<std::int32_t> matrix, std::int32_t rows, std::int32_t columns, bool& dependent);
void linear_dependentc(std::span<const std::complex<float>> vector, std::int32_t vector_length,
                       MatrixView<std::complex<float>> matrix, std::int32_t rows, std::int32_t columns,
                       bool& dependent);

// ---- Splines, derivatives and smoothing ----

// Second derivatives at the knots of the cubic spline through (x, y) with
// the given end slopes (a slope above 1e30 makes that end natural).  The
// spline procedures set the error pair (nothing computed, y_at = 0) for
// n < 2 or arrays shorter than n.
void spline(std::span<const float> x, std::span<const float> y, std::int32_t n, float slope_1, float slope_n,
            std::span<float> second_derivs);
// The same, clamped to the slopes of the first and the last interval.
void second_derivative(std::span<const float> x, std::span<const float> y, std::int32_t n,
                       std::span<float> second_derivs);
void splint(std::span<const float> x, std::span<const float> y, std::span<const float> second_derivs, std::int32_t n,
            float x_at, float& y_at);
// Central differences of the spline over one step at every knot.
void first_derivative(std::span<const float> x, std::span<const float> y, std::int32_t n,
                      std::span<const float> second_derivs, std::span<float> first_derivs);
// `passes` seven-point binomial smoothings, into `smoothed` when it is not
// empty (y unchanged), else in place.  n < 6 sets the error pair.
void smoothingvec(std::span<float> y, std::int32_t n, std::int32_t passes, std::span<float> smoothed = {});
// n equally spaced points from start to end as the columns of `points`,
// which becomes 2 x n (all zero for n < 2 or end points within 1e-4).
void points_in_line2d(std::span<const float, 2> start_point, std::span<const float, 2> end_point, std::int32_t n,
                      Matrix<float>& points);

}  // namespace vorn_math_general
