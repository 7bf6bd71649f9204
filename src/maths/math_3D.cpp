#include "maths/math_3D.hpp"

namespace vorn_math_3d {}
