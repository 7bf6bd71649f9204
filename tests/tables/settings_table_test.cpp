// The settings table holds the 611 tabulated settings, ordered and unique as
// users rely on, and resolves numbers, Hermann-Mauguin and Hall symbols to the
// right row.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "tables/sym_table.hpp"
#include "support/tsv_fixture.hpp"

namespace vst = vorn_symmetry_tables;

namespace {

struct TellingRow {
    int row;
    int number;
    const char* hm;
    const char* hall;
    int laue;
    int pg;
    std::array<int, 6> asu;
    const char* code;
};

// Rows that cannot be taken from the published list of Hall symbols, the rows
// sent to the Hall route by construction, and the extremes of the conventions.
const TellingRow telling_rows[] = {
    {1, 1, "P 1", "P 1", 1, 1, {0, 0, 0, 24, 24, 24}, ""},
    {2, 1, "A 1", "A 1", 1, 1, {0, 0, 0, 24, 24, 24}, ""},
    {3, 1, "B 1", "B 1", 1, 1, {0, 0, 0, 24, 24, 24}, ""},
    {4, 1, "C 1", "C 1", 1, 1, {0, 0, 0, 24, 24, 24}, ""},
    {5, 1, "I 1", "I 1", 1, 1, {0, 0, 0, 24, 24, 24}, ""},
    {6, 1, "R 1", "R 1", 1, 1, {0, 0, 0, 24, 24, 24}, ""},
    {7, 1, "F 1", "F 1", 1, 1, {0, 0, 0, 24, 24, 24}, ""},
    {8, 2, "P -1", "-P 1", 1, 2, {0, 0, 0, 12, 24, 24}, ""},
    {9, 2, "A -1", "-A 1", 1, 2, {0, 0, 0, 12, 24, 24}, ""},
    {10, 2, "B -1", "-B 1", 1, 2, {0, 0, 0, 12, 24, 24}, ""},
    {11, 2, "C -1", "-C 1", 1, 2, {0, 0, 0, 12, 24, 24}, ""},
    {12, 2, "I -1", "-I 1", 1, 2, {0, 0, 0, 12, 24, 24}, ""},
    {13, 2, "R -1", "-R 1", 1, 2, {0, 0, 0, 12, 24, 24}, ""},
    {14, 2, "F -1", "-F 1", 1, 2, {0, 0, 0, 12, 24, 24}, ""},
    {15, 3, "P 1 2 1", "P 2y", 2, 3, {0, 0, 0, 24, 24, 12}, "b"},
    {16, 3, "P 2", "P 2y", 2, 3, {0, 0, 0, 24, 24, 12}, "b"},
    {95, 11, "B 1 21/M 1", "-B 2yb", 2, 5, {0, 0, 0, 24, 6, 24}, "b"},
    {96, 11, "B 21/M", "-B 2yb", 2, 5, {0, 0, 0, 24, 6, 24}, "b"},
    {109, 12, "F 1 2/M 1", "-F 2y", 2, 5, {0, 0, 0, 12, 6, 24}, "b1"},
    {110, 12, "F 2/M", "-F 2y", 2, 5, {0, 0, 0, 12, 6, 24}, "b1"},
    {118, 13, "C 1 1 2/A", "-C 2a", 2, 5, {0, 0, 0, 12, 12, 24}, "c1"},
    {126, 14, "B 1 21/C 1", "-B 2ybc", 2, 5, {0, 0, 0, 24, 6, 24}, "b1"},
    {127, 14, "B 21/C", "-B 2ybc", 2, 5, {0, 0, 0, 24, 6, 24}, "b1"},
    {210, 31, "P N M 21", "P 2bc -2bc", 3, 7, {0, 0, 0, 12, 12, 24}, "ba-c"},
    {212, 31, "P 21 N M", "P -2 2ac", 3, 9, {0, 0, 0, 24, 12, 12}, "-cba"},
    {214, 31, "P M 21 N", "P -2ab -2", 3, 8, {0, 0, 0, 12, 24, 12}, "a-cb"},
    {282, 48, "P N N N:1", "P 2 2 -1n", 3, 10, {0, 0, 0, 6, 12, 24}, "1"},
    {283, 48, "P N N N", "-P 2ab 2bc", 3, 10, {0, -6, 0, 6, 6, 24}, "2"},
    {348, 62, "P M N B:1", "P 2ac 2ab -1ab", 3, 10, {0, 0, 0, 6, 12, 24}, ""},
    {350, 62, "P B N M:1", "P 2c 2n -1c", 3, 10, {0, 0, 0, 24, 12, 6}, ""},
    {353, 62, "P M C N:1", "P 2bc 2a -1a", 3, 10, {0, 0, 0, 6, 24, 12}, ""},
    {361, 63, "B M M B:1", "B 2ab 2c -1ac", 3, 10, {0, 0, 0, 12, 24, 12}, ""},
    {364, 64, "C C M B:1", "C 2bc 2n -1ab", 3, 10, {0, 0, 0, 12, 6, 12}, ""},
    {374, 66, "B A M B", "-B 2b 2b", 3, 10, {0, 0, 0, 12, 12, 6}, "bca"},
    {381, 68, "C C C A:1", "C 2 2 -1bc", 3, 10, {0, 0, 0, 6, 12, 12}, "1"},
    {383, 68, "C C C B:1", "C 2 2 -1bc", 3, 10, {0, 0, 0, 12, 6, 12}, "1ba-c"},
    {399, 72, "I C M A:1", "I 2 2 -1b", 3, 10, {0, 0, 0, 12, 12, 6}, ""},
    {428, 90, "C 4 2 21", "C 4b 2", 5, 14, {0, 0, 0, 12, 12, 12}, ""},
    {456, 117, "C -4 B 2", "C -4 2b", 5, 17, {0, 0, 0, 12, 12, 12}, ""},
    {462, 122, "F -4 D 2", "F -4 -2cd", 5, 16, {0, 0, 0, 12, 24, 3}, ""},
    {488, 139, "F 4/M M M", "-F 4 2", 5, 18, {0, 0, 0, 12, 12, 6}, ""},
    {497, 146, "R 3", "R 3", 8, 19, {0, 0, 0, 16, 16, 8}, "H"},
    {498, 146, "R 3:R", "P 3*", 6, 19, {0, 0, 0, 24, 24, 24}, "R"},
    {504, 151, "P 31 1 2", "P 31 2c (0 0 1)", 10, 24, {0, 0, 0, 24, 24, 4}, ""},
    {506, 153, "P 32 1 2", "P 32 2c (0 0 -1)", 10, 24, {0, 0, 0, 24, 24, 4}, ""},
    {525, 167, "R -3 C:R", "-P 3* 2n", 7, 23, {6, 6, 6, 30, 30, 18}, "R"},
    {536, 178, "P 61 2 2", "P 61 2 (0 0 -1)", 12, 30, {0, 0, 0, 24, 24, 2}, ""},
    {566, 203, "F D -3", "-F 2uv 2vw 3", 13, 36, {-3, -3, -9, 9, 3, 3}, "2"},
    {603, 227, "F D -3 M", "-F 4vw 2vw 3", 14, 39, {-3, -3, -6, 9, 0, 0}, "2"},
    {610, 230, "I A -3 D", "-I 4bd 2c 3", 14, 39, {-3, -3, 0, 3, 3, 6}, ""},
};

std::string describe(int i) {
    const vst::SpaceGroupInfo& r = vst::spgr_info[static_cast<std::size_t>(i)];
    return "row " + std::to_string(i) + " (" + std::to_string(r.number) + " \"" +
           std::string(r.hm_symbol.trimmed()) + "\" \"" + std::string(r.hall_symbol.trimmed()) +
           "\" code \"" + std::string(r.setting_choice.trimmed()) + "\")";
}

const vst::SpaceGroupInfo& row_at(int i) { return vst::spgr_info[static_cast<std::size_t>(i)]; }

bool same_except_symbol(const vst::SpaceGroupInfo& a, const vst::SpaceGroupInfo& b) {
    return a.number == b.number && a.hall_symbol == b.hall_symbol &&
           a.laue_index == b.laue_index && a.pg_index == b.pg_index && a.asu == b.asu &&
           a.setting_choice == b.setting_choice;
}

const std::set<int> two_origin_numbers = {48,  50,  59,  68,  70,  85,  86,  88,
                                          125, 126, 129, 130, 133, 134, 137, 138,
                                          141, 142, 201, 203, 222, 224, 227, 228};
const std::set<int> rhombohedral_numbers = {146, 148, 155, 160, 161, 166, 167};

bool on_rhombohedral_axes(const vst::SpaceGroupInfo& r) {
    return r.hm_symbol.trimmed().ends_with(":R");
}

// Laue index from the number (and, for the rhombohedral types, the axes).
int expected_laue(const vst::SpaceGroupInfo& r) {
    const int n = r.number;
    if (n <= 2) return 1;
    if (n <= 15) return 2;
    if (n <= 74) return 3;
    if (n <= 88) return 4;
    if (n <= 142) return 5;
    if (n <= 148) return on_rhombohedral_axes(r) ? 6 : 8;
    if (n <= 167) {
        if (on_rhombohedral_axes(r)) return 7;
        const std::set<int> second_place_1 = {149, 151, 153, 157, 159, 162, 163};
        return second_place_1.contains(n) ? 10 : 9;
    }
    if (n <= 176) return 11;
    if (n <= 194) return 12;
    if (n <= 206) return 13;
    return 14;
}

// Point-group index from the number; mm2 types by the orientation of the setting.
int expected_point_group(const vst::SpaceGroupInfo& r) {
    const int n = r.number;
    struct Range { int first, last, pg; };
    const Range ranges[] = {
        {1, 1, 1},     {2, 2, 2},     {3, 5, 3},     {6, 9, 4},     {10, 15, 5},
        {16, 24, 6},   {47, 74, 10},  {75, 80, 11},  {81, 82, 12},  {83, 88, 13},
        {89, 98, 14},  {99, 110, 15}, {111, 114, 16}, {121, 122, 16}, {115, 120, 17},
        {123, 142, 18}, {143, 146, 19}, {147, 148, 20}, {149, 149, 24}, {151, 151, 24},
        {153, 153, 24}, {150, 150, 21}, {152, 152, 21}, {154, 155, 21}, {156, 156, 22},
        {158, 158, 22}, {160, 161, 22}, {157, 157, 25}, {159, 159, 25}, {164, 167, 23},
        {162, 163, 26}, {168, 173, 27}, {174, 174, 28}, {175, 176, 29}, {177, 182, 30},
        {183, 186, 31}, {187, 188, 33}, {189, 190, 32}, {191, 194, 34}, {195, 199, 35},
        {200, 206, 36}, {207, 214, 37}, {215, 220, 38}, {221, 230, 39}};
    for (const Range& range : ranges)
        if (n >= range.first && n <= range.last) return range.pg;
    // 25-46: mm2 with the twofold axis along c, a or b.
    const std::string_view code = r.setting_choice.trimmed();
    if (code.empty() || code == "ba-c") return 7;
    if (code == "cab" || code == "-cba") return 9;
    if (code == "bca" || code == "a-cb") return 8;
    return -1;
}

}  // namespace

TEST(SettingsTable, TellingRowsAreAsStated) {
    vst::set_spgr_info();
    ASSERT_EQ(vst::spgr_info.size(), 612u);
    for (const TellingRow& t : telling_rows) {
        const vst::SpaceGroupInfo& r = row_at(t.row);
        SCOPED_TRACE(describe(t.row));
        EXPECT_EQ(r.number, t.number);
        EXPECT_EQ(r.hm_symbol.view(), vorn_string_utilities::fixed(t.hm, 12));
        EXPECT_EQ(r.hall_symbol.view(), vorn_string_utilities::fixed(t.hall, 16));
        EXPECT_EQ(r.laue_index, t.laue);
        EXPECT_EQ(r.pg_index, t.pg);
        EXPECT_EQ(r.asu, t.asu);
        EXPECT_EQ(r.setting_choice.view(), vorn_string_utilities::fixed(t.code, 5));
    }
    // Boxes stated beside the telling rows.
    const std::map<std::string, std::array<int, 6>> stated_boxes = {
        {"R -3:R", {0, 0, 0, 24, 24, 12}},   {"R 3 2:R", {0, 0, 0, 24, 24, 12}},
        {"R 3 M:R", {0, 0, 0, 24, 24, 24}},  {"R 3 C:R", {0, 0, 0, 24, 24, 24}},
        {"R -3 M:R", {0, 0, 0, 24, 24, 12}}, {"P N -3 N", {6, 6, 6, 18, 18, 18}},
        {"P N 3 N", {6, 6, 6, 18, 18, 18}},  {"P N -3 M", {6, 6, 0, 18, 18, 12}},
        {"P N 3 M", {6, 6, 0, 18, 18, 12}},  {"I -4 3 D", {6, 6, 0, 12, 12, 12}},
        {"P 21 3", {0, 0, -12, 12, 12, 12}}, {"P 41 3 2", {-6, 0, 0, 12, 18, 12}},
        {"I 41 3 2", {-9, -3, -3, 3, 3, 9}}, {"P 1 21/C 1", {0, 0, 0, 24, 6, 24}}};
    for (const auto& [symbol, box] : stated_boxes) {
        const int i = vst::find_spgr_row_by_hm(symbol);
        ASSERT_GT(i, 0) << symbol;
        EXPECT_EQ(row_at(i).asu, box) << symbol;
    }
}

TEST(SettingsTable, EveryRowEqualsTheFixture) {
    vst::set_spgr_info();
    const auto rows = tables_test::read_tsv("settings-table.tsv");
    ASSERT_EQ(rows.size(), 611u);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto& f = rows[i];
        const vst::SpaceGroupInfo& r = vst::spgr_info[i + 1];
        SCOPED_TRACE("fixture row " + f[0] + " \"" + f[2] + "\"");
        EXPECT_EQ(std::stoi(f[0]), static_cast<int>(i + 1));
        EXPECT_EQ(r.number, std::stoi(f[1]));
        EXPECT_EQ(r.hm_symbol.trimmed(), f[2]);
        EXPECT_EQ(r.hall_symbol.trimmed(), f[3]);
        EXPECT_EQ(r.laue_index, std::stoi(f[4]));
        EXPECT_EQ(r.pg_index, std::stoi(f[5]));
        for (std::size_t k = 0; k < 6; ++k) EXPECT_EQ(r.asu[k], std::stoi(f[6 + k]));
        EXPECT_EQ(r.setting_choice.trimmed(), f[12]);
    }
}

TEST(SettingsTable, OrderingUniquenessAndAliases) {
    vst::set_spgr_info();
    ASSERT_EQ(vst::spgr_info.size(), static_cast<std::size_t>(vst::num_spgr_info) + 1);

    std::set<int> derived_box_rows;
    for (const auto& f : tables_test::read_tsv("settings-table.tsv"))
        if (f[14] == "transformed-box") derived_box_rows.insert(std::stoi(f[0]));
    EXPECT_EQ(derived_box_rows.size(), 82u);

    std::map<int, int> rows_per_number;
    std::set<std::string> hm_symbols;
    std::set<std::string> codes;
    int aliases = 0;
    for (int i = 1; i <= vst::num_spgr_info; ++i) {
        const vst::SpaceGroupInfo& r = row_at(i);
        SCOPED_TRACE(describe(i));
        ASSERT_GE(r.number, 1);
        ASSERT_LE(r.number, 230);
        if (i > 1) {
            EXPECT_GE(r.number, row_at(i - 1).number);
        }
        ++rows_per_number[r.number];
        codes.insert(std::string(r.setting_choice.trimmed()));

        // Upper-case Hermann-Mauguin symbols, each once.
        const std::string hm(r.hm_symbol.trimmed());
        EXPECT_TRUE(hm_symbols.insert(hm).second) << "repeated symbol";
        for (char c : hm) EXPECT_FALSE(c >= 'a' && c <= 'z');
        EXPECT_EQ(hm.find("  "), std::string::npos);
        EXPECT_NE(hm.front(), ' ');

        // Published boxes lie within -12..30; the boxes derived for settings
        // without a published asymmetric unit may reach beyond.
        if (derived_box_rows.contains(i)) {
            EXPECT_GE(r.asu[0], -24);
        } else {
            for (int v : r.asu) {
                EXPECT_GE(v, -12);
                EXPECT_LE(v, 30);
            }
        }
        for (int k = 0; k < 3; ++k) EXPECT_LT(r.asu[k], r.asu[k + 3]);

        EXPECT_EQ(r.laue_index, expected_laue(r));
        EXPECT_EQ(r.pg_index, expected_point_group(r));

        // A Hall symbol repeats only in an alias row directly after its row,
        // or in the three pairs of number 68 that share a published symbol.
        for (int j = 1; j < i; ++j) {
            if (!(row_at(j).hall_symbol == r.hall_symbol)) continue;
            if (j == i - 1) {
                EXPECT_TRUE(same_except_symbol(row_at(j), r)) << "alias differs from " << describe(j);
            } else {
                EXPECT_EQ(r.number, 68) << "shares its Hall symbol with " << describe(j);
            }
        }
        if (i > 1 && row_at(i - 1).hall_symbol == r.hall_symbol) ++aliases;
    }
    EXPECT_EQ(aliases, 55);
    EXPECT_EQ(codes.size(), 41u);  // blank included

    std::map<int, int> histogram;  // rows per number -> how many numbers
    for (int n = 1; n <= 230; ++n) {
        ASSERT_TRUE(rows_per_number.contains(n)) << "no row for " << n;
        ++histogram[rows_per_number[n]];
    }
    const std::map<int, int> expected_histogram = {{1, 123}, {2, 39}, {3, 26}, {4, 5},  {6, 23},
                                                   {7, 4},   {9, 1},  {12, 4}, {13, 1}, {14, 2},
                                                   {24, 2}};
    EXPECT_EQ(histogram, expected_histogram);
    for (int n : {1, 2, 63, 64}) EXPECT_EQ(rows_per_number[n], 7) << n;
    for (int n : {5, 7, 8, 68}) EXPECT_EQ(rows_per_number[n], 12) << n;
    EXPECT_EQ(rows_per_number[62], 9);
    EXPECT_EQ(rows_per_number[13], 13);
    EXPECT_EQ(rows_per_number[12], 14);
    EXPECT_EQ(rows_per_number[14], 14);
    EXPECT_EQ(rows_per_number[9], 24);
    EXPECT_EQ(rows_per_number[15], 24);

    // The three pairs of number 68 with one Hall symbol, the first of each found first.
    const std::pair<const char*, const char*> shared[] = {{"C C C A:1", "C C C B:1"},
                                                          {"A B A A:1", "A C A A:1"},
                                                          {"B B C B:1", "B B A B:1"}};
    for (const auto& [first, second] : shared) {
        const int a = vst::find_spgr_row_by_hm(first), b = vst::find_spgr_row_by_hm(second);
        ASSERT_GT(a, 0);
        ASSERT_GT(b, a);
        EXPECT_EQ(row_at(a).hall_symbol, row_at(b).hall_symbol);
        EXPECT_EQ(vst::find_spgr_row_by_hall(row_at(b).hall_symbol.view()), a);
    }

    // First row of a number: origin choice 1 then 2; hexagonal then rhombohedral axes.
    for (int n = 1; n <= 230; ++n) {
        const int first = vst::find_spgr_row_by_number(n);
        ASSERT_GT(first, 0);
        const vst::SpaceGroupInfo& a = row_at(first);
        const vst::SpaceGroupInfo& b = row_at(first + 1);
        SCOPED_TRACE(describe(first));
        if (two_origin_numbers.contains(n)) {
            EXPECT_TRUE(a.hm_symbol.trimmed().ends_with(":1"));
            EXPECT_EQ(a.setting_choice, "1");
            EXPECT_EQ(b.number, n);
            EXPECT_EQ(std::string(b.hm_symbol.trimmed()) + ":1", a.hm_symbol.trimmed());
            EXPECT_EQ(b.setting_choice, "2");
        } else if (rhombohedral_numbers.contains(n)) {
            EXPECT_EQ(a.setting_choice, "H");
            EXPECT_EQ(std::string(a.hm_symbol.trimmed()) + ":R", b.hm_symbol.trimmed());
            EXPECT_EQ(b.setting_choice, "R");
        } else if (n >= 3 && n <= 15) {
            EXPECT_TRUE(a.setting_choice == "b" || a.setting_choice == "b1");
        } else {
            EXPECT_TRUE(a.setting_choice.blank());
        }
    }
}

TEST(SettingsTable, LookUpsByNumberAndSymbol) {
    vst::set_spgr_info();
    const std::pair<int, const char*> first_rows[] = {
        {14, "P 1 21/C 1"}, {15, "C 1 2/C 1"}, {48, "P N N N:1"}, {146, "R 3"}, {227, "F D -3 M:1"}};
    for (const auto& [number, symbol] : first_rows)
        EXPECT_EQ(row_at(vst::find_spgr_row_by_number(number)).hm_symbol, symbol) << number;
    EXPECT_EQ(vst::find_spgr_row_by_number(0), 0);
    EXPECT_EQ(vst::find_spgr_row_by_number(231), 0);

    // By symbol, letter case ignored on the query; by Hall symbol on both sides.
    const int i2c = vst::find_spgr_row_by_hm("I 1 2/C 1");
    ASSERT_GT(i2c, 0);
    EXPECT_EQ(row_at(i2c).number, 15);
    EXPECT_EQ(row_at(i2c).setting_choice, "-b3");
    EXPECT_EQ(vst::find_spgr_row_by_hall("-I 2yc"), i2c);
    EXPECT_EQ(vst::find_spgr_row_by_hm("i 1 2/c 1"), i2c);
    EXPECT_EQ(vst::find_spgr_row_by_hall("-i 2YC"), i2c);

    const int p21c = vst::find_spgr_row_by_hall("-P 2ybc");
    EXPECT_EQ(row_at(p21c).hm_symbol, "P 1 21/C 1");
    EXPECT_EQ(vst::find_spgr_row_by_hm("P 21/C"), p21c + 1);
    for (int i : {p21c, p21c + 1}) {
        EXPECT_EQ(row_at(i).number, 14);
        EXPECT_EQ(row_at(i).hall_symbol, "-P 2ybc");
        EXPECT_EQ(row_at(i).setting_choice, "b1");
    }
    EXPECT_EQ(row_at(vst::find_spgr_row_by_hall("C 2 2 -1bc")).hm_symbol, "C C C A:1");
    EXPECT_EQ(row_at(vst::find_spgr_row_by_hm("P M 3 M")).hall_symbol, "-P 4 2 3");
    EXPECT_EQ(row_at(vst::find_spgr_row_by_hm("P M -3 M")).hall_symbol, "-P 4 2 3");

    // Symbols that fill all 12 or 16 characters; only the first 12 of a query count.
    EXPECT_GT(vst::find_spgr_row_by_hm("P 42/N B C:1"), 0);
    EXPECT_EQ(vst::find_spgr_row_by_hm("P 42/N B C:1 extra"), vst::find_spgr_row_by_hm("P 42/N B C:1"));
    EXPECT_EQ(vst::find_spgr_row_by_hm("R 3:H"), 0);
    EXPECT_EQ(vst::find_spgr_row_by_hm("  p 21/c"), p21c + 1);  // left-adjusted first
    EXPECT_EQ(vst::find_spgr_row_by_hall("  -P 2YBC"), p21c);
    EXPECT_EQ(vst::find_spgr_row_by_hm("P21/C"), 0);
    EXPECT_EQ(vst::find_spgr_row_by_hm(""), 0);
    // Hall symbols with the double prime, the body-diagonal threefold and a change of basis.
    EXPECT_EQ(row_at(vst::find_spgr_row_by_hall("P 3 2\"")).hm_symbol, "P 3 2 1");
    EXPECT_EQ(row_at(vst::find_spgr_row_by_hall("-p 3* 2N")).hm_symbol, "R -3 C:R");
    EXPECT_EQ(row_at(vst::find_spgr_row_by_hall("P 31 2c (0 0 1)")).hm_symbol, "P 31 1 2");
    EXPECT_EQ(vst::find_spgr_row_by_hall("P 31 2c"), 0);
}

TEST(SettingsTable, FillReleaseAndRefill) {
    vst::set_spgr_info();
    const std::vector<vst::SpaceGroupInfo> first = vst::spgr_info;
    vst::spgr_info[24].hm_symbol = "changed";
    vst::spgr_info[24].asu[3] = 99;
    vst::set_spgr_info();
    EXPECT_EQ(vst::spgr_info[24].hm_symbol, "C 2");
    EXPECT_EQ(vst::spgr_info[24].asu[3], 12);

    vst::remove_spgr_info();
    EXPECT_TRUE(vst::spgr_info.empty());
    EXPECT_EQ(vst::find_spgr_row_by_number(1), 0);  // a released table finds nothing
    vst::remove_spgr_info();                        // releasing twice is harmless
    vst::set_spgr_info();
    ASSERT_EQ(vst::spgr_info.size(), first.size());
    for (std::size_t i = 1; i < first.size(); ++i) {
        EXPECT_TRUE(same_except_symbol(first[i], vst::spgr_info[i])) << i;
        EXPECT_EQ(first[i].hm_symbol, vst::spgr_info[i].hm_symbol) << i;
    }
}
