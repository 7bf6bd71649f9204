// The extinction search: the three reflection-condition reports for one
// group, to a unit or as lines kept in memory.
#include "reflections/condition_rows.hpp"

namespace vorn_reflections_utilities {

namespace {

// The condition table is filled by the first search of the process.
void ensure_condition_table() {
    if (hkl_ref_cond_ini) return;
    init_ref_cond();
    hkl_ref_cond_ini = true;
}

void run_reports(const SpaceGroup& group, detail::LineSink& sink) {
    detail::integral_conditions(group, sink);
    detail::glide_planes_conditions(group, sink);
    detail::screw_axis_conditions(group, sink);
}

}  // namespace

void search_extinctions_iunit(const SpaceGroup& group, std::optional<std::int32_t> iunit) {
    ensure_condition_table();
    detail::LineSink sink{iunit};
    run_reports(group, sink);
}

void search_extinctions_file(const SpaceGroup& group, std::int32_t& line_count, std::span<std::string> report_lines) {
    // The lines are gathered in memory: no temporary file is shared with
    // other searches or with a user's file of the same name.
    for (std::string& line : report_lines) line.assign(line.size(), ' ');
    line_count = 0;
    ensure_condition_table();
    detail::LineSink sink{std::nullopt, &report_lines, &line_count};
    run_reports(group, sink);
}

}  // namespace vorn_reflections_utilities
