// Module vorn_math_general.
#pragma once

namespace vorn_math_general {}
