// The 611 tabulated settings equal the fixture row by row after every fill and refill, and the number,
// Hermann-Mauguin and Hall look-ups resolve every row (first row of a number or
// of a shared Hall symbol) and every odd query to the right row or to none.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "support/tsv_fixture.hpp"
#include "tables/sym_table.hpp"
#include "text/string_util.hpp"

namespace vst = vorn_symmetry_tables;

namespace {

// Every row of the filled table against settings-table.tsv, every field.
void expect_rows_equal_fixture() {
    const auto rows = tables_test::read_tsv("settings-table.tsv");
    ASSERT_EQ(rows.size(), 611u);
    ASSERT_EQ(vst::spgr_info.size(), 612u);
    for (std::size_t i = 1; i <= rows.size(); ++i) {
        const auto& f = rows[i - 1];
        const vst::SpaceGroupInfo& r = vst::spgr_info[i];
        std::vector<std::string> fields = {std::to_string(i), std::to_string(r.number),
                                           std::string(r.hm_symbol.trimmed()), std::string(r.hall_symbol.trimmed()),
                                           std::to_string(r.laue_index), std::to_string(r.pg_index)};
        for (int v : r.asu) fields.push_back(std::to_string(v));
        fields.emplace_back(r.setting_choice.trimmed());
        EXPECT_EQ(fields, std::vector<std::string>(f.begin(), f.begin() + 13));
    }
}

}  // namespace

TEST(SettingsTable, EveryRowIsFoundByItsKeys) {
    // The symbol finds its own row (so each symbol is unique), also in lower
    // case; a number or a Hall symbol finds the first row that carries it.
    vst::set_spgr_info();
    std::map<int, int> first_of_number;
    std::map<std::string, int> first_of_hall;
    for (const auto& f : tables_test::read_tsv("settings-table.tsv")) {
        const int i = std::stoi(f[0]);
        first_of_number.emplace(std::stoi(f[1]), i);
        first_of_hall.emplace(vorn_string_utilities::u_case(f[3]), i);
        SCOPED_TRACE("row " + f[0] + " \"" + f[2] + "\" \"" + f[3] + "\"");
        for (const std::string& hm : {f[2], vorn_string_utilities::l_case(f[2])})
            EXPECT_EQ(vst::find_spgr_row_by_hm(hm), i);
        for (const std::string& hall : {f[3], vorn_string_utilities::l_case(f[3])})
            EXPECT_EQ(vst::find_spgr_row_by_hall(hall), first_of_hall.at(vorn_string_utilities::u_case(f[3])));
        EXPECT_EQ(vst::find_spgr_row_by_number(std::stoi(f[1])), first_of_number.at(std::stoi(f[1])));
    }
    EXPECT_EQ(first_of_number.size(), 230u);
    EXPECT_EQ(first_of_hall.size(), 611u - 55u - 3u);  // 55 alias rows, 3 pairs of 68 sharing a symbol
}

TEST(SettingsTable, LookUpEdgeCases) {
    vst::set_spgr_info();
    struct Case { char by; const char* query; const char* row_symbol; };
    const Case cases[] = {
        {'n', "0", ""}, {'n', "231", ""}, {'n', "-1", ""},
        {'m', "  p 21/c", "P 21/C"},                  // left-adjusted, then upper-cased
        {'m', "P 42/N B C:1 extra", "P 42/N B C:1"},  // only the first 12 characters count
        {'m', "P 42/N B C:", ""}, {'m', "R 3:H", ""}, {'m', "P21/C", ""}, {'m', "", ""}, {'m', "     ", ""},
        {'h', "  -P 2YBC", "P 1 21/C 1"}, {'h', "-i 2YC", "I 1 2/C 1"},
        {'h', "P 3 2\"", "P 3 2 1"},                 // double prime
        {'h', "-p 3* 2N", "R -3 C:R"},               // body-diagonal threefold
        {'h', "P 31 2c (0 0 1)", "P 31 1 2"},        // change of basis
        {'h', "P 32 2c (0 0 -1)extra", "P 32 1 2"},  // only the first 16 characters count
        {'h', "P 32 2c (0 0 -1", ""}, {'h', "P 31 2c", ""}, {'h', "", ""}, {'h', "   ", ""},
    };
    for (const Case& c : cases) {
        const int row = c.by == 'n'   ? vst::find_spgr_row_by_number(std::stoi(c.query))
                        : c.by == 'm' ? vst::find_spgr_row_by_hm(c.query)
                                      : vst::find_spgr_row_by_hall(c.query);
        // Row 0, none found, is the blank element 0 of the table.
        EXPECT_EQ(vst::spgr_info.at(static_cast<std::size_t>(row)).hm_symbol.trimmed(), c.row_symbol)
            << c.by << " \"" << c.query << '"';
    }
}

TEST(SettingsTable, RefillRestoresAndReleaseIsIdempotent) {
    vst::set_spgr_info();
    vst::spgr_info[24].hm_symbol = "changed";
    vst::spgr_info[24].asu[3] = 99;
    vst::spgr_info[611].number = 1;
    vst::set_spgr_info();
    expect_rows_equal_fixture();

    vst::remove_spgr_info();
    EXPECT_TRUE(vst::spgr_info.empty() && vst::spgr_info.capacity() == 0);
    // A released table finds nothing.
    EXPECT_EQ(std::tuple(vst::find_spgr_row_by_number(1), vst::find_spgr_row_by_hm("P 1"),
                         vst::find_spgr_row_by_hall("P 1")), std::tuple(0, 0, 0));
    vst::remove_spgr_info();  // releasing twice is harmless
    vst::set_spgr_info();
    expect_rows_equal_fixture();
}
