// Module vorn_string_utilities: text utilities of the library.
#pragma once

#include "text/fixed_text.hpp"
#include "text/fortran_format.hpp"
#include "text/fortran_int.hpp"

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <ranges>
#include <span>
#include <string>
#include <string_view>

namespace vorn_string_utilities {

// ==== Case, blanks, words, numbers, value(uncertainty) and fraction texts ====
// (section owned by the text-core work)
//
// Conventions of this section (the same as those of the section below).  A
// text argument read by a procedure is a std::string_view whose size is the
// declared width of the text (trailing blanks included).  A text out- or
// in-out argument is a std::string whose size on entry is its declared width:
// the result is cut or blank-padded to that width; record fields of type
// FixedText<N> are accepted through thin overloads.  A function result of
// run-time width is a std::string of exactly that width.  An optional
// out-argument is a pointer, nullptr when absent.
//
// Arrays: element k (counted from 1, as in the procedure descriptions) of an
// array argument is element k-1 of the std::span; a 3x3 matrix m(i,j) is
// m[i-1][j-1].  Output arrays are never written past their end: a procedure
// that would need more room stops and sets the error pair.

// -- Module state --
// Error pair of the module.  Set by getword, get_separator_pos, getnum,
// getnum_std, read_fract, get_num_string, get_mat_from_symb and
// numcol_from_numfmt (and by the readers of the section below); cleared by
// init_err_string, which getword, getnum and getnum_std call at entry.  Read
// by the callers.  The message is kept as written, leading and trailing
// blanks included, cut to 150 characters (empty when clear).
extern bool err_string;
extern std::string err_string_mess;
// Line counter of the free-format reader.  Reset and read by the free-format
// reader; advanced by it and by inc_linenum.
extern std::int32_t line_nb;

void init_err_string();
void inc_linenum(std::int32_t increment);

// -- Letter case (ASCII letters only; every other character is kept) --
std::string l_case(std::string_view string);
std::string u_case(std::string_view string);
void lcase(std::string& string);
void ucase(std::string& string);
template <std::size_t N>
void lcase(FixedText<N>& string) { string = l_case(string.view()); }
template <std::size_t N>
void ucase(FixedText<N>& string) { string = u_case(string.view()); }

// -- Blanks and words --
// The non-blank characters in their order, in a text as wide as the trimmed
// input.
std::string pack_string(std::string_view string);
// The text (as wide as its trimmed length) cut before the last occurrence of
// the trimmed `to_strip`.
std::string strip_string(std::string_view string, std::string_view to_strip);
// Cuts the first blank-delimited word off `line` and leaves the rest
// left-adjusted.  `word` (cut or padded to its width) and the lengths are
// optional.
void cutst(std::string& line, std::int32_t* line_length = nullptr, std::string* word = nullptr,
           std::int32_t* word_length = nullptr);
// Splits `line` into words, a double-quoted group counting as one word.
// Each element of `dire` receives its word without padding; at most
// dire.size() words are stored ("Dimension of DIRE exceeded" beyond).
void getword(std::string_view line, std::span<std::string> dire, std::int32_t& word_count);
// Positions (from 1) of `separator` in `line` outside double-quoted groups.
void get_separator_pos(std::string_view line, char separator,
                       std::span<std::int32_t> separator_positions, std::int32_t& count);

// -- Sets of texts --
// True when the counts and the element widths agree and each of the first
// `count1` texts of set1 occurs (as a fixed-width text) among the first
// `count2` of set2.  Counts beyond the arrays are cut to their sizes.
bool equal_sets_text(std::span<const std::string> set1, std::int32_t count1, std::size_t width1,
                     std::span<const std::string> set2, std::int32_t count2, std::size_t width2);
// The same for arrays of fixed-width record fields (std::array, std::vector,
// C arrays of FixedText<N>): the element widths are N1 and N2.
template <typename Set1, typename Set2>
bool equal_sets_text(const Set1& set1, std::int32_t count1, const Set2& set2, std::int32_t count2) {
    const std::size_t width1 = std::ranges::range_value_t<Set1>::size();
    const std::size_t width2 = std::ranges::range_value_t<Set2>::size();
    if (count1 != count2 || width1 != width2) return false;
    const auto n1 = static_cast<std::int64_t>(std::ranges::size(set1));
    const auto n2 = static_cast<std::int64_t>(std::ranges::size(set2));
    const std::int64_t m1 = count1 < n1 ? count1 : n1;
    const std::int64_t m2 = count2 < n2 ? count2 : n2;
    auto first1 = std::ranges::begin(set1);
    auto first2 = std::ranges::begin(set2);
    for (std::int64_t i = 0; i < m1; ++i) {
        bool found = false;
        for (std::int64_t j = 0; j < m2 && !found; ++j) found = first1[i] == first2[j];
        if (!found) return false;
    }
    return true;
}

// -- Number reading --
// Every blank-separated word of `line` read as a number: its 32-bit real
// value and the integer form of its mantissa.  Clears the error pair first.
void getnum(std::string_view line, std::span<float> real_values, std::span<std::int32_t> integer_values,
            std::int32_t& number_count);
// A decimal number or a fraction p/q; a blank text is 1.0, "+" 1.0, "-" -1.0.
void read_fract(std::string_view string, float& value);
// Coefficients of the three one-character codes in a linear expression such
// as "2a-1/2b+c".
void get_num_string(std::string_view expression, std::array<float, 3>& coefficients,
                    const std::array<char, 3>& codes);
// Rows of `matrix` from three comma-separated expressions ("a+b,-a+b,c").
void get_mat_from_symb(std::string_view symbol, std::array<std::array<float, 3>, 3>& matrix,
                       const std::array<char, 3>& codes);
// Total width of the numeric fields of a format text such as "(3F10.4,I5)".
void numcol_from_numfmt(std::string_view format_text, std::int32_t& column_count);

// -- Value-and-uncertainty text --
// "value(uncertainty)", the uncertainty in units of the last digit shown,
// left-adjusted, with a leading blank unless it starts with "-".
void setnum_std(float value, float uncertainty, std::string& string);
template <std::size_t N>
void setnum_std(float value, float uncertainty, FixedText<N>& string) {
    std::string text(N, ' ');
    setnum_std(value, uncertainty, text);
    string = text;
}
// Every blank-separated item of `line` read as a value with an optional
// uncertainty in parentheses ("1.234(5)").  Clears the error pair first.
void getnum_std(std::string_view line, std::span<float> values, std::span<float> uncertainties,
                std::int32_t& number_count);

// -- Fraction texts --
// Signed fraction ("+1/2", "-3/4", "+13/24") or integer ("+1", " 0", "-12")
// text of a real, left-justified; "***/**" when no i/j (i 1..24, j 2..24)
// lies within epss of its magnitude.
void get_fraction_2dig(float value, std::string& fraction);
// The same with i 1..9, j 2..9, one-digit integers and "**/*".
void get_fraction_1dig(float value, std::string& fraction);
// Packed translation text "(0,1/2,-1/4)".
void frac_trans_2dig(const std::array<float, 3>& vector, std::string& string);
// Translation text in the fixed layout "( 1/2, 0  , 1/4)".
void frac_trans_1dig(const std::array<float, 3>& vector, std::string& string);
template <std::size_t N>
void get_fraction_2dig(float value, FixedText<N>& fraction) {
    std::string text(N, ' ');
    get_fraction_2dig(value, text);
    fraction = text;
}
template <std::size_t N>
void get_fraction_1dig(float value, FixedText<N>& fraction) {
    std::string text(N, ' ');
    get_fraction_1dig(value, text);
    fraction = text;
}
template <std::size_t N>
void frac_trans_2dig(const std::array<float, 3>& vector, FixedText<N>& string) {
    std::string text(N, ' ');
    frac_trans_2dig(vector, text);
    string = text;
}
template <std::size_t N>
void frac_trans_1dig(const std::array<float, 3>& vector, FixedText<N>& string) {
    std::string text(N, ' ');
    frac_trans_1dig(vector, text);
    string = text;
}

// ==== File names, logical units, line and keyword readers, free-format reader ====
// (section owned by the text-periphery work)

// Conventions: those of the section above; an optional in-argument is a
// std::optional.

// -- File-name parts (text operations only; the file system is not asked) --
// The part after the last occurrence of the trimmed separator.
void get_basename(std::string_view file_name, std::string_view separator, std::string& base_name);
// The part before the last backslash (the whole name when there is none).
void get_dirname(std::string_view file_name, std::string& dir_name);
// The part from the last "." on, without the dot when `with_dot` is false.
void get_extension(std::string_view file_name, std::string& extension,
                   std::optional<bool> with_dot = std::nullopt);

// -- Logical units --
// Files are addressed by logical unit numbers.  A unit is connected to one
// file at a time, holding formatted text (one line per record) or
// unformatted records (each written as a 4-byte length, the bytes and the
// length again), opened for reading (an existing file, at its start), for
// writing (created or replaced) or for both (created or replaced, read back
// after a rewind).  Unit 5 is standard input and unit 6 standard output:
// connected from the start, never closed or rewound, and unit 6 is the
// default unit of every printing procedure.  Files that the library opens
// itself take the first free unit of 1..499 from `get_logunit`.  File names
// are taken without their trailing blanks; a file is known by its full path.
// This registry is the only file state of the system.  A report writer takes
// a unit number (standard_output_unit by default) and writes each report line
// with write_line; a stored record is written with write_record on a unit
// that the caller opened unformatted.
enum class UnitAccess { read, write, read_write };
enum class UnitForm { formatted, unformatted };

constexpr std::int32_t standard_input_unit = 5;
constexpr std::int32_t standard_output_unit = 6;

// Status of a read from a unit: 0 a record was read, -1 end of file, and a
// positive value for a failure.
constexpr std::int32_t unit_read_ok = 0;
constexpr std::int32_t unit_end_of_file = -1;
constexpr std::int32_t unit_not_connected = 1;   // no file on the unit
constexpr std::int32_t unit_wrong_mode = 2;      // not readable, or of the other form
constexpr std::int32_t unit_read_failure = 3;    // the stream failed or a record is broken

struct LogicalUnit {
    std::string file_name;            // as given to open_unit, without trailing blanks
    std::filesystem::path full_path;  // absolute and normalised, for the by-name query
    UnitAccess access = UnitAccess::read;
    UnitForm form = UnitForm::formatted;
    bool standard = false;            // unit 5 or 6: std::cin or std::cout, not `stream`
    std::fstream stream;
};

// Connected units by number.  Written by open_unit and close_unit (the two
// standard units are entered at start-up); read by every procedure below.
extern std::map<std::int32_t, LogicalUnit> logical_units;

bool file_exists(std::string_view file_name);
// Connects the file to the unit (closing what the unit held before).  Fails,
// leaving the unit closed, for a unit below 1, for units 5 and 6, for a file
// already connected to another unit, or when the file cannot be opened.
bool open_unit(std::int32_t unit, std::string_view file_name, UnitAccess access,
               UnitForm form = UnitForm::formatted);
// Disconnects the unit, deleting its file when asked (temporary files).
void close_unit(std::int32_t unit, bool delete_file = false);
bool is_unit_open(std::int32_t unit);
// The unit the named file is connected to, -1 when it is on none.
std::int32_t unit_of_file(std::string_view file_name);
// Positions the file at its start; false for a unit without a file.
bool rewind_unit(std::int32_t unit);
// Writes one formatted record.  False when the unit cannot take it.
bool write_line(std::int32_t unit, std::string_view line);
// Reads the next formatted record whole (a carriage return before the line
// end is dropped).  Returns a read status (above).
std::int32_t read_line(std::int32_t unit, std::string& line);
// Unformatted records, written and read whole.
bool write_record(std::int32_t unit, std::string_view bytes);
std::int32_t read_record(std::int32_t unit, std::string& bytes);
// Ends the run after an input operation the caller cannot recover from: a
// report on standard error naming the unit, its file and the failure, then
// exit status 2.
[[noreturn]] void stop_on_input_error(std::int32_t unit, std::string_view message);

// First free unit of 1..499, or -1.
void get_logunit(std::int32_t& unit);

// -- Lines of a named file --
// Number of lines of the file (0 for a missing file), counting stopped at the
// first line whose left-adjusted start equals `stop_text` regardless of case.
void number_lines(std::string_view file_name, std::int32_t& line_count,
                  std::optional<std::string_view> stop_text = std::nullopt);
// The first `line_count` lines of the file into lines[0..], each cut or
// blank-padded to the width of its element.  A missing file sets the error
// pair ("Not exist the file") and leaves `lines` alone; more lines than
// `lines` holds are not read ("Dimension of LINES exceeded"); a file with
// fewer lines than asked ends the run.  A file already open on a unit is read
// from its start and left open, rewound.
void reading_lines(std::string_view file_name, std::int32_t line_count, std::span<std::string> lines);

// -- Keyword readers --
// Each searches lines[first_line-1 .. min(last_line, size)-1] for the first
// line that is neither blank nor a comment (starting with "!" or with
// `comment_char`) and contains the keyword, in any letter case and also
// inside a longer word ("unitcell" holds "cell").  The keyword is searched at
// its full width, so it is passed without trailing blanks.  What follows the
// keyword's word is the "rest".  Without a hit the outputs keep their entry
// values and `first_line` is unchanged; at a hit `first_line` becomes the
// index of the hit line (a caller searching on adds 1).  A `first_line`
// below 1 searches from line 1.
// The rest, in the line's own letter case.
void read_key_str(std::span<const std::string> lines, std::int32_t& first_line, std::int32_t last_line,
                  std::string_view keyword, std::string& rest, std::optional<char> comment_char = std::nullopt);
// The rest; when all three numeric outputs are given, only the rest's first
// word, and the numbers after it.
void read_key_strval(std::span<const std::string> lines, std::int32_t& first_line, std::int32_t last_line,
                     std::string_view keyword, std::string& rest,
                     std::optional<std::span<float>> real_values = std::nullopt,
                     std::optional<std::span<std::int32_t>> integer_values = std::nullopt,
                     std::int32_t* number_count = nullptr, std::optional<char> comment_char = std::nullopt);
// The numbers of the rest (getnum); `first_line` moves only when they read
// without an error.
void read_key_value(std::span<const std::string> lines, std::int32_t& first_line, std::int32_t last_line,
                    std::string_view keyword, std::span<float> real_values, std::span<std::int32_t> integer_values,
                    std::int32_t& number_count, std::optional<char> comment_char = std::nullopt);
// The values and standard uncertainties of the rest (getnum_std), "1.234(5)".
void read_key_valuestd(std::span<const std::string> lines, std::int32_t& first_line, std::int32_t last_line,
                       std::string_view keyword, std::span<float> values, std::span<float> uncertainties,
                       std::int32_t& number_count, std::optional<char> comment_char = std::nullopt);

// -- Free-format reader --
// Derives a fixed-column format text from one blank-separated data line and
// a template of one character per field: "I" integer, "F" real, "1".."9" and
// "A".."E" a text of at most 1..14 characters (upper or lower case alike).
// For the line "  12  3.5 hello" and the template "IF5" it builds
// "(i4,f5.0,tr1,a5)".  It reports through `ierr_fmt` and `mess_findfmt`,
// not through the error pair.

// A block of message texts of 132 characters; text k is txt[k - 1].
struct ErrorMessageBlock {
    std::int32_t nlines = 0;
    std::array<FixedText<132>, 5> txt;
};

// Code of the last call of findfmt: 0 no error, -1 end of file on the unit,
// -100 - s a read error of status s, 1..12 a row of `message`.  Written by
// findfmt and the field procedures it calls; read by callers.
extern std::int32_t ierr_fmt;
// The line counter `line_nb` (declared with the module state above) is
// advanced by findfmt and restarted by init_findfmt.
// Report of the last failed call.  Written by findfmt, findfmt_err and
// init_findfmt; read by callers.
extern ErrorMessageBlock mess_findfmt;

inline constexpr std::string_view digit = "0123456789.-";
inline constexpr char ctab = '\t';
// Messages of the free-format reader, rows -2..12: row k is message[k + 2].
extern const std::array<FixedText<48>, 15> message;

// Field codes passed between the procedures below: -1 integer, -2 real,
// 48 + n a text of at most (after measuring: exactly) n characters, 0 none.
constexpr std::int32_t integer_field = -1;
constexpr std::int32_t real_field = -2;

// Builds the format text for the next data line: read from `unit` when it is
// 1 or more (comment lines starting with "!" or "#" and blank lines skipped,
// every line read echoed on `echo_unit` when that is 1 or more), otherwise
// the caller's `line`.  The capacity of `format_text` is its size on entry.
void findfmt(std::int32_t unit, std::string& line, std::string_view field_template,
             std::string& format_text, std::optional<std::int32_t> echo_unit = std::nullopt);
// Restarts the line count (at `start_line`, default 0) and empties the report.
void init_findfmt(std::optional<std::int32_t> start_line = std::nullopt);
// Writes the report of the current `ierr_fmt` for `line`, with a caret under
// column `line_pos` when that is 1 or more.
void findfmt_err(std::string_view line, std::int32_t line_pos);
// The field procedures of findfmt, offered on their own.
void sgetftmfield(std::int32_t& field_code, std::string_view field_template,
                  std::int32_t& template_pos, std::int32_t template_length);
void treatmcharfield(std::int32_t& field_code, std::string_view line, std::int32_t line_length,
                     std::int32_t& line_pos, std::int32_t& width);
void treatnumerfield(std::int32_t field_code, std::string& line, std::int32_t line_length,
                     std::int32_t& line_pos, std::int32_t& width);
void buildfmt(std::int32_t field_code, std::int32_t& width, std::int32_t& format_pos,
              std::string& format_text);

}  // namespace vorn_string_utilities
