// File-name parts by text search; logical units (allocation, queries by number and name, formatted
// and unformatted round trips, guarded failures); line counting and reading of input files; keyword
// readers handing back the text, numbers or values(uncertainties) after a keyword.
#include <gtest/gtest.h>

#include <map>

#include "text_checks.hpp"

using namespace text_checks;

TEST(FileNames, BaseDirectoryAndExtension) {
    const std::string name30 = fixed("data\\run1\\x.hkl", 30);
    struct Case { char kind; std::string name, arg; std::size_t width; const char* expected; };  // kind b, d, e, t(rue), f(alse)
    const Case cases[] = {
        {'b', name30, "\\", 20, "x.hkl"}, {'b', name30, "\\   ", 20, "x.hkl"}, {'b', fixed("x.hkl", 30), "\\", 20, "x.hkl"},
        {'b', name30, "   ", 20, ""}, {'b', "run/a/b.cif", "/", 20, "b.cif"}, {'b', "a::b", "::", 20, ":b"},  // after a long separator's first character
        {'b', "data\\", "\\", 20, ""}, {'b', "data\\longer_name.hkl", "\\", 6, "longer"},
        {'d', "data\\run1\\x.hkl", "", 20, "data\\run1"}, {'d', "x.hkl", "", 20, "x.hkl"}, {'d', "\\x.hkl", "", 20, ""},
        {'d', "data/run1/x.hkl", "", 20, "data/run1/x.hkl"}, {'d', "data\\run1\\x.hkl", "", 4, "data"},
        {'e', "a.b\\c.d.txt", "", 20, ".txt"}, {'t', "a.b\\c.d.txt", "", 20, ".txt"}, {'f', "a.b\\c.d.txt", "", 20, "txt"},
        {'e', "noext", "", 20, ""}, {'f', "noext", "", 20, ""}, {'e', "dir.v\\file", "", 20, ".v\\file"}, {'e', "ends.", "", 20, "."},
        {'f', "ends.", "", 20, ""}, {'t', "x.fcf", "", 2, ".f"},
    };
    for (const Case& c : cases) {
        std::string result(c.width, '?');
        if (c.kind == 'b') get_basename(c.name, c.arg, result);
        if (c.kind == 'd') get_dirname(c.name, result);
        if (c.kind == 'e') get_extension(c.name, result);
        if (c.kind == 't' || c.kind == 'f') get_extension(c.name, result, c.kind == 't');
        EXPECT_EQ(result, fixed(c.expected, c.width)) << c.kind << " " << c.name;
    }
}

TEST(LogicalUnits, FirstFreeUnitExhaustionAndReuse) {
    const ScratchDir dir("allocation");
    std::int32_t unit = 0;
    get_logunit(unit);
    EXPECT_EQ(unit, 1);
    std::vector<std::int32_t> opened;  // every unit of 1..499 but the standard ones
    for (get_logunit(unit); unit != -1; get_logunit(unit)) {
        ASSERT_TRUE(unit != standard_input_unit && unit != standard_output_unit);
        ASSERT_TRUE(open_unit(unit, "f" + std::to_string(unit), UnitAccess::write));
        opened.push_back(unit);
    }
    EXPECT_EQ(std::pair(opened.size(), opened.back()), std::pair(std::size_t{497}, 499));
    std::int32_t lines = 0;  // a file on no unit cannot be counted when no unit is free: the run ends
    EXPECT_EXIT(number_lines(dir.write("extra.txt", "a\n"), lines), testing::ExitedWithCode(2),
                "Input error on unit -1: cannot open the file '.*extra.txt' for reading");
    close_unit(42);
    close_unit(7);
    get_logunit(unit);
    EXPECT_EQ(unit, 7);
    for (std::int32_t u : opened) close_unit(u);
    get_logunit(unit);
    EXPECT_EQ(unit, 1);
}

// A script of unit operations, each with its expected outcome: file names relative to a scratch
// folder, the working directory, "1"/"0" for true/false, records joined by
// '|' with a failed read shown as '#' and its status.
TEST(LogicalUnits, ConnectionsQueriesAndRoundTrips) {
    const ScratchDir dir("script");
    const std::string x256 = std::string(256, 'x'), data = "a\n   END of data\nb\n";
    for (const auto& [file, content] : std::map<std::string, std::string>{{"a.txt", "x\n"}, {"crlf.txt", "a\r\nb"}, {"three.txt", "a\nb\nc\n"},
             {"no_end.txt", "a\n\nc"}, {"empty.txt", ""}, {"data.txt", data}, {"wide.txt", "a\n" + x256 + "xxxx\nb\n"},
             {"cell.txt", "cell 5.0 6.0 7.0\nab\n\nlast\n"}})
        dir.write(file, content);
    const std::string bin("\x01\x00\x02\x00", 4), big(300, 'z');
    struct Step { const char* op; std::int32_t unit; std::string arg, expected; };
    const Step steps[] = {
        {"exists", 0, "a.txt", "1"}, {"exists", 0, "a.txt   ", "1"}, {"exists", 0, "missing.txt", "0"}, {"exists", 0, "   ", "0"},
        {"open_r", 12, "missing.txt", "0"}, {"is_open", 12, "", "0"}, {"open_r", 0, "a.txt", "0"}, {"open_w", 6, "a.txt", "0"},
        {"open_w", 12, "  ", "0"}, {"open_r", 12, "a.txt  ", "1"}, {"is_open", 12, "", "1"}, {"unit_of", 0, "a.txt", "12"},
        {"unit_of", 0, "./a.txt", "12"}, {"unit_of", 0, "b.txt", "-1"}, {"open_r", 13, "a.txt", "0"},  // one file on one unit
        {"open_w", 12, "b.txt", "1"}, {"unit_of", 0, "a.txt", "-1"}, {"unit_of", 0, "b.txt", "12"},  // the connection replaced
        {"close", 12, "", ""}, {"is_open", 12, "", "0"}, {"unit_of", 0, "b.txt", "-1"}, {"close", 12, "", ""},
        {"close", 5, "", ""}, {"close", 6, "", ""}, {"is_open", 5, "", "1"}, {"is_open", 6, "", "1"}, {"rewind", 6, "", "0"},
        {"open_w", 20, "t.txt", "1"}, {"write", 20, "first line", "1"}, {"write", 20, "", "1"}, {"write", 20, "  third  ", "1"},
        {"read", 20, "1", "#2|"}, {"close", 20, "", ""}, {"content", 0, "t.txt", "first line\n\n  third  \n"},
        {"write", 20, "closed", "0"}, {"read", 20, "1", "#1|"}, {"open_r", 20, "t.txt", "1"}, {"write", 20, "read only", "0"},
        {"read", 20, "4", "first line||  third  |#-1|"}, {"rewind", 20, "", "1"}, {"read", 20, "1", "first line|"}, {"close", 20, "", ""},
        {"open_r", 21, "crlf.txt", "1"}, {"read", 21, "3", "a|b|#-1|"}, {"close", 21, "", ""},  // CR dropped, last line unended
        {"open_rw", 22, "search.tmp", "1"}, {"write", 22, "P 1 2 1", "1"}, {"rewind", 22, "", "1"}, {"read", 22, "1", "P 1 2 1|"},
        {"delete", 22, "", ""}, {"exists", 0, "search.tmp", "0"},  // a scratch file deleted on closing
        {"open_wu", 30, "g.bin", "1"}, {"write", 30, "text", "0"}, {"record", 30, bin, "1"}, {"record", 30, "", "1"},
        {"record", 30, big, "1"}, {"close", 30, "", ""}, {"size", 0, "g.bin", "328"}, {"open_ru", 30, "g.bin", "1"},
        {"read", 30, "1", "#2|"}, {"read_u", 30, "4", bin + "||" + big + "|#-1|"}, {"close", 30, "", ""},
        {"cut5", 0, "g.bin", ""}, {"open_ru", 30, "g.bin", "1"}, {"read_u", 30, "3", bin + "||#3|"}, {"close", 30, "", ""},  // cut short
        {"open_w", 31, "t.txt", "1"}, {"record", 31, bin, "0"}, {"close", 31, "", ""},
        // Lines of a named file (count given as the unit) into an array of 4 texts of 6 or 2 of 10 characters,
        // "lines | error pair": a file open on a unit stays open there, rewound; nothing written beyond the array.
        {"lines4", 2, "missing.txt", "??????|??????|??????|??????| Not exist the file"}, {"count", 0, "missing.txt", "0"},
        {"count", 0, "cell.txt", "4"}, {"lines4", 4, "cell.txt", "cell 5|ab    |      |last  | -"}, {"is_open", 1, "", "0"},
        {"open_r", 40, "cell.txt", "1"}, {"read", 40, "2", "cell 5.0 6.0 7.0|ab|"}, {"count", 0, "cell.txt", "4"}, {"is_open", 40, "", "1"},
        {"is_open", 1, "", "0"}, {"read", 40, "1", "cell 5.0 6.0 7.0|"}, {"lines2", 2, "cell.txt", "cell 5.0 6|ab        | -"},
        {"unit_of", 0, "cell.txt", "40"}, {"read", 40, "1", "cell 5.0 6.0 7.0|"}, {"close", 40, "", ""},
        {"lines2", 4, "cell.txt", "cell 5.0 6|ab        | Dimension of LINES exceeded"}, {"lines2", 0, "cell.txt", "??????????|??????????| -"},
        // Counting stops at the first line starting (left-adjusted, any case) with the stop text after '|', of
        // which only the first 256 characters count.
        {"count", 0, "three.txt", "3"}, {"count", 0, "no_end.txt", "3"}, {"count", 0, "empty.txt", "0"}, {"count", 0, "data.txt|end", "1"},
        {"count", 0, "data.txt|end   ", "1"}, {"count", 0, "data.txt|   ", "0"}, {"count", 0, "data.txt|stop", "3"},
        {"count", 0, "wide.txt|" + x256 + "xxxx", "1"}, {"count", 0, "wide.txt|" + x256 + "y", "1"}, {"is_open", 1, "", "0"},
    };
    std::int32_t count = -5;
    for (std::size_t k = 0; k < std::size(steps); ++k) {
        const Step& c = steps[k];
        const std::string op = c.op, file = c.arg.substr(0, op == "count" ? c.arg.find('|') : std::string::npos);
        const std::string stop = file == c.arg ? "" : c.arg.substr(file.size() + 1);
        const auto access = op.ends_with("rw") ? UnitAccess::read_write : op[5] == 'r' ? UnitAccess::read : UnitAccess::write;
        std::string got;
        if (op.starts_with("open")) got = std::to_string(open_unit(c.unit, file, access, op.ends_with("u") ? UnitForm::unformatted : UnitForm::formatted));
        if (op == "close" || op == "delete") close_unit(c.unit, op == "delete");
        if (op == "exists") got = std::to_string(file_exists(file));
        if (op == "is_open") got = std::to_string(is_unit_open(c.unit));
        if (op == "unit_of") got = std::to_string(unit_of_file(file));
        if (op == "rewind") got = std::to_string(rewind_unit(c.unit));
        if (op == "write") got = std::to_string(write_line(c.unit, c.arg));
        if (op == "record") got = std::to_string(write_record(c.unit, c.arg));
        if (op.starts_with("read")) got = records(c.unit, std::stoi(c.arg), op == "read_u");
        if (op == "content") got = read_file(c.arg);
        if (op == "size") got = std::to_string(fs::file_size(file));
        if (op == "cut5") fs::resize_file(file, fs::file_size(file) - 5);
        if (op == "count") file == c.arg ? number_lines(file, count) : number_lines(file, count, stop), got = std::to_string(count);
        std::vector<std::string> lines(op == "lines4" ? 4 : 2, std::string(op == "lines4" ? 6 : 10, '?'));
        if (op.starts_with("lines")) reading_lines(file, c.unit, lines), got = lines[0] + "|" + lines[1] + "|" + (lines.size() > 2 ? lines[2] + "|" + lines[3] + "|" : "") + " " + err();
        EXPECT_EQ(got, c.expected) << "step " << k << ": " << op << " " << c.unit << " '" << c.arg.substr(0, 20) << "'";
    }
    std::vector<std::string> many(9, std::string(4, ' '));  // more lines asked than the file holds: the run ends
    EXPECT_EXIT(reading_lines("cell.txt", 9, many), testing::ExitedWithCode(2),
                "Input error on unit 1, file '.*cell.txt': end of file while reading its lines");
    testing::internal::CaptureStdout();  // unit 6 is standard output
    EXPECT_TRUE(write_line(standard_output_unit, " Space group is: P 21 21 21"));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), " Space group is: P 21 21 21\n");
}

// The first non-blank, non-comment line of the range holding the keyword (any case, also inside a
// longer word, at its full width), the range guarded; t: the rest in the line's own case; 0, 1, 2:
// the rest, or with all three numeric outputs (2) its first word and the numbers after it; v: the
// numbers (getnum), s: values(uncertainties) (getnum_std), the hit taken only when they read.
TEST(KeywordReaders, TextNumbersAndValuesAfterTheKeyword) {
    const auto lines_of = [](std::initializer_list<std::string_view> texts) {
        std::vector<std::string> lines;
        for (std::string_view t : texts) lines.push_back(fixed(t, 60));
        return lines;
    };
    const auto text = lines_of({"! cell 1 2 3", "", "#cell 9 9 9", "  Cell 5.0 6.0 7.0", "title Quartz Low"});
    const auto inner = lines_of({"unitcell 4", "cell=5 6"}), twice = lines_of({"cell 1 2 3", "cell 4 5 6"});
    const auto cell = lines_of({"! cell given twice", "CELL 5.4 5.4 12.5 90 90 120", "spgr", "cell 1/2 3"});
    const auto atoms = lines_of({"! atoms follow", "atom Fe1 0.1 0.2 0.3", "atom O2", "atom Bad 1/2"});
    const auto esd = lines_of({"cell 5.4321(4) 7.0 12.5(12) 90", "flack", "twin 1.2(3"});
    const std::vector<float> nines(8, 9.0f);
    const std::string nan_msg = "The variable cannot be computed as a number in GETNUM ";
    struct Case { char kind; const std::vector<std::string>* lines; std::int32_t first, last; const char* key; std::int32_t hit;
                  std::string rest; std::int32_t count = -1; std::vector<float> a = {}, b = {}; std::string error = "-";
                  std::optional<char> comment = {}; std::size_t width = 20; };
    const Case cases[] = {
        {'t', &text, 1, 99, "cell", 3, "9 9 9"}, {'t', &text, 1, 99, "cell", 4, "5.0 6.0 7.0", -1, {}, {}, "-", '#'},
        {'t', &text, 1, 5, "TITLE", 5, "Quartz Low"}, {'t', &text, 5, 5, "cell", 5, "", -1, {}, {}, "-", '#'},
        {'t', &text, 1, 99, "cell", 4, "5.0 ", -1, {}, {}, "-", '#', 4}, {'t', &inner, 1, 2, "cell", 1, "4"},
        {'t', &inner, 2, 2, "cell", 2, "6"}, {'t', &inner, 2, 2, "cell ", 2, ""}, {'t', &twice, 3, 2, "cell", 3, ""},
        {'t', &twice, 100, 2, "cell", 100, ""}, {'t', &twice, 2, 1, "cell", 2, ""}, {'t', &twice, 2, 500, "cell", 2, "4 5 6"},
        {'t', &twice, 0, 2, "cell", 1, "1 2 3"}, {'t', &twice, -7, 2, "cell", 1, "1 2 3"}, {'t', &cell, 3, 4, "cell", 4, "1/2 3"},
        {'2', &atoms, 1, 4, "atom", 2, "Fe1", 3, {0.1f, 0.2f, 0.3f}}, {'0', &atoms, 1, 4, "atom", 2, "Fe1 0.1 0.2 0.3"},
        {'1', &atoms, 1, 4, "atom", 2, "Fe1 0.1 0.2 0.3", -1, nines, nines}, {'2', &atoms, 3, 4, "atom", 3, "O2", 0},
        {'2', &atoms, 4, 4, "atom", 4, "Bad", 0, {}, {}, nan_msg}, {'2', &atoms, 1, 4, "bond", 1, "", 0},
        {'v', &cell, 1, 4, "cell", 2, "", 6, {5.4f, 5.4f, 12.5f, 90, 90, 120}, {5, 5, 12, 90, 90, 120}}, {'v', &cell, 1, 4, "spgr", 3, "", 0},
        {'v', &cell, 3, 4, "cell", 3, "", 0, {}, {}, nan_msg}, {'v', &cell, 1, 4, "wave", 1, "", 0},
        {'s', &esd, 1, 3, "Cell", 1, "", 4, {0x1.5ba788p+2f /* digit sum: 5.4321f + 1 ulp */, 7, 12.5f, 90}, {0.0004f, 0, 1.2f, 0}},
        {'s', &esd, 1, 3, "flack", 1, "", 0, {}, {}, "Blank line"}, {'s', &esd, 1, 3, "twin", 1, "", 0, {}, {}, "Wrong format using Standard values"},
    };
    for (const Case& c : cases) {
        std::string rest(c.width, '?');
        std::vector<float> a = nines, b = nines;
        std::vector<std::int32_t> ints(8, 9);
        std::int32_t count = -1, first = c.first;
        init_err_string();
        if (c.kind == 't') read_key_str(*c.lines, first, c.last, c.key, rest, c.comment);
        if (c.kind == '0') read_key_strval(*c.lines, first, c.last, c.key, rest);
        if (c.kind == '1' || c.kind == '2') read_key_strval(*c.lines, first, c.last, c.key, rest, a, ints, c.kind == '2' ? &count : nullptr);
        if (c.kind == 'v') read_key_value(*c.lines, first, c.last, c.key, a, ints, count);
        if (c.kind == 's') read_key_valuestd(*c.lines, first, c.last, c.key, a, b, count);
        if (c.kind != 's') b.assign(ints.begin(), ints.end());
        if (c.kind == 't' || c.kind == '0') a.assign(8, 0), b.assign(8, 0);
        if (c.kind == 'v' || c.kind == 's') rest = fixed("", c.width);
        EXPECT_EQ(std::tuple(first, rest, count, a, b, err()),
                  std::tuple(c.hit, fixed(c.rest, c.width), c.count, padded(c.a, 8), padded(c.b, 8), c.error)) << c.kind << " " << c.key << " from " << c.first;
    }
}
