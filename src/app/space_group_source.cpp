// The space group of the compound: its symbol from the CIF that the
// refinement program wrote beside the reflection file, or from the user.
#include <algorithm>
#include <filesystem>
#include <istream>
#include <ostream>

#include "app/borq.hpp"

namespace borq {

namespace {

constexpr std::size_t text_width = 240;

// The CIF key of the space-group symbol that each refinement program writes.
std::string_view cif_key(bool shelx_input) {
    return shelx_input ? std::string_view("_space_group_name_H-M_alt")
                       : std::string_view("_symmetry_space_group_name_H-M");
}

// A CIF value may also be quoted with double quotes ("P 21 21 21").  When the
// value's first non-blank character is a double quote and a closing one
// follows (a double quote at the end of the text or before white space, as
// CIF delimits quoted values), that one pair is removed.  Other double quotes
// stay: they are part of Hall symbols such as -P 6 2".
void remove_enclosing_double_quotes(std::string& text) {
    const std::size_t open = text.find_first_not_of(" \t");
    if (open == std::string::npos || text[open] != '"') return;
    for (std::size_t close = open + 1; close < text.size(); ++close) {
        if (text[close] == '"' && (close + 1 == text.size() || text[close + 1] == ' ' || text[close + 1] == '\t')) {
            text.erase(close, 1);
            text.erase(open, 1);
            text.resize(text_width, ' ');
            return;
        }
    }
}

}  // namespace

std::string space_group_text(const CompoundCode& code, bool shelx_input, std::ostream& out, std::istream& in) {
    const std::string cif_name = code_name(code) + ".cif";
    std::string line;
    std::error_code ignored;
    if (std::filesystem::exists(cif_name, ignored)) {
        out << "Finding space group in cif...\n";
        std::ifstream cif = open_for_reading(cif_name);
        const std::string_view key = cif_key(shelx_input);
        for (;;) {
            if (!read_record(cif, line, text_width)) {
                throw InputFailure{"reading " + cif_name,
                                   "end of file before a line beginning with \"" + std::string(key) + "\""};
            }
            if (std::string_view(line).substr(0, key.size()) == key) break;
        }
        // The value is the rest of the key's line; apostrophes quote it.
        std::string text = line.substr(key.size());
        text.resize(text_width, ' ');
        std::replace(text.begin(), text.end(), '\'', ' ');
        remove_enclosing_double_quotes(text);
        return text;
    }

    out << "Cif not found\n";
    out << "Please enter space group (P 21 21 21) => ";
    out.flush();
    if (!read_record(in, line, text_width))
        throw InputFailure{"reading standard input", "end of input before the space-group symbol"};
    if (line.find_first_not_of(' ') == std::string::npos) line = vorn_string_utilities::fixed("P 21 21 21", text_width);
    return line;
}

void obtain_space_group(const CompoundCode& code, bool shelx_input, SpaceGroup& group, std::ostream& out,
                        std::istream& in) {
    const std::string text = space_group_text(code, shelx_input, out, in);
    // The error flag is not looked at: a symbol that resolves to nothing
    // leaves the record's symbol "unknown" and null operators, and the run
    // goes on with no reflection paired.
    vorn_crystallographic_symmetry::set_spacegroup(text, group);
    out << "Space group is: " << vorn_string_utilities::trim_both(group.hm_symbol.view()) << '\n';
}

}  // namespace borq
