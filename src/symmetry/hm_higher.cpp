// Hermann-Mauguin route, higher systems: the operators of tetragonal,
// trigonal, hexagonal and cubic symbols from the main axis of the first
// field, and the second generator (M, t0) that the further fields imply.
// Fractions are the nearest 32-bit reals (1/3 = 0.33333334).
#include <cmath>

#include "symmetry/route_operators.hpp"
#include "symmetry/symmetry.hpp"

namespace vorn_crystallographic_symmetry::route_detail {

namespace {

constexpr float half = 0.5f;
constexpr float quarter = 0.25f;
constexpr float three_quarters = 0.75f;
constexpr float third = 1.0f / 3.0f;
constexpr float two_thirds = 2.0f / 3.0f;
constexpr float sixth = 1.0f / 6.0f;
constexpr float five_sixths = 5.0f / 6.0f;

// Images of (x, y, z), written as rows.
constexpr RotationMatrix four_z = {{{0, -1, 0}, {1, 0, 0}, {0, 0, 1}}};       // -y,x,z
constexpr RotationMatrix three_z = {{{0, -1, 0}, {1, -1, 0}, {0, 0, 1}}};     // -y,x-y,z
constexpr RotationMatrix three_z_inv = {{{-1, 1, 0}, {-1, 0, 0}, {0, 0, 1}}}; // -x+y,-x,z
constexpr RotationMatrix six_z = {{{1, -1, 0}, {1, 0, 0}, {0, 0, 1}}};        // x-y,x,z
constexpr RotationMatrix mirror_x = {{{-1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};     // -x,y,z
constexpr RotationMatrix swap_xy_minus_z = {{{0, 1, 0}, {1, 0, 0}, {0, 0, -1}}};     // y,x,-z
constexpr RotationMatrix swap_xy = {{{0, 1, 0}, {1, 0, 0}, {0, 0, 1}}};              // y,x,z
constexpr RotationMatrix two_x = {{{1, 0, 0}, {0, -1, 0}, {0, 0, -1}}};              // x,-y,-z
constexpr RotationMatrix two_y = {{{-1, 0, 0}, {0, 1, 0}, {0, 0, -1}}};              // -x,y,-z
constexpr RotationMatrix two_z = {{{-1, 0, 0}, {0, -1, 0}, {0, 0, 1}}};              // -x,-y,z
constexpr RotationMatrix minus_swap_xy_minus_z = {{{0, -1, 0}, {-1, 0, 0}, {0, 0, -1}}}; // -y,-x,-z
constexpr RotationMatrix minus_swap_xy = {{{0, -1, 0}, {-1, 0, 0}, {0, 0, 1}}};          // -y,-x,z

void apply_after(HmWork& w, int target, int first, int second) {
    // operator target = operator second applied after operator first
    w.rot(target) = multiply(w.rot(second), w.rot(first));
    const Vector3 rt = rotate(w.rot(second), w.tr(first));
    for (std::size_t i = 0; i < 3; ++i) w.tr(target)[i] = rt[i] + w.tr(second)[i];
}

bool near(float x, float v) { return std::fabs(x - v) <= 0.0002f; }

}  // namespace

void build_tetragonal(HmWork& w) {
    w.count = w.fields == 3 ? 8 : 4;
    w.base_count = 4;
    const bool centric = w.centric_flag == 0;
    w.rot(2) = four_z;
    Vector3& t2 = w.tr(2);
    const bool glide_a = w.cell(1, 3) == 'N';  // "4/n"
    const bool glide_b = w.cell(1, 4) == 'N';  // "42/n"
    if (w.cell(1, 1) == '-') {
        for (auto& row : w.rot(2))
            for (auto& v : row) v = -v;  // the -4 axis: y,-x,-z
    } else {
        const char screw = w.cell(1, 2);
        if (screw == '1') t2[2] = quarter;
        if (screw == '2') t2[2] = half;
        if (screw == '3') t2[2] = three_quarters;
        const bool s1 = screw == '1';
        // Origin of the 41 and 4/n axes relative to the centring and the
        // inversion centre.
        auto i_rule = [&]() {
            if (w.fields == 1) {
                t2[0] = three_quarters;
                t2[1] = quarter;
            } else {
                t2[0] = quarter;
                t2[1] = three_quarters;
            }
        };
        enum { step_4, step_5 } next = step_5;
        if (glide_a) {
            t2[0] = half;
        } else if (glide_b && w.fields == 3) {
            t2[0] = half;
        } else if (glide_b && w.fields == 1) {
            next = step_4;
        }
        bool skip_step_6 = false;
        if (next == step_5 && s1 && w.lattice == 'I') {
            if (centric) {
                i_rule();
                skip_step_6 = true;
            } else {
                next = step_4;
            }
        }
        if (!skip_step_6 && next == step_4) {
            t2[1] = half;
            if (s1 && centric && w.lattice == 'I') {
                i_rule();
                skip_step_6 = true;
            }
        }
        if (!skip_step_6) {
            if (w.cell(2, 2) == '1' || (!glide_b && w.cell(2, 1) == 'N' && w.cell(3, 1) == 'M')) {
                t2[0] = half;
                t2[1] = half;
            }
        }
    }
    apply_after(w, 3, 2, 2);
    if (w.lattice == 'I' && near(w.tr(3)[0], half) && near(w.tr(3)[1], half) && near(w.tr(3)[2], half))
        w.tr(3) = {0.0f, 0.0f, 0.0f};  // the I-centring vector itself
    apply_after(w, 4, 3, 2);
    if (w.fields == 1) return;

    w.second_generator = true;
    w.t0 = {0.0f, 0.0f, 0.0f};
    const char second = w.cell(2, 1);
    const char third = w.cell(3, 1);
    if (centric) {
        w.m = mirror_x;
        if (second == 'C' || second == 'N') w.t0[2] = half;
        if (second == 'B' || second == 'N') {
            w.t0[0] = half;
            w.t0[1] = half;
        }
        if (glide_a || glide_b) w.t0[0] += half;
    } else if (second == '2' && third == '2') {
        w.m = swap_xy_minus_z;
        if (w.cell(2, 2) == ' ' && w.lattice != 'I' && w.cell(1, 2) != ' ') {
            if (w.cell(1, 2) == '1') w.t0[2] = three_quarters;
            if (w.cell(1, 2) == '2') w.t0[2] = half;
            if (w.cell(1, 2) == '3') w.t0[2] = quarter;
        }
    } else if (second == '2') {
        w.m = two_x;
        if (third == 'C') w.t0[2] = half;
        if (third == 'D') {
            w.t0[2] = quarter;
            w.t0[1] = half;
        }
        if (w.cell(2, 2) == '1') {
            w.t0[0] = half;
            w.t0[1] = half;
        }
    } else if (third == '2') {
        w.m = mirror_x;
        if (second == 'C' || second == 'N') w.t0[2] = half;
        if (second == 'N' || second == 'B') {
            w.t0[0] = half;
            w.t0[1] = half;
        }
    } else {
        w.m = mirror_x;
        if (second == 'C') w.t0 = {0.0f, 0.0f, half};
        if (second == 'N') w.t0 = {half, half, half};
        if (second == 'B') w.t0 = {half, half, 0.0f};
    }
}

void build_trigonal_hexagonal(HmWork& w) {
    w.count = 3;
    const bool bar_three = w.cell(1, 1) == '-' && w.cell(1, 2) == '3';
    w.base_count = (w.cell(1, 1) == '3' || bar_three) ? 3 : 6;
    if (bar_three) w.centric_flag = 0;

    if (w.cell(1, 1) == '3' || w.cell(1, 1) == '-') {
        // Axes 3, -3 and -6.
        w.rot(2) = three_z;
        if (w.cell(1, 2) == '1') w.tr(2)[2] = third;
        if (w.cell(1, 2) == '2') w.tr(2)[2] = two_thirds;
        w.rot(3) = three_z_inv;
        w.tr(3)[2] = 2.0f * w.tr(2)[2];
        if (w.tr(3)[2] >= 1.0f) w.tr(3)[2] -= 1.0f;
        if (w.cell(1, 2) == '6') {
            // -6: the threefold operators followed by the mirror perpendicular to c.
            w.count = 6;
            for (int k = 1; k <= 3; ++k) {
                w.rot(k + 3) = w.rot(k);
                w.rot(k + 3)[2][2] = -1;
                w.tr(k + 3) = {0.0f, 0.0f, 0.0f};
            }
        }
        if (w.fields == 1) return;
        if (w.cell(2, 1) == 'C' || w.cell(3, 1) == 'C')
            for (int k = 4; k <= 6; ++k) w.tr(k)[2] = half;
    } else {
        // Axis 6 and its screws.
        w.count = 6;
        w.rot(2) = six_z;
        static constexpr float screws[] = {0.0f, sixth, third, half, two_thirds, five_sixths};
        const char s = w.cell(1, 2);
        if (s >= '1' && s <= '5') w.tr(2)[2] = screws[s - '0'];
        for (int k = 2; k <= 5; ++k) {
            w.rot(k + 1) = multiply(w.rot(2), w.rot(k));
            const Vector3 rt = rotate(w.rot(2), w.tr(k));
            for (std::size_t i = 0; i < 3; ++i) {
                float v = w.tr(2)[i] + rt[i];
                if (v > 1.0f) v -= 1.0f;
                w.tr(k + 1)[i] = v;
            }
        }
        if (w.fields == 1) return;
    }

    w.count *= 2;
    w.second_generator = true;
    w.t0 = {0.0f, 0.0f, 0.0f};
    const char second = w.cell(2, 1);
    const char third_field = w.cell(3, 1);
    const float screw = w.tr(2)[2];
    if (second == '1' && third_field == '2') {
        w.m = minus_swap_xy_minus_z;
        w.t0[2] = 2.0f * screw;
        if (w.t0[2] > 1.0f) w.t0[2] -= 1.0f;
    } else if (second == '1') {
        w.m = swap_xy;
        if (third_field == 'C') w.t0[2] = half;
    } else if (second == '2') {
        w.m = swap_xy_minus_z;
        w.t0[2] = 2.0f * screw;
        if (w.cell(1, 1) == '3' && (w.cell(1, 2) == '1' || w.cell(1, 2) == '2')) w.t0[2] = 0.0f;
    } else {
        w.m = minus_swap_xy;
        if (second == 'C') w.t0[2] = half;
    }
}

void build_cubic(HmWork& w) {
    w.count = w.fields == 3 ? 24 : 12;
    w.base_count = 12;
    const char first = w.cell(1, 1);
    if (first != '2' && first != '4' && first != '-') w.centric_flag = 0;

    // The twofold rotations along a, b and c.
    w.rot(2) = two_x;
    w.rot(3) = two_y;
    w.rot(4) = two_z;
    for (int k = 2; k <= 4; ++k) {
        const auto own = static_cast<std::size_t>(k - 2);
        for (std::size_t i = 0; i < 3; ++i) {
            if (i == own) continue;
            if (first == 'N') w.tr(k)[i] = half;
            if (first == 'D') w.tr(k)[i] = quarter;
        }
    }
    const char subscript = w.cell(1, 2);
    if ((first == 'A' || w.cell(3, 1) == 'D' || subscript == '1' || subscript == '3') && w.lattice != 'F') {
        w.tr(2) = {half, half, 0.0f};
        w.tr(3) = {0.0f, half, half};
        w.tr(4) = {half, 0.0f, half};
    }

    // The threefold rotations along [111]: rows in the order 2,3,1 and 3,1,2.
    for (int j = 1; j <= 4; ++j) {
        const RotationMatrix r = w.rot(j);
        const Vector3 t = w.tr(j);
        w.rot(4 + j) = {r[1], r[2], r[0]};
        w.tr(4 + j) = {t[1], t[2], t[0]};
        w.rot(8 + j) = {r[2], r[0], r[1]};
        w.tr(8 + j) = {t[2], t[0], t[1]};
    }
    if (w.fields != 3) return;

    w.second_generator = true;
    const char third_field = w.cell(3, 1);
    w.m = third_field == '2' ? swap_xy_minus_z : swap_xy;
    Vector3& t0 = w.t0;
    t0 = {0.0f, 0.0f, 0.0f};
    auto subscript_rule = [&]() {
        if (subscript == '2') t0 = {half, half, half};
        if (subscript == '1' || subscript == '3') t0 = {quarter, quarter, quarter};
    };
    if (third_field == 'N') {
        t0 = (subscript == '1' || subscript == '3') ? Vector3{quarter, quarter, quarter} : Vector3{half, half, half};
    } else if (third_field == 'D') {
        t0 = {quarter, quarter, quarter};
    } else if (third_field == 'C') {
        t0[2] = half;
        subscript_rule();
    } else {
        subscript_rule();
    }
    if (subscript == '1' && w.lattice == 'P') t0[0] = three_quarters;
    if (subscript == '1' && w.lattice == 'I') {
        t0[1] = three_quarters;
        t0[2] = three_quarters;
    }
    if (subscript == '3' && w.lattice == 'P') {
        t0[1] = three_quarters;
        t0[2] = three_quarters;
    }
}

}  // namespace vorn_crystallographic_symmetry::route_detail
