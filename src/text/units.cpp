// Logical units: the process-wide registry of connected files, the free-unit
// search, and the counting and reading of the lines of a named file.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <system_error>

#include "text/string_util.hpp"
#include "text/text_internal.hpp"

namespace vorn_string_utilities {

namespace {

// Standard input and output are connected before anything else runs.
std::map<std::int32_t, LogicalUnit> standard_units() {
    std::map<std::int32_t, LogicalUnit> units;
    LogicalUnit& input = units[standard_input_unit];
    input.access = UnitAccess::read;
    input.standard = true;
    LogicalUnit& output = units[standard_output_unit];
    output.access = UnitAccess::write;
    output.standard = true;
    return units;
}

std::string file_name_text(std::string_view file_name) { return std::string(trim_right(file_name)); }

// Full path of a file name, symbolic links resolved where the file exists, so
// that two spellings of one file are recognised as the same file.
std::filesystem::path full_path_of(std::string_view file_name) {
    std::filesystem::path path(file_name_text(file_name));
    std::error_code ec;
    std::filesystem::path full = std::filesystem::weakly_canonical(path, ec);
    if (ec) full = std::filesystem::absolute(path, ec).lexically_normal();
    return full;
}

LogicalUnit* connected_unit(std::int32_t unit) {
    auto it = logical_units.find(unit);
    return it == logical_units.end() ? nullptr : &it->second;
}

bool can_write(const LogicalUnit& u) { return u.access != UnitAccess::read; }
bool can_read(const LogicalUnit& u) { return u.access != UnitAccess::write; }

// Unformatted record length marker: 4 bytes, little-endian on every machine,
// so that stored files move between machines.
bool read_marker(std::fstream& s, std::uint32_t& length, bool& at_end) {
    unsigned char bytes[4];
    s.read(reinterpret_cast<char*>(bytes), 4);
    at_end = s.gcount() == 0 && s.eof();
    if (s.gcount() != 4) return false;
    length = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
    return true;
}

void write_marker(std::fstream& s, std::uint32_t length) {
    const char bytes[4] = {static_cast<char>(length & 0xffu), static_cast<char>((length >> 8) & 0xffu),
                           static_cast<char>((length >> 16) & 0xffu), static_cast<char>(length >> 24)};
    s.write(bytes, 4);
}

// Bytes between the read position and the end of the file (-1 when the
// stream cannot tell), so that a damaged length is refused before a buffer
// of that size is allocated.
std::int64_t bytes_left(std::fstream& s) {
    const std::streampos here = s.tellg();
    if (here == std::streampos(-1)) return -1;
    s.seekg(0, std::ios::end);
    const std::streampos end = s.tellg();
    s.seekg(here);
    if (end == std::streampos(-1) || s.fail()) return -1;
    return static_cast<std::int64_t>(end - here);
}

}  // namespace

std::map<std::int32_t, LogicalUnit> logical_units = standard_units();

bool file_exists(std::string_view file_name) {
    std::string name = file_name_text(file_name);
    if (name.empty()) return false;
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::path(name), ec);
}

bool open_unit(std::int32_t unit, std::string_view file_name, UnitAccess access, UnitForm form) {
    if (unit < 1 || unit == standard_input_unit || unit == standard_output_unit) return false;
    std::string name = file_name_text(file_name);
    if (name.empty()) return false;
    close_unit(unit);
    if (unit_of_file(name) != -1) return false;

    std::ios::openmode mode = std::ios::binary;
    switch (access) {
        case UnitAccess::read: mode |= std::ios::in; break;
        case UnitAccess::write: mode |= std::ios::out | std::ios::trunc; break;
        case UnitAccess::read_write: mode |= std::ios::in | std::ios::out | std::ios::trunc; break;
    }
    LogicalUnit connection;
    connection.stream.open(name, mode);
    if (!connection.stream.is_open()) return false;
    connection.file_name = name;
    connection.full_path = full_path_of(name);
    connection.access = access;
    connection.form = form;
    logical_units.emplace(unit, std::move(connection));
    return true;
}

void close_unit(std::int32_t unit, bool delete_file) {
    LogicalUnit* u = connected_unit(unit);
    if (u == nullptr || u->standard) return;
    u->stream.close();
    if (delete_file) {
        std::error_code ec;
        std::filesystem::remove(u->full_path, ec);
    }
    logical_units.erase(unit);
}

bool is_unit_open(std::int32_t unit) { return connected_unit(unit) != nullptr; }

std::int32_t unit_of_file(std::string_view file_name) {
    if (file_name_text(file_name).empty()) return -1;
    std::filesystem::path full = full_path_of(file_name);
    for (const auto& [number, u] : logical_units) {
        if (!u.standard && u.full_path == full) return number;
    }
    return -1;
}

bool rewind_unit(std::int32_t unit) {
    LogicalUnit* u = connected_unit(unit);
    if (u == nullptr || u->standard) return false;
    u->stream.clear();
    u->stream.seekg(0);
    u->stream.seekp(0);
    return !u->stream.fail();
}

bool write_line(std::int32_t unit, std::string_view line) {
    LogicalUnit* u = connected_unit(unit);
    if (u == nullptr || !can_write(*u) || u->form != UnitForm::formatted) return false;
    std::ostream& out = u->standard ? std::cout : static_cast<std::ostream&>(u->stream);
    out.write(line.data(), static_cast<std::streamsize>(line.size()));
    out.put('\n');
    return !out.fail();
}

std::int32_t read_line(std::int32_t unit, std::string& line) {
    LogicalUnit* u = connected_unit(unit);
    if (u == nullptr) return unit_not_connected;
    if (!can_read(*u) || u->form != UnitForm::formatted) return unit_wrong_mode;
    std::istream& in = u->standard ? std::cin : static_cast<std::istream&>(u->stream);
    std::string record;
    if (!std::getline(in, record)) {
        if (in.bad()) return unit_read_failure;
        return unit_end_of_file;
    }
    if (!record.empty() && record.back() == '\r') record.pop_back();
    line = std::move(record);
    return unit_read_ok;
}

bool write_record(std::int32_t unit, std::string_view bytes) {
    LogicalUnit* u = connected_unit(unit);
    if (u == nullptr || u->standard || !can_write(*u) || u->form != UnitForm::unformatted) return false;
    if (bytes.size() > 0x7fffffffu) return false;
    const std::uint32_t length = static_cast<std::uint32_t>(bytes.size());
    write_marker(u->stream, length);
    u->stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    write_marker(u->stream, length);
    return !u->stream.fail();
}

std::int32_t read_record(std::int32_t unit, std::string& bytes) {
    LogicalUnit* u = connected_unit(unit);
    if (u == nullptr) return unit_not_connected;
    if (u->standard || !can_read(*u) || u->form != UnitForm::unformatted) return unit_wrong_mode;
    std::uint32_t length = 0;
    bool at_end = false;
    if (!read_marker(u->stream, length, at_end)) return at_end ? unit_end_of_file : unit_read_failure;
    if (length > 0x7fffffffu) return unit_read_failure;
    // The data and the trailing length word must lie within the file.
    if (bytes_left(u->stream) < static_cast<std::int64_t>(length) + 4) return unit_read_failure;
    std::string record(length, '\0');
    u->stream.read(record.data(), static_cast<std::streamsize>(length));
    if (static_cast<std::uint32_t>(u->stream.gcount()) != length) return unit_read_failure;
    std::uint32_t closing = 0;
    if (!read_marker(u->stream, closing, at_end) || closing != length) return unit_read_failure;
    bytes = std::move(record);
    return unit_read_ok;
}

void stop_on_input_error(std::int32_t unit, std::string_view message) {
    std::cout.flush();
    std::cerr << "Input error on unit " << unit;
    if (const LogicalUnit* u = connected_unit(unit); u != nullptr && !u->standard) {
        std::cerr << ", file '" << u->file_name << "'";
    }
    std::cerr << ": " << message << '\n';
    std::exit(2);
}

void get_logunit(std::int32_t& unit) {
    for (std::int32_t u = 1; u <= 499; ++u) {
        if (!is_unit_open(u)) {
            unit = u;
            return;
        }
    }
    unit = -1;
}

namespace {

// The unit on which a named, existing file is read: the unit it is already
// connected to, rewound to its start, or a free unit on which it is opened
// for reading.  A file that cannot be opened ends the run.
std::int32_t attach_file(std::string_view file_name, bool& was_open) {
    std::int32_t unit = unit_of_file(file_name);
    was_open = unit != -1;
    if (was_open) {
        rewind_unit(unit);
        return unit;
    }
    get_logunit(unit);
    if (!open_unit(unit, file_name, UnitAccess::read)) {
        stop_on_input_error(unit, "cannot open the file '" + std::string(trim_right(file_name)) + "' for reading");
    }
    return unit;
}

// A file that was open before stays open, rewound; one opened here is closed.
void detach_file(std::int32_t unit, bool was_open) {
    if (was_open) {
        rewind_unit(unit);
    } else {
        close_unit(unit);
    }
}

}  // namespace

void number_lines(std::string_view file_name, std::int32_t& line_count, std::optional<std::string_view> stop_text) {
    constexpr std::size_t line_buffer = 256;
    line_count = 0;
    if (!file_exists(file_name)) return;
    bool was_open = false;
    const std::int32_t unit = attach_file(file_name, was_open);

    // Only the first 256 characters of a line take part in the comparison, so
    // a longer stop text is cut to that length.
    std::string stop;
    if (stop_text) {
        std::string_view text = stop_text->substr(0, std::min(stop_text->size(), line_buffer));
        stop = u_case(text.substr(0, len_trim(text)));
    }
    std::string record;
    while (read_line(unit, record) == unit_read_ok) {
        if (stop_text) {
            std::string start = fixed(record, line_buffer);
            left_adjust(start);
            ucase(start);
            if (start.compare(0, stop.size(), stop) == 0) break;
        }
        line_count = wrap_add(line_count, 1);
    }
    detach_file(unit, was_open);
}

void reading_lines(std::string_view file_name, std::int32_t line_count, std::span<std::string> lines) {
    init_err_string();
    if (!file_exists(file_name)) {
        set_err_string("Not exist the file");
        return;
    }
    bool was_open = false;
    const std::int32_t unit = attach_file(file_name, was_open);
    const std::int32_t room = static_cast<std::int32_t>(std::min<std::size_t>(lines.size(), 0x7fffffff));
    const std::int32_t wanted = std::min(line_count, room);
    std::string record;
    for (std::int32_t i = 1; i <= wanted; ++i) {
        const std::int32_t status = read_line(unit, record);
        if (status == unit_end_of_file) stop_on_input_error(unit, "end of file while reading its lines");
        if (status != unit_read_ok) stop_on_input_error(unit, "read failure while reading its lines");
        std::string& element = lines[static_cast<std::size_t>(i - 1)];
        element = fixed(record, element.size());
    }
    detach_file(unit, was_open);
    if (line_count > room) set_err_string("Dimension of LINES exceeded");
}

}  // namespace vorn_string_utilities
