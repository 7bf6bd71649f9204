// Reflection lists: setting one up and printing it with its index extremes.
#include <algorithm>
#include <climits>
#include <string>

#include "reflections/reflct_util.hpp"
#include "text/fortran_format.hpp"
#include "text/string_util.hpp"

namespace vorn_reflections_utilities {

using vorn_string_utilities::append_f;
using vorn_string_utilities::append_i;
using vorn_string_utilities::write_line;

void init_reflist(ReflectionList& list, std::optional<std::int32_t> n) {
    std::vector<ReflectionEntry>().swap(list.entries);
    list.reflection_count = 0;
    if (!n) return;
    list.reflection_count = *n;
    if (*n < 1) return;
    list.entries.assign(static_cast<std::size_t>(*n), ReflectionEntry{});
}

void write_reflist_info(const ReflectionList& list, std::optional<std::int32_t> iunit,
                        std::optional<std::string_view> radiation) {
    const std::int32_t unit = iunit.value_or(vorn_string_utilities::standard_output_unit);
    if (radiation) {
        write_line(unit, "");
        write_line(unit, "");
    }
    using vorn_string_utilities::fixed_equal;
    if (radiation && (fixed_equal(*radiation, "NUC") || fixed_equal(*radiation, "nuc"))) {
        write_line(unit, "    LIST OF REFLECTIONS AND STRUCTURE FACTORS(NEUTRONS)");
        write_line(unit, "    " + std::string(51, '='));
    } else {
        write_line(unit, "    LIST OF REFLECTIONS AND STRUCTURE FACTORS(X-RAYS)");
        write_line(unit, "    " + std::string(49, '='));
    }

    // Extremes over every entry held, whatever the count says; an empty list
    // keeps the starting values, which print as asterisks.
    std::array<std::int32_t, 3> highest{-INT_MAX, -INT_MAX, -INT_MAX}, lowest{INT_MAX, INT_MAX, INT_MAX};
    for (const ReflectionEntry& e : list.entries)
        for (std::size_t i = 0; i < 3; ++i) {
            highest[i] = std::max(highest[i], e.hkl[i]);
            lowest[i] = std::min(lowest[i], e.hkl[i]);
        }

    write_line(unit, "");
    write_line(unit, "   H   K   L   Mult  SinTh/Lda    |Fobs|      SFobs        |Fc|       Delta");
    write_line(unit, "");
    const std::size_t rows = std::min(static_cast<std::size_t>(std::max(list.reflection_count, 0)), list.entries.size());
    std::string line;
    for (std::size_t i = 0; i < rows; ++i) {
        const ReflectionEntry& e = list.entries[i];
        line.clear();
        for (std::int32_t index : e.hkl) append_i(line, index, 4);
        append_i(line, e.multiplicity, 5);
        const float delta = e.f_obs - e.f_calc;
        for (float value : {e.s, e.f_obs, e.sigma_f_obs, e.f_calc, delta}) append_f(line, value, 12, 5);
        write_line(unit, line);
    }
    write_line(unit, " ");
    write_line(unit, " ");
    line = " => Number of Reflections: ";
    append_i(line, list.reflection_count, 6);
    write_line(unit, line);
    for (const auto& [label, values] : {std::pair{"_max: ", highest}, std::pair{"_min: ", lowest}}) {
        line.clear();
        for (std::size_t i = 0; i < 3; ++i) {
            line += i == 0 ? " => " : "    ";
            line += "HKL"[i];
            line += label;
            append_i(line, values[i], 4);
        }
        write_line(unit, line);
    }
    write_line(unit, " ");
}

}  // namespace vorn_reflections_utilities
