// The model operations of m-3m and 6/mmm agree across their tables: matrices
// reproduce the triplets, the second half is the inversion times the first,
// moment images follow the triplets, Litvin and Kovalev labels name each
// operation once; plus the exact names, symbols and centring translations.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "support/hand_built_groups.hpp"
#include "tables/sym_table.hpp"

namespace vst = vorn_symmetry_tables;

namespace {

using Matrix = vst::RotationMatrix;

// A triplet without parentheses and blanks, "(  -y, x-y, z)" -> "-y,x-y,z".
std::string bare(std::string_view text) {
    std::string out(text);
    std::erase_if(out, [](char c) { return c == ' ' || c == '(' || c == ')'; });
    return out;
}

// The matrix of a triplet, as mod6 stores it: [component][coordinate], times sign.
Matrix matrix_of(std::string_view triplet, int sign = 1) {
    EXPECT_EQ(std::count(triplet.begin(), triplet.end(), ','), 2) << triplet;
    Matrix m = hand_built::rotation_of(bare(triplet));
    for (auto& row : m)
        for (std::int32_t& entry : row) entry *= sign;
    return m;
}

}  // namespace

TEST(PointOperations, MatricesReproduceTheTriplets) {
    // mod6_at(k, i, j): the coefficient of coordinate j in component i of operation k.
    for (std::size_t k = 1; k < vst::mod6.size(); ++k) {
        const Matrix m = matrix_of(k <= 24 ? vst::x_oh[k].view() : vst::x_d6h[k - 24].view());
        for (std::int32_t e = 0; e < 9; ++e)
            EXPECT_EQ(vst::mod6_at(static_cast<std::int32_t>(k), e / 3 + 1, e % 3 + 1),
                      m[static_cast<std::size_t>(e / 3)][static_cast<std::size_t>(e % 3)])
                << "mod6 " << k << " entry " << e;
    }
}

TEST(PointOperations, SecondHalfIsTheInversionTimesTheFirst) {
    const auto check = [](const auto& table, std::size_t half) {
        ASSERT_EQ(table.size(), 2 * half + 1);
        for (std::size_t k = 1; k <= half; ++k)
            EXPECT_EQ(matrix_of(table[k + half].view()), matrix_of(table[k].view(), -1)) << table[k].view();
    };
    check(vst::x_oh, 24);
    check(vst::litvin_point_op, 24);
    check(vst::x_d6h, 12);
    check(vst::litvin_point_op_hex, 12);
}

TEST(PointOperations, MomentImagesFollowTheTriplets) {
    for (std::size_t k = 1; k <= 72; ++k) {
        const std::string_view triplet = k <= 48 ? vst::x_oh[k].view() : vst::x_d6h[k - 48].view();
        std::string image;  // "-y,x-y,z" -> "-My,Mx-My,Mz"
        for (char c : bare(triplet)) image += c >= 'x' && c <= 'z' ? std::string{'M', c} : std::string{c};
        EXPECT_EQ(bare(vst::magmat[k].view()), image) << k;
        std::replace(image.begin(), image.end(), 'M', 'D');
        EXPECT_EQ(bare(vst::depmat[k].view()), image) << k;
        EXPECT_EQ(vst::magmat[k].len_trim(), k <= 48 ? 13u : 19u) << k;  // cubic rows use 13 of 19 columns
    }
}

TEST(PointOperations, LitvinAndKovalevLabelsNameEachOperationOnce) {
    const auto check_litvin = [](const auto& model, const auto& litvin) {
        std::set<std::string> operations, seen;
        for (std::size_t k = 1; k < model.size(); ++k) operations.insert(bare(model[k].view()));
        for (std::size_t p = 1; p < litvin.size(); ++p) {
            EXPECT_TRUE(operations.contains(std::string(litvin[p].trimmed()))) << p;
            seen.insert(std::string(litvin[p].trimmed()));
        }
        EXPECT_EQ(seen.size(), model.size() - 1);
    };
    check_litvin(vst::x_oh, vst::litvin_point_op);
    check_litvin(vst::x_d6h, vst::litvin_point_op_hex);
    std::set<std::string> labels;
    for (std::size_t k = 1; k <= 48; ++k) {
        const std::string_view label = vst::kov_oh[k].view();
        EXPECT_TRUE(label == (" h" + std::string(label.substr(2))) || label[0] == 'h') << label;
        labels.insert(std::string(label));
        EXPECT_EQ(vst::ml_oh[k].view(), label.substr(1)) << k;  // Miller-Love number = Kovalev number
    }
    EXPECT_EQ(labels.size(), 48u);
}

TEST(NameTables, ExactEntries) {
    const std::pair<std::string_view, const char*> entries[] = {
        {vst::latt[1].trimmed(), "  P: { 000 }"}, {vst::latt[2].trimmed(), "  A: { 000;  0  1/2 1/2 }+"},
        {vst::latt[6].trimmed(), "  R: { 000; 2/3 1/3 1/3; 1/3 2/3 2/3   }+"},
        {vst::latt[7].view(), "  F: { 000;  0  1/2 1/2; 1/2  0  1/2; 1/2 1/2  0 }+"},
        {vst::latt[8].trimmed(), "  Z: { 000;  Unconventional Z-centering vectors  }+"},
        {vst::x_oh[20].view(), "( x,-z, y)"}, {vst::x_d6h[7].view(), "(   y, x  ,-z)"},
        {vst::x_d6h[22].view(), "(   y, x  , z)"}, {vst::intsymoh[5].view(), " 3+ ( x, x, x)"},
        {vst::intsymoh[20].view(), " 4+ ( x, 0, 0)"}, {vst::intsymoh[26].view(), "  m ( x, y, 0)"},
        {vst::intsymoh[28].view(), "  m ( 0, y, z)"}, {vst::intsymd6h[11].view(), "  2 ( x,2x, 0)"},
        {vst::intsymd6h[22].view(), "  m ( x, x, z)"}, {vst::intsymoh[25].trimmed(), " -1"},
        {vst::intsymd6h[13].trimmed(), " -1"}, {vst::kov_oh[2].view(), " h4"}, {vst::kov_oh[5].view(), " h9"},
        {vst::kov_oh[13].view(), "h16"}, {vst::kov_oh[28].view(), "h26"}, {vst::kov_d6h[2].view(), " h3"},
        {vst::kov_d6h[6].view(), " h2"}, {vst::litvin_point_op[2].trimmed(), "x,-z,y"},
        {vst::litvin_point_op_hex[2].trimmed(), "x-y,x,z"}, {vst::litvin_point_op_label[2].trimmed(), "4x"},
        {vst::litvin_point_op_label[10].trimmed(), "2z"}, {vst::litvin_point_op_label[25].trimmed(), "-1"},
        {vst::litvin_point_op_label[32].trimmed(), "mx"}, {vst::litvin_point_op_label[48].view(), "-3xy-z-1"},
        {vst::litvin_point_op_hex_label[2].trimmed(), "6z"}, {vst::litvin_point_op_hex_label[4].trimmed(), "2z"},
        {vst::litvin_point_op_hex_label[10].trimmed(), "21"}, {vst::litvin_point_op_hex_label[13].trimmed(), "-1"},
        {vst::litvin_point_op_hex_label[22].trimmed(), "m1"}, {vst::magmat[1].view(), "( Mx, My, Mz)      "},
        {vst::magmat[25].view(), "(-Mx,-My,-Mz)      "}, {vst::magmat[50].view(), "(   -My, Mx-My, Mz)"},
        {vst::depmat[1].view(), "( Dx, Dy, Dz)      "},
    };
    for (const auto& [actual, expected] : entries) EXPECT_EQ(actual, expected);
    const auto joined = [](const auto& table) {
        std::string all;
        for (std::size_t k = 1; k < table.size(); ++k) all += std::string(table[k].trimmed()) + '|';
        return all;
    };
    EXPECT_EQ(joined(vst::sys_cry), "Triclinic|Monoclinic|Orthorhombic|Tetragonal|Trigonal|Hexagonal|Cubic|");
    EXPECT_EQ(joined(vst::laue_class), "-1|2/m|mmm|4/m|4/mmm|-3 R|-3m R|-3|-3m1|-31m|6/m|6/mmm|m-3|m-3m|m3|m3m|");
    EXPECT_EQ(joined(vst::point_group), "1|-1|2|m|2/m|222|mm2|m2m|2mm|mmm|4|-4|4/m|422|4mm|-42m|-4m2|4/mmm|3|-3|32|"
                                        "3m|-3m|312|31m|-31m|6|-6|6/m|622|6mm|-62m|-6m2|6/mmm|23|m-3|432|-43m|m-3m|");
}

TEST(NameTables, CentringTranslations) {
    using V = vst::CentringVector;
    const std::pair<V, V> columns[] = {
        {vst::ltr_a[1], V{0, 0, 0}}, {vst::ltr_b[1], V{0, 0, 0}}, {vst::ltr_c[1], V{0, 0, 0}},
        {vst::ltr_i[1], V{0, 0, 0}}, {vst::ltr_r[1], V{0, 0, 0}}, {vst::ltr_f[1], V{0, 0, 0}},
        {vst::ltr_a[2], V{0.0f, 0.5f, 0.5f}}, {vst::ltr_b[2], V{0.5f, 0.0f, 0.5f}},
        {vst::ltr_c[2], V{0.5f, 0.5f, 0.0f}}, {vst::ltr_i[2], V{0.5f, 0.5f, 0.5f}},
        {vst::ltr_r[2], V{0.6666667f, 0.33333334f, 0.33333334f}},
        {vst::ltr_r[3], V{0.33333334f, 0.6666667f, 0.6666667f}}, {vst::ltr_f[2], V{0.0f, 0.5f, 0.5f}},
        {vst::ltr_f[3], V{0.5f, 0.0f, 0.5f}}, {vst::ltr_f[4], V{0.5f, 0.5f, 0.0f}},
    };
    for (const auto& [actual, expected] : columns)
        EXPECT_EQ(actual, expected) << actual[0] << ' ' << actual[1] << ' ' << actual[2];
}
