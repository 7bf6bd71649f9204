// Fixed-width, blank-padded texts and 1-based access, as the records of the
// library store them: a field of N characters, right-padded with blanks, no
// terminator, compared without regard to trailing blanks.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace vorn_string_utilities {

// Length of a text without its trailing blanks.
inline std::size_t len_trim(std::string_view s) {
    std::size_t n = s.size();
    while (n > 0 && s[n - 1] == ' ') --n;
    return n;
}

// The text without its trailing blanks.
inline std::string_view trim_right(std::string_view s) { return s.substr(0, len_trim(s)); }

// The text without leading and trailing blanks.
inline std::string_view trim_both(std::string_view s) {
    std::size_t b = 0;
    while (b < s.size() && s[b] == ' ') ++b;
    return trim_right(s.substr(b));
}

// Fixed-width comparison: the shorter text counts as padded with blanks.
inline bool fixed_equal(std::string_view a, std::string_view b) {
    return trim_right(a) == trim_right(b);
}

// A text of exactly n characters: cut, or padded with blanks (assignment to a
// character variable of length n).
inline std::string fixed(std::string_view s, std::size_t n) {
    std::string r(s.substr(0, n < s.size() ? n : s.size()));
    r.resize(n, ' ');
    return r;
}

// A character field of N characters.
template <std::size_t N>
struct FixedText {
    std::array<char, N> chars;

    FixedText() { chars.fill(' '); }
    FixedText(std::string_view s) { assign(s); }  // NOLINT: implicit like a Fortran assignment
    FixedText(const char* s) : FixedText(std::string_view(s)) {}

    void assign(std::string_view s) {
        chars.fill(' ');
        for (std::size_t i = 0; i < N && i < s.size(); ++i) chars[i] = s[i];
    }
    FixedText& operator=(std::string_view s) { assign(s); return *this; }
    FixedText& operator=(const char* s) { assign(std::string_view(s)); return *this; }

    static constexpr std::size_t size() { return N; }
    std::string_view view() const { return std::string_view(chars.data(), N); }
    std::string_view trimmed() const { return trim_right(view()); }
    std::string str() const { return std::string(view()); }
    std::size_t len_trim() const { return vorn_string_utilities::len_trim(view()); }
    bool blank() const { return len_trim() == 0; }

    char& operator[](std::size_t i) { return chars[i]; }            // 0-based
    char operator[](std::size_t i) const { return chars[i]; }
    char& at1(std::size_t i) { return chars[i - 1]; }                // 1-based
    char at1(std::size_t i) const { return chars[i - 1]; }

    template <std::size_t M>
    bool operator==(const FixedText<M>& o) const { return fixed_equal(view(), o.view()); }
    bool operator==(std::string_view s) const { return fixed_equal(view(), s); }
    bool operator==(const char* s) const { return fixed_equal(view(), std::string_view(s)); }
};

}  // namespace vorn_string_utilities
