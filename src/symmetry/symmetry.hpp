// Module vorn_crystallographic_symmetry.
#pragma once

namespace vorn_crystallographic_symmetry {}
