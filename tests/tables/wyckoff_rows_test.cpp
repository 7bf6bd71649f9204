// The special Wyckoff positions of 273 settings equal the fixture row by row, field by field, after every
// fill and refill (the multiplicities the library draws from them are compared with the peer's in the
// symmetry tests of the Wyckoff orbits).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/tsv_fixture.hpp"
#include "tables/sym_table.hpp"

namespace vst = vorn_symmetry_tables;

namespace {

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

}  // namespace

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
