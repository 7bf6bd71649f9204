// Free-format reader: measures the blank-separated fields of a data line
// against a template and writes one edit descriptor per field, so that the
// caller can read the line with a fixed-column format.
#include <algorithm>

#include "text/string_util.hpp"

namespace vorn_string_utilities {

std::int32_t ierr_fmt = 0;
ErrorMessageBlock mess_findfmt;

const std::array<FixedText<48>, 15> message = {
    FixedText<48>("FindFMT: data line QUORBEL read error nber:"),
    FixedText<48>("FindFMT: End of file !"),
    FixedText<48>("FindFMT: no error"),
    FixedText<48>("FindFMT: empty format descriptor (0 field) !"),
    FixedText<48>("FindFMT: data string, read error !"),
    FixedText<48>("FindFMT: integer field found real !"),
    FixedText<48>("FindFMT: begged dot, sign or 'e' character !"),
    FixedText<48>("FindFMT: invalid character in an integer field !"),
    FixedText<48>("FindFMT: invalid field in format descriptor !"),
    FixedText<48>("FindFMT: invalid character in a numeric field !"),
    FixedText<48>("FindFMT: 0 character in current field !"),
    FixedText<48>("FindFMT: format string length exceeded !"),
    FixedText<48>("FindFMT: separator missing !"),
    FixedText<48>("FindFMT: incomplete E or D format !"),
    FixedText<48>("FindFMT: incomplete number !"),
};

namespace {

bool is_sign(char c) { return c == '+' || c == '-'; }
bool is_exponent_letter(char c) { return c == 'E' || c == 'e' || c == 'D' || c == 'd'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_text_field(std::int32_t field_code) { return field_code > 0; }

// Character at 1-based column `column` of a line.
char column_of(std::string_view line, std::int32_t column) {
    return line[static_cast<std::size_t>(column - 1)];
}

// A line length given by the caller, kept within the line itself.
std::int32_t usable_length(std::string_view line, std::int32_t line_length) {
    const auto size = static_cast<std::int64_t>(line.size());
    return static_cast<std::int32_t>(std::min<std::int64_t>(line_length, size));
}

std::string_view message_of(std::int32_t code) {
    return message[static_cast<std::size_t>(code + 2)].trimmed();
}

// Appends a text to the report block; a full block keeps its five texts.
void add_report_text(std::string_view text) {
    if (mess_findfmt.nlines >= 5) return;
    mess_findfmt.nlines += 1;
    mess_findfmt.txt[static_cast<std::size_t>(mess_findfmt.nlines - 1)] = text;
}

// The report of a failed call: what failed, the line with a mark under the
// failing column, and the line number in the data file.
void report_failure(std::string_view line, std::int32_t line_pos) {
    findfmt_err(line, line_pos);
    add_report_text(" => Please check your input file at line: " + format_i(line_nb, 6) + " !");
}

}  // namespace

void init_findfmt(std::optional<std::int32_t> start_line) {
    line_nb = start_line.value_or(0);
    mess_findfmt.nlines = 0;
    for (auto& text : mess_findfmt.txt) text = "";
}

void sgetftmfield(std::int32_t& field_code, std::string_view field_template, std::int32_t& template_pos,
                  std::int32_t template_length) {
    template_pos += 1;
    if (template_pos < 1 || template_pos > template_length ||
        template_pos > static_cast<std::int32_t>(field_template.size())) {
        field_code = 0;
        return;
    }
    const char c = column_of(field_template, template_pos);
    if (c == 'I') {
        field_code = integer_field;
    } else if (c == 'F') {
        field_code = real_field;
    } else if (c >= '1' && c <= '9') {
        field_code = c;                       // text of at most 1..9 characters: 49..57
    } else if (c >= 'A' && c <= 'E') {
        field_code = 58 + (c - 'A');          // text of at most 10..14 characters: 58..62
    } else {
        field_code = 0;
        ierr_fmt = 6;
    }
}

void treatmcharfield(std::int32_t& field_code, std::string_view line, std::int32_t line_length,
                     std::int32_t& line_pos, std::int32_t& width) {
    const std::int32_t most = field_code - 48;
    width = 0;
    ierr_fmt = 0;
    line_length = usable_length(line, line_length);
    if (line_pos < 0) line_pos = 0;
    if (line_pos >= line_length) return;

    // A field after one that ended in column 2 or later needs a separator.
    if (line_pos >= 2) {
        line_pos += 1;
        const char c = column_of(line, line_pos);
        if (c != ' ' && c != ctab) {
            ierr_fmt = 10;
            return;
        }
        width = 1;
    }
    // Skip the blanks before the field; the position stays on the last one.
    while (true) {
        if (line_pos >= line_length) return;
        if (column_of(line, line_pos + 1) != ' ') break;
        line_pos += 1;
        width += 1;
    }
    std::int32_t taken = 0;
    while (line_pos < line_length && taken < most) {
        const char c = column_of(line, line_pos + 1);
        if (c == ' ' || c == ctab) break;
        line_pos += 1;
        taken += 1;
    }
    if (taken == 0) {
        ierr_fmt = 8;
        return;
    }
    field_code = 48 + taken;
}

void treatnumerfield(std::int32_t field_code, std::string& line, std::int32_t line_length,
                     std::int32_t& line_pos, std::int32_t& width) {
    const bool integer = field_code == integer_field;
    width = 0;
    ierr_fmt = 0;
    bool point = false;
    bool sign = false;
    line_length = usable_length(line, line_length);
    if (line_pos < 0) line_pos = 0;
    const std::int32_t entry_pos = line_pos;

    // Leading blanks and signs.
    char c = ' ';
    while (true) {
        line_pos += 1;
        if (line_pos > line_length) return;
        width += 1;
        c = column_of(line, line_pos);
        if (c == ctab) {
            if (width == 1 && line_pos >= 2) {
                line[static_cast<std::size_t>(line_pos - 1)] = ' ';
                c = ' ';
            } else {
                if (sign) {
                    ierr_fmt = 12;
                } else {
                    line_pos -= 1;
                    width -= 1;
                }
                return;
            }
        }
        if (is_sign(c)) {
            sign = true;
        } else if (c == ' ') {
            if (sign) {
                ierr_fmt = 12;
                return;
            }
        } else {
            break;
        }
    }

    // The first significant character.
    if (entry_pos >= 2 && width == 1) {
        ierr_fmt = 10;
    } else if (c == '.') {
        point = true;
        if (integer) ierr_fmt = 3;
    } else if (is_exponent_letter(c)) {
        ierr_fmt = integer ? 5 : 11;
    } else if (!is_digit(c)) {
        ierr_fmt = 7;
    }
    if (ierr_fmt != 0) return;

    // The body: digits, one point, exponent letters and the exponent's sign.
    char previous = c;
    while (true) {
        line_pos += 1;
        if (line_pos > line_length) return;
        width += 1;
        c = column_of(line, line_pos);
        if (c == '.') {
            if (point) {
                ierr_fmt = 4;
            } else if (integer) {
                ierr_fmt = 3;
            } else {
                point = true;
            }
        } else if (c == ' ' || c == ctab) {
            if (is_sign(previous)) {
                ierr_fmt = 12;
            } else {
                line_pos -= 1;
                width -= 1;
                return;
            }
        } else if (is_sign(c)) {
            if (is_sign(previous)) {
                ierr_fmt = 4;
            } else if (!(!integer && is_exponent_letter(previous))) {
                line_pos -= 1;                 // the sign begins the next field
                width -= 1;
                return;
            }
        } else if (is_exponent_letter(c)) {
            if (is_sign(previous)) {
                ierr_fmt = 11;
            } else if (c == previous) {
                ierr_fmt = 4;
            }
        } else if (!is_digit(c)) {
            ierr_fmt = 7;
        }
        if (ierr_fmt != 0) return;
        previous = c;
    }
}

void buildfmt(std::int32_t field_code, std::int32_t& width, std::int32_t& format_pos, std::string& format_text) {
    const std::int32_t capacity = static_cast<std::int32_t>(format_text.size());
    auto put = [&](std::string_view piece) {
        for (char c : piece) {
            if (format_pos < 0 || format_pos + 1 > capacity) {
                ierr_fmt = 9;
                return false;
            }
            format_text[static_cast<std::size_t>(format_pos)] = c;
            format_pos += 1;
        }
        return true;
    };
    const std::string width_digits = std::to_string(width);
    bool placed = false;
    if (field_code == integer_field) {
        placed = put("i") && put(width_digits);
    } else if (field_code == real_field) {
        placed = put("f") && put(width_digits) && put(".0");
    } else {
        const std::string count_digits = std::to_string(field_code - 48);
        placed = (width == 0 ? put("a") : put("tr") && put(width_digits) && put(",a")) && put(count_digits);
    }
    if (placed) put(",");
}

void findfmt_err(std::string_view line, std::int32_t line_pos) {
    if (ierr_fmt == -1 || ierr_fmt == 0) return;
    mess_findfmt.nlines = 0;
    if (ierr_fmt <= -2) {
        add_report_text(" " + std::string(message_of(-2)) + format_i(-100LL - ierr_fmt, 4));
    } else if (ierr_fmt <= 12) {
        add_report_text(" " + std::string(message_of(ierr_fmt)));
    } else {
        add_report_text(" FMT decode error number:" + format_i(ierr_fmt, 2));
    }

    std::size_t shown = len_trim(line);
    if (shown == 0) shown = line.empty() ? 0 : 1;
    const std::string_view shown_line = line.substr(0, shown);
    const std::size_t column = line_pos > 0 ? static_cast<std::size_t>(line_pos) : 0;
    if (shown <= 129) {
        add_report_text(" '" + std::string(shown_line) + "'");
        if (column == 1) {
            add_report_text("   ^----");
        } else if (column >= 2) {
            add_report_text(" " + std::string(column, '-') + "^");
        }
    } else {
        add_report_text(" " + std::string(shown_line));
        if (column >= 1) add_report_text(" " + std::string(column - 1, '-') + "^");
    }
}

void findfmt(std::int32_t unit, std::string& line, std::string_view field_template, std::string& format_text,
             std::optional<std::int32_t> echo_unit) {
    format_text = fixed("()", format_text.size());
    std::int32_t format_pos = 1;
    ierr_fmt = 0;
    std::int32_t line_pos = 0;
    std::int32_t template_pos = 0;
    const std::int32_t template_length = static_cast<std::int32_t>(len_trim(field_template));
    line_nb = wrap_add(line_nb, 1);

    if (template_length == 0) {
        ierr_fmt = 1;
        report_failure(line, line_pos);
        return;
    }
    std::string work_template(field_template);
    ucase(work_template);

    std::int32_t line_length = 0;
    if (unit >= 1) {
        while (true) {
            std::string record;
            const std::int32_t status = read_line(unit, record);
            if (status == unit_end_of_file) {
                ierr_fmt = -1;
                add_report_text(" => Non FATAL End of file !,  logical unit: " + format_i(unit, 4));
                return;
            }
            if (status != unit_read_ok) {
                ierr_fmt = -100 - status;
                report_failure(line, 0);
                return;
            }
            line = fixed(record, line.size());
            line_length = static_cast<std::int32_t>(len_trim(line));
            if (echo_unit && *echo_unit >= 1) {
                write_line(*echo_unit, std::string_view(line).substr(0, static_cast<std::size_t>(line_length)));
            }
            if (line_length == 0 || line[0] == '!' || line[0] == '#') {
                line_nb = wrap_add(line_nb, 1);
                continue;
            }
            break;
        }
    } else {
        line_length = static_cast<std::int32_t>(len_trim(line));
    }

    // One descriptor per field of the line, while the template lasts.
    do {
        std::int32_t width = 0;
        std::int32_t field_code = 0;
        sgetftmfield(field_code, work_template, template_pos, template_length);
        if (ierr_fmt != 0) {
            report_failure(line, line_pos);
            return;
        }
        if (field_code == 0) break;
        if (is_text_field(field_code)) {
            treatmcharfield(field_code, line, line_length, line_pos, width);
        } else {
            treatnumerfield(field_code, line, line_length, line_pos, width);
        }
        if (ierr_fmt != 0) {
            report_failure(line, line_pos);
            return;
        }
        if (!is_text_field(field_code) && width == 0) {
            ierr_fmt = 8;
            return;
        }
        buildfmt(field_code, width, format_pos, format_text);
        if (ierr_fmt != 0) {
            report_failure(line, line_pos);
            return;
        }
    } while (line_pos < line_length);

    // Fields the line lacks get descriptors of width 1.
    while (template_pos < template_length) {
        std::int32_t width = 1;
        std::int32_t field_code = 0;
        sgetftmfield(field_code, work_template, template_pos, template_length);
        if (ierr_fmt != 0) {
            report_failure(line, line_pos);
            return;
        }
        buildfmt(field_code, width, format_pos, format_text);
        if (ierr_fmt != 0) {
            report_failure(line, line_pos);
            return;
        }
    }

    // The "," after the last descriptor closes the format.
    if (format_pos >= 1 && format_pos <= static_cast<std::int32_t>(format_text.size())) {
        format_text[static_cast<std::size_t>(format_pos - 1)] = ')';
    }
}

}  // namespace vorn_string_utilities
