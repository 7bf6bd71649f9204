// The free-format reader derives the fixed-column format of a data line field by field; every
// failure code comes with its exact report (message, quoted line, caret under the column, line).
#include <gtest/gtest.h>

#include "text_checks.hpp"

using namespace text_checks;

namespace {
struct Outcome { std::string format; std::int32_t code; std::string line; };
// findfmt on a line given directly, in a line field of at least 80 columns.
Outcome build(std::string_view line_text, std::string_view field_template, std::size_t capacity = 40) {
    init_findfmt();
    std::string line = fixed(line_text, std::max<std::size_t>(80, line_text.size()));
    std::string format(capacity, '#');
    findfmt(0, line, field_template, format);
    return {std::string(trim_right(format)), ierr_fmt, line};
}
std::vector<std::string> report() {
    std::vector<std::string> texts;
    for (std::int32_t k = 0; k < mess_findfmt.nlines; ++k) texts.emplace_back(mess_findfmt.txt[static_cast<std::size_t>(k)].trimmed());
    return texts;
}
const std::string at_line1 = " => Please check your input file at line:      1 !";
// Message rows -2..12.
const char* const texts[15] = {
    "FindFMT: data line QUORBEL read error nber:", "FindFMT: End of file !", "FindFMT: no error",
    "FindFMT: empty format descriptor (0 field) !", "FindFMT: data string, read error !", "FindFMT: integer field found real !",
    "FindFMT: begged dot, sign or 'e' character !", "FindFMT: invalid character in an integer field !",
    "FindFMT: invalid field in format descriptor !", "FindFMT: invalid character in a numeric field !",
    "FindFMT: 0 character in current field !", "FindFMT: format string length exceeded !", "FindFMT: separator missing !",
    "FindFMT: incomplete E or D format !", "FindFMT: incomplete number !"};
}  // namespace

// Template characters I, F, 1..9, A..E give the field codes, anything else code 6; before and
// beyond the template it is used up without an error.  The message rows, -2..12, as reported.
TEST(FreeFormat, TemplateCharactersFieldCodesAndMessages) {
    const std::string table = "IF123456789ABCDE0 GX.";
    const std::int32_t codes[] = {-1, -2, 49, 50, 51, 52, 53, 54, 55, 56, 57, 58, 59, 60, 61, 62, 0, 0, 0, 0, 0}, size = 21;
    for (std::int32_t k = -5; k <= size; ++k) {
        const bool inside = k >= 0 && k < size;
        std::int32_t code = 99, pos = k;
        ierr_fmt = 0;
        sgetftmfield(code, table, pos, size);
        EXPECT_EQ(std::tuple(code, ierr_fmt, inside ? pos : k + 1), std::tuple(inside ? codes[k] : 0, inside && codes[k] == 0 ? 6 : 0, k + 1)) << k;
    }
    for (std::size_t k = 0; k < 15; ++k) EXPECT_EQ(message[k].trimmed(), texts[k]) << "row " << static_cast<int>(k) - 2;
}

// Format texts of given lines, and on failure the format up to the last field built and the report:
// message, the line in quotes (up to 129 characters; 130 shown bare, texts cut at 132), a caret under
// the failing column and the line number.  Code 8 (a numeric field of width 0) reports nothing.
TEST(FreeFormat, FormatTextsAndEveryFailureWithItsReport) {
    const std::string l129 = std::string(127, '1') + "x1", l130 = std::string(128, '1') + "x1", l200 = std::string(180, '1') + "x";
    struct Case { std::string line, field_template; std::int32_t code; std::string format, mark = "", shown = ""; std::size_t capacity = 40; };
    const Case cases[] = {
        {"  12  3.5 hello", "IF5", 0, "(i4,f5.0,tr1,a5)"}, {"12 3.5 hello", "if5", 0, "(i2,f4.0,tr1,a5)"}, {"1 2 3", "III", 0, "(i1,i2,i2)"},
        {"1 2", "IIF", 0, "(i1,i2,f1.0)"}, {"1 2", "I5", 0, "(i1,tr1,a1)"}, {"1 2 3 4", "II", 0, "(i1,i2)"}, {"12-5", "II", 0, "(i2,i2)"},
        {"-12 +3.5e-2 abc", "IFA", 0, "(i3,f8.0,tr1,a3)"}, {"12E3", "I", 0, "(i4)"}, {"1.5Ee3", "F", 0, "(f6.0)"}, {"1.5d+3", "F", 0, "(f6.0)"},
        {".5", "F", 0, "(f2.0)"}, {"abcdef", "3", 0, "(a3)"}, {"x y", "11", 0, "(a1,tr1,a1)"}, {"xy", "11", 0, "(a1,a1)"}, {"a1", "1I", 0, "(a1,i1)"},
        {"  hello  world", "AA", 0, "(tr2,a5,tr2,a5)"}, {"abcdefghijklmnop", "E", 0, "(a14)"}, {"abcdefghijklmnop", "b", 0, "(a11)"},
        {"12\tabc", "I3", 0, "(i2,tr1,a3)"}, {"12\t5", "II", 0, "(i2,i2)"}, {"1\t5", "II", 0, "(i1,i2)"}, {"", "5", 0, "(a5)"}, {"12345678901", "I", 0, "(i11)"},
        {"1" + std::string(120, ' ') + "2", "II", 0, "(i1,i121)"}, {"1", "I", 0, "(i1)", "", "", 4},
        {"1.5", "I", 3, "()", " --^"}, {"1..5", "F", 4, "()", " ---^"}, {"1.5EE3", "F", 4, "()", " -----^"}, {"1E--5", "F", 4, "()", " ----^"},
        {"E5", "I", 5, "()", "   ^----"}, {"1 2", "IG", 6, "(i1,", "   ^----"}, {"12abc", "I3", 7, "()", " ---^"}, {"1,2", "II", 7, "()", " --^"},
        {"12 3x5", "IF", 7, "(i2,", " -----^"}, {"12 \tx", "I3", 8, "(i2,", " ---^"}, {"\t5", "I", 8, "()"}, {"", "I", 8, "()"},
        {"abc de", "22", 10, "(a2,", " ---^"}, {"ab12", "2I", 10, "(a2,", " ---^"}, {"E5", "F", 11, "()", "   ^----"},
        {"1.5E+E3", "F", 11, "()", " ------^"}, {"- 5", "I", 12, "()", " --^"}, {"+\t5", "I", 12, "()", " --^"},
        {"1.5E+ 3", "F", 12, "()", " ------^"}, {"1 2", "   ", 1, "()"}, {"1", "I", 9, "(i1", " --^", "", 3},
        {"1 2", "II", 9, "(i1,i2", " ----^", "", 6}, {"abc", "3", 9, "(", " ---^", "", 1},
        {l129, "I", 7, "()", " " + std::string(128, '-') + "^"}, {l130, "I", 7, "()", " " + std::string(128, '-') + "^", " " + l130},
        {l200, "I", 7, "()", " " + std::string(131, '-'), " " + l200.substr(0, 131)},
    };
    for (const Case& c : cases) {
        const Outcome got = build(c.line, c.field_template, c.capacity);
        const std::string shown = c.shown.empty() ? " '" + std::string(trim_right(got.line)) + "'" : c.shown;
        std::vector<std::string> expected{std::string(" ") + texts[c.code + 2], shown, c.mark, at_line1};
        if (c.mark.empty()) expected.erase(expected.begin() + 2);
        if (c.code == 0 || (c.code == 8 && c.mark.empty())) expected.clear();
        EXPECT_EQ(std::tuple(got.code, got.format, report()), std::tuple(c.code, c.format, expected)) << c.line.substr(0, 30) << " / " << c.field_template;
    }
    // A tab opening a numeric field in column 2 or later becomes a blank.
    for (const auto& [tabbed, blanked] : {std::pair{"12\t5", "12 5"}, {"1\t5", "1 5"}})
        EXPECT_EQ(trim_right(build(tabbed, "II").line), blanked);
    build("1.5", "I");
    std::string line = fixed("1", 80), format(40, ' ');  // a successful call leaves the report of the failed one
    findfmt(0, line, "I", format);
    EXPECT_EQ(std::tuple(ierr_fmt, mess_findfmt.nlines, line_nb), std::tuple(0, 4, 2));
    init_findfmt();
    ierr_fmt = 13;  // a code that no row describes
    findfmt_err("x", 0);
    EXPECT_EQ(report(), (std::vector<std::string>{" FMT decode error number:13", " 'x'"}));
    for (std::int32_t code : {-1, 0}) {  // codes -1 and 0 write nothing
        init_findfmt();
        ierr_fmt = code;
        findfmt_err("x", 1);
        EXPECT_EQ(mess_findfmt.nlines, 0);
    }
}

TEST(FreeFormat, LinesReadFromAUnitSkipCommentsEchoAndEnd) {
    const ScratchDir dir("free_format");
    ASSERT_TRUE(open_unit(10, dir.write("data.txt", "! comment\n# other comment\n\n 1 2.5\n"), UnitAccess::read));
    ASSERT_TRUE(open_unit(11, "echo.txt", UnitAccess::write));
    init_findfmt();
    std::string line(40, ' '), format(40, ' ');
    findfmt(10, line, "IF", format, 11);
    EXPECT_EQ(std::tuple(ierr_fmt, trim_right(format), trim_right(line), line_nb), std::tuple(0, "(i2,f4.0)", " 1 2.5", 4));
    findfmt(10, line, "IF", format, 11);
    EXPECT_EQ(std::tuple(ierr_fmt, trim_right(format), report()),
              std::tuple(-1, "()", std::vector<std::string>{" => Non FATAL End of file !,  logical unit:   10"}));
    close_unit(11);
    EXPECT_EQ(read_file("echo.txt"), "! comment\n# other comment\n\n 1 2.5\n");
    init_findfmt(7);  // the block holds five texts: an end of file on a full block adds none
    EXPECT_EQ(line_nb, 7);
    for (int k = 0; k < 6; ++k) findfmt(10, line, "I", format);
    EXPECT_EQ(std::pair(mess_findfmt.nlines, line_nb), std::pair(5, 13));
    close_unit(10);
    init_findfmt();  // a unit without a file is a read error of status 1
    line = fixed("old", 40);
    findfmt(77, line, "I", format);
    EXPECT_EQ(std::pair(ierr_fmt, report()), std::pair(-100 - unit_not_connected,
              std::vector<std::string>{" FindFMT: data line QUORBEL read error nber:   1", " 'old'", at_line1}));
}

// Positions and lengths out of range are kept within the line, the template and the format text.
TEST(FreeFormat, FieldProceduresStayWithinTheirTexts) {
    std::string line = "12";
    std::int32_t pos = -3, width = -1, code = 52;
    treatnumerfield(integer_field, line, 50, pos, width);
    EXPECT_EQ(std::tuple(ierr_fmt, width, pos), std::tuple(0, 2, 3));
    pos = -1;
    treatmcharfield(code, "ab", 50, pos, width);
    EXPECT_EQ(std::tuple(ierr_fmt, code, width, pos), std::tuple(0, 50, 0, 2));
    std::string format = "(";
    std::int32_t format_pos = 1;
    width = 3;
    ierr_fmt = 0;
    buildfmt(integer_field, width, format_pos, format);
    EXPECT_EQ(std::pair(ierr_fmt, format), std::pair(9, std::string("(")));
}
