// Letter case, blank removal, words and separators of free text, and the
// comparison of two sets of texts (operator lists of space groups).
#include <algorithm>
#include <cstddef>

#include "text/string_util.hpp"
#include "text/text_internal.hpp"

namespace vorn_string_utilities {

namespace {

// Upper- or lower-cases the ASCII letters of a text in place; codes above 127
// and everything that is not a letter stay as they are.
void change_case(std::string& s, bool to_upper) {
    const std::size_t n = len_trim(s);
    for (std::size_t i = 0; i < n; ++i) {
        char& c = s[i];
        if (to_upper && c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
        else if (!to_upper && c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    }
}

}  // namespace

std::string l_case(std::string_view string) {
    std::string s(string);
    change_case(s, false);
    return s;
}

std::string u_case(std::string_view string) {
    std::string s(string);
    change_case(s, true);
    return s;
}

void lcase(std::string& string) { change_case(string, false); }
void ucase(std::string& string) { change_case(string, true); }

std::string pack_string(std::string_view string) {
    std::string packed;
    packed.reserve(string.size());
    for (char c : string) {
        if (c != ' ') packed.push_back(c);
    }
    packed.resize(len_trim(string), ' ');
    return packed;
}

std::string strip_string(std::string_view string, std::string_view to_strip) {
    const std::size_t width = len_trim(string);
    const std::string_view key = trim_right(to_strip);
    // An all-blank key matches just after the end: the text stays whole.
    if (key.empty()) return std::string(string.substr(0, width));
    const std::size_t p = string.rfind(key);
    if (p == std::string_view::npos) return std::string(string.substr(0, width));
    return fixed(string.substr(0, p), width);
}

void cutst(std::string& line, std::int32_t* line_length, std::string* word, std::int32_t* word_length) {
    if (line_length != nullptr) *line_length = 0;
    if (word_length != nullptr) *word_length = 0;
    if (word != nullptr) word->assign(word->size(), ' ');
    left_adjust(line);
    if (len_trim(line) == 0) return;

    const std::size_t blank = line.find(' ');
    std::string_view cut;  // the word cut off the line
    std::size_t length = 0;
    if (line.size() == 1) {
        cut = std::string_view(line);
        length = 1;
    } else if (blank == std::string::npos) {
        cut = std::string_view(line);
        length = len_trim(line);
    } else {
        cut = std::string_view(line).substr(0, blank);
        length = blank;
    }
    if (word != nullptr) *word = fixed(cut, word->size());
    if (word_length != nullptr) *word_length = static_cast<std::int32_t>(length);

    if (line.size() == 1 || blank == std::string::npos) {
        line.assign(line.size(), ' ');
    } else {
        line = fixed(std::string_view(line).substr(blank), line.size());
        left_adjust(line);
    }
    if (line_length != nullptr) *line_length = static_cast<std::int32_t>(len_trim(line));
}

void getword(std::string_view line, std::span<std::string> dire, std::int32_t& word_count) {
    init_err_string();
    word_count = 0;
    std::string copy(line);
    std::string word;
    for (;;) {
        left_adjust(copy);
        std::size_t length = 0;
        if (!copy.empty() && copy[0] == '"') {
            const std::size_t close = copy.find('"', 1);
            if (close == std::string::npos) {
                set_err_string("Non balanced quotes!");
                return;
            }
            // Leading blanks inside the quotes are kept; trailing ones are not.
            word = copy.substr(1, close - 1);
            length = len_trim(word);
            copy = fixed(std::string_view(copy).substr(close + 1), copy.size());
        } else {
            word.assign(copy.size(), ' ');
            std::int32_t cut_length = 0;
            cutst(copy, nullptr, &word, &cut_length);
            length = static_cast<std::size_t>(cut_length);
        }
        // An exhausted line, or an empty quoted group, ends the list.
        if (length == 0) return;
        ++word_count;
        if (static_cast<std::size_t>(word_count) > dire.size()) {
            set_err_string("Dimension of DIRE exceeded");
            return;
        }
        dire[static_cast<std::size_t>(word_count) - 1] = word.substr(0, length);
    }
}

void get_separator_pos(std::string_view line, char separator, std::span<std::int32_t> separator_positions,
                       std::int32_t& count) {
    count = 0;
    const std::size_t n = len_trim(line);
    // The cursor may run past the trimmed end after a quoted group (the
    // steps are counted independently of it), but never past the declared
    // width of the line.
    std::size_t j = 0;
    for (std::size_t step = 1; step <= n; ++step) {
        ++j;
        if (j > line.size()) return;
        if (line[j - 1] == '"') {
            for (std::size_t advance = 1; advance <= n; ++advance) {
                ++j;
                if (j > line.size()) return;
                if (line[j - 1] == '"') break;
            }
        }
        if (line[j - 1] == separator) {
            if (static_cast<std::size_t>(count) >= separator_positions.size()) {
                set_err_string("Dimension of separator positions exceeded");
                return;
            }
            ++count;
            separator_positions[static_cast<std::size_t>(count) - 1] = static_cast<std::int32_t>(j);
        }
    }
}

bool equal_sets_text(std::span<const std::string> set1, std::int32_t count1, std::size_t width1,
                     std::span<const std::string> set2, std::int32_t count2, std::size_t width2) {
    if (count1 != count2 || width1 != width2) return false;
    const std::size_t m1 = count1 <= 0 ? 0 : std::min(static_cast<std::size_t>(count1), set1.size());
    const std::size_t m2 = count2 <= 0 ? 0 : std::min(static_cast<std::size_t>(count2), set2.size());
    for (std::size_t i = 0; i < m1; ++i) {
        const std::string text = fixed(set1[i], width1);
        bool found = false;
        for (std::size_t j = 0; j < m2 && !found; ++j) found = fixed_equal(text, fixed(set2[j], width2));
        if (!found) return false;
    }
    return true;
}

}  // namespace vorn_string_utilities
