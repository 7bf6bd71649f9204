#include "reflections/reflct_util.hpp"

namespace vorn_reflections_utilities {}
