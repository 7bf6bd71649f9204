// The table of the 611 tabulated space-group settings: fill, release, look-ups.
#include <cstddef>

#include "tables/sym_table.hpp"
#include "tables/table_data.hpp"
#include "text/string_util.hpp"

namespace vorn_symmetry_tables {

namespace {

// The constant rows in their record form, built once; every fill is then a
// plain copy of these records into the module table.
const std::vector<SpaceGroupInfo>& reference_settings() {
    static const std::vector<SpaceGroupInfo> rows = [] {
        std::vector<SpaceGroupInfo> table(settings_rows.size());
        for (std::size_t i = 1; i < settings_rows.size(); ++i) {
            const SettingsRow& src = settings_rows[i];
            SpaceGroupInfo& row = table[i];
            row.number = src.number;
            row.hm_symbol = src.hm_symbol;
            row.hall_symbol = src.hall_symbol;
            row.laue_index = src.laue_index;
            row.pg_index = src.pg_index;
            row.asu = src.asu;
            row.setting_choice = src.setting_choice;
        }
        return table;
    }();
    return rows;
}

// A text upper-cased and cut or blank-padded to the N characters of a key.
template <std::size_t N>
FixedText<N> upper_fixed(std::string_view text) {
    const std::size_t length = N < text.size() ? N : text.size();
    return FixedText<N>(vorn_string_utilities::u_case(text.substr(0, length)));
}

// A query as the keys are compared with it: left-adjusted, upper-cased, cut or
// padded to N characters.
template <std::size_t N>
FixedText<N> query_key(std::string_view query) {
    const std::size_t first = query.find_first_not_of(' ');
    return upper_fixed<N>(first == std::string_view::npos ? std::string_view() : query.substr(first));
}

// The ASCII upper case of one character (letters only; codes above 127 kept).
char upper_ascii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// The stored text, upper-cased, equals the (upper-case) key.
template <std::size_t N>
bool equal_upper_cased(const FixedText<N>& stored, const FixedText<N>& key) {
    for (std::size_t k = 0; k < N; ++k)
        if (upper_ascii(stored[k]) != key[k]) return false;
    return true;
}

}  // namespace

void set_spgr_info() { spgr_info = reference_settings(); }

void remove_spgr_info() { std::vector<SpaceGroupInfo>().swap(spgr_info); }

std::int32_t find_spgr_row_by_number(std::int32_t number) {
    for (std::size_t i = 1; i < spgr_info.size(); ++i)
        if (spgr_info[i].number == number) return static_cast<std::int32_t>(i);
    return 0;
}

std::int32_t find_spgr_row_by_hm(std::string_view symbol) {
    // The stored symbols are upper case: only the query needs converting.
    const FixedText<12> key = query_key<12>(symbol);
    for (std::size_t i = 1; i < spgr_info.size(); ++i)
        if (same_key(spgr_info[i].hm_symbol, key)) return static_cast<std::int32_t>(i);
    return 0;
}

std::int32_t find_spgr_row_by_hall(std::string_view symbol) {
    // Stored Hall symbols keep their lower-case axis and translation letters
    // ("-P 2ybc"): each row is upper-cased character by character as it is
    // compared, so most rows are left at their first characters.
    const FixedText<16> key = query_key<16>(symbol);
    for (std::size_t i = 1; i < spgr_info.size(); ++i)
        if (equal_upper_cased(spgr_info[i].hall_symbol, key)) return static_cast<std::int32_t>(i);
    return 0;
}

}  // namespace vorn_symmetry_tables
