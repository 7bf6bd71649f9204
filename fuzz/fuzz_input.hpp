// Helpers of the fuzz targets: one fuzzer input split into the arguments of a
// procedure (a selector byte, small integers, 32-bit reals, the remaining
// bytes as text), the report of a broken invariant, scratch files of this
// fuzzing process, and the names of known findings to step over locally.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace borq_fuzz {

struct FuzzInput {
    const std::uint8_t* data;
    std::size_t size;

    std::uint8_t byte() {
        if (size == 0) return 0;
        const std::uint8_t b = *data;
        ++data;
        --size;
        return b;
    }
    // Any bit pattern, NaN and infinities included.
    float real() {
        std::uint32_t bits = 0;
        const std::size_t n = size < 4 ? size : 4;
        std::memcpy(&bits, data, n);
        data += n;
        size -= n;
        float value = 0.0f;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    std::string rest() {
        std::string text(reinterpret_cast<const char*>(data), size);
        data += size;
        size = 0;
        return text;
    }
};

// A broken invariant: print what failed and abort, which libFuzzer records
// as a crash with the input that caused it.
[[noreturn]] inline void invariant_failed(const char* what, std::string_view detail) {
    std::string shown;
    for (const char c : detail) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u < 0x7f) {
            shown += c;
        } else {
            char code[8];
            std::snprintf(code, sizeof code, "\\x%02x", u);
            shown += code;
        }
    }
    std::fprintf(stderr, "invariant broken: %s [%s]\n", what, shown.c_str());
    std::abort();
}


// A working directory of this fuzzing process (several run in parallel),
// removed when the process ends normally.
inline const std::filesystem::path& scratch_directory() {
    static const std::filesystem::path dir = [] {
        std::filesystem::path p = std::filesystem::temp_directory_path() /
                                  ("borq_fuzz_" + std::to_string(static_cast<long>(::getpid())));
        std::filesystem::create_directories(p);
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(scratch_directory(), ignored);
        });
        return p;
    }();
    return dir;
}

// Writes the bytes to a file of the scratch directory and returns its path.
inline std::string write_scratch_file(const std::string& name, std::string_view bytes) {
    const std::filesystem::path path = scratch_directory() / name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path.string();
}

// The text split at line feeds (the last line may lack one).
inline std::vector<std::string> split_lines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// Local exploration past a finding already recorded: the environment
// variable BORQ_FUZZ_TOLERATE lists names of known findings (comma
// separated) that a target then steps over instead of stopping.  CI never
// sets it.
inline bool tolerated(std::string_view finding) {
    static const std::string list = [] {
        const char* value = std::getenv("BORQ_FUZZ_TOLERATE");
        return value == nullptr ? std::string() : "," + std::string(value) + ",";
    }();
    return list.find("," + std::string(finding) + ",") != std::string::npos;
}

}  // namespace borq_fuzz
