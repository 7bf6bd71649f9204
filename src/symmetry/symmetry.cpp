#include "symmetry/symmetry.hpp"

namespace vorn_crystallographic_symmetry {}
