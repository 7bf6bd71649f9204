// The reflection file <code>.fcf: which program wrote it (SHELX LIST 4 or
// CRYSTALS layout), how many reflection lines it holds, and the reflections
// themselves, read from fixed columns with the rules of formatted input.
#include <algorithm>
#include <array>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "app/borq.hpp"
#include "text/fortran_format.hpp"

namespace borq {

namespace {

using vorn_string_utilities::read_f_field;
using vorn_string_utilities::read_i_field;

constexpr std::size_t scan_width = 240;     // header and counting passes
constexpr std::size_t reflection_width = 80;  // the reader sees 80 columns

// The fixed columns of one layout (1-based first column and width).
struct Field {
    std::size_t first;
    std::size_t width;
    const char* name;
};
struct Layout {
    std::string_view marker;   // the last header line begins with this text
    Field fo2, sigma, fc2;     // real fields, two implied decimals
    std::size_t status_column;
    bool comment_ends_block;   // a line beginning with "#" ends the reflections
};

// SHELX LIST 4: h k l (3I4), Fc2 (F14), Fo2 (F14), sigma (F13), status in 55.
constexpr Layout shelx_layout{" _refln_observed_status", {27, 14, "Fo2"}, {41, 13, "sigma(Fo2)"},
                              {13, 14, "Fc2"}, 55, false};
// CRYSTALS: h k l (3I4), Fo2, Fc2, sigma (3F12), status in 50.  Current
// CRYSTALS writes comment lines straight after the last reflection.
constexpr Layout crystals_layout{"_refln_refinement_weight", {13, 12, "Fo2"}, {37, 12, "sigma(Fo2)"},
                                 {25, 12, "Fc2"}, 50, true};

const Layout& layout_of(bool shelx_input) { return shelx_input ? shelx_layout : crystals_layout; }

std::string fcf_name(const CompoundCode& code) { return code_name(code) + ".fcf"; }

// Reads lines up to and including the header's last line; line_number counts
// the lines read.  A file without that line is a failed input.  The marker
// ends in a non-blank character, so a line that begins with it is exactly a
// record whose first columns hold it.
void skip_header(BlockLines& lines, const Layout& layout, const std::string& file_name,
                 std::int32_t& line_number) {
    std::string_view line;
    while (next_line(lines, line)) {
        ++line_number;
        if (line.substr(0, scan_width).starts_with(layout.marker)) return;
    }
    throw InputFailure{"reading " + file_name,
                       "end of file before the header line beginning with \"" + std::string(layout.marker) + "\""};
}

// The end of the reflection block: a line blank in all its scanned columns
// (those past the line's end count as blanks) or, in the CRYSTALS layout, a
// comment line.
bool ends_block(std::string_view line, const Layout& layout) {
    if (layout.comment_ends_block && !line.empty() && line[0] == '#') return true;
    return line.substr(0, scan_width).find_first_not_of(' ') == std::string_view::npos;
}

[[noreturn]] void bad_field(const std::string& file_name, std::int32_t line_number, std::size_t first,
                            std::size_t width, const char* name, std::string_view text) {
    throw InputFailure{"reading " + file_name + ", line " + std::to_string(line_number),
                       "bad value in columns " + std::to_string(first) + "-" + std::to_string(first + width - 1) +
                           " (" + name + "): \"" + std::string(text) + "\""};
}

void read_real(std::string_view line, const Field& field, const std::string& file_name,
               std::int32_t line_number, float& value) {
    const std::string_view text = line.substr(field.first - 1, field.width);
    if (!read_f_field(text, 2, value)) bad_field(file_name, line_number, field.first, field.width, field.name, text);
}

// One reflection line into its rows of hkl_info and fsq_data.
void read_reflection(std::string_view text_line, const Layout& layout, const std::string& file_name,
                     std::int32_t line_number, HklInfoRow& row, FsqDataRow& values) {
    static const char* const index_names[3] = {"h", "k", "l"};
    // A line shorter than the record is padded with blanks in `padded`;
    // longer lines are read in place, cut to the record.
    std::array<char, reflection_width> padded;
    std::string_view line = text_line.substr(0, reflection_width);
    if (line.size() < reflection_width) {
        std::fill(std::copy(line.begin(), line.end(), padded.begin()), padded.end(), ' ');
        line = std::string_view(padded.data(), padded.size());
    }
    std::int32_t* const indices[3] = {&row.h, &row.k, &row.l};
    for (std::size_t c = 0; c < 3; ++c) {
        const std::string_view text = line.substr(4 * c, 4);
        if (!read_i_field(text, *indices[c])) bad_field(file_name, line_number, 4 * c + 1, 4, index_names[c], text);
    }
    row.omitted = line[layout.status_column - 1] == 'o' ? 0 : 1;

    // The order of reading is the writing program's order of columns.
    if (&layout == &shelx_layout) {
        read_real(line, layout.fo2, file_name, line_number, values.fo2);
        read_real(line, layout.sigma, file_name, line_number, values.sigma_fo2);
        read_real(line, layout.fc2, file_name, line_number, values.fc2);
    } else {
        read_real(line, layout.fc2, file_name, line_number, values.fc2);
        read_real(line, layout.sigma, file_name, line_number, values.sigma_fo2);
        read_real(line, layout.fo2, file_name, line_number, values.fo2);
    }
}

void read_data(const CompoundCode& code, std::int32_t n_refl, HklInfo& hkl_info, FsqData& fsq_data,
               const Layout& layout) {
    const std::int32_t rows = n_refl > 0 ? n_refl : 0;
    hkl_info.assign(static_cast<std::size_t>(rows) + 1, HklInfoRow{});
    fsq_data.assign(static_cast<std::size_t>(rows) + 1, FsqDataRow{});

    const std::string file_name = fcf_name(code);
    std::ifstream in = open_for_reading(file_name);
    BlockLines lines = block_lines(in);
    std::int32_t line_number = 0;
    skip_header(lines, layout, file_name, line_number);

    // The lines come in batches of those whole in the block; each batch is
    // read by threads in consecutive slices, each into its own rows.  A
    // malformed line ends the run with the first one in the file, the slices
    // being in file order.
    std::vector<std::string_view> batch;
    for (std::int32_t i = 1; i <= rows;) {
        if (!next_lines(lines, batch, static_cast<std::size_t>(rows - i + 1))) {
            throw InputFailure{"reading " + file_name + ", line " + std::to_string(line_number + 1),
                               "end of file after " + std::to_string(i - 1) + " of " + std::to_string(rows) +
                                   " reflection lines"};
        }
        const auto count = static_cast<std::int32_t>(batch.size());
        run_slices(0, count - 1, slice_count(count, 4096), [&](std::int32_t, std::int32_t first, std::int32_t last) {
            for (std::int32_t b = first; b <= last; ++b)
                read_reflection(batch[static_cast<std::size_t>(b)], layout, file_name, line_number + 1 + b,
                                hkl_info[static_cast<std::size_t>(i + b)], fsq_data[static_cast<std::size_t>(i + b)]);
        });
        i += count;
        line_number += count;
    }
}

}  // namespace

// ---- Layout detection ----

void toupper(std::string& text, std::int32_t length) {
    const std::size_t n = length <= 0 ? 0 : std::min(text.size(), static_cast<std::size_t>(length));
    for (std::size_t i = 0; i < n; ++i)
        if (text[i] >= 'a' && text[i] <= 'z') text[i] = static_cast<char>(text[i] - 'a' + 'A');
}

void find_string(std::string_view line, std::int32_t& result) {
    // Working copy: leading blanks removed, 240 columns, upper case.
    const std::size_t first = line.find_first_not_of(' ');
    std::string work = vorn_string_utilities::fixed(
        first == std::string_view::npos ? std::string_view() : line.substr(first), scan_width);
    toupper(work, static_cast<std::int32_t>(scan_width));
    const std::string_view text(work);
    for (std::size_t c = 0; c < scan_width; ++c) {
        if (c + 5 <= scan_width && text.substr(c, 5) == "SHELX") {
            result = 1;
            return;
        }
        if (c + 8 <= scan_width && text.substr(c, 8) == "CRYSTALS") {
            result = 2;
            return;
        }
    }
}

void sx_or_cry(const CompoundCode& code, bool& shelx_input, std::ostream& out) {
    shelx_input = false;
    std::int32_t result = 0;
    std::ifstream in = open_for_reading(fcf_name(code));
    std::string line;
    while (read_record(in, line, scan_width)) {
        find_string(line, result);
        if (result == 1) {
            out << "SHELX format files\n";
            shelx_input = true;
            return;
        }
        if (result == 2) {
            out << "CRYSTALS format files\n";
            return;
        }
    }
}

// ---- Counting and reading ----

std::int32_t count_reflections(const CompoundCode& code, bool shelx_input) {
    const Layout& layout = layout_of(shelx_input);
    const std::string file_name = fcf_name(code);
    std::ifstream in = open_for_reading(file_name);
    BlockLines lines = block_lines(in);
    std::int32_t line_number = 0;
    skip_header(lines, layout, file_name, line_number);
    std::int32_t n_refl = 0;
    std::string_view line;
    while (next_line(lines, line) && !ends_block(line, layout)) ++n_refl;
    return n_refl;
}

void find_info_shelx(const CompoundCode& code, std::int32_t& n_refl, SpaceGroup& group, std::ostream& out,
                     std::istream& in) {
    n_refl = count_reflections(code, true);
    obtain_space_group(code, true, group, out, in);
}

void find_info_cry(const CompoundCode& code, std::int32_t& n_refl, SpaceGroup& group, std::ostream& out,
                   std::istream& in) {
    n_refl = count_reflections(code, false);
    obtain_space_group(code, false, group, out, in);
}

void read_data_shelx(const CompoundCode& code, std::int32_t n_refl, HklInfo& hkl_info, FsqData& fsq_data) {
    read_data(code, n_refl, hkl_info, fsq_data, shelx_layout);
}

void read_data_cry(const CompoundCode& code, std::int32_t n_refl, HklInfo& hkl_info, FsqData& fsq_data) {
    read_data(code, n_refl, hkl_info, fsq_data, crystals_layout);
}

}  // namespace borq
