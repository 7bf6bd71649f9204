// Space-group records filled by hand for the reflection and pairing tests:
// number, Laue class, setting code and the rotation parts of the reduced
// operators, closed under multiplication from a few generators.
#pragma once

#include <algorithm>
#include <memory>
#include <string_view>
#include <tuple>
#include <vector>

#include "symmetry/symmetry.hpp"

namespace hand_built {

using vorn_crystallographic_symmetry::RotationMatrix;
using vorn_crystallographic_symmetry::SpaceGroup;

// The rotation part of an operator text such as "-y,x-y,z+1/3".
inline RotationMatrix rotation_of(std::string_view text) {
    RotationMatrix m{};
    std::size_t row = 0;
    int sign = 1;
    for (char c : text) {
        if (c == ',') ++row;
        if (c >= 'x' && c <= 'z') m[row][static_cast<std::size_t>(c - 'x')] += sign;
        sign = c == '-' ? -1 : 1;
    }
    return m;
}

// The identity first, then the generators and their products (at most 48).
inline std::unique_ptr<SpaceGroup> group_from(int number, std::string_view hm, std::string_view laue,
                                              std::string_view setting, std::vector<std::string_view> generators) {
    auto group = std::make_unique<SpaceGroup>();
    group->number = number;
    group->hm_symbol = hm;
    group->laue_class = laue;
    group->setting_choice = setting;
    std::vector<RotationMatrix> ops{rotation_of("x,y,z")};
    const auto add = [&ops](const RotationMatrix& r) {
        if (ops.size() < 48 && std::find(ops.begin(), ops.end(), r) == ops.end()) ops.push_back(r);
    };
    for (std::string_view g : generators) add(rotation_of(g));
    for (std::size_t a = 0; a < ops.size(); ++a)
        for (std::size_t b = 0; b < ops.size(); ++b) {
            RotationMatrix p{};
            for (std::size_t i = 0; i < 9; ++i)
                for (std::size_t k = 0; k < 3; ++k) p[i / 3][i % 3] += ops[a][i / 3][k] * ops[b][k][i % 3];
            add(p);
        }
    group->reduced_count = group->multiplicity = static_cast<std::int32_t>(ops.size());
    for (std::size_t i = 0; i < ops.size(); ++i) group->operators[i].rot = ops[i];
    return group;
}

// Every Laue class and monoclinic axis, rhombohedral axes (R 3, R 3 2) and a
// number outside 1..230 whose Laue text selects the rule.
inline std::vector<std::unique_ptr<SpaceGroup>> many_groups() {
    using GroupRow = std::tuple<int, std::string_view, std::string_view, std::string_view, std::vector<std::string_view>>;
    const GroupRow rows[] = {
        {1, "P 1", "-1", " ", {}}, {3, "P 1 2 1", "2/m", "b", {"-x,y,-z"}}, {3, "P 1 1 2", "2/m", "c", {"-x,-y,z"}},
        {3, "P 2 1 1", "2/m", "a", {"x,-y,-z"}}, {14, "P 1 21/c 1", "2/m", "b1", {"-x,y+1/2,-z+1/2"}},
        {19, "P 21 21 21", "mmm", " ", {"-x+1/2,-y,z+1/2", "-x,y+1/2,-z+1/2"}},
        {22, "F 2 2 2", "mmm", " ", {"-x,-y,z", "-x,y,-z"}}, {75, "P 4", "4/m", " ", {"-y,x,z"}},
        {81, "P -4", "4/m", " ", {"y,-x,-z"}}, {89, "P 4 2 2", "4/mmm", " ", {"-y,x,z", "-x,y,-z"}},
        {143, "P 3", "-3", " ", {"-y,x-y,z"}}, {146, "R 3", "-3", "R", {"z,x,y"}},
        {149, "P 3 1 2", "-31m", " ", {"-y,x-y,z", "-y,-x,-z"}}, {150, "P 3 2 1", "-3m1", " ", {"-y,x-y,z", "y,x,-z"}},
        {155, "R 3 2", "-3m", "R", {"z,x,y", "-y,-x,-z"}}, {168, "P 6", "6/m", " ", {"x-y,x,z"}},
        {174, "P -6", "6/m", " ", {"-y,x-y,z", "x,y,-z"}}, {177, "P 6 2 2", "6/mmm", " ", {"x-y,x,z", "y,x,-z"}},
        {195, "P 2 3", "m-3", " ", {"z,x,y", "-x,-y,z", "-x,y,-z"}}, {207, "P 4 3 2", "m-3m", " ", {"z,x,y", "-y,x,z"}},
        {0, "unknown", "-3m1", " ", {"-y,x-y,z", "y,x,-z"}}};
    std::vector<std::unique_ptr<SpaceGroup>> groups;
    for (const auto& [n, hm, laue, setting, gens] : rows) groups.push_back(group_from(n, hm, laue, setting, gens));
    return groups;
}

}  // namespace hand_built
