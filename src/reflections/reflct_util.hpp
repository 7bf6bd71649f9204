// Module vorn_reflections_utilities.
#pragma once

namespace vorn_reflections_utilities {}
