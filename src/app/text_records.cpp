// Line records of the input files and the report of a failed input.
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <istream>

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

bool read_record(std::istream& in, std::string& line, std::size_t width) {
    if (!std::getline(in, line)) return false;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    line.resize(width, ' ');
    return true;
}

std::string failure_report(const InputFailure& failure) {
    return "borq: failed input while " + failure.where + ": " + failure.reason;
}

}  // namespace borq
