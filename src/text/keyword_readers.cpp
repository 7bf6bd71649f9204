// Keyword readers: the text or the numbers that follow a keyword in an array
// of input lines, such as "cell 5.0 6.0 7.0" or "atom Fe1 0.1 0.2 0.3".
#include <algorithm>

#include "text/string_util.hpp"
#include "text/text_internal.hpp"

namespace vorn_string_utilities {

namespace {

// What a keyword search found: the index of the line (from 1) and the text
// after the keyword's word, in the line's own letter case and lower-cased.
struct KeywordHit {
    std::int32_t line_index = 0;
    std::string rest_own_case;
    std::string rest_lower_case;
};

// The first line from `first_line` (at least line 1) to `last_line` (at most
// the last element) that is neither blank nor a comment and contains the
// left-adjusted, lower-cased keyword at its full width, anywhere, also inside
// a longer word.  The keyword's word is cut off the line from the occurrence.
bool find_keyword(std::span<const std::string> lines, std::int32_t first_line, std::int32_t last_line,
                  std::string_view keyword, std::optional<char> comment_char, KeywordHit& hit) {
    const char comment = comment_char.value_or(' ');
    const std::int64_t last = std::min<std::int64_t>(last_line, static_cast<std::int64_t>(lines.size()));
    std::string key(keyword);
    left_adjust(key);
    lcase(key);
    for (std::int64_t i = std::max<std::int32_t>(first_line, 1); i <= last; ++i) {
        std::string line = lines[static_cast<std::size_t>(i - 1)];
        left_adjust(line);
        if (len_trim(line) == 0 || line[0] == '!' || line[0] == comment) continue;
        const std::string lower = l_case(line);
        const std::size_t at = lower.find(key);
        if (at == std::string::npos) continue;
        hit.line_index = static_cast<std::int32_t>(i);
        hit.rest_own_case = line.substr(at);
        cutst(hit.rest_own_case);
        hit.rest_lower_case = lower.substr(at);
        cutst(hit.rest_lower_case);
        return true;
    }
    return false;
}

template <typename T>
void set_zero(std::span<T> values) {
    std::fill(values.begin(), values.end(), T{0});
}

}  // namespace

void read_key_str(std::span<const std::string> lines, std::int32_t& first_line, std::int32_t last_line,
                  std::string_view keyword, std::string& rest, std::optional<char> comment_char) {
    rest = fixed("", rest.size());
    KeywordHit hit;
    if (!find_keyword(lines, first_line, last_line, keyword, comment_char, hit)) return;
    rest = fixed(hit.rest_own_case, rest.size());
    first_line = hit.line_index;
}

void read_key_strval(std::span<const std::string> lines, std::int32_t& first_line, std::int32_t last_line,
                     std::string_view keyword, std::string& rest, std::optional<std::span<float>> real_values,
                     std::optional<std::span<std::int32_t>> integer_values, std::int32_t* number_count,
                     std::optional<char> comment_char) {
    rest = fixed("", rest.size());
    const bool with_numbers = real_values && integer_values && number_count != nullptr;
    if (with_numbers) {
        set_zero(*real_values);
        set_zero(*integer_values);
        *number_count = 0;
    }
    KeywordHit hit;
    if (!find_keyword(lines, first_line, last_line, keyword, comment_char, hit)) return;
    rest = fixed(hit.rest_own_case, rest.size());
    first_line = hit.line_index;
    if (!with_numbers || len_trim(hit.rest_own_case) == 0) return;

    // The word after the keyword comes back alone; the numbers follow it.
    std::string remainder = hit.rest_own_case;
    std::string word(rest.size(), ' ');
    cutst(remainder, nullptr, &word);
    rest = word;
    getnum(remainder, *real_values, *integer_values, *number_count);
    if (*number_count <= 0) {
        set_zero(*real_values);
        set_zero(*integer_values);
    }
}

void read_key_value(std::span<const std::string> lines, std::int32_t& first_line, std::int32_t last_line,
                    std::string_view keyword, std::span<float> real_values, std::span<std::int32_t> integer_values,
                    std::int32_t& number_count, std::optional<char> comment_char) {
    number_count = 0;
    set_zero(real_values);
    set_zero(integer_values);
    KeywordHit hit;
    if (!find_keyword(lines, first_line, last_line, keyword, comment_char, hit)) return;
    getnum(hit.rest_lower_case, real_values, integer_values, number_count);
    if (!err_string) first_line = hit.line_index;
}

void read_key_valuestd(std::span<const std::string> lines, std::int32_t& first_line, std::int32_t last_line,
                       std::string_view keyword, std::span<float> values, std::span<float> uncertainties,
                       std::int32_t& number_count, std::optional<char> comment_char) {
    number_count = 0;
    set_zero(values);
    set_zero(uncertainties);
    KeywordHit hit;
    if (!find_keyword(lines, first_line, last_line, keyword, comment_char, hit)) return;
    getnum_std(hit.rest_lower_case, values, uncertainties, number_count);
    if (!err_string) first_line = hit.line_index;
}

}  // namespace vorn_string_utilities
