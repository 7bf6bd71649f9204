// Line records of the input files, the files of the tables, and the reports
// of a failed input or output.
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <istream>
#include <streambuf>

#include "app/borq.hpp"

namespace borq {

std::ifstream open_for_reading(const std::string& file_name) {
    // A folder of that name opens on some systems and then reads as an empty
    // file; say what it is instead.
    std::error_code ignored;
    if (std::filesystem::is_directory(file_name, ignored))
        throw InputFailure{"opening " + file_name + " for reading", std::strerror(EISDIR)};
    errno = 0;
    std::ifstream in(file_name);
    if (!in.is_open()) {
        const int error = errno;
        throw InputFailure{"opening " + file_name + " for reading",
                           error != 0 ? std::strerror(error) : "cannot open the file"};
    }
    return in;
}

std::ofstream open_for_writing(const std::string& file_name) {
    errno = 0;
    std::ofstream table(file_name, std::ios::out | std::ios::trunc);
    if (!table.is_open()) {
        const int error = errno;
        throw OutputFailure{"writing " + file_name, error != 0 ? std::strerror(error) : "cannot open the file for writing"};
    }
    return table;
}

void check_written(const std::ofstream& table, const std::string& file_name) {
    if (!table.fail()) return;
    const int error = errno;
    throw OutputFailure{"writing " + file_name, error != 0 ? std::strerror(error) : "the file could not be written"};
}

bool read_record(std::istream& in, std::string& line, std::size_t width) {
    if (!std::getline(in, line)) return false;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    line.resize(width, ' ');
    return true;
}

namespace {
constexpr std::size_t block_size = std::size_t{1} << 20;
}  // namespace

BlockLines block_lines(std::istream& in) {
    BlockLines lines;
    lines.in = &in;
    lines.block.resize(block_size);
    return lines;
}

bool next_line(BlockLines& lines, std::string_view& line) {
    for (;;) {
        const char* const data = lines.block.data();
        const auto* const line_end =
            static_cast<const char*>(std::memchr(data + lines.begin, '\n', lines.end - lines.begin));
        std::size_t stop = lines.end;
        if (line_end != nullptr || lines.exhausted) {
            if (line_end == nullptr && lines.begin == lines.end) return false;
            if (line_end != nullptr) stop = static_cast<std::size_t>(line_end - data);
            line = std::string_view(data + lines.begin, stop - lines.begin);
            lines.begin = line_end != nullptr ? stop + 1 : stop;
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            return true;
        }
        // The unfinished line moves to the front of the block (which doubles
        // when the line fills it) and the next block is read behind it.
        if (lines.begin > 0) {
            std::memmove(lines.block.data(), data + lines.begin, lines.end - lines.begin);
            lines.end -= lines.begin;
            lines.begin = 0;
        }
        if (lines.end == lines.block.size()) lines.block.resize(2 * lines.block.size());
        const std::streamsize got = lines.in->rdbuf()->sgetn(
            lines.block.data() + lines.end, static_cast<std::streamsize>(lines.block.size() - lines.end));
        if (got <= 0) lines.exhausted = true;
        else lines.end += static_cast<std::size_t>(got);
    }
}

bool next_lines(BlockLines& lines, std::vector<std::string_view>& batch, std::size_t most) {
    batch.clear();
    std::string_view line;
    if (most == 0 || !next_line(lines, line)) return false;
    batch.push_back(line);
    while (batch.size() < most) {
        const char* const data = lines.block.data();
        const auto* const line_end =
            static_cast<const char*>(std::memchr(data + lines.begin, '\n', lines.end - lines.begin));
        if (line_end == nullptr) break;  // the rest waits for the next block
        const auto stop = static_cast<std::size_t>(line_end - data);
        line = std::string_view(data + lines.begin, stop - lines.begin);
        lines.begin = stop + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        batch.push_back(line);
    }
    return true;
}

std::string failure_report(const InputFailure& failure) {
    return "borq: failed input while " + failure.where + ": " + failure.reason;
}

std::string failure_report(const OutputFailure& failure) {
    return "borq: failed output while " + failure.where + ": " + failure.reason;
}

}  // namespace borq
