// Module state of vorn_crystallographic_symmetry and the reset of the
// space-group record.
#include <cstddef>
#include <cstring>
#include <type_traits>

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

namespace {

// The orbit holds the values of the blank orbit (no positions, blank texts).
bool same_as_blank(const WyckoffOrbit& orbit, const WyckoffOrbit& blank) {
    return orbit.multiplicity == blank.multiplicity && orbit.position_count == blank.position_count &&
           orbit.site.chars == blank.site.chars && orbit.representative.chars == blank.representative.chars &&
           std::memcmp(orbit.positions.data(), blank.positions.data(), sizeof orbit.positions) == 0;
}

}  // namespace

// The reset runs before every construction, from a record built once.  Three
// quarters of the record are the 26 x 48 position texts of the Wyckoff
// orbits, and a group fills only a few orbits: an orbit is rewritten only
// where it differs from the blank orbit (comparing it with one small constant
// costs far less than rewriting it), and the fields before and after the
// Wyckoff set are copied as they stand in the initial record.
void reset_spacegroup(SpaceGroup& group) {
    static_assert(std::is_trivially_copyable_v<SpaceGroup> && std::is_standard_layout_v<SpaceGroup>,
                  "the record is plain data, copied by byte ranges");
    static const SpaceGroup initial{};
    const std::size_t wyckoff_begin = offsetof(SpaceGroup, wyckoff);
    const std::size_t wyckoff_end = wyckoff_begin + sizeof(WyckoffSet);
    auto* to = reinterpret_cast<unsigned char*>(&group);
    const auto* from = reinterpret_cast<const unsigned char*>(&initial);
    std::memcpy(to, from, wyckoff_begin);
    std::memcpy(to + wyckoff_end, from + wyckoff_end, sizeof(SpaceGroup) - wyckoff_end);

    const WyckoffOrbit& blank = initial.wyckoff.orbits[0];
    group.wyckoff.orbit_count = initial.wyckoff.orbit_count;
    for (WyckoffOrbit& orbit : group.wyckoff.orbits)
        if (!same_as_blank(orbit, blank)) orbit = blank;
}

}  // namespace vorn_crystallographic_symmetry
