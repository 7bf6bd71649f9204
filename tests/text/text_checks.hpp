// Helpers of the text tests: the error pair as one text, arrays cut or zero-padded to a length, a
// scratch folder of input files, and the records of a logical unit as one text.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "text/string_util.hpp"

namespace text_checks {

namespace fs = std::filesystem;
using namespace vorn_string_utilities;

// The error pair, "-" when clear.
inline std::string err() { return err_string ? err_string_mess : "-"; }

template <typename T>
std::vector<T> padded(std::vector<T> v, std::size_t n) { v.resize(n); return v; }

// A scratch folder, emptied on creation and removed at the end; dir / "name" is a path text.
struct Scratch {
    fs::path dir;
    explicit Scratch(const std::string& name) : dir(fs::temp_directory_path() / ("borq_text_" + name)) {
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    ~Scratch() { fs::remove_all(dir); }
    std::string operator/(const std::string& file) const { return (dir / file).string(); }
    std::string write(const std::string& file, std::string_view content) const {
        std::ofstream(dir / file, std::ios::binary) << content;
        return (dir / file).string();
    }
    std::string content(const std::string& file) const {
        std::stringstream s;
        s << std::ifstream(dir / file, std::ios::binary).rdbuf();
        return s.str();
    }
};

// The next n records of a unit joined by '|', a read that fails shown as '#' and its status.
inline std::string records(std::int32_t unit, int n, bool unformatted = false) {
    std::string out, record;
    while (n-- > 0) {
        const std::int32_t s = unformatted ? read_record(unit, record) : read_line(unit, record);
        out += (s == unit_read_ok ? record : "#" + std::to_string(s)) + "|";
    }
    return out;
}

}  // namespace text_checks
