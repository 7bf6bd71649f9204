// The generator table of the 230 standard settings: fill and look-up.
#include <cstddef>
#include <cstdint>
#include <optional>

#include "tables/sym_table.hpp"
#include "tables/table_data.hpp"
#include "text/string_util.hpp"

namespace vorn_symmetry_tables {

namespace {

constexpr std::string_view failed_lookup_message =
    " Error in the symbol or number of the space group";

// Columns 1-10 of a stored text hold the symbol; from column 12 the generators.
constexpr std::size_t symbol_columns = 10;
constexpr std::size_t generators_first_column = 12;

// The first item of a free-format read of one integer: leading blanks are
// skipped and the item ends at a blank, a comma, a slash or the end of the
// text.  Nothing when the text is blank, the item is empty (a text starting
// with "," or "/"), not wholly an integer, or outside the 32-bit range.
std::optional<std::int32_t> read_leading_integer(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && text[pos] == ' ') ++pos;
    std::size_t end = pos;
    while (end < text.size() && text[end] != ' ' && text[end] != ',' && text[end] != '/') ++end;
    std::string_view item = text.substr(pos, end - pos);
    if (item.empty()) return std::nullopt;

    bool negative = false;
    if (item.front() == '+' || item.front() == '-') {
        negative = item.front() == '-';
        item.remove_prefix(1);
    }
    if (item.empty()) return std::nullopt;
    std::int64_t value = 0;
    for (char c : item) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > std::int64_t{2147483648}) return std::nullopt;
    }
    if (negative) value = -value;
    if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

// Columns 12-120 of text n into the caller's text, blank-padded or cut.
void copy_generators(std::int32_t n, std::span<char> gen_text) {
    const std::string_view generators =
        spg_gen[static_cast<std::size_t>(n)].view().substr(generators_first_column - 1);
    for (std::size_t i = 0; i < gen_text.size(); ++i)
        gen_text[i] = i < generators.size() ? generators[i] : ' ';
}

}  // namespace

void set_it_gen() {
    for (std::size_t n = 1; n < spg_gen.size(); ++n) spg_gen[n] = generator_texts[n];
}

void get_generators(std::string_view spg_symbol, std::span<char> gen_text) {
    err_symtab = false;
    set_it_gen();

    bool found = false;
    if (const std::optional<std::int32_t> number = read_leading_integer(spg_symbol)) {
        if (*number >= 1 && *number <= num_spg_gen) {
            copy_generators(*number, gen_text);
            found = true;
        } else {
            copy_generators(1, gen_text);  // the identity, and the look-up fails
        }
    } else {
        // The whole query, neither trimmed nor left-adjusted, against the symbol columns.
        const std::string key = vorn_string_utilities::u_case(spg_symbol);
        for (std::int32_t n = 1; n <= num_spg_gen && !found; ++n) {
            const std::string_view symbol =
                spg_gen[static_cast<std::size_t>(n)].view().substr(0, symbol_columns);
            if (vorn_string_utilities::fixed_equal(key, vorn_string_utilities::u_case(symbol))) {
                copy_generators(n, gen_text);
                found = true;
            }
        }
    }

    if (!found) {
        err_symtab = true;
        err_symtab_mess = failed_lookup_message;
    }
}

void get_generators(std::string_view spg_symbol, std::string& gen_text) {
    get_generators(spg_symbol, std::span<char>(gen_text.data(), gen_text.size()));
}

}  // namespace vorn_symmetry_tables
