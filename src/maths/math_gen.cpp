// Module state of vorn_math_general: the tolerance and the error pair.
#include "maths/math_gen.hpp"

namespace vorn_math_general {

float epss = 1.0e-5f;
bool err_mathgen = false;
std::string err_mathgen_mess;

void set_epsg(float tolerance) { epss = tolerance; }

void set_epsg_default() { epss = 1.0e-5f; }

void init_err_mathgen() {
    err_mathgen = false;
    err_mathgen_mess.clear();
}

}  // namespace vorn_math_general
