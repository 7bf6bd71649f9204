// Module state of vorn_crystallographic_symmetry and the reset of the
// space-group record.
#include "symmetry/symmetry.hpp"

namespace vorn_crystallographic_symmetry {

bool err_symm = false;
std::string err_symm_mess;
bool hexa = false;

char lat_ch = 'P';
std::int32_t inlat = 1;
std::int32_t nlat = 1;
std::array<Vector3, max_centrings> ltr{};

void init_err_symm() {
    err_symm = false;
    err_symm_mess.clear();
}

void set_err_symm(std::string_view message) {
    err_symm = true;
    err_symm_mess.assign(message.substr(0, 150));
}

// One copy of a record built once: the reset runs before every construction.
void reset_spacegroup(SpaceGroup& group) {
    static const SpaceGroup initial{};
    group = initial;
}

}  // namespace vorn_crystallographic_symmetry
