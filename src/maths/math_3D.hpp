// Module vorn_math_3d.
#pragma once

namespace vorn_math_3d {}
