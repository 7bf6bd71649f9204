// The Wyckoff table holds the special positions of 273 settings: keys and
// counts as listed, texts in the form the orbit expansion relies on, and
// representatives whose orbits have the multiplicities of their letters.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tables/sym_table.hpp"
#include "support/tsv_fixture.hpp"

namespace vst = vorn_symmetry_tables;

namespace {

struct KeyCount {
    const char* key;
    int count;
};

// Every row's key and number of special positions, in row order.
const KeyCount listed_rows[] = {
    {"P 1", 0}, {"P -1", 8}, {"P 2", 4}, {"P 21", 0},
    {"C 2", 2}, {"A 2", 2}, {"I 2", 2}, {"P M", 2},
    {"P C", 0}, {"C M", 1}, {"A M", 1}, {"I M", 1},
    {"C C", 0}, {"P 2/M", 14}, {"P 21/M", 5}, {"C 2/M", 9},
    {"A 2/M", 9}, {"I 2/M", 9}, {"P 2/C", 6}, {"P 2/N", 6},
    {"P 2/A", 6}, {"P 21/C", 4}, {"P 21/N", 4}, {"P 21/A", 4},
    {"C 2/C", 5}, {"A 2/N", 5}, {"I 2/A", 5}, {"P 2 2 2", 20},
    {"P 2 2 21", 4}, {"P 21 21 2", 2}, {"P 21 21 21", 0}, {"C 2 2 21", 2},
    {"C 2 2 2", 11}, {"F 2 2 2", 10}, {"I 2 2 2", 10}, {"I 21 21 21", 3},
    {"P M M 2", 8}, {"P M C 21", 2}, {"P C C 2", 4}, {"P M A 2", 3},
    {"P C A 21", 0}, {"P N C 2", 2}, {"P M N 21", 1}, {"P B A 2", 2},
    {"P N A 21", 0}, {"P N N 2", 2}, {"C M M 2", 5}, {"C M C 21", 1},
    {"C C C 2", 3}, {"A M M 2", 5}, {"A B M 2", 3}, {"A M A 2", 2},
    {"A B A 2", 1}, {"F M M 2", 4}, {"F D D 2", 1}, {"I M M 2", 4},
    {"I B A 2", 2}, {"I M A 2", 2}, {"P M M M", 26}, {"P N N N:1", 12},
    {"P N N N", 12}, {"P C C M", 17}, {"P B A N:1", 12}, {"P B A N", 12},
    {"P M M A", 11}, {"P N N A", 4}, {"P M N A", 8}, {"P C C A", 5},
    {"P B A M", 8}, {"P C C N", 4}, {"P B C M", 4}, {"P N N M", 7},
    {"P M M N:1", 6}, {"P M M N", 6}, {"P B C N", 3}, {"P B C A", 2},
    {"P N M A", 3}, {"C M C M", 7}, {"C M C A", 6}, {"C M M M", 17},
    {"C C C M", 12}, {"C M M A", 14}, {"C C C A:1", 8}, {"C C C A", 8},
    {"F M M M", 15}, {"F D D D:1", 7}, {"F D D D", 7}, {"I M M M", 14},
    {"I B A M", 10}, {"I B C A", 5}, {"I M M A", 9}, {"P 4", 3},
    {"P 41", 0}, {"P 42", 3}, {"P 43", 0}, {"I 4", 2},
    {"I 41", 1}, {"P -4", 7}, {"I -4", 6}, {"P 4/M", 11},
    {"P 42/M", 10}, {"P 4/N:1", 6}, {"P 4/N", 6}, {"P 42/N:1", 6},
    {"P 42/N", 6}, {"I 4/M", 8}, {"I 41/A:1", 5}, {"I 41/A", 5},
    {"P 4 2 2", 15}, {"P 4 21 2", 6}, {"P 41 2 2", 3}, {"P 41 21 2", 1},
    {"P 42 2 2", 15}, {"P 42 21 2", 6}, {"P 43 2 2", 3}, {"P 43 21 2", 1},
    {"I 4 2 2", 10}, {"I 41 2 2", 6}, {"P 4 M M", 6}, {"P 4 B M", 3},
    {"P 42 C M", 4}, {"P 42 N M", 3}, {"P 4 C C", 3}, {"P 4 N C", 2},
    {"P 42 M C", 5}, {"P 42 B C", 2}, {"I 4 M M", 4}, {"I 4 C M", 3},
    {"I 41 M D", 2}, {"I 41 C D", 1}, {"P -4 2 M", 14}, {"P -4 2 C", 13},
    {"P -4 21 M", 5}, {"P -4 21 C", 4}, {"P -4 M 2", 11}, {"P -4 C 2", 9},
    {"P -4 B 2", 8}, {"P -4 N 2", 8}, {"I -4 M 2", 9}, {"I -4 C 2", 8},
    {"I -4 2 M", 9}, {"I -4 2 D", 4}, {"P 4/M M M", 20}, {"P 4/M C C", 13},
    {"P 4/N B M:1", 13}, {"P 4/N B M", 13}, {"P 4/N N C:1", 10}, {"P 4/N N C", 10},
    {"P 4/M B M", 11}, {"P 4/M N C", 8}, {"P 4/N M M:1", 10}, {"P 4/N M M", 10},
    {"P 4/N C C:1", 6}, {"P 4/N C C", 6}, {"P 42/M M C", 17}, {"P 42/M C M", 15},
    {"P 42/N B C:1", 10}, {"P 42/N B C", 10}, {"P 42/N N M:1", 13}, {"P 42/N N M", 13},
    {"P 42/M B C", 8}, {"P 42/M N M", 10}, {"P 42/N M C:1", 7}, {"P 42/N M C", 7},
    {"P 42/N C M:1", 9}, {"P 42/N C M", 9}, {"I 4/M M M", 14}, {"I 4/M C M", 12},
    {"I 41/A M D:1", 8}, {"I 41/A M D", 8}, {"I 41/A C D:1", 6}, {"I 41/A C D", 6},
    {"P 3", 3}, {"P 31", 0}, {"P 32", 0}, {"R 3", 1},
    {"R 3:R", 1}, {"P -3", 6}, {"R -3", 5}, {"R -3:R", 5},
    {"P 3 1 2", 11}, {"P 3 2 1", 6}, {"P 31 1 2", 2}, {"P 31 2 1", 2},
    {"P 32 1 2", 2}, {"P 32 2 1", 2}, {"R 3 2", 5}, {"R 3 2:R", 5},
    {"P 3 M 1", 4}, {"P 3 1 M", 3}, {"P 3 C 1", 3}, {"P 3 1 C", 2},
    {"R 3 M", 2}, {"R 3 M:R", 2}, {"R 3 C", 1}, {"R 3 C:R", 1},
    {"P -3 1 M", 11}, {"P -3 1 C", 8}, {"P -3 M 1", 9}, {"P -3 C 1", 6},
    {"R -3 M", 8}, {"R -3 M:R", 8}, {"R -3 C", 5}, {"R -3 C:R", 5},
    {"P 6", 3}, {"P 61", 0}, {"P 65", 0}, {"P 62", 2},
    {"P 64", 2}, {"P 63", 2}, {"P -6", 11}, {"P 6/M", 11},
    {"P 63/M", 8}, {"P 6 2 2", 13}, {"P 61 2 2", 2}, {"P 65 2 2", 2},
    {"P 62 2 2", 10}, {"P 64 2 2", 10}, {"P 63 2 2", 8}, {"P 6 M M", 5},
    {"P 6 C C", 3}, {"P 63 C M", 3}, {"P 63 M C", 3}, {"P -6 M 2", 14},
    {"P -6 C 2", 11}, {"P -6 2 M", 11}, {"P -6 2 C", 8}, {"P 6/M M M", 17},
    {"P 6/M C C", 12}, {"P 63/M C M", 11}, {"P 63/M M C", 11}, {"P 2 3", 9},
    {"F 2 3", 7}, {"I 2 3", 5}, {"P 21 3", 1}, {"I 21 3", 2},
    {"P M -3", 11}, {"P N -3:1", 7}, {"P N -3", 7}, {"F M -3", 8},
    {"F D -3:1", 6}, {"F D -3", 6}, {"I M -3", 7}, {"P A -3", 3},
    {"I A -3", 4}, {"P 4 3 2", 10}, {"P 42 3 2", 12}, {"F 4 3 2", 9},
    {"F 41 3 2", 7}, {"I 4 3 2", 9}, {"P 43 3 2", 4}, {"P 41 3 2", 4},
    {"I 41 3 2", 8}, {"P -4 3 M", 9}, {"F -4 3 M", 8}, {"I -4 3 M", 7},
    {"P -4 3 N", 8}, {"F -4 3 C", 7}, {"I -4 3 D", 4}, {"P M -3 M", 13},
    {"P N -3 N:1", 8}, {"P N -3 N", 8}, {"P M -3 N", 11}, {"P N -3 M:1", 11},
    {"P N -3 M", 11}, {"F M -3 M", 11}, {"F M -3 C", 9}, {"F D -3 M:1", 8},
    {"F D -3 M", 8}, {"F D -3 C:1", 7}, {"F D -3 C", 7}, {"I M -3 M", 11},
    {"I A -3 D", 7},
};

struct FullRow {
    const char* key;
    int count;
    std::vector<const char*> reps;
};

// Rows given with all their representatives.
const FullRow full_rows[] = {
    {"P 1", 0, {}},
    {"P -1", 8, {"0,0,0", "0,0,1/2", "0,1/2,0", "1/2,0,0", "1/2,1/2,0", "1/2,0,1/2", "0,1/2,1/2", "1/2,1/2,1/2"}},
    {"P M M M", 26, {"0,0,0", "1/2,0,0", "0,0,1/2", "1/2,0,1/2", "0,1/2,0", "1/2,1/2,0", "0,1/2,1/2", "1/2,1/2,1/2", "x,0,0", "x,0,1/2", "x,1/2,0", "x,1/2,1/2", "0,y,0", "0,y,1/2", "1/2,y,0", "1/2,y,1/2", "0,0,z", "0,1/2,z", "1/2,0,z", "1/2,1/2,z", "0,y,z", "1/2,y,z", "x,0,z", "x,1/2,z", "x,y,0", "x,y,1/2"}},
    {"C C C A:1", 8, {"0,0,0", "0,0,1/2", "1/4,0,1/4", "0,1/4,1/4", "x,0,0", "0,y,0", "0,0,z", "1/4,1/4,z"}},
    {"C C C A", 8, {"0,1/4,1/4", "0,1/4,3/4", "1/4,3/4,0", "0,0,0", "x,1/4,1/4", "0,y,1/4", "0,1/4,z", "1/4,0,z"}},
    {"R 3", 1, {"0,0,z"}},
    {"R 3:R", 1, {"x,x,x"}},
    {"R -3", 5, {"0,0,0", "0,0,1/2", "0,0,z", "1/2,0,1/2", "1/2,0,0"}},
    {"R -3:R", 5, {"0,0,0", "1/2,1/2,1/2", "x,x,x", "1/2,0,0", "0,1/2,1/2"}},
    {"P 6 2 2", 13, {"0,0,0", "0,0,1/2", "1/3,2/3,0", "1/3,2/3,1/2", "0,0,z", "1/2,0,0", "1/2,0,1/2", "1/3,2/3,z", "1/2,0,z", "x,0,0", "x,0,1/2", "x,-x,0", "x,-x,1/2"}},
    {"P 62 2 2", 10, {"0,0,0", "0,0,1/2", "1/2,0,0", "1/2,0,1/2", "0,0,z", "1/2,0,z", "x,0,0", "x,0,1/2", "x,2x,0", "x,2x,1/2"}},
    {"I A -3 D", 7, {"0,0,0", "1/8,1/8,1/8", "1/8,0,1/4", "3/8,0,1/4", "x,x,x", "x,0,1/4", "1/8,y,-y+1/4"}},
};

const vst::WyckoffInfo* row_of(std::string_view key) {
    for (std::size_t i = 1; i < vst::wyckoff_info.size(); ++i)
        if (vst::wyckoff_info[i].hm_symbol == key) return &vst::wyckoff_info[i];
    return nullptr;
}

// One component of a coordinate triplet or of an operator: coefficients of
// x, y, z and a constant.
struct Affine {
    std::array<double, 3> coefficient{};
    double constant = 0;
};

// Reads a component such as "-x+y+1/2", "2x", "x+1/4", "3/8" or "0".
bool parse_component(std::string_view text, Affine& out) {
    out = Affine{};
    std::size_t pos = 0;
    if (text.empty()) return false;
    while (pos < text.size()) {
        double sign = 1;
        if (text[pos] == '+' || text[pos] == '-') {
            sign = text[pos] == '-' ? -1 : 1;
            ++pos;
        }
        std::size_t digits = pos;
        while (digits < text.size() && std::isdigit(static_cast<unsigned char>(text[digits]))) ++digits;
        const double number = digits > pos ? std::stod(std::string(text.substr(pos, digits - pos))) : 1;
        if (digits < text.size() && text[digits] >= 'x' && text[digits] <= 'z') {
            out.coefficient[static_cast<std::size_t>(text[digits] - 'x')] += sign * number;
            pos = digits + 1;
        } else if (digits < text.size() && text[digits] == '/') {
            std::size_t end = digits + 1;
            while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end]))) ++end;
            if (end == digits + 1 || digits == pos) return false;
            out.constant += sign * number / std::stod(std::string(text.substr(digits + 1, end - digits - 1)));
            pos = end;
        } else if (digits > pos && digits == text.size()) {
            out.constant += sign * number;
            pos = digits;
        } else {
            return false;
        }
    }
    return true;
}

bool parse_triplet(std::string_view text, std::array<Affine, 3>& out) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        const std::size_t comma = i < 2 ? text.find(',', start) : text.size();
        if (comma == std::string_view::npos) return false;
        if (!parse_component(text.substr(start, comma - start), out[i])) return false;
        start = comma + 1;
    }
    return text.find(',', start > text.size() ? text.size() : start) == std::string_view::npos;
}

using Point = std::array<double, 3>;

Point image_of(const std::array<Affine, 3>& op, const Point& p) {
    Point q{};
    for (std::size_t i = 0; i < 3; ++i) {
        double v = op[i].constant;
        for (std::size_t j = 0; j < 3; ++j) v += op[i].coefficient[j] * p[j];
        q[i] = v - std::floor(v);
    }
    return q;
}

bool same_point(const Point& a, const Point& b) {
    for (std::size_t i = 0; i < 3; ++i) {
        double d = std::fabs(a[i] - b[i]);
        d = std::min(d, 1 - d);
        if (d > 1e-7) return false;
    }
    return true;
}

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return parts;
}

}  // namespace

TEST(WyckoffTable, KeysAndCountsAsListed) {
    vst::set_wyckoff_info();
    ASSERT_EQ(vst::wyckoff_info.size(), static_cast<std::size_t>(vst::num_wyckoff_info) + 1);
    ASSERT_EQ(std::size(listed_rows), 273u);
    int total = 0;
    for (std::size_t i = 1; i <= 273; ++i) {
        const vst::WyckoffInfo& row = vst::wyckoff_info[i];
        EXPECT_EQ(row.hm_symbol.view(), vorn_string_utilities::fixed(listed_rows[i - 1].key, 12)) << "row " << i;
        EXPECT_EQ(row.orbit_count, listed_rows[i - 1].count) << "row " << i << " " << listed_rows[i - 1].key;
        total += row.orbit_count;
    }
    EXPECT_EQ(total, 1783);

    for (const FullRow& full : full_rows) {
        const vst::WyckoffInfo* row = row_of(full.key);
        ASSERT_NE(row, nullptr) << full.key;
        EXPECT_EQ(row->orbit_count, full.count) << full.key;
        ASSERT_EQ(full.reps.size(), static_cast<std::size_t>(full.count));
        for (std::size_t k = 0; k < full.reps.size(); ++k)
            EXPECT_EQ(row->orbit_rep[k + 1].view(), vorn_string_utilities::fixed(full.reps[k], 15))
                << full.key << " letter " << static_cast<char>('a' + k);
    }
    EXPECT_EQ(row_of("P 64 2 2")->orbit_rep, row_of("P 62 2 2")->orbit_rep);
    EXPECT_EQ(row_of("P 61 2 2")->orbit_rep[1], "x,0,0");
    EXPECT_EQ(row_of("P 61 2 2")->orbit_rep[2], "x,2x,1/4");
    EXPECT_EQ(row_of("P 65 2 2")->orbit_rep[2], "x,2x,3/4");
    EXPECT_EQ(row_of("I 41/A M D:1")->hm_symbol.view(), "I 41/A M D:1");
    EXPECT_EQ(row_of("F 4 3 2")->hm_symbol.view(), "F 4 3 2     ");
    EXPECT_EQ(row_of("P 1 21/C 1"), nullptr);
    EXPECT_EQ(row_of("P 21/c"), nullptr);  // letter case counts
    EXPECT_EQ(row_of("R 3:H"), nullptr);
}

TEST(WyckoffTable, EveryRowEqualsTheFixture) {
    vst::set_wyckoff_info();
    const auto rows = tables_test::read_tsv("wyckoff-table.tsv");
    ASSERT_EQ(rows.size(), 273u);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto& f = rows[i];
        const vst::WyckoffInfo& row = vst::wyckoff_info[i + 1];
        SCOPED_TRACE("row " + std::to_string(i + 1) + " \"" + f[0] + "\"");
        EXPECT_EQ(row.hm_symbol.trimmed(), f[0]);
        EXPECT_EQ(row.orbit_count, std::stoi(f[1]));
        for (std::size_t k = 1; k <= 26; ++k) EXPECT_EQ(row.orbit_rep[k].trimmed(), f[1 + k]) << k;
    }
}

TEST(WyckoffTable, KeysFollowTheSettingsTable) {
    vst::set_wyckoff_info();
    vst::set_spgr_info();
    std::set<std::string> keys;
    int previous_number = 0;
    for (std::size_t i = 1; i <= 273; ++i) {
        const vst::WyckoffInfo& row = vst::wyckoff_info[i];
        const std::string key(row.hm_symbol.trimmed());
        SCOPED_TRACE("row " + std::to_string(i) + " \"" + key + "\"");
        EXPECT_TRUE(keys.insert(key).second);
        for (char c : key) EXPECT_FALSE(c >= 'a' && c <= 'z');
        const int setting = vst::find_spgr_row_by_hm(key);
        ASSERT_GT(setting, 0) << "not a tabulated setting";
        const vst::SpaceGroupInfo& info = vst::spgr_info[static_cast<std::size_t>(setting)];
        EXPECT_EQ(info.hm_symbol, row.hm_symbol);
        EXPECT_GE(info.number, previous_number);
        if (info.number > previous_number) {
            EXPECT_EQ(info.number, previous_number + 1);
        }
        // A further row of a number: cell choices 2 and 3, origin choice 2, rhombohedral axes.
        if (info.number == previous_number) {
            const std::string before(vst::wyckoff_info[i - 1].hm_symbol.trimmed());
            const bool origin_two = before == key + ":1";
            const bool rhombohedral = key == before + ":R";
            const bool cell_choice = info.number >= 5 && info.number <= 15;
            EXPECT_TRUE(origin_two || rhombohedral || cell_choice) << "after " << before;
        }
        previous_number = info.number;
    }
    EXPECT_EQ(previous_number, 230);
}

TEST(WyckoffTable, TextsHaveTheWriterForm) {
    vst::set_wyckoff_info();
    const std::set<std::string> fractions = {"1/8", "1/6", "1/4", "1/3", "3/8", "1/2",
                                             "5/8", "2/3", "3/4", "5/6", "7/8"};
    const std::set<std::string> variables = {"x", "-x", "2x", "y", "-y", "z"};
    for (std::size_t i = 1; i <= 273; ++i) {
        const vst::WyckoffInfo& row = vst::wyckoff_info[i];
        for (std::size_t k = 1; k <= 26; ++k) {
            const std::string text(row.orbit_rep[k].view());
            SCOPED_TRACE(std::string(row.hm_symbol.trimmed()) + " entry " + std::to_string(k) + " \"" + text + "\"");
            if (static_cast<int>(k) > row.orbit_count) {
                EXPECT_TRUE(row.orbit_rep[k].blank());
                continue;
            }
            const std::string trimmed(row.orbit_rep[k].trimmed());
            EXPECT_LE(trimmed.size(), 12u);
            EXPECT_EQ(trimmed.find(' '), std::string::npos);
            EXPECT_NE(trimmed, "x,y,z");
            const auto components = split(trimmed, ',');
            ASSERT_EQ(components.size(), 3u);
            std::set<char> free;
            for (const std::string& c : components) {
                if (c == "0" || fractions.contains(c)) continue;
                const std::size_t plus = c.find('+');
                const std::string variable = c.substr(0, plus);
                EXPECT_TRUE(variables.contains(variable)) << c;
                if (plus != std::string::npos) {
                    EXPECT_TRUE(fractions.contains(c.substr(plus + 1))) << c;
                }
                free.insert(variable.back());
            }
            EXPECT_LE(free.size(), 2u);
        }
    }
}

TEST(WyckoffTable, OrbitsHaveTheMultiplicitiesOfTheirLetters) {
    // Expanding each representative, with generic values of its free
    // parameters, under all operators of its setting gives as many distinct
    // points as the letter's multiplicity.
    vst::set_wyckoff_info();
    vst::set_spgr_info();
    const auto operator_rows = tables_test::read_tsv("settings-operators.tsv");
    const auto multiplicity_rows = tables_test::read_tsv("wyckoff-multiplicities.tsv");
    ASSERT_EQ(operator_rows.size(), 611u);
    ASSERT_EQ(multiplicity_rows.size(), 273u);
    const Point generic{0.1372, 0.2913, 0.3719};
    for (std::size_t i = 1; i <= 273; ++i) {
        const vst::WyckoffInfo& row = vst::wyckoff_info[i];
        const auto& expected = multiplicity_rows[i - 1];
        ASSERT_EQ(expected[0], row.hm_symbol.trimmed());
        if (row.orbit_count == 0) continue;
        const auto multiplicities = split(expected[2], ' ');
        ASSERT_EQ(multiplicities.size(), static_cast<std::size_t>(row.orbit_count)) << expected[0];

        const int setting = vst::find_spgr_row_by_hm(row.hm_symbol.view());
        ASSERT_GT(setting, 0);
        std::vector<std::array<Affine, 3>> operators;
        for (const std::string& text : split(operator_rows[static_cast<std::size_t>(setting - 1)][8], ';')) {
            std::array<Affine, 3> op;
            ASSERT_TRUE(parse_triplet(text, op)) << text;
            operators.push_back(op);
        }
        for (std::size_t k = 1; k <= static_cast<std::size_t>(row.orbit_count); ++k) {
            std::array<Affine, 3> site;
            ASSERT_TRUE(parse_triplet(row.orbit_rep[k].trimmed(), site)) << row.orbit_rep[k].view();
            const Point start = image_of(site, generic);
            std::vector<Point> orbit;
            for (const auto& op : operators) {
                const Point p = image_of(op, start);
                bool known = false;
                for (const Point& q : orbit) known = known || same_point(p, q);
                if (!known) orbit.push_back(p);
            }
            EXPECT_EQ(orbit.size(), std::stoul(multiplicities[k - 1]))
                << expected[0] << " letter " << static_cast<char>('a' + k - 1) << " \""
                << row.orbit_rep[k].trimmed() << "\"";
        }
    }
}

TEST(WyckoffTable, FillReleaseAndRefill) {
    vst::set_wyckoff_info();
    const std::vector<vst::WyckoffInfo> first = vst::wyckoff_info;
    const vst::WyckoffInfo* storage = vst::wyckoff_info.data();
    vst::wyckoff_info[1].orbit_count = 5;
    vst::wyckoff_info[1].orbit_rep[3] = "1/2,1/2,1/2";
    vst::wyckoff_info[2].hm_symbol = "P 9";
    vst::set_wyckoff_info();
    EXPECT_EQ(vst::wyckoff_info.data(), storage);  // rewritten in place
    EXPECT_EQ(vst::wyckoff_info[1].orbit_count, 0);
    EXPECT_TRUE(vst::wyckoff_info[1].orbit_rep[3].blank());
    EXPECT_EQ(vst::wyckoff_info[2].hm_symbol, "P -1");

    vst::remove_wyckoff_info();
    EXPECT_TRUE(vst::wyckoff_info.empty());
    vst::remove_wyckoff_info();
    vst::set_wyckoff_info();
    ASSERT_EQ(vst::wyckoff_info.size(), first.size());
    for (std::size_t i = 1; i < first.size(); ++i) {
        EXPECT_EQ(vst::wyckoff_info[i].hm_symbol, first[i].hm_symbol) << i;
        EXPECT_EQ(vst::wyckoff_info[i].orbit_count, first[i].orbit_count) << i;
        EXPECT_EQ(vst::wyckoff_info[i].orbit_rep, first[i].orbit_rep) << i;
    }
}
