// Source texts of the reflection-condition table.  Internal to the
// reflection utilities.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "reflections/reflct_util.hpp"

namespace vorn_reflections_utilities::detail {

// Rows 1..58 (0-based storage), without their trailing blanks.
extern const std::array<std::string_view, num_ref_conditions> condition_row_texts;

}  // namespace vorn_reflections_utilities::detail

namespace vorn_reflections_utilities::detail {

// Where the condition reports write: to a logical unit, or into the lines of
// an extinction search (cut at 132 characters, trailing blanks removed, cut
// or padded to the element; at most lines->size() of them, a surplus setting
// the error pair).  Neither: nothing is written.
struct LineSink {
    std::optional<std::int32_t> unit;
    std::span<std::string>* lines = nullptr;
    std::int32_t* line_count = nullptr;
};

bool has_output(const LineSink& sink);
void emit(LineSink& sink, std::string_view line);

void integral_conditions(const SpaceGroup& group, LineSink& sink);
void glide_planes_conditions(const SpaceGroup& group, LineSink& sink);
void screw_axis_conditions(const SpaceGroup& group, LineSink& sink);

}  // namespace vorn_reflections_utilities::detail
