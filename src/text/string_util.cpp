// Module vorn_string_utilities: module state.
#include "text/string_util.hpp"

namespace vorn_string_utilities {}
