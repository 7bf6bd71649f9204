// Module state of vorn_math_3d: the tolerance and the error pair.
#include "maths/math_3D.hpp"

namespace vorn_math_3d {

float eps = 1.0e-5f;
bool err_math3d = false;
std::string err_math3d_mess;

void set_eps(float neweps) { eps = neweps; }

void set_eps_default() { eps = 1.0e-5f; }

void init_err_math3d() {
    err_math3d = false;
    err_math3d_mess.clear();
}

}  // namespace vorn_math_3d
