// Helpers of the text tests: the error pair as one text, arrays cut or zero-padded to a length, the
// shared scratch folder (the working directory while it lives), and the records of a logical unit as one text.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "support/scratch_dir.hpp"
#include "text/string_util.hpp"

namespace text_checks {

namespace fs = std::filesystem;
using namespace vorn_string_utilities;
using borq_test::read_file;
using borq_test::ScratchDir;

// The error pair, "-" when clear.
inline std::string err() { return err_string ? err_string_mess : "-"; }

template <typename T>
std::vector<T> padded(std::vector<T> v, std::size_t n) { v.resize(n); return v; }

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
