// The free-format reader builds the format text of a data line field by
// field, and every failure code comes with its exact report.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "text/string_util.hpp"

using namespace vorn_string_utilities;

namespace {

struct Outcome {
    std::string format;
    std::int32_t code;
    std::string line;
};

// findfmt on a line given directly, in a line field of at least 80 columns.
Outcome build(std::string_view line_text, std::string_view field_template, std::size_t capacity = 40) {
    init_findfmt();
    std::string line = fixed(line_text, std::max<std::size_t>(80, line_text.size()));
    std::string format(capacity, '#');
    findfmt(0, line, field_template, format);
    return {std::string(trim_right(format)), ierr_fmt, line};
}

std::vector<std::string> report_texts() {
    std::vector<std::string> texts;
    for (std::int32_t k = 1; k <= mess_findfmt.nlines; ++k) {
        texts.emplace_back(mess_findfmt.txt[static_cast<std::size_t>(k - 1)].trimmed());
    }
    return texts;
}

std::filesystem::path scratch_dir(const std::string& name) {
    auto dir = std::filesystem::temp_directory_path() / ("borq_free_format_" + name);
    std::filesystem::create_directories(dir);
    return dir;
}

}  // namespace

TEST(FreeFormat, FormatTextsOfGivenLines) {
    struct Case {
        std::string line, field_template, format;
    };
    const std::vector<Case> cases = {
        {"  12  3.5 hello", "IF5", "(i4,f5.0,tr1,a5)"},
        {"12 3.5 hello", "if5", "(i2,f4.0,tr1,a5)"},
        {"1 2 3", "III", "(i1,i2,i2)"},
        {"1 2", "IIF", "(i1,i2,f1.0)"},
        {"1 2", "I5", "(i1,tr1,a1)"},
        {"1 2 3 4", "II", "(i1,i2)"},
        {"-12 +3.5e-2 abc", "IFA", "(i3,f8.0,tr1,a3)"},
        {"12-5", "II", "(i2,i2)"},
        {"12E3", "I", "(i4)"},
        {"1.5Ee3", "F", "(f6.0)"},
        {"1.5d+3", "F", "(f6.0)"},
        {".5", "F", "(f2.0)"},
        {"abcdef", "3", "(a3)"},
        {"x y", "11", "(a1,tr1,a1)"},
        {"xy", "11", "(a1,a1)"},
        {"a1", "1I", "(a1,i1)"},
        {"  hello  world", "AA", "(tr2,a5,tr2,a5)"},
        {"abcdefghijklmnop", "E", "(a14)"},
        {"abcdefghijklmnop", "b", "(a11)"},
        {"12\tabc", "I3", "(i2,tr1,a3)"},
        {"12\t5", "II", "(i2,i2)"},
        {"", "5", "(a5)"},
        {"12345678901", "I", "(i11)"},
        {"1" + std::string(120, ' ') + "2", "II", "(i1,i121)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("line '" + c.line + "' template '" + c.field_template + "'");
        const Outcome got = build(c.line, c.field_template);
        EXPECT_EQ(got.code, 0);
        EXPECT_EQ(got.format, c.format);
    }
    // A tab that opens a numeric field after column 1 becomes a blank.
    EXPECT_EQ(trim_right(build("12\t5", "II").line), "12 5");
}

TEST(FreeFormat, TemplateCharactersAndFieldCodes) {
    const std::string table = "IF123456789ABCDE";
    const std::vector<std::int32_t> codes = {-1, -2, 49, 50, 51, 52, 53, 54, 55, 56, 57, 58, 59, 60, 61, 62};
    for (std::size_t k = 0; k < table.size(); ++k) {
        SCOPED_TRACE(std::string("template character ") + table[k]);
        ierr_fmt = 0;
        std::int32_t code = 99;
        std::int32_t pos = static_cast<std::int32_t>(k);
        sgetftmfield(code, table, pos, static_cast<std::int32_t>(table.size()));
        EXPECT_EQ(code, codes[k]);
        EXPECT_EQ(pos, static_cast<std::int32_t>(k) + 1);
        EXPECT_EQ(ierr_fmt, 0);
    }
    for (std::string_view bad : {"0", " ", "G", "X", "."}) {
        SCOPED_TRACE(std::string("template character '") + std::string(bad) + "'");
        ierr_fmt = 0;
        std::int32_t code = 99;
        std::int32_t pos = 0;
        sgetftmfield(code, bad, pos, 1);
        EXPECT_EQ(code, 0);
        EXPECT_EQ(ierr_fmt, 6);
    }
    // Beyond the template: used up, no error.
    ierr_fmt = 0;
    std::int32_t code = 99;
    std::int32_t pos = 1;
    sgetftmfield(code, "I", pos, 1);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(ierr_fmt, 0);
}

TEST(FreeFormat, EveryFailureCodeWithItsColumn) {
    struct Case {
        std::string line, field_template;
        std::int32_t code;
        std::string mark;  // the caret line of the report, "" when none
    };
    const std::vector<Case> cases = {
        {"1.5", "I", 3, " --^"},
        {"1..5", "F", 4, " ---^"},
        {"1.5EE3", "F", 4, " -----^"},
        {"1E--5", "F", 4, " ----^"},
        {"E5", "I", 5, "   ^----"},
        {"1 2", "IG", 6, "   ^----"},
        {"12abc", "I3", 7, " ---^"},
        {"1,2", "II", 7, " --^"},
        {"12 \tx", "I3", 8, " ---^"},
        {"abc de", "22", 10, " ---^"},
        {"ab12", "2I", 10, " ---^"},
        {"E5", "F", 11, "   ^----"},
        {"1.5E+E3", "F", 11, " ------^"},
        {"- 5", "I", 12, " --^"},
        {"+\t5", "I", 12, " --^"},
        {"1.5E+ 3", "F", 12, " ------^"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("line '" + c.line + "' template '" + c.field_template + "'");
        const Outcome got = build(c.line, c.field_template);
        EXPECT_EQ(got.code, c.code);
        const std::vector<std::string> texts = report_texts();
        ASSERT_EQ(texts.size(), 4u);
        EXPECT_EQ(texts[0], " " + std::string(message[static_cast<std::size_t>(c.code + 2)].trimmed()));
        EXPECT_EQ(texts[1], " '" + std::string(trim_right(got.line)) + "'");
        EXPECT_EQ(texts[2], c.mark);
        EXPECT_EQ(texts[3], " => Please check your input file at line:      1 !");
        EXPECT_EQ(got.format.back(), got.format == "()" ? ')' : ',');
    }
}

TEST(FreeFormat, ReportOfANumericErrorNamesLineAndColumn) {
    init_findfmt();
    std::string line = fixed("12 3x5", 80);
    std::string format(40, ' ');
    findfmt(0, line, "IF", format);
    EXPECT_EQ(ierr_fmt, 7);
    EXPECT_EQ(trim_right(format), "(i2,");
    ASSERT_EQ(mess_findfmt.nlines, 4);
    EXPECT_EQ(mess_findfmt.txt[0].trimmed(), " FindFMT: invalid character in a numeric field !");
    EXPECT_EQ(mess_findfmt.txt[1].trimmed(), " '12 3x5'");
    EXPECT_EQ(mess_findfmt.txt[2].trimmed(), " -----^");
    EXPECT_EQ(mess_findfmt.txt[3].trimmed(), " => Please check your input file at line:      1 !");
    // A successful call leaves the report of the failed one.
    line = fixed("1", 80);
    findfmt(0, line, "I", format);
    EXPECT_EQ(ierr_fmt, 0);
    EXPECT_EQ(mess_findfmt.nlines, 4);
    EXPECT_EQ(line_nb, 2);
}

TEST(FreeFormat, FailuresWithoutMarkOrWithoutReport) {
    // A blank template: code 1, the format "()", no mark.
    Outcome got = build("1 2", "   ");
    EXPECT_EQ(got.code, 1);
    EXPECT_EQ(got.format, "()");
    std::vector<std::string> texts = report_texts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0], " FindFMT: empty format descriptor (0 field) !");
    EXPECT_EQ(texts[1], " '1 2'");
    EXPECT_EQ(texts[2], " => Please check your input file at line:      1 !");

    // A numeric field of width 0 is code 8 without a report.
    for (std::string_view line : {"\t5", ""}) {
        SCOPED_TRACE("line '" + std::string(line) + "'");
        got = build(line, "I");
        EXPECT_EQ(got.code, 8);
        EXPECT_EQ(mess_findfmt.nlines, 0);
    }

    // A code that no row describes.
    init_findfmt();
    ierr_fmt = 13;
    findfmt_err("x", 0);
    texts = report_texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], " FMT decode error number:13");
    // Codes -1 and 0 write nothing.
    init_findfmt();
    for (std::int32_t code : {-1, 0}) {
        ierr_fmt = code;
        findfmt_err("x", 1);
        EXPECT_EQ(mess_findfmt.nlines, 0);
    }
}

TEST(FreeFormat, FormatCapacityAndLongLines) {
    EXPECT_EQ(build("1", "I", 4).format, "(i1)");
    Outcome got = build("1", "I", 3);
    EXPECT_EQ(got.code, 9);
    EXPECT_EQ(got.format, "(i1");
    EXPECT_EQ(report_texts().at(0), " FindFMT: format string length exceeded !");
    got = build("1 2", "II", 6);
    EXPECT_EQ(got.code, 9);
    EXPECT_EQ(got.format, "(i1,i2");
    EXPECT_EQ(build("abc", "3", 1).format, "(");

    // 129 characters still fit between quotes; 130 are shown bare, the caret
    // staying under the failing column.
    const std::string line129 = std::string(127, '1') + "x1";
    got = build(line129, "I");
    EXPECT_EQ(got.code, 7);
    std::vector<std::string> texts = report_texts();
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[1], " '" + line129 + "'");
    EXPECT_EQ(texts[2], " " + std::string(128, '-') + "^");
    EXPECT_EQ(texts[1].find('x'), texts[2].find('^'));

    const std::string line130 = std::string(128, '1') + "x1";
    got = build(line130, "I");
    texts = report_texts();
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[1], " " + line130);
    EXPECT_EQ(texts[1].find('x'), texts[2].find('^'));

    // Texts beyond 132 characters are cut.
    const std::string line200 = std::string(180, '1') + "x";
    got = build(line200, "I");
    texts = report_texts();
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[1], " " + line200.substr(0, 131));
    EXPECT_EQ(texts[2], " " + std::string(131, '-'));
}

TEST(FreeFormat, LinesReadFromAUnitSkipCommentsEchoAndEnd) {
    const auto dir = scratch_dir("unit");
    const auto data = dir / "data.txt";
    const auto echo = dir / "echo.txt";
    {
        std::ofstream out(data);
        out << "! comment\n# other comment\n\n 1 2.5\n";
    }
    ASSERT_TRUE(open_unit(10, data.string(), UnitAccess::read));
    ASSERT_TRUE(open_unit(11, echo.string(), UnitAccess::write));
    init_findfmt();
    std::string line(40, ' ');
    std::string format(40, ' ');
    findfmt(10, line, "IF", format, 11);
    EXPECT_EQ(ierr_fmt, 0);
    EXPECT_EQ(trim_right(format), "(i2,f4.0)");
    EXPECT_EQ(trim_right(line), " 1 2.5");
    EXPECT_EQ(line_nb, 4);

    findfmt(10, line, "IF", format, 11);
    EXPECT_EQ(ierr_fmt, -1);
    EXPECT_EQ(trim_right(format), "()");
    ASSERT_EQ(mess_findfmt.nlines, 1);
    EXPECT_EQ(mess_findfmt.txt[0].trimmed(), " => Non FATAL End of file !,  logical unit:   10");
    close_unit(11);
    std::ifstream in(echo);
    std::stringstream echoed;
    echoed << in.rdbuf();
    EXPECT_EQ(echoed.str(), "! comment\n# other comment\n\n 1 2.5\n");

    // The block holds five texts: an end of file on a full block adds none.
    init_findfmt(7);
    EXPECT_EQ(line_nb, 7);
    for (int k = 0; k < 6; ++k) findfmt(10, line, "I", format);
    EXPECT_EQ(mess_findfmt.nlines, 5);
    EXPECT_EQ(line_nb, 13);
    close_unit(10);

    // A unit without a file is a read error of status 1.
    init_findfmt();
    line = fixed("old", 40);
    findfmt(77, line, "I", format);
    EXPECT_EQ(ierr_fmt, -100 - unit_not_connected);
    std::vector<std::string> texts = report_texts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0], " FindFMT: data line QUORBEL read error nber:   1");
    EXPECT_EQ(texts[1], " 'old'");
    std::filesystem::remove_all(dir);
}

TEST(FreeFormat, FieldProceduresStayWithinTheirTexts) {
    // Positions and lengths out of range are kept within the line and the
    // template instead of reaching past them.
    std::string line = "12";
    std::int32_t pos = -3;
    std::int32_t width = -1;
    treatnumerfield(integer_field, line, 50, pos, width);
    EXPECT_EQ(ierr_fmt, 0);
    EXPECT_EQ(width, 2);
    EXPECT_EQ(pos, 3);

    std::int32_t code = 52;
    pos = -1;
    treatmcharfield(code, "ab", 50, pos, width);
    EXPECT_EQ(ierr_fmt, 0);
    EXPECT_EQ(code, 50);
    EXPECT_EQ(width, 0);
    EXPECT_EQ(pos, 2);

    pos = -5;
    code = 99;
    sgetftmfield(code, "I", pos, 1);
    EXPECT_EQ(code, 0);

    std::string format = "(";
    std::int32_t format_pos = 1;
    width = 3;
    ierr_fmt = 0;
    buildfmt(integer_field, width, format_pos, format);
    EXPECT_EQ(ierr_fmt, 9);
    EXPECT_EQ(format, "(");
}
