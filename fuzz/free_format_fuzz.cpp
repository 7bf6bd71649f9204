// The free-format reader (findfmt on a given line and on the lines of a
// file), the keyword readers and the line readers of a named file, on
// arbitrary input.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_input.hpp"
#include "text/string_util.hpp"

namespace su = vorn_string_utilities;
using borq_fuzz::FuzzInput;
using borq_fuzz::invariant_failed;

namespace {

void check_findfmt_state(const std::string& format_text, std::size_t capacity, const std::string& line,
                         std::size_t line_width) {
    if (format_text.size() != capacity) invariant_failed("findfmt changed the format capacity", format_text);
    if (line.size() != line_width) invariant_failed("findfmt changed the line width", line);
    if (su::ierr_fmt < -1000 || su::ierr_fmt > 12) invariant_failed("findfmt code out of range", format_text);
    if (su::mess_findfmt.nlines < 0 || su::mess_findfmt.nlines > 5)
        invariant_failed("findfmt report size out of range", format_text);
}

// findfmt on each caller's line: the first line is the template.
void fuzz_findfmt_lines(const std::vector<std::string>& lines, std::size_t capacity, std::size_t line_width) {
    if (lines.empty()) return;
    su::init_findfmt();
    for (std::size_t i = 1; i < lines.size(); ++i) {
        std::string line = su::fixed(lines[i], line_width);
        std::string format_text(capacity, ' ');
        su::findfmt(0, line, lines[0], format_text);
        check_findfmt_state(format_text, capacity, line, line_width);
    }
}

// findfmt reading a file through a logical unit until its end.
void fuzz_findfmt_unit(const std::string& field_template, std::string_view file_text, std::size_t capacity,
                       std::size_t line_width) {
    const std::string file_name = borq_fuzz::write_scratch_file("findfmt.dat", file_text);
    std::int32_t unit = -1;
    su::get_logunit(unit);
    if (unit < 1 || !su::open_unit(unit, file_name, su::UnitAccess::read)) invariant_failed("cannot open", file_name);
    su::init_findfmt();
    for (int call = 0; call < 1000; ++call) {
        std::string line(line_width, ' ');
        std::string format_text(capacity, ' ');
        su::findfmt(unit, line, field_template, format_text);
        check_findfmt_state(format_text, capacity, line, line_width);
        if (su::ierr_fmt == -1 || su::ierr_fmt == 1) break;
    }
    su::close_unit(unit);
}

// Every keyword reader, searching on from each hit as a caller does.
void fuzz_keywords(std::vector<std::string> lines, std::size_t capacity, std::size_t rest_width,
                   std::size_t line_width, char comment) {
    if (lines.empty()) return;
    const std::string keyword = lines[0];
    lines.erase(lines.begin());
    for (auto& line : lines) line = su::fixed(line, line_width);
    const auto last = static_cast<std::int32_t>(lines.size());
    std::vector<float> reals(capacity);
    std::vector<float> sigmas(capacity);
    std::vector<std::int32_t> integers(capacity);

    for (int reader = 0; reader < 5; ++reader) {
        std::int32_t first = 1;
        for (int step = 0; step <= last + 1; ++step) {
            const std::int32_t before = first;
            std::string rest(rest_width, ' ');
            std::int32_t count = 0;
            switch (reader) {
                case 0: su::read_key_str(lines, first, last, keyword, rest, comment); break;
                case 1: su::read_key_strval(lines, first, last, keyword, rest, std::nullopt, std::nullopt, nullptr,
                                            comment);
                    break;
                case 2: su::read_key_strval(lines, first, last, keyword, rest, std::span<float>(reals),
                                            std::span<std::int32_t>(integers), &count, comment);
                    break;
                case 3: su::read_key_value(lines, first, last, keyword, reals, integers, count, comment); break;
                default: su::read_key_valuestd(lines, first, last, keyword, reals, sigmas, count, comment); break;
            }
            if (rest.size() != rest_width) invariant_failed("keyword reader changed the rest width", rest);
            if (count < 0 || static_cast<std::size_t>(count) > capacity)
                invariant_failed("keyword reader count out of range", keyword);
            if (first < 1 && before >= 1) invariant_failed("keyword reader moved before line 1", keyword);
            if (first > last && before <= last && first != before)
                invariant_failed("keyword reader moved past the last line", keyword);
            if (first == before) break;  // no further hit
            first += 1;
        }
    }
}

// number_lines then reading_lines of the counted lines: the count must match
// what can be read (an early end of file would end the run).
void fuzz_file_lines(const std::string& stop_text, std::string_view file_text, std::size_t room,
                     std::size_t line_width) {
    const std::string file_name = borq_fuzz::write_scratch_file("lines.txt", file_text);
    std::int32_t count = -1;
    if (stop_text.empty()) {
        su::number_lines(file_name, count);
    } else {
        su::number_lines(file_name, count, stop_text);
    }
    if (count < 0) invariant_failed("number_lines gave a negative count", file_name);
    std::vector<std::string> lines(room, std::string(line_width, ' '));
    su::reading_lines(file_name, count, lines);
    for (const auto& line : lines)
        if (line.size() != line_width) invariant_failed("reading_lines changed a line width", line);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 4096) return 0;
    FuzzInput input{data, size};
    const std::uint8_t selector = input.byte();
    const std::size_t capacity = input.byte() % 64;
    const std::size_t line_width = 1 + input.byte() % 160;
    const std::string text = input.rest();
    switch (selector % 4) {
        case 0: fuzz_findfmt_lines(borq_fuzz::split_lines(text), capacity, line_width); break;
        case 1: {
            const std::size_t cut = text.find('\n');
            const std::string field_template = text.substr(0, cut);
            const std::string_view file_text =
                cut == std::string::npos ? std::string_view() : std::string_view(text).substr(cut + 1);
            fuzz_findfmt_unit(field_template, file_text, capacity, line_width);
            break;
        }
        case 2: fuzz_keywords(borq_fuzz::split_lines(text), capacity % 12, capacity, line_width,
                              (selector & 0x40) != 0 ? '#' : '!');
            break;
        default: {
            const std::size_t cut = text.find('\n');
            const std::string stop_text = text.substr(0, cut);
            const std::string_view file_text =
                cut == std::string::npos ? std::string_view() : std::string_view(text).substr(cut + 1);
            fuzz_file_lines(stop_text, file_text, capacity % 16, line_width);
            break;
        }
    }
    return 0;
}
