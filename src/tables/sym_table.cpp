#include "tables/sym_table.hpp"

namespace vorn_symmetry_tables {}
