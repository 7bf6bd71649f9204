// Fixed-field number formatting and reading with the rules of formatted
// Fortran I/O, used by every report and reader of the system.
//
// Writers: the value is rounded to nearest from its exact binary value, an
// exact tie going to the even digit; a value that does not fit its field is
// written as a field of asterisks; a negative value that rounds to zero keeps
// its sign ("-0.0000").
//
// Readers: blanks inside a field are ignored, an all-blank field reads as 0, a
// real field without a decimal point has d implied decimals, exponents may be
// written with E, D, Q or a bare sign ("1.5+3"), and the result is correctly
// rounded to 32 bits.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vorn_string_utilities {

// Iw: integer right-justified in w columns.
std::string format_i(long long value, int w);
// The same field appended to out, for reports and tables that build their
// lines in one reused buffer.
void append_i(std::string& out, long long value, int w);

// Fw.d: fixed point, d decimals, right-justified in w columns; the leading
// zero of a value below 1 in magnitude is dropped when the field is one
// column short.
std::string format_f(double value, int w, int d);
// The same field appended to out.
void append_f(std::string& out, double value, int w, int d);

// Ew.d: "0.ddddE+ee" form, d significant digits, right-justified in w columns.
std::string format_e(double value, int w, int d);

// Iw input.  Returns false (and leaves value untouched) on anything that is
// not an optionally signed run of digits (blanks ignored), or on overflow.
bool read_i_field(std::string_view field, std::int32_t& value);

// Fw.d input to a 32-bit real.  Returns false on a malformed field or on a
// value outside the range of 32-bit reals.
bool read_f_field(std::string_view field, int d, float& value);

// The same to a 64-bit real.
bool read_f_field(std::string_view field, int d, double& value);

}  // namespace vorn_string_utilities
