// Module vorn_string_utilities: text utilities of the library.
#pragma once

#include "text/fixed_text.hpp"
#include "text/fortran_format.hpp"
#include "text/fortran_int.hpp"

namespace vorn_string_utilities {

// ==== Case, blanks, words, numbers, value(uncertainty) and fraction texts ====
// (section owned by the text-core work)

// ==== File names, logical units, line and keyword readers, free-format reader ====
// (section owned by the text-periphery work)

}  // namespace vorn_string_utilities
