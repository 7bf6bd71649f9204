// Module vorn_symmetry_tables.
#pragma once

namespace vorn_symmetry_tables {}
