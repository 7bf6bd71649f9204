// Reports of the reflection conditions that the systematic absences of a
// group obey: integral (lattice centring), zonal (glide planes) and serial
// (screw axes).  A condition holds when every reflection of its fixed test
// set that the condition forbids is absent; the reports judge absences only.
#include <string>

#include "reflections/condition_rows.hpp"
#include "text/fortran_format.hpp"
#include "text/string_util.hpp"

namespace vorn_reflections_utilities {

namespace {

std::array<FixedText<80>, num_ref_conditions> condition_table() {
    std::array<FixedText<80>, num_ref_conditions> rows;
    for (std::size_t i = 0; i < num_ref_conditions; ++i) rows[i] = detail::condition_row_texts[i];
    return rows;
}

}  // namespace

std::array<FixedText<80>, num_ref_conditions> hkl_ref_conditions = condition_table();

bool hkl_ref_cond_ini = false;

void init_ref_cond() { hkl_ref_conditions = condition_table(); }

namespace detail {

bool has_output(const LineSink& sink) { return sink.unit.has_value() || sink.lines != nullptr; }

void emit(LineSink& sink, std::string_view line) {
    if (sink.unit) vorn_string_utilities::write_line(*sink.unit, line);
    if (sink.lines == nullptr) return;
    std::span<std::string>& lines = *sink.lines;
    if (static_cast<std::size_t>(*sink.line_count) >= lines.size()) {
        err_refl = true;
        err_refl_mess = " More report lines than elements in REPORT_LINES";
        return;
    }
    std::string& element = lines[static_cast<std::size_t>((*sink.line_count)++)];
    const std::size_t width = element.size();
    element = vorn_string_utilities::fixed(vorn_string_utilities::trim_right(line.substr(0, 132)), width);
}

}  // namespace detail

namespace {

using detail::LineSink;

// A bare-text line: one blank ahead of the text.
void emit_text(LineSink& sink, std::string_view text) { detail::emit(sink, " " + std::string(text)); }

// A condition line: five blanks, "#", the row number in two columns, ": " and
// the whole 80-character row.
void emit_condition(LineSink& sink, std::int32_t row) {
    std::string line = "     #";
    vorn_string_utilities::append_i(line, row, 2);
    line += ": ";
    line += vorn_crystallographic_symmetry::at1(hkl_ref_conditions, static_cast<std::size_t>(row)).view();
    detail::emit(sink, line);
}

void emit_heading(LineSink& sink, std::string_view title, std::size_t rule) {
    emit_text(sink, " ");
    emit_text(sink, title);
    emit_text(sink, std::string(rule, '-'));
    emit_text(sink, " ");
}

bool begins_with(std::string_view field, std::string_view word) { return field.substr(0, word.size()) == word; }

// ---- integral conditions --------------------------------------------------

// Whether condition n (1..6) forbids hkl.
bool centring_forbids(std::int32_t n, std::int32_t h, std::int32_t k, std::int32_t l) {
    switch (n) {
        case 1: return (h + k) % 2 != 0;
        case 2: return (k + l) % 2 != 0;
        case 3: return (h + l) % 2 != 0;
        case 4: return (h + k + l) % 2 != 0;
        case 5: return !((h % 2 == 0 && k % 2 == 0 && l % 2 == 0) || (h % 2 != 0 && k % 2 != 0 && l % 2 != 0));
        default: return (-h + k + l) % 3 != 0;
    }
}

bool centring_holds(std::int32_t n, const SpaceGroup& group) {
    for (std::int32_t h = -6; h <= 6; ++h)
        for (std::int32_t k = -6; k <= 6; ++k)
            for (std::int32_t l = -6; l <= 6; ++l)
                if (centring_forbids(n, h, k, l) && !hkl_absenti({h, k, l}, group)) return false;
    return true;
}

// ---- zonal conditions -----------------------------------------------------

enum class Gate { monoclinic_to_cubic, orthorhombic_cubic, tetragonal_cubic, cubic, hexagonal_family, always };

bool gate_open(Gate gate, const SpaceGroup& group) {
    const std::string_view system = group.crystal_system.view();
    const bool m = begins_with(system, "Monoclinic"), o = begins_with(system, "Orthorhombic"),
               t = begins_with(system, "Tetragonal"), c = begins_with(system, "Cubic");
    switch (gate) {
        case Gate::monoclinic_to_cubic: return m || o || t || c;
        case Gate::orthorhombic_cubic: return o || c;
        case Gate::tetragonal_cubic: return t || c;
        case Gate::cubic: return c;
        case Gate::hexagonal_family: return group.lattice_symbol[0] == 'h';
        case Gate::always: return true;
    }
    return false;
}

// The zone of a glide-plane test, as the reflection made of two running
// indices p and q (each -6..6).
enum class Zone { zero_k_l, h_zero_l, h_k_zero, h_minus_h_l, minus_h_zero_l, h_h_l, minus_2h_h_l, h_minus_2h_l,
                  h_k_k, h_k_h, h_k_minus_k, minus_h_k_h };

Hkl zone_reflection(Zone zone, std::int32_t p, std::int32_t q) {
    switch (zone) {
        case Zone::zero_k_l: return {0, p, q};
        case Zone::h_zero_l: return {p, 0, q};
        case Zone::h_k_zero: return {p, q, 0};
        case Zone::h_minus_h_l: return {p, -p, q};
        case Zone::minus_h_zero_l: return {-p, 0, q};
        case Zone::h_h_l: return {p, p, q};
        case Zone::minus_2h_h_l: return {-2 * p, p, q};
        case Zone::h_minus_2h_l: return {p, -2 * p, q};
        case Zone::h_k_k: return {p, q, q};
        case Zone::h_k_h: return {p, q, p};
        case Zone::h_k_minus_k: return {p, q, -q};
        case Zone::minus_h_k_h: return {-p, q, p};
    }
    return {0, 0, 0};
}

// One glide-plane test: the row, its gate, its zone, and the forbidden
// reflections: those whose a p + b q is not a multiple of `modulus`.
struct GlideTest {
    std::int32_t row;
    Gate gate;
    Zone zone;
    std::int32_t a, b, modulus;
};

constexpr GlideTest glide_tests[] = {
    {7, Gate::monoclinic_to_cubic, Zone::zero_k_l, 1, 0, 2},   {8, Gate::monoclinic_to_cubic, Zone::zero_k_l, 0, 1, 2},
    {9, Gate::monoclinic_to_cubic, Zone::zero_k_l, 1, 1, 2},   {10, Gate::orthorhombic_cubic, Zone::zero_k_l, 1, 1, 4},
    {11, Gate::monoclinic_to_cubic, Zone::h_zero_l, 1, 0, 2},  {12, Gate::monoclinic_to_cubic, Zone::h_zero_l, 0, 1, 2},
    {13, Gate::monoclinic_to_cubic, Zone::h_zero_l, 1, 1, 2},  {14, Gate::orthorhombic_cubic, Zone::h_zero_l, 1, 1, 4},
    {15, Gate::monoclinic_to_cubic, Zone::h_k_zero, 1, 0, 2},  {16, Gate::monoclinic_to_cubic, Zone::h_k_zero, 0, 1, 2},
    {17, Gate::monoclinic_to_cubic, Zone::h_k_zero, 1, 1, 2},  {18, Gate::orthorhombic_cubic, Zone::h_k_zero, 1, 1, 4},
    {19, Gate::hexagonal_family, Zone::h_minus_h_l, 0, 1, 2},  {20, Gate::hexagonal_family, Zone::zero_k_l, 0, 1, 2},
    {21, Gate::hexagonal_family, Zone::minus_h_zero_l, 0, 1, 2}, {22, Gate::hexagonal_family, Zone::h_h_l, 0, 1, 2},
    {23, Gate::hexagonal_family, Zone::minus_2h_h_l, 0, 1, 2}, {24, Gate::hexagonal_family, Zone::h_minus_2h_l, 0, 1, 2},
    {25, Gate::always, Zone::h_h_l, 0, 1, 2},                  {26, Gate::always, Zone::h_k_k, 1, 0, 2},
    {27, Gate::always, Zone::h_k_h, 0, 1, 2},                  {28, Gate::tetragonal_cubic, Zone::h_h_l, 0, 1, 2},
    {29, Gate::tetragonal_cubic, Zone::h_h_l, 2, 1, 4},        {30, Gate::tetragonal_cubic, Zone::h_minus_h_l, 0, 1, 2},
    {31, Gate::tetragonal_cubic, Zone::h_minus_h_l, 2, 1, 4},  {32, Gate::cubic, Zone::h_k_k, 1, 0, 2},
    {33, Gate::cubic, Zone::h_k_k, 1, 2, 4},                   {34, Gate::cubic, Zone::h_k_minus_k, 1, 0, 2},
    {35, Gate::cubic, Zone::h_k_minus_k, 1, 2, 4},             {36, Gate::cubic, Zone::h_k_h, 0, 1, 2},
    {37, Gate::cubic, Zone::h_k_h, 2, 1, 4},                   {38, Gate::cubic, Zone::minus_h_k_h, 0, 1, 2},
    {39, Gate::cubic, Zone::minus_h_k_h, 2, 1, 4}};

bool glide_holds(const GlideTest& test, const SpaceGroup& group) {
    for (std::int32_t p = -6; p <= 6; ++p)
        for (std::int32_t q = -6; q <= 6; ++q)
            if ((test.a * p + test.b * q) % test.modulus != 0 && !hkl_absenti(zone_reflection(test.zone, p, q), group))
                return false;
    return true;
}

// ---- serial conditions ----------------------------------------------------

// The axial reflections of a screw-axis test: index `axis` (0 h, 1 k, 2 l)
// running over -6..6, forbidden when not a multiple of `modulus`, within
// |index| <= `reach`.
bool screw_holds(const SpaceGroup& group, std::size_t axis, std::int32_t modulus, std::int32_t reach) {
    for (std::int32_t v = -reach; v <= reach; ++v) {
        if (v % modulus == 0) continue;
        Hkl hkl{0, 0, 0};
        hkl[axis] = v;
        if (!hkl_absenti(hkl, group)) return false;
    }
    return true;
}

}  // namespace

namespace detail {

void integral_conditions(const SpaceGroup& group, LineSink& sink) {
    if (!has_output(sink)) return;  // the tests have no other effect
    emit_heading(sink, " >>> Integral reflections conditions for centred lattices:", 58);
    bool some = false;
    for (std::int32_t n = 1; n <= 6; ++n)
        if (centring_holds(n, group)) {
            emit_condition(sink, n);
            some = true;
        }
    if (!some) emit_text(sink, "     =====>>> no general reflection condition");
}

void glide_planes_conditions(const SpaceGroup& group, LineSink& sink) {
    if (!has_output(sink)) return;
    emit_heading(sink, " >>> Zonal reflections conditions for glide planes:", 51);
    bool some = false;
    for (const GlideTest& test : glide_tests)
        if (gate_open(test.gate, group) && glide_holds(test, group)) {
            emit_condition(sink, test.row);
            some = true;
        }
    if (!some) emit_text(sink, "     =====>>> no zonal reflection condition");
}

void screw_axis_conditions(const SpaceGroup& group, LineSink& sink) {
    if (!has_output(sink)) return;
    emit_heading(sink, " >>> Serial reflections conditions for screw axes:", 51);
    const bool m_to_c = gate_open(Gate::monoclinic_to_cubic, group), cubic = gate_open(Gate::cubic, group),
               tetragonal_cubic = gate_open(Gate::tetragonal_cubic, group),
               hexagonal = gate_open(Gate::hexagonal_family, group),
               sixfold = hexagonal && group.laue_class.view().substr(0, 3) == "6/m";
    const bool not_tetragonal = m_to_c && !begins_with(group.crystal_system.view(), "Tetragonal");
    bool some = false;
    const auto report = [&](bool holds, std::initializer_list<std::int32_t> rows) {
        if (!holds) return;
        for (std::int32_t row : rows) emit_condition(sink, row);
        some = true;
    };
    // Along a and b: twofold screws, and for cubic groups the fourfold ones.
    for (std::size_t axis = 0; axis < 2; ++axis) {
        const std::int32_t base = axis == 0 ? 40 : 44;
        report(m_to_c && screw_holds(group, axis, 2, 5), {base});
        report(cubic && screw_holds(group, axis, 2, 5), {base + 1});
        report(cubic && screw_holds(group, axis, 4, 6), {base + 2, base + 3});
    }
    // Along c.
    report(not_tetragonal && screw_holds(group, 2, 2, 5), {48});
    report(tetragonal_cubic && screw_holds(group, 2, 2, 5), {49});
    report(tetragonal_cubic && screw_holds(group, 2, 4, 6), {50, 51});
    // Along the hexagonal c axis: every trigonal and hexagonal group.
    report(hexagonal && screw_holds(group, 2, 2, 5), {52});
    if (hexagonal && screw_holds(group, 2, 3, 5)) {
        if (sixfold) report(true, {53, 54, 55, 56});
        else report(true, {53, 54});
    }
    report(sixfold && screw_holds(group, 2, 6, 5), {57, 58});
    if (!some) emit_text(sink, "     =====>>> no serial reflection condition");
}

}  // namespace detail

void integral_conditions(const SpaceGroup& group, std::optional<std::int32_t> iunit) {
    LineSink sink{iunit};
    detail::integral_conditions(group, sink);
}

void glide_planes_conditions(const SpaceGroup& group, std::optional<std::int32_t> iunit) {
    LineSink sink{iunit};
    detail::glide_planes_conditions(group, sink);
}

void screw_axis_conditions(const SpaceGroup& group, std::optional<std::int32_t> iunit) {
    LineSink sink{iunit};
    detail::screw_axis_conditions(group, sink);
}

}  // namespace vorn_reflections_utilities
