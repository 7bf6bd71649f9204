// Numbers read from free text: every number of a line, a decimal or a
// fraction p/q, the coefficients of a linear expression in three symbols
// ("2a-1/2b+c"), a matrix of three such expressions ("a+b,-a+b,c") and the
// column count of a numeric format text.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "text/string_util.hpp"
#include "text/text_internal.hpp"

namespace vorn_string_utilities {

namespace {

constexpr std::string_view not_a_number = "The variable cannot be computed as a number in GETNUM ";
constexpr std::string_view digit_limits = "Limits of digit variable exceeded in GETNUM";
constexpr std::string_view getnum_arrays_full = "Dimension of number arrays exceeded in GETNUM";
constexpr std::string_view illegal_symbol = " The provided symbol is illegal: ";
constexpr std::string_view illegal_format = "Illegal format string passed to subroutine:  NumCol_from_NumFmt";

bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_list_separator(char c) { return c == ' ' || c == '\t' || c == ',' || c == '/'; }

// Next item of a list-directed read: blanks and tabs before it are skipped;
// an item ends at a blank, tab, comma or slash.  False at the end of the
// text, at a null value (a comma first) and at a slash (end of input).
bool next_list_item(std::string_view text, std::size_t& pos, std::string_view& item) {
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
    if (pos >= text.size() || text[pos] == ',' || text[pos] == '/') return false;
    const std::size_t start = pos;
    while (pos < text.size() && !is_list_separator(text[pos])) ++pos;
    item = text.substr(start, pos - start);
    // Step over the separator that ends this item (blanks first, then at most
    // one comma), so that the next item starts after it.
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
    if (pos < text.size() && text[pos] == ',') ++pos;
    return true;
}

// The first item of a text read in free (list-directed) form as one 32-bit
// real.  False when the text holds no readable real.
bool read_list_real(std::string_view text, float& value) {
    std::size_t pos = 0;
    std::string_view item;
    if (!next_list_item(text, pos, item)) return false;
    float v = 0.0f;
    if (!read_f_field(item, 0, v)) return false;
    value = v;
    return true;
}

// The first `count` items of a text read in free form as 32-bit integers.
bool read_list_integers(std::string_view text, std::int32_t* values, int count) {
    std::size_t pos = 0;
    for (int i = 0; i < count; ++i) {
        std::string_view item;
        if (!next_list_item(text, pos, item)) return false;
        if (!read_i_field(item, values[i])) return false;
    }
    return true;
}

// One word of `getnum`: its real value and the integer form of its mantissa.
// False, with the error pair set, when the word is not a number.
bool read_number_word(std::string_view word, float& real_value, std::int32_t& integer_value) {
    for (char c : word) {
        if (c != 'E' && !is_digit(c) && c != '.' && c != '-') {
            set_err_string(not_a_number);
            return false;
        }
    }
    const std::size_t n = word.size();
    const bool negative = n > 0 && word[0] == '-';
    const std::size_t start = negative ? 1 : 0;
    const std::size_t e_pos = word.find('E');
    const std::size_t mantissa_end = e_pos == std::string_view::npos ? n : e_pos;
    const std::size_t dot = word.find('.');
    // Positions counted from 1: the first mantissa digit stands at the power
    // of ten (point position) - (start position) - 1.
    const std::int64_t point = dot == std::string_view::npos ? static_cast<std::int64_t>(mantissa_end) + 1
                                                              : static_cast<std::int64_t>(dot) + 1;
    std::int64_t k = point - (static_cast<std::int64_t>(start) + 1) - 1;

    float sum = 0.0f;
    std::int32_t integer_form = 0;
    for (std::size_t i = start; i < mantissa_end; ++i) {
        const char c = word[i];
        if (c == '.') continue;
        if (c == '-') {
            set_err_string(digit_limits);
            return false;
        }
        const int d = c - '0';
        // Digit by digit in single precision.  A zero digit adds nothing (it
        // is skipped so that a power beyond the range of 32-bit reals cannot
        // turn a leading zero into 0 * infinity).
        if (d != 0) {
            const auto power = static_cast<std::int32_t>(std::clamp<std::int64_t>(k, -1000, 1000));
            sum = sum + static_cast<float>(d) * power_of_ten(power);
        }
        if (k >= 0) integer_form = wrap_add(wrap_mul(integer_form, 10), d);
        --k;
    }

    bool has_exponent = e_pos != std::string_view::npos;
    std::int64_t exponent = 0;
    if (has_exponent) {
        std::size_t first = e_pos + 1;
        bool exponent_negative = false;
        if (first < n && word[first] == '-') {
            exponent_negative = true;
            ++first;
        }
        for (std::size_t i = first; i < n; ++i) {
            if (!is_digit(word[i])) {
                set_err_string(digit_limits);
                return false;
            }
            exponent = exponent * 10 + (word[i] - '0');
            // An exponent beyond the 32-bit range cannot be held.
            if (exponent > 2147483647) {
                set_err_string(digit_limits);
                return false;
            }
        }
        if (exponent_negative) exponent = -exponent;
    }

    float value = (negative ? -1.0f : 1.0f) * sum;
    if (has_exponent) value = value * power_of_ten(static_cast<std::int32_t>(exponent));
    // A number beyond the range of 32-bit reals is not stored.
    if (!std::isfinite(value)) {
        set_err_string(digit_limits);
        return false;
    }
    real_value = value;
    integer_value = negative ? wrap_neg(integer_form) : integer_form;
    return true;
}

void set_illegal_symbol(std::string_view text) {
    set_err_string(std::string(illegal_symbol) + std::string(trim_right(text)));
}

}  // namespace

void getnum(std::string_view line, std::span<float> real_values, std::span<std::int32_t> integer_values,
            std::int32_t& number_count) {
    init_err_string();
    number_count = 0;
    std::fill(real_values.begin(), real_values.end(), 0.0f);
    std::fill(integer_values.begin(), integer_values.end(), 0);
    const std::size_t capacity = std::min(real_values.size(), integer_values.size());

    std::string copy = u_case(line);  // "e" counts as "E"
    std::string word(copy.size(), ' ');
    for (;;) {
        std::int32_t word_length = 0;
        cutst(copy, nullptr, &word, &word_length);
        if (word_length == 0) return;
        float real_value = 0.0f;
        std::int32_t integer_value = 0;
        if (!read_number_word(std::string_view(word).substr(0, static_cast<std::size_t>(word_length)), real_value,
                              integer_value)) {
            return;
        }
        if (static_cast<std::size_t>(number_count) >= capacity) {
            set_err_string(getnum_arrays_full);
            return;
        }
        real_values[static_cast<std::size_t>(number_count)] = real_value;
        integer_values[static_cast<std::size_t>(number_count)] = integer_value;
        ++number_count;
    }
}

void read_fract(std::string_view string, float& value) {
    const std::size_t n = len_trim(string);
    if (n == 0 || (n == 1 && string[0] == '+')) {
        value = 1.0f;
        return;
    }
    if (n == 1 && string[0] == '-') {
        value = -1.0f;
        return;
    }
    const std::size_t slash = string.find('/');
    if (slash == std::string_view::npos) {
        float v = 0.0f;
        if (!read_list_real(string, v)) {
            value = 0.0f;
            set_illegal_symbol(string);
            return;
        }
        value = v;
        return;
    }
    const std::string_view numerator_text = string.substr(0, slash);
    const std::string_view denominator_text = string.substr(slash + 1);
    float p = 0.0f;
    float q = 0.0f;
    if (!read_list_real(numerator_text, p)) {
        value = 0.0f;
        set_illegal_symbol(numerator_text);
        return;
    }
    if (!read_list_real(denominator_text, q)) {
        value = 0.0f;
        set_illegal_symbol(denominator_text);
        return;
    }
    const float quotient = p / q;
    // A zero denominator (or an overflowing quotient) is no fraction.
    if (q == 0.0f || !std::isfinite(quotient)) {
        value = 0.0f;
        set_illegal_symbol(string);
        return;
    }
    value = quotient;
}

void get_num_string(std::string_view expression, std::array<float, 3>& coefficients,
                    const std::array<char, 3>& codes) {
    coefficients = {0.0f, 0.0f, 0.0f};
    std::vector<std::int32_t> plus(expression.size() + 1);
    std::vector<std::int32_t> minus(expression.size() + 1);
    std::int32_t plus_count = 0;
    std::int32_t minus_count = 0;
    get_separator_pos(expression, '+', plus, plus_count);
    get_separator_pos(expression, '-', minus, minus_count);

    // A new term begins at every sign that is not the first character.
    std::vector<std::size_t> starts{1};
    for (std::int32_t i = 0; i < plus_count; ++i) starts.push_back(static_cast<std::size_t>(plus[i]));
    for (std::int32_t i = 0; i < minus_count; ++i) starts.push_back(static_cast<std::size_t>(minus[i]));
    std::sort(starts.begin() + 1, starts.end());
    starts.erase(std::remove(starts.begin() + 1, starts.end(), std::size_t{1}), starts.end());
    if (starts.size() > 3) {
        set_illegal_symbol(expression);
        return;
    }

    std::array<bool, 3> seen{false, false, false};
    for (std::size_t t = 0; t < starts.size(); ++t) {
        const std::size_t from = starts[t] - 1;
        const std::size_t to = t + 1 < starts.size() ? starts[t + 1] - 1 : expression.size();
        std::string_view raw = expression.substr(from, to - from);
        if (!raw.empty() && raw[0] == '+') raw.remove_prefix(1);
        std::string term = pack_string(raw);

        std::size_t code = 3;
        std::size_t at = std::string::npos;
        for (std::size_t c = 0; c < 3 && code == 3; ++c) {
            at = term.find(codes[c]);
            if (at != std::string::npos) code = c;
        }
        if (code == 3) continue;
        if (seen[code]) {
            set_illegal_symbol(expression);
            return;
        }
        seen[code] = true;

        // The code's letter stands for a coefficient of 1 where nothing else
        // gives it ("a", "a/2", "-a/2"); elsewhere it just goes ("2a", "1/2a").
        const std::size_t width = len_trim(term);
        const bool slash_follows = at + 1 < term.size() && term[at + 1] == '/';
        bool one = false;
        if (at == 0) one = width == 1 || slash_follows;
        else one = term[at - 1] == '-' && slash_follows;
        term[at] = one ? '1' : ' ';
        read_fract(pack_string(term), coefficients[code]);
    }
}

void get_mat_from_symb(std::string_view symbol, std::array<std::array<float, 3>, 3>& matrix,
                       const std::array<char, 3>& codes) {
    for (auto& row : matrix) row = {0.0f, 0.0f, 0.0f};
    const std::size_t first_comma = symbol.find(',');
    const std::size_t last_comma = symbol.rfind(',');
    std::array<std::string_view, 3> parts;
    if (first_comma == std::string_view::npos) {
        parts = {std::string_view(), std::string_view(), symbol};
    } else {
        parts[0] = symbol.substr(0, first_comma);
        parts[1] = last_comma > first_comma ? symbol.substr(first_comma + 1, last_comma - first_comma - 1)
                                            : std::string_view();
        parts[2] = symbol.substr(last_comma + 1);
    }
    for (std::size_t i = 0; i < 3; ++i) {
        const std::string expression(trim_right(pack_string(parts[i])));
        // A failing expression leaves its row zero; the error stays raised.
        const bool raised_before = err_string;
        err_string = false;
        std::array<float, 3> row{};
        get_num_string(expression, row, codes);
        const bool failed = err_string;
        err_string = raised_before || failed;
        if (!failed) matrix[i] = row;
    }
}

void numcol_from_numfmt(std::string_view format_text, std::int32_t& column_count) {
    column_count = 0;
    const std::string packed(trim_right(pack_string(u_case(format_text))));
    // Drop the enclosing parentheses.
    const std::string inner = packed.size() >= 2 ? packed.substr(1, packed.size() - 2) : std::string();
    std::size_t from = 0;
    for (;;) {
        const std::size_t comma = inner.find(',', from);
        std::string field = inner.substr(from, comma == std::string::npos ? std::string::npos : comma - from);
        field = field.substr(0, std::min<std::size_t>(field.size(), 10));
        field = field.substr(0, field.find('.'));
        const std::size_t letter = field.find_first_of("FIGEX");
        if (letter == std::string::npos) {
            column_count = 0;
            set_err_string(illegal_format);
            return;
        }
        const bool skip = field[letter] == 'X';
        field[letter] = ' ';
        std::int32_t repeat = 1;
        std::int32_t width = 0;
        if (letter == 0 || skip) {
            // "F10" (no repeat count) or "5X" (the count is the width).
            if (!read_list_integers(field, &width, 1)) width = 0;
        } else {
            std::int32_t pair[2] = {0, 0};
            if (read_list_integers(field, pair, 2)) {
                repeat = pair[0];
                width = pair[1];
            }
        }
        column_count = wrap_add(column_count, wrap_mul(repeat, width));
        if (comma == std::string::npos) break;
        from = comma + 1;
    }
    if (column_count > 0) return;
    column_count = 0;
    set_err_string(illegal_format);
}

}  // namespace vorn_string_utilities
