// The model point operations of m-3m and 6/mmm agree among their tables: the
// matrices reproduce the triplets, the second half of each family is the
// inversion times the first, the moment images follow the triplets, and the
// Litvin labels name the operations they stand for.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "tables/sym_table.hpp"

namespace vst = vorn_symmetry_tables;

namespace {

using Matrix = vst::RotationMatrix;

// A triplet without parentheses and blanks, "(  -y, x-y, z)" -> "-y,x-y,z".
std::string bare(std::string_view text) {
    std::string out;
    for (char c : text)
        if (c != ' ' && c != '(' && c != ')') out += c;
    return out;
}

// The matrix of a bare triplet such as "-x+y,-x,z".
Matrix matrix_of(const std::string& triplet) {
    Matrix m{};
    std::size_t row = 0;
    int sign = 1;
    for (char c : triplet) {
        if (c == ',') {
            ++row;
            sign = 1;
        } else if (c == '-') {
            sign = -1;
        } else if (c == '+') {
            sign = 1;
        } else {
            m[row][static_cast<std::size_t>(c - 'x')] += sign;
            sign = 1;
        }
    }
    return m;
}

// The bare triplet of a matrix, terms in the order x, y, z.
std::string triplet_of(const Matrix& m) {
    std::string out;
    for (std::size_t i = 0; i < 3; ++i) {
        if (i > 0) out += ',';
        std::string component;
        for (std::size_t j = 0; j < 3; ++j) {
            if (m[i][j] == 0) continue;
            if (m[i][j] < 0) component += '-';
            else if (!component.empty()) component += '+';
            component += static_cast<char>('x' + j);
        }
        out += component;
    }
    return out;
}

Matrix negated(Matrix m) {
    for (auto& row : m)
        for (auto& v : row) v = -v;
    return m;
}

}  // namespace

TEST(PointOperations, MatricesReproduceTheTriplets) {
    for (int k = 1; k <= vst::num_mod6; ++k) {
        const std::string expected = k <= 24 ? bare(vst::x_oh[static_cast<std::size_t>(k)].view())
                                             : bare(vst::x_d6h[static_cast<std::size_t>(k - 24)].view());
        EXPECT_EQ(triplet_of(vst::mod6[static_cast<std::size_t>(k)]), expected) << "mod6 " << k;
    }
    // (k, row, column): the coefficient of coordinate j in component i.
    EXPECT_EQ(vst::mod6_at(5, 1, 3), 1);  // ( z, x, y)
    EXPECT_EQ(vst::mod6_at(5, 2, 1), 1);
    EXPECT_EQ(vst::mod6_at(5, 3, 2), 1);
    EXPECT_EQ(vst::mod6_at(26, 2, 1), 1);  // (  -y, x-y, z)
    EXPECT_EQ(vst::mod6_at(26, 2, 2), -1);
    EXPECT_EQ(vst::mod6_at(26, 1, 2), -1);
    EXPECT_EQ(vst::mod6[25], vst::mod6[1]);  // both identities

    // The 24 cubic and 12 hexagonal rotations are distinct proper rotations.
    std::set<Matrix> cubic(vst::mod6.begin() + 1, vst::mod6.begin() + 25);
    std::set<Matrix> hexagonal(vst::mod6.begin() + 25, vst::mod6.end());
    EXPECT_EQ(cubic.size(), 24u);
    EXPECT_EQ(hexagonal.size(), 12u);
}

TEST(PointOperations, SecondHalfIsTheInversionTimesTheFirst) {
    for (std::size_t k = 1; k <= 24; ++k) {
        EXPECT_EQ(matrix_of(bare(vst::x_oh[k + 24].view())), negated(matrix_of(bare(vst::x_oh[k].view()))))
            << vst::x_oh[k].view();
        EXPECT_EQ(matrix_of(bare(vst::litvin_point_op[k + 24].view())),
                  negated(matrix_of(bare(vst::litvin_point_op[k].view()))))
            << vst::litvin_point_op[k].view();
    }
    for (std::size_t k = 1; k <= 12; ++k) {
        EXPECT_EQ(matrix_of(bare(vst::x_d6h[k + 12].view())), negated(matrix_of(bare(vst::x_d6h[k].view()))))
            << vst::x_d6h[k].view();
        EXPECT_EQ(matrix_of(bare(vst::litvin_point_op_hex[k + 12].view())),
                  negated(matrix_of(bare(vst::litvin_point_op_hex[k].view()))))
            << vst::litvin_point_op_hex[k].view();
    }
    EXPECT_EQ(vst::intsymoh[25], " -1");
    EXPECT_EQ(vst::intsymd6h[13], " -1");
}

TEST(PointOperations, MomentImagesFollowTheTriplets) {
    auto moment = [](std::string_view triplet, char letter) {
        std::string out;
        for (char c : bare(triplet)) {
            if (c >= 'x' && c <= 'z') {
                out += letter;
                out += c;
            } else {
                out += c;
            }
        }
        return "(" + out + ")";
    };
    for (std::size_t k = 1; k <= 48; ++k) {
        EXPECT_EQ(bare(vst::magmat[k].view()), bare(moment(vst::x_oh[k].view(), 'M'))) << k;
        EXPECT_EQ(bare(vst::depmat[k].view()), bare(moment(vst::x_oh[k].view(), 'D'))) << k;
        EXPECT_EQ(vst::magmat[k].len_trim(), 13u) << k;  // cubic rows use 13 of the 19 columns
    }
    for (std::size_t k = 1; k <= 24; ++k) {
        EXPECT_EQ(bare(vst::magmat[48 + k].view()), bare(moment(vst::x_d6h[k].view(), 'M'))) << k;
        EXPECT_EQ(vst::magmat[48 + k].len_trim(), 19u) << k;
    }
    EXPECT_EQ(vst::magmat[1].view(), "( Mx, My, Mz)      ");
    EXPECT_EQ(vst::magmat[25].view(), "(-Mx,-My,-Mz)      ");
    EXPECT_EQ(vst::magmat[50].view(), "(   -My, Mx-My, Mz)");
    EXPECT_EQ(vst::depmat[1].view(), "( Dx, Dy, Dz)      ");
}

TEST(PointOperations, LitvinLabelsNameTheirOperations) {
    // Every Litvin triplet is one model operation, each once.
    std::set<std::string> cubic, hexagonal;
    for (std::size_t k = 1; k <= 48; ++k) cubic.insert(bare(vst::x_oh[k].view()));
    for (std::size_t k = 1; k <= 24; ++k) hexagonal.insert(bare(vst::x_d6h[k].view()));
    std::set<std::string> seen;
    for (std::size_t p = 1; p <= 48; ++p) {
        EXPECT_TRUE(cubic.contains(std::string(vst::litvin_point_op[p].trimmed()))) << p;
        seen.insert(std::string(vst::litvin_point_op[p].trimmed()));
    }
    EXPECT_EQ(seen.size(), 48u);
    seen.clear();
    for (std::size_t p = 1; p <= 24; ++p) {
        EXPECT_TRUE(hexagonal.contains(std::string(vst::litvin_point_op_hex[p].trimmed()))) << p;
        seen.insert(std::string(vst::litvin_point_op_hex[p].trimmed()));
    }
    EXPECT_EQ(seen.size(), 24u);

    // Position 2 is "4x", the operation ( x,-z, y) at x_oh 20.
    EXPECT_EQ(vst::litvin_point_op_label[2], "4x");
    EXPECT_EQ(vst::litvin_point_op[2], "x,-z,y");
    EXPECT_EQ(vst::x_oh[20], "( x,-z, y)");
    EXPECT_EQ(vst::intsymoh[20], " 4+ ( x, 0, 0)");
    const std::pair<int, const char*> cubic_labels[] = {{10, "2z"}, {25, "-1"}, {32, "mx"}, {48, "-3xy-z-1"}};
    for (const auto& [p, label] : cubic_labels)
        EXPECT_EQ(vst::litvin_point_op_label[static_cast<std::size_t>(p)], label) << p;
    const std::pair<int, const char*> hex_labels[] = {{2, "6z"}, {4, "2z"}, {10, "21"}, {13, "-1"}, {22, "m1"}};
    for (const auto& [p, label] : hex_labels)
        EXPECT_EQ(vst::litvin_point_op_hex_label[static_cast<std::size_t>(p)], label) << p;
    EXPECT_EQ(vst::litvin_point_op_hex[2], "x-y,x,z");
}

TEST(PointOperations, KovalevLabelsAndSymbols) {
    std::set<std::string> labels;
    for (std::size_t k = 1; k <= 48; ++k) {
        const std::string_view label = vst::kov_oh[k].view();
        EXPECT_TRUE(label == (" h" + std::string(label.substr(2))) || label[0] == 'h') << label;
        labels.insert(std::string(label));
        EXPECT_EQ(vst::ml_oh[k].view(), label.substr(1)) << k;  // Miller-Love number = Kovalev number
    }
    EXPECT_EQ(labels.size(), 48u);
    EXPECT_EQ(vst::kov_oh[2], " h4");
    EXPECT_EQ(vst::kov_oh[5], " h9");
    EXPECT_EQ(vst::kov_oh[13], "h16");
    EXPECT_EQ(vst::kov_oh[28], "h26");
    EXPECT_EQ(vst::kov_d6h[2], " h3");
    EXPECT_EQ(vst::kov_d6h[6], " h2");
    EXPECT_EQ(vst::intsymoh[5], " 3+ ( x, x, x)");
    EXPECT_EQ(vst::intsymoh[26], "  m ( x, y, 0)");
    EXPECT_EQ(vst::intsymoh[28], "  m ( 0, y, z)");
    EXPECT_EQ(vst::intsymd6h[11], "  2 ( x,2x, 0)");
    EXPECT_EQ(vst::intsymd6h[22], "  m ( x, x, z)");
    EXPECT_EQ(vst::x_d6h[7], "(   y, x  ,-z)");
    EXPECT_EQ(vst::x_d6h[22], "(   y, x  , z)");
}

TEST(NameTables, TextsAtFullWidth) {
    EXPECT_EQ(vst::sys_cry[1], "Triclinic");
    EXPECT_EQ(vst::sys_cry[3].view(), "Orthorhombic");
    EXPECT_EQ(vst::sys_cry[7], "Cubic");
    EXPECT_EQ(vst::latt[1].view(), vorn_string_utilities::fixed("  P: { 000 }", 51));
    EXPECT_EQ(vst::latt[2], "  A: { 000;  0  1/2 1/2 }+");
    EXPECT_EQ(vst::latt[6], "  R: { 000; 2/3 1/3 1/3; 1/3 2/3 2/3   }+");
    EXPECT_EQ(vst::latt[7].view(), "  F: { 000;  0  1/2 1/2; 1/2  0  1/2; 1/2 1/2  0 }+");
    EXPECT_EQ(vst::latt[8], "  Z: { 000;  Unconventional Z-centering vectors  }+");
    EXPECT_EQ(vst::laue_class[6].view(), "-3 R ");
    EXPECT_EQ(vst::laue_class[7].view(), "-3m R");
    EXPECT_EQ(vst::laue_class[9], "-3m1");
    EXPECT_EQ(vst::laue_class[16], "m3m");
    EXPECT_EQ(vst::point_group[8], "m2m");
    EXPECT_EQ(vst::point_group[24], "312");
    EXPECT_EQ(vst::point_group[33], "-6m2");
    EXPECT_EQ(vst::point_group[39], "m-3m");
    std::set<std::string> groups;
    for (std::size_t k = 1; k <= 39; ++k) groups.insert(std::string(vst::point_group[k].trimmed()));
    EXPECT_EQ(groups.size(), 39u);
}

TEST(NameTables, CentringTranslations) {
    const vst::CentringVector null{0, 0, 0};
    EXPECT_EQ(vst::ltr_a[1], null);
    EXPECT_EQ(vst::ltr_f[1], null);
    EXPECT_EQ(vst::ltr_a[2], (vst::CentringVector{0.0f, 0.5f, 0.5f}));
    EXPECT_EQ(vst::ltr_b[2], (vst::CentringVector{0.5f, 0.0f, 0.5f}));
    EXPECT_EQ(vst::ltr_c[2], (vst::CentringVector{0.5f, 0.5f, 0.0f}));
    EXPECT_EQ(vst::ltr_i[2], (vst::CentringVector{0.5f, 0.5f, 0.5f}));
    EXPECT_EQ(vst::ltr_r[2], (vst::CentringVector{0.6666667f, 0.33333334f, 0.33333334f}));
    EXPECT_EQ(vst::ltr_r[3], (vst::CentringVector{0.33333334f, 0.6666667f, 0.6666667f}));
    EXPECT_EQ(vst::ltr_f[2], vst::ltr_a[2]);
    EXPECT_EQ(vst::ltr_f[3], vst::ltr_b[2]);
    EXPECT_EQ(vst::ltr_f[4], vst::ltr_c[2]);
}
