// A scratch working directory for the tests that run the program's steps:
// the tables of a run are written in the working directory.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace borq_test {

class ScratchDir {
public:
    explicit ScratchDir(const std::string& name)
        : previous_(std::filesystem::current_path()),
          dir_(std::filesystem::temp_directory_path() /
               ("borq_" + name + "_" + std::to_string(::getpid()))) {
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        std::filesystem::current_path(dir_);
    }
    ~ScratchDir() {
        std::filesystem::current_path(previous_);
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& path() const { return dir_; }

    // Copies a fixture of tests/data into the scratch directory.
    void copy_fixture(const std::string& relative) const {
        const std::filesystem::path from = std::filesystem::path(BORQ_TEST_DATA) / relative;
        std::filesystem::copy_file(from, dir_ / from.filename(), std::filesystem::copy_options::overwrite_existing);
    }
    // Writes a file into the scratch directory.
    void write(const std::string& name, const std::string& text) const {
        std::ofstream out(dir_ / name, std::ios::binary);
        out << text;
    }

private:
    std::filesystem::path previous_;
    std::filesystem::path dir_;
};

inline std::string read_file(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace borq_test
