// Multiplication table: for every tabulated group it is a Latin square with
// an identity row and column and an associative product; centring copies
// fold onto the reduced operators unless the full table is asked for.
#include <gtest/gtest.h>

#include <fstream>

#include "support/settings_operators_fixture.hpp"
#include "symmetry/symmetry.hpp"

namespace sym = vorn_crystallographic_symmetry;
using sym::SpaceGroup;
using Table = std::vector<std::vector<std::int32_t>>;

namespace {

SpaceGroup group_of(const std::vector<std::string>& texts, std::int32_t reduced_count, std::int32_t centre_code,
                    char lattice_letter) {
    SpaceGroup g;
    g.hm_symbol = "X 1";
    g.reduced_count = reduced_count;
    g.multiplicity = static_cast<std::int32_t>(texts.size());
    g.centre_code = centre_code;
    g.lattice_letter = std::string(1, lattice_letter);
    for (std::size_t i = 0; i < texts.size(); ++i) sym::read_xsym(texts[i], 1, g.operators[i].rot, g.operators[i].tr);
    return g;
}

// Row and column of the identity reproduce the operator numbers, every row
// and column is a permutation, and the product is associative.
void expect_group_table(const Table& t, std::int32_t n, std::int32_t identity, const std::string& where) {
    ASSERT_EQ(t.size(), static_cast<std::size_t>(n)) << where;
    for (std::int32_t j = 1; j <= n; ++j) {
        EXPECT_EQ(t[identity - 1][j - 1], j) << where;
        EXPECT_EQ(t[j - 1][identity - 1], j) << where;
    }
    for (std::int32_t i = 0; i < n; ++i) {
        std::vector<bool> in_row(n + 1, false), in_column(n + 1, false);
        for (std::int32_t j = 0; j < n; ++j) {
            const std::int32_t r = t[i][j];
            const std::int32_t c = t[j][i];
            ASSERT_TRUE(r >= 1 && r <= n && c >= 1 && c <= n) << where;
            EXPECT_FALSE(in_row[r]) << where << " row " << i + 1;
            EXPECT_FALSE(in_column[c]) << where << " column " << i + 1;
            in_row[r] = in_column[c] = true;
        }
    }
    bool associative = true;
    for (std::int32_t a = 0; a < n && associative; ++a)
        for (std::int32_t b = 0; b < n && associative; ++b)
            for (std::int32_t c = 0; c < n && associative; ++c)
                associative = t[t[a][b] - 1][c] == t[a][t[b][c] - 1];
    EXPECT_TRUE(associative) << where;
}

}  // namespace

TEST(MultiplicationTable, SmallGroups) {
    Table t;
    sym::set_spg_mult_table(group_of({"x,y,z"}, 1, 1, 'P'), t);
    EXPECT_EQ(t, (Table{{1}}));
    sym::set_spg_mult_table(group_of({"x,y,z", "-x,-y,-z"}, 1, 2, 'P'), t);
    EXPECT_EQ(t, (Table{{1, 2}, {2, 1}}));
    // C 2: the reduced pair, then the C-centred copies.
    const SpaceGroup c2 = group_of({"x,y,z", "-x,y,-z", "x+1/2,y+1/2,z", "-x+1/2,y+1/2,-z"}, 2, 1, 'C');
    sym::set_spg_mult_table(c2, t);
    EXPECT_EQ(t, (Table{{1, 2}, {2, 1}}));
    sym::set_spg_mult_table(c2, t, true);
    EXPECT_EQ(t, (Table{{1, 2, 3, 4}, {2, 1, 4, 3}, {3, 4, 1, 2}, {4, 3, 2, 1}}));
    // A record never built: an empty table.
    sym::set_spg_mult_table(SpaceGroup{}, t);
    EXPECT_TRUE(t.empty());
}

TEST(MultiplicationTable, NotClosed) {
    Table t;
    sym::init_err_symm();
    SpaceGroup g = group_of({"x,y,z", "-y,x,z"}, 2, 1, 'P');
    g.hm_symbol = "P 4 broken";
    sym::set_spg_mult_table(g, t);
    EXPECT_TRUE(sym::err_symm);
    EXPECT_EQ(sym::err_symm_mess,
              " Problems constructing the multiplication Table of the space group: P 4 broken");
    // Row 1 is complete; the failing element and everything after it stay 0.
    EXPECT_EQ(t, (Table{{1, 2}, {2, 0}}));
}

// The complete operator list of every tabulated setting, each operator a
// distinct element.
TEST(MultiplicationTable, EveryTabulatedGroupIsAGroupTable) {
    for (const auto& s : symmetry_test_data::read_settings_operators()) {
        const std::string where = "row " + std::to_string(s.row) + " " + s.hm_symbol;
        const auto n = static_cast<std::int32_t>(s.operators.size());
        const SpaceGroup g = group_of(s.operators, n, 1, 'P');
        Table t;
        sym::init_err_symm();
        sym::set_spg_mult_table(g, t, true);
        ASSERT_FALSE(sym::err_symm) << where << ": " << sym::err_symm_mess;
        std::int32_t e = 0;
        for (std::int32_t k = 1; k <= n && e == 0; ++k)
            if (s.operators[static_cast<std::size_t>(k - 1)] == "x,y,z") e = k;
        ASSERT_NE(e, 0) << where;
        expect_group_table(t, n, e, where);
    }
}

// Every setting built from its Hall symbol: the reduced operators with their
// inversion images form a group modulo the centring translations, and all
// stored operators form one with every translation distinct.
TEST(MultiplicationTable, EveryBuiltGroup) {
    std::ifstream in(std::string(BORQ_TEST_DATA) + "/tables/settings-table.tsv");
    std::string line;
    std::int32_t rows = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        const auto f = symmetry_test_data::split(line, '\t');
        const std::string where = "row " + f[0] + " Hall symbol " + f[3];
        SpaceGroup g;
        sym::set_spacegroup(f[3], g, std::nullopt, std::nullopt, "HAL");
        ASSERT_FALSE(sym::err_symm) << where << ": " << sym::err_symm_mess;
        Table t;
        sym::set_spg_mult_table(g, t);
        ASSERT_FALSE(sym::err_symm) << where << ": " << sym::err_symm_mess;
        const std::int32_t n = g.centre_code == 1 ? g.reduced_count : 2 * g.reduced_count;
        expect_group_table(t, n, 1, where);
        sym::set_spg_mult_table(g, t, true);
        ASSERT_FALSE(sym::err_symm) << where << ": " << sym::err_symm_mess;
        expect_group_table(t, g.multiplicity, 1, where);
        ++rows;
    }
    EXPECT_EQ(rows, 611);
}
