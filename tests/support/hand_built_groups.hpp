// Space-group records filled by hand for the tests of the reflection
// utilities and of the statistics: the number, Laue class, setting code and
// the reduced operators, closed under multiplication from a few generators.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "symmetry/symmetry.hpp"

namespace hand_built {

using vorn_crystallographic_symmetry::RotationMatrix;
using vorn_crystallographic_symmetry::SpaceGroup;

// The rotation part of an operator text such as "-y,x-y,z+1/3" (the
// translation is not needed for the tests and is skipped).
inline RotationMatrix rotation_of(std::string_view text) {
    RotationMatrix m{};
    int row = 0;
    int sign = 1;
    for (char c : text) {
        if (c == ',') {
            ++row;
            sign = 1;
        } else if (c == '-') {
            sign = -1;
        } else if (c == '+') {
            sign = 1;
        } else if (c == 'x' || c == 'y' || c == 'z') {
            m[static_cast<std::size_t>(row)][static_cast<std::size_t>(c - 'x')] += sign;
            sign = 1;
        }
    }
    return m;
}

inline RotationMatrix product(const RotationMatrix& a, const RotationMatrix& b) {
    RotationMatrix p{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k) p[i][j] += a[i][k] * b[k][j];
    return p;
}

// A group record with the identity first and then the closure of the
// generators (rotations only), in the order the closure finds them.
inline std::unique_ptr<SpaceGroup> group_from(int number, std::string_view hm, std::string_view laue,
                                              std::string_view setting, std::vector<std::string_view> generators) {
    auto group = std::make_unique<SpaceGroup>();
    group->number = number;
    group->hm_symbol = hm;
    group->laue_class = laue;
    group->setting_choice = setting;
    group->centre_code = 1;
    std::vector<RotationMatrix> ops{rotation_of("x,y,z")};
    for (std::string_view g : generators) {
        const RotationMatrix r = rotation_of(g);
        bool known = false;
        for (const auto& o : ops) known = known || o == r;
        if (!known) ops.push_back(r);
    }
    for (bool grown = true; grown && ops.size() < 48;) {
        grown = false;
        for (std::size_t i = 0; i < ops.size(); ++i) {
            for (std::size_t j = 0; j < ops.size(); ++j) {
                const RotationMatrix p = product(ops[i], ops[j]);
                bool known = false;
                for (const auto& o : ops) known = known || o == p;
                if (!known && ops.size() < 48) {
                    ops.push_back(p);
                    grown = true;
                }
            }
        }
    }
    group->reduced_count = static_cast<std::int32_t>(ops.size());
    group->multiplicity = group->reduced_count;
    group->centring_count = 1;
    for (std::size_t i = 0; i < ops.size(); ++i) group->operators[i].rot = ops[i];
    return group;
}

inline std::unique_ptr<SpaceGroup> p212121() {
    return group_from(19, "P 21 21 21", "mmm", " ", {"-x+1/2,-y,z+1/2", "-x,y+1/2,-z+1/2", "x+1/2,-y+1/2,-z"});
}

inline std::unique_ptr<SpaceGroup> p1() { return group_from(1, "P 1", "-1", " ", {}); }

}  // namespace hand_built
