// Module vorn_string_utilities: module state.
#include "text/string_util.hpp"

namespace vorn_string_utilities {

bool err_string = false;
std::string err_string_mess;
std::int32_t line_nb = 0;

void init_err_string() {
    err_string = false;
    err_string_mess.clear();
}

void inc_linenum(std::int32_t increment) { line_nb = wrap_add(line_nb, increment); }

}  // namespace vorn_string_utilities
