// Small integer linear systems in parametric form: the worked cases of each
// solver, and substitution of the returned solutions back into the systems,
// for W - I of every rotation in the tabulated space-group settings and for
// general integer systems.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>
#include <random>
#include <set>
#include <sstream>
#include <string>

#include "maths/math_3D.hpp"

using namespace vorn_math_3d;

namespace {

struct Solution3 {
    Vec3f part_sol{};
    Vec3f free_coef{};
    Vec3i free_code{};
};

Solution3 solve3(const Mat3i& w, const Vec3f& t) {
    Solution3 s;
    resolv_sist_3x3(w, t, s.part_sol, s.free_coef, s.free_code);
    return s;
}

Solution3 solve23(const Mat23i& w, const Vec2f& t) {
    Solution3 s;
    resolv_sist_2x3(w, t, s.part_sol, s.free_coef, s.free_code);
    return s;
}

// The point of the solution for parameter values p1, p2, p3.
Vec3d point_of(const Solution3& s, const Vec3d& p) {
    Vec3d x{};
    for (int j = 0; j < 3; ++j) {
        x[j] = s.part_sol[j];
        if (s.free_code[j] != 0) x[j] += double(s.free_coef[j]) * p[static_cast<std::size_t>(s.free_code[j] - 1)];
    }
    return x;
}

int parameter_count(const Solution3& s) {
    std::set<int> used;
    for (int c : s.free_code)
        if (c != 0) used.insert(c);
    return static_cast<int>(used.size());
}

template <std::size_t R>
int rank_of(const std::array<std::array<std::int32_t, 3>, R>& w) {
    // rank by the non-vanishing minors
    double m[3][3] = {};
    for (std::size_t i = 0; i < R; ++i)
        for (int j = 0; j < 3; ++j) m[i][j] = w[i][j];
    int rows = static_cast<int>(R);
    int rank = 0;
    for (int col = 0; col < 3 && rank < rows; ++col) {
        int piv = -1;
        for (int i = rank; i < rows; ++i)
            if (std::fabs(m[i][col]) > 1e-9) piv = i;
        if (piv < 0) continue;
        for (int j = 0; j < 3; ++j) std::swap(m[piv][j], m[rank][j]);
        for (int i = 0; i < rows; ++i) {
            if (i == rank) continue;
            double f = m[i][col] / m[rank][col];
            for (int j = 0; j < 3; ++j) m[i][j] -= f * m[rank][j];
        }
        ++rank;
    }
    return rank;
}

// Rotation part of one operator text such as "-x+y,-x,z+1/3".
bool rotation_of(const std::string& text, Mat3i& w) {
    w = Mat3i{};
    std::stringstream ss(text);
    std::string part;
    int row = 0;
    while (std::getline(ss, part, ',')) {
        if (row >= 3) return false;
        int sign = 1;
        for (std::size_t k = 0; k < part.size(); ++k) {
            char ch = part[k];
            if (ch == '+') sign = 1;
            else if (ch == '-') sign = -1;
            else if (ch == 'x' || ch == 'y' || ch == 'z') w[row][ch - 'x'] += sign;
        }
        ++row;
    }
    return row == 3;
}

std::string describe(const Mat3i& w, const Vec3f& t) {
    std::ostringstream o;
    for (const auto& r : w) o << "(" << r[0] << "," << r[1] << "," << r[2] << ")";
    o << " t=(" << t[0] << "," << t[1] << "," << t[2] << ")";
    return o.str();
}

}  // namespace

TEST(ResolvSist1x2, EveryCase) {
    Vec2f ps, fc;
    Vec2i cd;
    resolv_sist_1x2({2, 4}, 1.0f, ps, fc, cd);
    EXPECT_EQ(ps, (Vec2f{0.0f, 0.25f}));
    EXPECT_EQ(fc, (Vec2f{1.0f, -0.5f}));
    EXPECT_EQ(cd, (Vec2i{1, 1}));
    resolv_sist_1x2({4, 0}, 1.0f, ps, fc, cd);
    EXPECT_EQ(ps, (Vec2f{0.25f, 0.0f}));
    EXPECT_EQ(fc, (Vec2f{0.0f, 1.0f}));
    EXPECT_EQ(cd, (Vec2i{0, 2}));
    resolv_sist_1x2({0, -2}, 1.0f, ps, fc, cd);
    EXPECT_EQ(ps, (Vec2f{0.0f, -0.5f}));
    EXPECT_EQ(fc, (Vec2f{1.0f, 0.0f}));
    EXPECT_EQ(cd, (Vec2i{1, 0}));
    resolv_sist_1x2({0, 0}, 0.5f * eps, ps, fc, cd);
    EXPECT_FALSE(err_math3d);
    EXPECT_EQ(cd, (Vec2i{1, 2}));
    // |t| = eps is inconsistent for the one-equation solver
    resolv_sist_1x2({0, 0}, eps, ps, fc, cd);
    EXPECT_TRUE(err_math3d);
    EXPECT_EQ(err_math3d_mess, "Inconsistent solution (1x2)");
    EXPECT_EQ(ps, (Vec2f{0, 0}));
    EXPECT_EQ(fc, (Vec2f{1, 1}));
    EXPECT_EQ(cd, (Vec2i{0, 0}));
}

TEST(ResolvSist1x3, EveryCase) {
    Vec3f ps, fc;
    Vec3i cd;
    resolv_sist_1x3({1, 2, 3}, 1.0f, ps, fc, cd);
    EXPECT_TRUE(err_math3d);
    EXPECT_EQ(err_math3d_mess, "Inconsistent case ax+by+cz=t (1x3)");
    EXPECT_EQ(cd, (Vec3i{0, 0, 0}));
    // one zero, at y: x and z form the pair, y free in its own right
    resolv_sist_1x3({2, 0, 4}, 1.0f, ps, fc, cd);
    EXPECT_FALSE(err_math3d);
    EXPECT_EQ(ps, (Vec3f{0.0f, 0.0f, 0.25f}));
    EXPECT_EQ(fc, (Vec3f{1.0f, 1.0f, -0.5f}));
    EXPECT_EQ(cd, (Vec3i{1, 2, 1}));
    // one zero at x: pair (y, z) with codes translated 1 -> 2
    resolv_sist_1x3({0, 1, -1}, 0.5f, ps, fc, cd);
    EXPECT_EQ(ps, (Vec3f{0.0f, 0.0f, -0.5f}));
    EXPECT_EQ(fc, (Vec3f{1.0f, 1.0f, 1.0f}));
    EXPECT_EQ(cd, (Vec3i{1, 2, 2}));
    // two zeros: the plane z = t/a3
    resolv_sist_1x3({0, 0, -2}, 0.5f, ps, fc, cd);
    EXPECT_EQ(ps, (Vec3f{0.0f, 0.0f, -0.25f}));
    EXPECT_EQ(fc, (Vec3f{1.0f, 1.0f, 0.0f}));
    EXPECT_EQ(cd, (Vec3i{1, 2, 0}));
    resolv_sist_1x3({0, 0, 0}, 0.0f, ps, fc, cd);
    EXPECT_FALSE(err_math3d);
    EXPECT_EQ(cd, (Vec3i{1, 2, 3}));
    resolv_sist_1x3({0, 0, 0}, eps, ps, fc, cd);
    EXPECT_TRUE(err_math3d);
    EXPECT_EQ(err_math3d_mess, "Inconsistent solution (1 x 3)");
}

TEST(ResolvSist2x2, EveryCase) {
    Vec2f ps, fc;
    Vec2i cd;
    resolv_sist_2x2({{{2, 1}, {1, 3}}}, {3.0f, 4.0f}, ps, fc, cd);
    EXPECT_EQ(ps, (Vec2f{1.0f, 1.0f}));
    EXPECT_EQ(fc, (Vec2f{0.0f, 0.0f}));
    EXPECT_EQ(cd, (Vec2i{0, 0}));
    // one zero row: the other equation, the zero row's right-hand side unseen
    resolv_sist_2x2({{{0, 0}, {2, 4}}}, {7.0f, 1.0f}, ps, fc, cd);
    EXPECT_FALSE(err_math3d);
    EXPECT_EQ(ps, (Vec2f{0.0f, 0.25f}));
    EXPECT_EQ(cd, (Vec2i{1, 1}));
    // two zero rows: |t| = eps is still consistent here
    resolv_sist_2x2({{{0, 0}, {0, 0}}}, {eps, -eps}, ps, fc, cd);
    EXPECT_FALSE(err_math3d);
    EXPECT_EQ(cd, (Vec2i{1, 2}));
    resolv_sist_2x2({{{0, 0}, {0, 0}}}, {0.0f, 0.1f}, ps, fc, cd);
    EXPECT_TRUE(err_math3d);
    EXPECT_EQ(err_math3d_mess, "Inconsistent solution (2x2)");
    // proportional equations: the first stands for both
    resolv_sist_2x2({{{1, -1}, {-2, 2}}}, {0.5f, -1.0f}, ps, fc, cd);
    EXPECT_EQ(ps, (Vec2f{0.0f, -0.5f}));
    EXPECT_EQ(fc, (Vec2f{1.0f, 1.0f}));
    EXPECT_EQ(cd, (Vec2i{1, 1}));
    // one zero column: y fixed from the first non-zero entry, x free
    resolv_sist_2x2({{{0, 0}, {0, 3}}}, {0.0f, 1.5f}, ps, fc, cd);  // zero row wins first
    EXPECT_EQ(cd, (Vec2i{1, 0}));
    resolv_sist_2x2({{{0, 2}, {0, 4}}}, {1.0f, 2.0f}, ps, fc, cd);
    EXPECT_EQ(ps, (Vec2f{0.0f, 0.5f}));
    EXPECT_EQ(fc, (Vec2f{1.0f, 0.0f}));
    EXPECT_EQ(cd, (Vec2i{1, 0}));
    // the integer determinant is 32-bit: 65536² wraps to 0, and the system is
    // then taken as proportional and solved from its first equation
    resolv_sist_2x2({{{65536, 0}, {0, 65536}}}, {1.0f, 2.0f}, ps, fc, cd);
    EXPECT_FALSE(err_math3d);
    EXPECT_EQ(ps, (Vec2f{1.0f / 65536.0f, 0.0f}));
    EXPECT_EQ(cd, (Vec2i{0, 2}));
}

TEST(ResolvSist2x3, ZeroColumnsRowsAndFailures) {
    // z column zero: 2x2 in (x, y), z free
    Solution3 s = solve23({{{1, 1, 0}, {1, -1, 0}}}, {1.0f, 0.0f});
    EXPECT_EQ(s.part_sol, (Vec3f{0.5f, 0.5f, 0.0f}));
    EXPECT_EQ(s.free_code, (Vec3i{0, 0, 3}));
    // two zero columns: y fixed by the first equation, x and z free
    s = solve23({{{0, 4, 0}, {0, 8, 0}}}, {1.0f, 9.0f});
    EXPECT_EQ(s.part_sol, (Vec3f{0.0f, 0.25f, 0.0f}));
    EXPECT_EQ(s.free_coef, (Vec3f{1.0f, 0.0f, 1.0f}));
    EXPECT_EQ(s.free_code, (Vec3i{1, 0, 3}));
    s = solve23({{{0, 0, 0}, {0, 0, 0}}}, {eps, eps});
    EXPECT_FALSE(err_math3d);
    EXPECT_EQ(s.free_code, (Vec3i{1, 2, 3}));
    s = solve23({{{0, 0, 0}, {0, 0, 0}}}, {0.0f, 0.01f});
    EXPECT_TRUE(err_math3d);
    EXPECT_EQ(err_math3d_mess, "Inconsistent solution in (2x3)");
    // six non-zero coefficients are not solved
    s = solve23({{{1, 2, 3}, {3, 1, 2}}}, {0.0f, 0.0f});
    EXPECT_TRUE(err_math3d);
    EXPECT_EQ(err_math3d_mess, "Inconsistent case ax+by+cz=t (1x3)");
    // A with two zeros: x fixed, then (y, z) from B
    s = solve23({{{0, 1, 1}, {2, 0, 0}}}, {1.0f, 1.0f});
    EXPECT_FALSE(err_math3d);
    EXPECT_EQ(s.part_sol, (Vec3f{0.5f, 0.0f, 1.0f}));
    EXPECT_EQ(s.free_coef, (Vec3f{0.0f, 1.0f, -1.0f}));
    EXPECT_EQ(s.free_code, (Vec3i{0, 2, 2}));
}

TEST(ResolvSist2x3, RealQuotientsForGeneralIntegerSystems) {
    // Case A3 = 0, B1 = 0 with A1/A2 = 2/3: a truncated quotient (0) would
    // lose the coupling between x and y.
    Mat23i w{{{2, 3, 0}, {0, 5, 7}}};
    Vec2f t{1.0f, 2.0f};
    Solution3 s = solve23(w, t);
    ASSERT_FALSE(err_math3d);
    for (double p : {-1.5, 0.0, 0.7, 3.0}) {
        Vec3d x = point_of(s, {p, p, p});
        EXPECT_NEAR(2 * x[0] + 3 * x[1], 1.0, 1e-5) << "p=" << p;
        EXPECT_NEAR(5 * x[1] + 7 * x[2], 2.0, 1e-5) << "p=" << p;
    }
    // Case A2 = 0, B without zero with B1 - A1·B3/A3 not an integer
    w = Mat23i{{{3, 0, 2}, {1, 1, 1}}};
    s = solve23(w, {1.0f, 1.0f});
    ASSERT_FALSE(err_math3d);
    for (double p : {-2.0, 0.25, 5.0}) {
        Vec3d x = point_of(s, {p, p, p});
        EXPECT_NEAR(3 * x[0] + 2 * x[2], 1.0, 1e-5);
        EXPECT_NEAR(x[0] + x[1] + x[2], 1.0, 1e-5);
    }
}

TEST(ResolvSist2x3, EliminationThroughAFirstEquationWithoutX) {
    // A1 = 0 and B without zero.  With B2·A3 = B3·A2 the eliminated y
    // coefficient d vanishes: x is fixed and y stays free, z follows y.
    Mat23i w{{{0, 1, 2}, {1, 2, 4}}};
    Solution3 s = solve23(w, {1.0f, 3.0f});
    ASSERT_FALSE(err_math3d);
    EXPECT_EQ(s.part_sol[0], 1.0f);
    EXPECT_EQ(s.free_code, (Vec3i{0, 2, 2}));
    for (double p : {-1.0, 0.5, 4.0}) {
        Vec3d x = point_of(s, {p, p, p});
        EXPECT_NEAR(x[1] + 2 * x[2], 1.0, 1e-6);
        EXPECT_NEAR(x[0] + 2 * x[1] + 4 * x[2], 3.0, 1e-6);
    }
    // d = 1 - 2/3 is not an integer
    w = Mat23i{{{0, 2, 3}, {1, 1, 1}}};
    s = solve23(w, {1.0f, 0.0f});
    ASSERT_FALSE(err_math3d);
    EXPECT_EQ(s.free_code, (Vec3i{1, 1, 1}));
    for (double p : {-1.0, 0.5, 4.0}) {
        Vec3d x = point_of(s, {p, p, p});
        EXPECT_NEAR(2 * x[1] + 3 * x[2], 1.0, 1e-5);
        EXPECT_NEAR(x[0] + x[1] + x[2], 0.0, 1e-5);
    }
}

TEST(ResolvSist2x3, RandomConsistentSystemsSatisfyBothEquations) {
    std::mt19937 gen(17);
    std::uniform_int_distribution<int> c(-3, 3);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    int solved = 0;
    for (int trial = 0; trial < 20000; ++trial) {
        Mat23i w{};
        for (auto& r : w)
            for (auto& e : r) e = c(gen);
        Vec3d x0{u(gen), u(gen), u(gen)};
        Vec2f t{};
        for (int i = 0; i < 2; ++i) t[i] = float(w[i][0] * x0[0] + w[i][1] * x0[1] + w[i][2] * x0[2]);
        Solution3 s = solve23(w, t);
        if (err_math3d) {
            // refused only when what is left to solve is one equation with
            // three non-zero coefficients: no zero column, and each row
            // either zero or without any zero
            bool refused = true;
            for (int j = 0; j < 3; ++j) refused = refused && (w[0][j] != 0 || w[1][j] != 0);
            for (auto& r : w) {
                int zeros = (r[0] == 0) + (r[1] == 0) + (r[2] == 0);
                refused = refused && (zeros == 0 || zeros == 3);
            }
            EXPECT_TRUE(refused) << describe(Mat3i{{w[0], w[1], {0, 0, 0}}}, {t[0], t[1], 0});
            continue;
        }
        ++solved;
        EXPECT_EQ(parameter_count(s), 3 - rank_of(w)) << describe(Mat3i{{w[0], w[1], {0, 0, 0}}}, {t[0], t[1], 0});
        for (int k = 0; k < 3; ++k) {
            Vec3d p{u(gen) * 2, u(gen) * 2, u(gen) * 2};
            Vec3d x = point_of(s, p);
            for (int i = 0; i < 2; ++i) {
                double lhs = w[i][0] * x[0] + w[i][1] * x[1] + w[i][2] * x[2];
                ASSERT_NEAR(lhs, t[i], 2e-5 * (1 + std::fabs(p[0]) + std::fabs(p[1]) + std::fabs(p[2])) * 9)
                    << describe(Mat3i{{w[0], w[1], {0, 0, 0}}}, {t[0], t[1], 0});
            }
        }
    }
    EXPECT_GT(solved, 5000);
}

TEST(ResolvSist3x3, WorkedCases) {
    // two-fold axis along z: x = -t1/2, y = -t2/2, z free whatever t3 is
    Solution3 s = solve3({{{-2, 0, 0}, {0, -2, 0}, {0, 0, 0}}}, {0.5f, -1.0f, 0.75f});
    EXPECT_FALSE(err_math3d);
    EXPECT_EQ(s.part_sol, (Vec3f{-0.25f, 0.5f, 0.0f}));
    EXPECT_EQ(s.free_coef, (Vec3f{0.0f, 0.0f, 1.0f}));
    EXPECT_EQ(s.free_code, (Vec3i{0, 0, 3}));
    // proportional second equation replaced by the first, t2 unused
    s = solve3({{{1, 1, 0}, {2, 2, 0}, {0, 0, 1}}}, {0.5f, 123.0f, 0.25f});
    EXPECT_FALSE(err_math3d);
    EXPECT_EQ(s.part_sol, (Vec3f{0.0f, 0.5f, 0.25f}));
    EXPECT_EQ(s.free_coef, (Vec3f{1.0f, -1.0f, 0.0f}));
    EXPECT_EQ(s.free_code, (Vec3i{1, 1, 0}));
    // Cramer: inversion centre at t/(-2)
    s = solve3({{{-2, 0, 0}, {0, -2, 0}, {0, 0, -2}}}, {0.5f, 0.0f, -1.0f});
    EXPECT_EQ(s.part_sol, (Vec3f{-0.25f, 0.0f, 0.5f}));
    EXPECT_EQ(s.free_code, (Vec3i{0, 0, 0}));
    EXPECT_EQ(s.free_coef, (Vec3f{0.0f, 0.0f, 0.0f}));
    // all rows zero
    s = solve3(Mat3i{}, {0.0f, 0.0f, 0.0f});
    EXPECT_FALSE(err_math3d);
    EXPECT_EQ(s.free_code, (Vec3i{1, 2, 3}));
    s = solve3(Mat3i{}, {0.0f, eps, 0.0f});
    EXPECT_TRUE(err_math3d);
    EXPECT_EQ(err_math3d_mess, "Inconsistent system (3 x 3)");
    EXPECT_EQ(s.free_code, (Vec3i{0, 0, 0}));
    // two zero rows: a mirror plane x = 1/4
    s = solve3({{{0, 0, 0}, {-2, 0, 0}, {0, 0, 0}}}, {0.0f, -0.5f, 0.0f});
    EXPECT_EQ(s.part_sol, (Vec3f{0.25f, 0.0f, 0.0f}));
    EXPECT_EQ(s.free_code, (Vec3i{0, 2, 3}));
    // three equal equations go to the one-equation solver, which refuses
    s = solve3({{{1, 1, 1}, {1, 1, 1}, {2, 2, 2}}}, {0.0f, 0.0f, 0.0f});
    EXPECT_TRUE(err_math3d);
    EXPECT_EQ(err_math3d_mess, "Inconsistent case ax+by+cz=t (1x3)");
    // extreme multiples: INT32_MIN / -1 does not trap
    s = solve3({{{-1, 0, 0}, {std::numeric_limits<std::int32_t>::min(), 0, 0}, {0, 1, 0}}}, {0.0f, 0.0f, 0.0f});
    EXPECT_FALSE(err_math3d);
}

TEST(ResolvSist3x3, FixedPointsOfEveryTabulatedRotation) {
    // For every operator of the 612 tabulated settings, W - I with a right-hand
    // side built from a known point: the parametric solution has 3 - rank
    // parameters and every point of it satisfies all three equations.
    std::ifstream in(std::string(BORQ_TEST_DATA) + "/tables/settings-operators.tsv");
    ASSERT_TRUE(in.good());
    std::string line;
    std::set<Mat3i> rotations;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::string ops = line.substr(line.rfind('\t') + 1);
        std::stringstream ss(ops);
        std::string op;
        while (std::getline(ss, op, ';')) {
            Mat3i w;
            ASSERT_TRUE(rotation_of(op, w)) << op;
            rotations.insert(w);
        }
    }
    EXPECT_GE(rotations.size(), 64u);
    std::mt19937 gen(23);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    for (const Mat3i& rot : rotations) {
        Mat3i w = rot;
        for (int i = 0; i < 3; ++i) w[i][i] -= 1;
        for (int trial = 0; trial < 4; ++trial) {
            Vec3d x0{std::round(u(gen) * 12) / 12, std::round(u(gen) * 12) / 12, std::round(u(gen) * 12) / 12};
            Vec3f t{};
            for (int i = 0; i < 3; ++i) t[i] = float(w[i][0] * x0[0] + w[i][1] * x0[1] + w[i][2] * x0[2]);
            Solution3 s = solve3(w, t);
            ASSERT_FALSE(err_math3d) << describe(w, t) << " " << err_math3d_mess;
            EXPECT_EQ(parameter_count(s), 3 - rank_of(w)) << describe(w, t);
            for (int k = 0; k < 3; ++k) {
                Vec3d p{u(gen), u(gen), u(gen)};
                Vec3d x = point_of(s, p);
                for (int i = 0; i < 3; ++i) {
                    double lhs = w[i][0] * x[0] + w[i][1] * x[1] + w[i][2] * x[2];
                    ASSERT_NEAR(lhs, t[i], 1e-5) << describe(w, t);
                }
            }
        }
    }
}
