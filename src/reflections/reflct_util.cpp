// Module state of the reflection utilities, equality of reflections and the
// image of a reflection under a rotation.
#include "reflections/reflct_util.hpp"

#include <cmath>

#include "text/fortran_int.hpp"

namespace vorn_reflections_utilities {

using vorn_string_utilities::wrap_add;
using vorn_string_utilities::wrap_mul;

bool err_refl = false;
std::string err_refl_mess;

void init_err_refl() {
    err_refl = false;
    err_refl_mess.clear();
}

bool hkl_equali(const Hkl& hkl1, const Hkl& hkl2) { return hkl1 == hkl2; }

bool hkl_equalr(const HklReal& hkl1, const HklReal& hkl2) {
    // The difference of two floats is exact in double; a NaN fails the test.
    constexpr float tolerance = 0.0002f;
    for (int c = 0; c < 3; ++c) {
        const double difference = std::fabs(static_cast<double>(hkl1[c]) - static_cast<double>(hkl2[c]));
        if (!(difference <= static_cast<double>(tolerance))) return false;
    }
    return true;
}

Hkl hr_i(const Hkl& hkl, const RotationMatrix& rot) {
    Hkl image{};
    for (int j = 0; j < 3; ++j) {
        std::int32_t sum = 0;
        for (int i = 0; i < 3; ++i) sum = wrap_add(sum, wrap_mul(hkl[i], rot[i][j]));
        image[j] = sum;
    }
    return image;
}

}  // namespace vorn_reflections_utilities
