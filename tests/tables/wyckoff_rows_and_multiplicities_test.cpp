// The special Wyckoff positions of 273 settings equal the fixture row by row
// (after every fill and refill),
// each key is a tabulated setting, and each representative, expanded with
// generic free parameters under its setting's operators, has as many distinct
// points modulo lattice translations as the multiplicity of its letter.
#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "support/settings_operators_fixture.hpp"
#include "support/tsv_fixture.hpp"
#include "tables/sym_table.hpp"

namespace vst = vorn_symmetry_tables;

namespace {

using symmetry_test_data::split;
using Point = std::array<double, 3>;

void expect_rows_equal_fixture() {
    const auto rows = tables_test::read_tsv("wyckoff-table.tsv");
    ASSERT_EQ(rows.size(), 273u);
    ASSERT_EQ(vst::wyckoff_info.size(), 274u);
    for (std::size_t i = 1; i <= rows.size(); ++i) {
        const auto& f = rows[i - 1];
        const vst::WyckoffInfo& row = vst::wyckoff_info[i];
        std::vector<std::string> fields = {std::string(row.hm_symbol.trimmed()), std::to_string(row.orbit_count)};
        for (std::size_t k = 1; k <= 26; ++k) fields.emplace_back(row.orbit_rep[k].trimmed());
        EXPECT_EQ(fields, std::vector<std::string>(f.begin(), f.begin() + 28)) << "row " << i;
    }
}

// The value at p of a component such as "-x+y+1/2", "2x", "3/8" or "0".
double value_at(const std::string& text, const Point& p) {
    std::size_t i = 0;
    const auto number = [&] {  // the unsigned integer at i, 1 when there is none
        const std::size_t start = i;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
        return i > start ? std::stod(text.substr(start, i - start)) : 1.0;
    };
    double total = 0;
    while (i < text.size()) {
        const double sign = text[i] == '-' ? -1 : 1;
        if (text[i] == '-' || text[i] == '+') ++i;
        const std::size_t start = i;
        double term = sign * number();
        if (i < text.size() && text[i] == '/') {
            ++i;
            term /= number();
        } else if (i < text.size() && text[i] >= 'x' && text[i] <= 'z') {
            term *= p[static_cast<std::size_t>(text[i++] - 'x')];
        } else if (i == start) {
            ADD_FAILURE() << "unreadable component \"" << text << '"';
            return 0;
        }
        total += term;
    }
    return total;
}

// The image of p under a triplet.
Point image_of(const std::string& triplet, const Point& p) {
    const auto components = split(triplet, ',');
    EXPECT_EQ(components.size(), 3u) << triplet;
    Point q{};
    for (std::size_t i = 0; i < 3; ++i) q[i] = value_at(components.at(i), p);
    return q;
}

// A coordinate modulo 1 in units of 1e-6 (the generic values keep it off the rounding edges).
long wrapped(double v) { return (std::lround(v * 1e6) % 1000000 + 1000000) % 1000000; }

}  // namespace

TEST(WyckoffTable, OrbitsHaveTheMultiplicitiesOfTheirLetters) {
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
        SCOPED_TRACE(expected[0]);
        ASSERT_EQ(expected[0], row.hm_symbol.trimmed());
        // The builder takes the first setting whose symbol equals the key exactly.
        const int setting = vst::find_spgr_row_by_hm(row.hm_symbol.view());
        ASSERT_GT(setting, 0) << "not a tabulated setting";
        ASSERT_EQ(vst::spgr_info[static_cast<std::size_t>(setting)].hm_symbol.view(), row.hm_symbol.view());
        if (row.orbit_count == 0) continue;
        const std::string& operators = operator_rows[static_cast<std::size_t>(setting - 1)].at(8);
        const auto multiplicities = split(expected[2], ' ');
        ASSERT_EQ(multiplicities.size(), static_cast<std::size_t>(row.orbit_count));
        for (std::size_t k = 1; k <= multiplicities.size(); ++k) {
            const Point start = image_of(std::string(row.orbit_rep[k].trimmed()), generic);
            std::set<std::array<long, 3>> orbit;  // distinct modulo lattice translations
            for (const std::string& op : split(operators, ';')) {
                const Point p = image_of(op, start);
                orbit.insert({wrapped(p[0]), wrapped(p[1]), wrapped(p[2])});
            }
            EXPECT_EQ(orbit.size(), std::stoul(multiplicities[k - 1]))
                << "letter " << static_cast<char>('a' + k - 1) << " \"" << row.orbit_rep[k].trimmed() << '"';
        }
    }
}

TEST(WyckoffTable, RefillRestoresInPlaceAndReleaseIsIdempotent) {
    vst::set_wyckoff_info();
    const vst::WyckoffInfo* storage = vst::wyckoff_info.data();
    vst::wyckoff_info[1].orbit_count = 5;
    vst::wyckoff_info[1].orbit_rep[3] = "1/2,1/2,1/2";
    vst::wyckoff_info[2].hm_symbol = "P 9";
    vst::wyckoff_info[273].orbit_rep[26] = "x";
    vst::set_wyckoff_info();
    EXPECT_EQ(vst::wyckoff_info.data(), storage);  // rewritten in place
    expect_rows_equal_fixture();

    vst::remove_wyckoff_info();
    EXPECT_TRUE(vst::wyckoff_info.empty() && vst::wyckoff_info.capacity() == 0);
    vst::remove_wyckoff_info();  // releasing twice is harmless
    vst::set_wyckoff_info();
    expect_rows_equal_fixture();
}
