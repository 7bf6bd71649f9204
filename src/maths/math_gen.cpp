#include "maths/math_gen.hpp"

namespace vorn_math_general {}
