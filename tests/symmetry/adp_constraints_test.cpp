// Constraints on the anisotropic displacement coefficients: for each of the
// 64 rotations of the 611 settings the codes and factors give as many
// independent invariant coefficient sets as the peer's space has dimensions
// (so they span it); the chosen codes of the text form and its faults are exact.
#include <gtest/gtest.h>

#include "support/tsv_fixture.hpp"
#include "symmetry/symmetry.hpp"

using namespace vorn_crystallographic_symmetry;

TEST(AdpConstraints, EveryRotationSpansThePeerSpace) {
    const auto rows = tables_test::read_tsv("adp-constraints-peer.tsv");
    ASSERT_EQ(rows.size(), 64u);
    for (const auto& f : rows) {
        RotationMatrix r{};
        read_xsym(f[0], 1, r, false);
        std::array<std::int32_t, 6> codes{};
        std::array<float, 6> mult{};
        sym_b_relations_op(r, codes, mult);
        EXPECT_FALSE(err_symm) << f[0];
        // One set per free coefficient g (1 there, 0 at the other free ones, so independent): each coefficient's
        // chain of relations followed to the free one it ends at; each set must satisfy beta = R.beta.R^T.
        int free_count = 0;
        for (int g = 0; g < 6; ++g) {
            if (codes[g] != g + 1 || mult[g] != 1.0f) continue;
            ++free_count;
            double v[6] = {};
            for (int k = 0, at = k; k < 6; at = ++k) {
                double factor = 1.0;
                for (int steps = 0; codes[at] != at + 1 && steps < 7; ++steps) factor *= mult[at], at = codes[at] - 1;
                v[k] = at == g ? factor : 0.0;
            }
            const double b[3][3] = {{v[0], v[3], v[4]}, {v[3], v[1], v[5]}, {v[4], v[5], v[2]}};
            for (int i = 0; i < 9; ++i) {
                double s = 0.0;
                for (int k = 0; k < 9; ++k) s += r[i / 3][k / 3] * b[k / 3][k % 3] * r[i % 3][k % 3];
                EXPECT_NEAR(s, b[i / 3][i % 3], 1e-6) << f[0] << " free " << g + 1;
            }
        }
        EXPECT_EQ(free_count, std::stoi(f[2])) << f[0];
    }
}

// Through the text form: the coefficient kept free among equal ones, the signs of diagonal operations, hexagonal
// and fourfold axes solved exactly, the undetermined case, and the reader's faults kept.
TEST(AdpConstraints, StatedCasesAndFaults) {
    const struct { const char* op; std::array<std::int32_t, 6> codes; std::array<float, 6> mult; const char* error; } cases[] = {
        {"x,y,z", {1, 2, 3, 4, 5, 6}, {1, 1, 1, 1, 1, 1}, ""}, {"-x,-y,z+1/2", {1, 2, 3, 4, 5, 6}, {1, 1, 1, 1, 0, 0}, ""},
        {"y,x,z", {1, 1, 3, 4, 5, 5}, {1, 1, 1, 1, 1, 1}, ""}, {"-y,-x,z", {1, 1, 3, 4, 5, 5}, {1, 1, 1, 1, 1, -1}, ""},
        {"z,x,y", {1, 1, 1, 4, 4, 5}, {1, 1, 1, 1, 1, 1}, ""}, {"-y,x,z", {1, 1, 3, 4, 5, 6}, {1, 1, 1, 0, 0, 0}, ""},
        {"-y,x-y,z", {1, 1, 3, 1, 5, 6}, {1, 1, 1, 0.5f, 0, 0}, ""}, {"y,-x+y,-z", {1, 1, 3, 1, 5, 6}, {1, 1, 1, 0.5f, 0, 0}, ""},
        {"-x-y-z,z,y", {1, 2, 2, -1, -1, 6}, {1, 1, 1, 0, 0, 1}, "Symmetry relations in B Factors are wrong!"},
        {"", {1, 2, 3, 4, 5, 6}, {0, 0, 0, 0, 0, 0}, " Blank operator field"},
        {"-x,y,q", {1, 2, 3, 4, 5, 6}, {1, 1, 0, 0, 0, 0}, " Invalid character... q in operator string"},
    };
    for (const auto& c : cases) {
        std::array<std::int32_t, 6> codes{};
        std::array<float, 6> mult{};
        sym_b_relations_st(c.op, codes, mult);
        EXPECT_TRUE(codes == c.codes && mult == c.mult && err_symm_mess == c.error) << c.op;
    }
}
