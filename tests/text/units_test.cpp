// Logical units connect files to numbers: allocation, queries by number and
// by name, formatted and unformatted round trips, and the counting and
// reading of the lines of a named file, open or closed.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "text/string_util.hpp"

using namespace vorn_string_utilities;

namespace {

std::filesystem::path scratch_dir(const std::string& name) {
    auto dir = std::filesystem::temp_directory_path() / ("borq_units_" + name);
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

std::string write_file(const std::filesystem::path& path, std::string_view content) {
    std::ofstream out(path, std::ios::binary);
    out << content;
    return path.string();
}

std::string file_content(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

TEST(LogicalUnits, FirstFreeUnitExhaustionAndReuse) {
    const auto dir = scratch_dir("allocation");
    std::int32_t unit = 0;
    get_logunit(unit);
    EXPECT_EQ(unit, 1);
    EXPECT_TRUE(is_unit_open(standard_input_unit));
    EXPECT_TRUE(is_unit_open(standard_output_unit));

    // Fill every unit of 1..499; the standard units are never free.
    std::vector<std::int32_t> opened;
    for (;;) {
        get_logunit(unit);
        if (unit == -1) break;
        ASSERT_NE(unit, standard_input_unit);
        ASSERT_NE(unit, standard_output_unit);
        ASSERT_TRUE(open_unit(unit, (dir / ("f" + std::to_string(unit))).string(), UnitAccess::write));
        opened.push_back(unit);
    }
    EXPECT_EQ(opened.size(), 497u);
    EXPECT_EQ(opened.front(), 1);
    EXPECT_EQ(opened.back(), 499);

    // A file on no unit cannot be counted when no unit is free: the run ends.
    const std::string extra = write_file(dir / "extra.txt", "a\n");
    std::int32_t lines = 0;
    EXPECT_EXIT(number_lines(extra, lines), testing::ExitedWithCode(2), "Input error");

    close_unit(42);
    close_unit(7);
    get_logunit(unit);
    EXPECT_EQ(unit, 7);
    for (std::int32_t u : opened) close_unit(u);
    get_logunit(unit);
    EXPECT_EQ(unit, 1);
    std::filesystem::remove_all(dir);
}

TEST(LogicalUnits, OpenCloseAndQueriesByNumberAndName) {
    const auto dir = scratch_dir("queries");
    const std::string name = write_file(dir / "a.txt", "x\n");
    EXPECT_TRUE(file_exists(name));
    EXPECT_TRUE(file_exists(name + "   "));
    EXPECT_FALSE(file_exists((dir / "missing.txt").string()));
    EXPECT_FALSE(file_exists("   "));

    EXPECT_FALSE(open_unit(12, (dir / "missing.txt").string(), UnitAccess::read));
    EXPECT_FALSE(is_unit_open(12));
    EXPECT_FALSE(open_unit(0, name, UnitAccess::read));
    EXPECT_FALSE(open_unit(standard_output_unit, name, UnitAccess::write));
    EXPECT_FALSE(open_unit(12, "  ", UnitAccess::write));

    ASSERT_TRUE(open_unit(12, name + "  ", UnitAccess::read));
    EXPECT_TRUE(is_unit_open(12));
    EXPECT_EQ(unit_of_file(name), 12);
    // Another spelling of the same file is the same file.
    EXPECT_EQ(unit_of_file((dir / "." / "a.txt").string()), 12);
    EXPECT_EQ(unit_of_file((dir / "b.txt").string()), -1);
    // One file is connected to one unit at a time.
    EXPECT_FALSE(open_unit(13, name, UnitAccess::read));
    // Opening another file on a connected unit replaces the connection.
    const std::string other = write_file(dir / "b.txt", "y\n");
    ASSERT_TRUE(open_unit(12, other, UnitAccess::read));
    EXPECT_EQ(unit_of_file(name), -1);
    EXPECT_EQ(unit_of_file(other), 12);
    close_unit(12);
    EXPECT_FALSE(is_unit_open(12));
    EXPECT_EQ(unit_of_file(other), -1);
    close_unit(12);  // closing a closed unit does nothing

    // The standard units stay connected.
    close_unit(standard_input_unit);
    close_unit(standard_output_unit);
    EXPECT_TRUE(is_unit_open(standard_input_unit));
    EXPECT_TRUE(is_unit_open(standard_output_unit));
    EXPECT_FALSE(rewind_unit(standard_output_unit));
    std::filesystem::remove_all(dir);
}

TEST(LogicalUnits, FormattedLinesRoundTrip) {
    const auto dir = scratch_dir("formatted");
    const auto path = dir / "t.txt";
    ASSERT_TRUE(open_unit(20, path.string(), UnitAccess::write));
    EXPECT_TRUE(write_line(20, "first line"));
    EXPECT_TRUE(write_line(20, ""));
    EXPECT_TRUE(write_line(20, "  third  "));
    std::string line;
    EXPECT_EQ(read_line(20, line), unit_wrong_mode);
    close_unit(20);
    EXPECT_EQ(file_content(path), "first line\n\n  third  \n");
    EXPECT_FALSE(write_line(20, "closed"));
    EXPECT_EQ(read_line(20, line), unit_not_connected);

    ASSERT_TRUE(open_unit(20, path.string(), UnitAccess::read));
    EXPECT_FALSE(write_line(20, "read only"));
    EXPECT_EQ(read_line(20, line), unit_read_ok);
    EXPECT_EQ(line, "first line");
    EXPECT_EQ(read_line(20, line), unit_read_ok);
    EXPECT_EQ(line, "");
    EXPECT_EQ(read_line(20, line), unit_read_ok);
    EXPECT_EQ(line, "  third  ");
    EXPECT_EQ(read_line(20, line), unit_end_of_file);
    EXPECT_TRUE(rewind_unit(20));
    EXPECT_EQ(read_line(20, line), unit_read_ok);
    EXPECT_EQ(line, "first line");
    close_unit(20);

    // A last line without its line end is a record; a carriage return before
    // the line end is not part of the line.
    const std::string crlf = write_file(dir / "crlf.txt", "a\r\nb");
    ASSERT_TRUE(open_unit(21, crlf, UnitAccess::read));
    EXPECT_EQ(read_line(21, line), unit_read_ok);
    EXPECT_EQ(line, "a");
    EXPECT_EQ(read_line(21, line), unit_read_ok);
    EXPECT_EQ(line, "b");
    EXPECT_EQ(read_line(21, line), unit_end_of_file);
    close_unit(21);

    // A scratch file written, read back after a rewind, and deleted on closing.
    const auto scratch = dir / "search.tmp";
    ASSERT_TRUE(open_unit(22, scratch.string(), UnitAccess::read_write));
    EXPECT_TRUE(write_line(22, "P 1 2 1"));
    EXPECT_TRUE(rewind_unit(22));
    EXPECT_EQ(read_line(22, line), unit_read_ok);
    EXPECT_EQ(line, "P 1 2 1");
    close_unit(22, true);
    EXPECT_FALSE(std::filesystem::exists(scratch));

    // Unit 6 is standard output.
    testing::internal::CaptureStdout();
    EXPECT_TRUE(write_line(standard_output_unit, " Space group is: P 21 21 21"));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), " Space group is: P 21 21 21\n");
    std::filesystem::remove_all(dir);
}

TEST(LogicalUnits, UnformattedRecordsRoundTrip) {
    const auto dir = scratch_dir("unformatted");
    const auto path = dir / "group.bin";
    const std::string first("\x01\x00\x02\x00", 4);
    const std::string second(300, 'z');
    ASSERT_TRUE(open_unit(30, path.string(), UnitAccess::write, UnitForm::unformatted));
    EXPECT_FALSE(write_line(30, "text"));
    EXPECT_TRUE(write_record(30, first));
    EXPECT_TRUE(write_record(30, ""));
    EXPECT_TRUE(write_record(30, second));
    close_unit(30);
    EXPECT_EQ(std::filesystem::file_size(path), 4 + 8 + 8 + 300 + 8u);

    ASSERT_TRUE(open_unit(30, path.string(), UnitAccess::read, UnitForm::unformatted));
    std::string record;
    std::string line;
    EXPECT_EQ(read_line(30, line), unit_wrong_mode);
    EXPECT_EQ(read_record(30, record), unit_read_ok);
    EXPECT_EQ(record, first);
    EXPECT_EQ(read_record(30, record), unit_read_ok);
    EXPECT_EQ(record, "");
    EXPECT_EQ(read_record(30, record), unit_read_ok);
    EXPECT_EQ(record, second);
    EXPECT_EQ(read_record(30, record), unit_end_of_file);
    close_unit(30);

    // A record cut short is a failed read, not an end of file.
    std::filesystem::resize_file(path, std::filesystem::file_size(path) - 5);
    ASSERT_TRUE(open_unit(30, path.string(), UnitAccess::read, UnitForm::unformatted));
    EXPECT_EQ(read_record(30, record), unit_read_ok);
    EXPECT_EQ(read_record(30, record), unit_read_ok);
    EXPECT_EQ(read_record(30, record), unit_read_failure);
    close_unit(30);

    ASSERT_TRUE(open_unit(31, (dir / "t.txt").string(), UnitAccess::write));
    EXPECT_FALSE(write_record(31, first));
    close_unit(31);
    std::filesystem::remove_all(dir);
}

TEST(LinesOfAFile, CountingStopsAtTheStopText) {
    const auto dir = scratch_dir("counting");
    std::int32_t count = -5;
    number_lines((dir / "missing.txt").string(), count);
    EXPECT_EQ(count, 0);

    const std::string three = write_file(dir / "three.txt", "a\nb\nc\n");
    number_lines(three, count);
    EXPECT_EQ(count, 3);
    const std::string no_end = write_file(dir / "no_end.txt", "a\n\nc");
    number_lines(no_end, count);
    EXPECT_EQ(count, 3);
    const std::string empty = write_file(dir / "empty.txt", "");
    number_lines(empty, count);
    EXPECT_EQ(count, 0);

    const std::string data = write_file(dir / "data.txt", "a\n   END of data\nb\n");
    number_lines(data, count, "end");
    EXPECT_EQ(count, 1);
    number_lines(data, count, "end   ");
    EXPECT_EQ(count, 1);
    number_lines(data, count, "   ");
    EXPECT_EQ(count, 0);
    number_lines(data, count, "stop");
    EXPECT_EQ(count, 3);

    // Only the first 256 characters of a line are compared: a longer stop
    // text is cut to them.
    const std::string long_line(300, 'x');
    const std::string wide = write_file(dir / "wide.txt", "a\n" + long_line + "\nb\n");
    number_lines(wide, count, long_line);
    EXPECT_EQ(count, 1);
    number_lines(wide, count, std::string(256, 'x') + "y");
    EXPECT_EQ(count, 1);
    EXPECT_FALSE(is_unit_open(1));
    std::filesystem::remove_all(dir);
}

TEST(LinesOfAFile, ReadingClosedAndOpenFiles) {
    const auto dir = scratch_dir("reading");
    std::vector<std::string> lines(4, std::string(6, '?'));
    init_err_string();
    reading_lines((dir / "missing.txt").string(), 2, lines);
    EXPECT_TRUE(err_string);
    EXPECT_EQ(err_string_mess, "Not exist the file");
    EXPECT_EQ(lines[0], "??????");

    const std::string name = write_file(dir / "cell.txt", "cell 5.0 6.0 7.0\nab\n\nlast\n");
    std::int32_t count = 0;
    number_lines(name, count);
    ASSERT_EQ(count, 4);
    reading_lines(name, count, lines);
    EXPECT_FALSE(err_string);
    EXPECT_EQ(lines, (std::vector<std::string>{"cell 5", "ab    ", "      ", "last  "}));
    EXPECT_FALSE(is_unit_open(1));

    // A file that is open stays open on its unit, rewound to its start.
    ASSERT_TRUE(open_unit(40, name, UnitAccess::read));
    std::string line;
    ASSERT_EQ(read_line(40, line), unit_read_ok);
    ASSERT_EQ(read_line(40, line), unit_read_ok);
    number_lines(name, count);
    EXPECT_EQ(count, 4);
    EXPECT_TRUE(is_unit_open(40));
    EXPECT_FALSE(is_unit_open(1));
    ASSERT_EQ(read_line(40, line), unit_read_ok);
    EXPECT_EQ(line, "cell 5.0 6.0 7.0");
    std::vector<std::string> two(2, std::string(10, ' '));
    reading_lines(name, 2, two);
    EXPECT_EQ(two, (std::vector<std::string>{"cell 5.0 6", "ab        "}));
    EXPECT_EQ(unit_of_file(name), 40);
    ASSERT_EQ(read_line(40, line), unit_read_ok);
    EXPECT_EQ(line, "cell 5.0 6.0 7.0");
    close_unit(40);

    // Nothing is written beyond the array; no count reads nothing.
    reading_lines(name, 4, two);
    EXPECT_TRUE(err_string);
    EXPECT_EQ(err_string_mess, "Dimension of LINES exceeded");
    EXPECT_EQ(two[1], "ab        ");
    reading_lines(name, 0, two);
    EXPECT_FALSE(err_string);

    // Asking for more lines than the file holds ends the run.
    std::vector<std::string> many(9, std::string(4, ' '));
    EXPECT_EXIT(reading_lines(name, 9, many), testing::ExitedWithCode(2), "Input error on unit 1, file '.*cell.txt'");
    std::filesystem::remove_all(dir);
}
