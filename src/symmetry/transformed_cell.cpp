// Space group in a transformed cell: the group's reduced operators taken to a
// new basis and origin, R' = P^-1.R.P and t' = P^-1.(t + R.p - p), the new
// cell's centring found among the old lattice translations, and the group
// rebuilt by set_spacegroup from the operators that survive a screening.
//
// All arithmetic is in 32-bit reals; the screening compares translations
// exactly, without tolerance.  Returns the bounds of that system.

#include "symmetry/symmetry.hpp"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "maths/math_3D.hpp"
#include "maths/math_gen.hpp"
#include "symmetry/record_counts.hpp"
#include "text/fortran_int.hpp"
#include "text/string_util.hpp"

namespace vorn_crystallographic_symmetry {

namespace {

using vorn_string_utilities::fixed;

constexpr std::size_t text_width = 40;
constexpr std::int32_t largest_volume_ratio = 48;

Vector3 times(const RealMatrix& m, const Vector3& v) {
    Vector3 r{};
    for (std::size_t i = 0; i < 3; ++i) r[i] = m[i][0] * v[0] + m[i][1] * v[1] + m[i][2] * v[2];
    return r;
}

RealMatrix times(const RealMatrix& a, const RealMatrix& b) {
    RealMatrix c{};
    for (std::size_t i = 0; i < 3; ++i)
        for (std::size_t j = 0; j < 3; ++j) c[i][j] = a[i][0] * b[0][j] + a[i][1] * b[1][j] + a[i][2] * b[2][j];
    return c;
}

float component_sum(const Vector3& v) { return v[0] + v[1] + v[2]; }

// The translation of an operator in the new cell, t' = Q.(t - (e - R).p) in [0,1).
Vector3 new_translation(const RealMatrix& q, const RotationMatrix& rot, const Vector3& tr, const Vector3& p) {
    Vector3 shifted{};
    for (std::size_t i = 0; i < 3; ++i) {
        float moved = 0.0f;
        for (std::size_t j = 0; j < 3; ++j)
            moved += (static_cast<float>(i == j ? 1 : 0) - static_cast<float>(rot[i][j])) * p[j];
        shifted[i] = tr[i] - moved;
    }
    return vorn_math_general::modulo_lat(times(q, shifted));
}

// Bounds of the admissible non-zero translation components.
struct Bounds {
    float low, high;
    bool admits(const Vector3& t) const {
        return std::none_of(t.begin(), t.end(), [&](float u) { return (u > 0.0f && u < low) || u > high; });
    }
};

Bounds bounds_by_name(std::string_view system, char lattice) {
    if (system == "Triclinic") return {0.0f, 1.0f};
    if (system == "Orthorhombic" && lattice == 'F') return {0.25f, 0.75f};
    if (system == "Tetragonal" || system == "Cubic") return {0.25f, 0.75f};
    if (system == "Hexagonal" || system == "Trigonal" || system == "Rhombohedral") return {1.0f / 6.0f, 5.0f / 6.0f};
    return {0.5f, 0.5f};
}

Bounds bounds_by_number(std::int32_t system, char lattice) {
    switch (system) {
        case 2: return {0.5f, 0.5f};
        case 3: return lattice == 'F' ? Bounds{0.25f, 0.75f} : Bounds{0.5f, 0.5f};
        case 4: case 7: return {0.25f, 0.75f};
        case 5: case 6: return {1.0f / 6.0f, 5.0f / 6.0f};
        default: return {0.0f, 1.0f};
    }
}

// The non-null centring translations of the new cell: the old ones, then old
// lattice translations inside the new cell until the volume ratio is reached,
// closed under addition.
std::vector<Vector3> new_centrings(const SpaceGroup& group, const RealMatrix& q, std::int32_t volume_ratio) {
    std::vector<Vector3> found;
    for (std::int32_t c = 2; c <= group.centring_count; ++c) {
        const Vector3 w = vorn_math_general::modulo_lat(times(q, at1(group.centring_vectors, static_cast<std::size_t>(c))));
        if (component_sum(w) >= 0.0002f) found.push_back(w);
    }
    if (volume_ratio > 1) {
        const std::size_t target = found.size() + static_cast<std::size_t>(volume_ratio) - 1;
        bool done = false;
        for (std::int32_t i = 0; i < volume_ratio && !done; ++i)
            for (std::int32_t j = 0; j < volume_ratio && !done; ++j)
                for (std::int32_t k = 0; k < volume_ratio && !done; ++k) {
                    if (i + j + k == 0) continue;
                    const Vector3 w = vorn_math_general::modulo_lat(
                        times(q, Vector3{static_cast<float>(i), static_cast<float>(j), static_cast<float>(k)}));
                    if (component_sum(w) < 0.0002f) continue;
                    const bool known = std::any_of(found.begin(), found.end(), [&](const Vector3& v) {
                        return std::fabs(w[0] - v[0]) + std::fabs(w[1] - v[1]) + std::fabs(w[2] - v[2]) < 0.0002f;
                    });
                    if (known) continue;
                    found.push_back(w);
                    done = found.size() == target;
                }
    }
    auto count = static_cast<std::int32_t>(found.size());
    if (count >= 2) {
        const std::size_t room = static_cast<std::size_t>(std::max(1, volume_ratio)) *
                                 static_cast<std::size_t>(std::max(1, group.centring_count));
        found.resize(std::max(room, found.size()));
        get_centring_vectors(count, found);
        found.resize(static_cast<std::size_t>(count));
    }
    return found;
}

// Centring texts of a conventional letter (F and R by enough generators).
std::vector<std::string> centring_texts(char letter) {
    switch (letter) {
        case 'A': return {"x,y+1/2,z+1/2"};
        case 'B': return {"x+1/2,y,z+1/2"};
        case 'C': return {"x+1/2,y+1/2,z"};
        case 'I': return {"x+1/2,y+1/2,z+1/2"};
        case 'F': return {"x+1/2,y+1/2,z", "x+1/2,y,z+1/2"};
        case 'R': return {"x+2/3,y+1/3,z+1/3"};
        default: return {};
    }
}

// Second screening by the crystal system the texts define: translations
// within the bounds, and each axis coupled only as the system allows; returns the bounds used.
Bounds select_generators(std::vector<std::string>& texts, char new_lattice) {
    std::int32_t system = 0;
    char letter = ' ';
    get_crystal_system_r_st(static_cast<std::int32_t>(texts.size()), texts, system, letter);
    const Bounds bounds = bounds_by_number(system, new_lattice);
    std::vector<std::string> kept;
    for (const std::string& text : texts) {
        RotationMatrix r{};
        Vector3 t{};
        read_xsym(text, 1, r, t);
        if (!bounds.admits(t)) continue;
        const std::size_t p1 = text.find(','), p2 = text.rfind(',');
        const std::string_view all(text);
        // Fields with their bounding commas, 0-based [begin, end).
        const std::string_view f1 = all.substr(0, p1 + 1), f2 = all.substr(p1, p2 - p1 + 1), f3 = all.substr(p2);
        const auto holds = [](std::string_view f, std::string_view letters) {
            return f.find_first_of(letters) != std::string_view::npos;
        };
        if (p1 != std::string::npos && system >= 1 && system <= 3 &&
            (holds(f1, "yz") || holds(f2, "xz") || holds(f3, "xy")))
            continue;
        if (p1 != std::string::npos && system >= 4 && system <= 6 &&
            (holds(all.substr(0, p2 + 1), "z") || holds(f3, "xy")))
            continue;
        kept.push_back(text);
    }
    texts = kept;
    return bounds;
}

}  // namespace

void similar_transf_sg(const RealMatrix& transf_matrix, const Vector3& origin_shift, const SpaceGroup& group,
                       SpaceGroup& new_group, std::optional<std::string_view> matrix_kind,
                       std::optional<std::string_view> fixed_lattice) {
    err_symm = false;
    // A record whose counts exceed its arrays is refused before anything is read by them.
    if (const std::string count = record_counts::count_beyond_arrays(group); !count.empty())
        return set_err_symm(" Transformation refused: " + count);
    std::string setting_text(80, ' ');
    get_setting_info(transf_matrix, origin_shift, setting_text, matrix_kind);
    const std::string old_symbol(
        vorn_string_utilities::trim_right(vorn_string_utilities::pack_string(group.hm_symbol.view())));
    const std::string system(group.crystal_system.trimmed());

    const bool by_columns = matrix_kind.has_value() && matrix_kind->size() >= 2 &&
                            (matrix_kind->substr(0, 2) == "it" || matrix_kind->substr(0, 2) == "IT");
    RealMatrix p = transf_matrix;
    if (!by_columns)
        for (std::size_t i = 0; i < 3; ++i)
            for (std::size_t j = 0; j < 3; ++j) p[i][j] = transf_matrix[j][i];
    // The volume ratio rounded, not truncated: thirds in the matrix leave
    // the determinant a little below its integer value.
    const float det = vorn_math_3d::determ_a_r(transf_matrix);
    const std::int32_t volume_ratio =
        std::isfinite(det) && std::fabs(det) < 1.0e6f ? vorn_string_utilities::nint(std::fabs(det)) : 1 << 30;

    RealMatrix q{};
    std::int32_t fail = 0;
    vorn_math_3d::matrix_inverse(p, q, fail);
    if (fail != 0) return set_err_symm("Inversion Matrix Failed on: similar_SG");
    if (volume_ratio > largest_volume_ratio) return set_err_symm(" Transformation refused: volume ratio above 48");

    // Centring of the new cell.
    char new_lattice = ' ';
    if (fixed_lattice.has_value()) {
        if (!fixed_lattice->empty()) new_lattice = fixed_lattice->front();
    } else {
        const std::vector<Vector3> centrings = new_centrings(group, q, volume_ratio);
        new_lattice = max_conv_lattice_type(static_cast<std::int32_t>(centrings.size()), centrings);
    }
    std::vector<std::string> gen_texts;
    for (const std::string& t : centring_texts(new_lattice)) gen_texts.push_back(fixed(t, text_width));

    // The reduced operators in the new cell, screened.
    const Bounds bounds = bounds_by_name(system, new_lattice);
    for (std::int32_t k = 2; k <= group.reduced_count; ++k) {
        const SymmetryOperator& op = at1(group.operators, static_cast<std::size_t>(k));
        RealMatrix r{};
        for (std::size_t i = 0; i < 3; ++i)
            for (std::size_t j = 0; j < 3; ++j) r[i][j] = static_cast<float>(op.rot[i][j]);
        const RealMatrix r_new = times(times(q, r), p);
        bool integral = true;
        for (const auto& row : r_new)
            for (float x : row) integral = integral && std::isfinite(x) && std::fabs(x) < 1.5f;
        if (!integral || !vorn_math_general::zbelongm(r_new)) continue;
        const Vector3 t_new = new_translation(q, op.rot, op.tr, origin_shift);
        if (!bounds.admits(t_new)) continue;
        RotationMatrix r_int{};
        for (std::size_t i = 0; i < 3; ++i)
            for (std::size_t j = 0; j < 3; ++j) r_int[i][j] = vorn_string_utilities::nint(r_new[i][j]);
        gen_texts.push_back(fixed(get_symsymbi(r_int, t_new), text_width));
    }

    const Bounds generator_bounds = select_generators(gen_texts, new_lattice);

    // The inversion of a centric group, moved to the new origin.
    if (group.centre_code != 1) {
        const RotationMatrix minus_identity = {{{-1, 0, 0}, {0, -1, 0}, {0, 0, -1}}};
        const auto n = static_cast<std::size_t>(group.multiplicity);
        const auto inversion = std::find_if(group.operators.begin(), group.operators.begin() + static_cast<std::ptrdiff_t>(n),
                                            [&](const SymmetryOperator& op) { return op.rot == minus_identity; });
        if (inversion != group.operators.begin() + static_cast<std::ptrdiff_t>(n)) {
            Vector3 t = new_translation(q, inversion->rot, inversion->tr, origin_shift);
            if (lattice_trans(t, new_lattice)) t = {0.0f, 0.0f, 0.0f};
            if (generator_bounds.admits(t))
                gen_texts.push_back(fixed(get_symsymbi(inversion->rot, t), text_width));
        }
    }

    // Build; while the build holds a pure translation outside its lattice,
    // drop the last generator and build again (the build from no generator
    // is kept).  A build that fails is not repaired: a smaller group would
    // hide the failure, so the caller gets the build's message and a record
    // without operators.
    auto gen_count = static_cast<std::int32_t>(gen_texts.size());
    for (;;) {
        set_spacegroup("  ", new_group, gen_texts, gen_count, "GEN");
        bool foreign = false;
        for (std::int32_t k = 1; k <= new_group.multiplicity && !foreign; ++k) {
            const SymmetryOperator& op = at1(new_group.operators, static_cast<std::size_t>(k));
            std::string symbol(text_width, ' ');
            symmetry_symbol_op(op, symbol);
            const std::string_view left = vorn_string_utilities::trim_both(symbol);
            foreign = !left.empty() && left.front() == 't' && !lattice_trans(op.tr, new_group.lattice_letter.view()[0]);
        }
        if (!foreign || gen_count == 0) break;
        --gen_count;
    }

    std::string origin = "From(" + old_symbol + ")";
    if (fixed_lattice.has_value()) origin += " Lat:" + std::string(*fixed_lattice);
    new_group.hm_symbol = origin;
    // A failed build has no operators to name; its message stays.
    if (new_group.multiplicity > 0) get_hallsymb_from_gener(new_group, new_group.hall_symbol);
    new_group.setting_type = setting_text;
}

}  // namespace vorn_crystallographic_symmetry
