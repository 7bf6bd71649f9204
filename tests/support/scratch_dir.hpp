// A scratch working directory for the tests that run the program or its
// steps (the tables of a run are written in the working directory).
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace borq_test {

inline std::string read_file(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class ScratchDir {
public:
    explicit ScratchDir(const std::string& name)
        : previous_(std::filesystem::current_path()),
          dir_(std::filesystem::temp_directory_path() / ("borq_" + name + "_" + std::to_string(::getpid()))) {
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        std::filesystem::current_path(dir_);
    }
    ~ScratchDir() {
        std::filesystem::current_path(previous_);
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }
    const std::filesystem::path& path() const { return dir_; }
    // Copies tests/data/<relative> into the directory, under its own name or `as`.
    void copy_fixture(const std::string& relative, const std::string& as = "") const {
        const std::filesystem::path from = std::filesystem::path(BORQ_TEST_DATA) / relative;
        std::filesystem::copy_file(from, dir_ / (as.empty() ? from.filename().string() : as),
                                   std::filesystem::copy_options::overwrite_existing);
    }
    // Writes a file of the directory; its name, for the caller to open.
    std::string write(const std::string& name, const std::string& text) const {
        std::ofstream(dir_ / name, std::ios::binary) << text;
        return name;
    }

    std::filesystem::path previous_;
    std::filesystem::path dir_;
};

// Runs the built borq in the scratch directory with `stdin_text` as standard
// input and standard error going to stderr.txt; standard output is read
// through a pipe into stdout.txt unless `redirect` (shell words such as
// "> /dev/full" or ">&-") sends it elsewhere.  `blocks`, when not 0, limits
// every file written to that many 512-byte blocks, with SIGXFSZ ignored so
// that a write past the limit fails with EFBIG.  The exit status, or -1 when
// the program did not exit normally (a crash).
inline int run_program(const ScratchDir& scratch, const std::string& args, const std::string& stdin_text,
                       const std::string& redirect = "", int blocks = 0) {
    scratch.write("stdin.txt", stdin_text);
    const std::string limit = blocks > 0 ? "ulimit -f " + std::to_string(blocks) + " && trap '' XFSZ && " : "";
    const std::string command = "cd '" + scratch.path().string() + "' && " + limit + "exec '" + BORQ_EXE + "' " +
                                args + " < stdin.txt 2> stderr.txt " + redirect;
    FILE* const pipe = ::popen(command.c_str(), "r");
    std::string report;
    char block[4096];
    for (std::size_t got; pipe && (got = std::fread(block, 1, sizeof block, pipe)) > 0;) report.append(block, got);
    const int status = pipe ? ::pclose(pipe) : -1;
    if (redirect.empty()) scratch.write("stdout.txt", report);
    return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace borq_test
