// The reciprocal asymmetric unit of each Laue class: Friedel-normalised forms,
// the class rules, the dispatcher on the space-group number and the report.
#include <algorithm>
#include <string>

#include "reflections/reflct_util.hpp"
#include "text/string_util.hpp"

namespace vorn_reflections_utilities {

namespace {

using vorn_string_utilities::fixed;
using vorn_string_utilities::fixed_equal;
using vorn_string_utilities::l_case;
using vorn_string_utilities::wrap_neg;

constexpr Hkl zero_hkl{0, 0, 0};

// The reflection or its opposite, whichever has a positive first non-zero
// index in the given order of indices (0 = h, 1 = k, 2 = l).  A reflection
// and its Friedel opposite share this form; the zero reflection stays zero.
Hkl friedel_normalised(const Hkl& hkl, int first, int second, int third) {
    for (int c : {first, second, third}) {
        if (hkl[c] > 0) return hkl;
        if (hkl[c] < 0) return {wrap_neg(hkl[0]), wrap_neg(hkl[1]), wrap_neg(hkl[2])};
    }
    return hkl;
}

// A class-name argument left-adjusted, lower-cased and cut or padded to width.
std::string class_text(std::string_view text, std::size_t width) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return std::string(width, ' ');
    return fixed(l_case(text.substr(first)), width);
}

Hkl accepted(const Hkl& n, bool inside) { return inside ? n : zero_hkl; }

// The "4/m" and "6/m" rule: one quadrant of the hk plane, l >= 0.
bool quadrant_rule(const Hkl& n) {
    const std::int32_t h = n[0], k = n[1], l = n[2];
    return h == 0 ? (k >= 0 && l >= 0) : (h > 0 && k > 0 && l >= 0);
}

// Unique-axis letter of a monoclinic setting code: the first two characters,
// left-adjusted, a leading "-" skipped; anything but a, b or c means b.
std::string monoclinic_axis(const SpaceGroup& group) {
    std::string two = fixed(group.setting_choice.view(), 2);
    if (two[0] == ' ') two = std::string(1, two[1]) + " ";
    char letter = two[0] == '-' ? two[1] : two[0];
    if (letter != 'a' && letter != 'b' && letter != 'c') letter = 'b';
    return std::string(1, letter);
}

// The Laue class that selects the rule: from the number when it is a
// space-group number, else the record's Laue text as stored.  Empty when
// nothing is selected.  axis receives the monoclinic unique axis.
std::string selected_laue(const SpaceGroup& group, std::string& axis) {
    const std::int32_t n = group.number;
    axis = "b";
    if (n >= 1 && n <= 230) {
        if (n <= 2) return "-1";
        if (n <= 15) {
            axis = monoclinic_axis(group);
            return "2/m";
        }
        if (n <= 74) return "mmm";
        if (n <= 88) return "4/m";
        if (n <= 142) return "4/mmm";
        if (n <= 148) return "-3";
        if (n <= 167) {
            switch (n) {
                case 149: case 151: case 153: case 157: case 159: case 162: case 163:
                    return "-31m";
                default:
                    return "-3m";
            }
        }
        if (n <= 176) return "6/m";
        if (n <= 194) return "6/mmm";
        if (n <= 206) return "m-3";
        return "m-3m";
    }
    // Laue text as stored: no adjustment, no case conversion.
    static const char* const known[] = {"-1",  "2/m", "mmm", "4/m", "4/mmm", "-3",
                                        "-3m", "-31m", "6/m", "6/mmm", "m-3", "m-3m"};
    for (const char* laue : known)
        if (group.laue_class == laue) return laue;
    return std::string();
}

}  // namespace

Hkl asu_hkl_triclinic(const Hkl& hkl) { return friedel_normalised(hkl, 2, 0, 1); }

Hkl asu_hkl_monoclinic(const Hkl& hkl, std::string_view axis) {
    char letter = class_text(axis, 1)[0];
    if (letter == ' ') letter = 'b';
    if (letter == 'b') {
        const Hkl n = friedel_normalised(hkl, 2, 1, 0);
        const bool inside = n[2] != 0 ? (n[1] >= 0 && n[2] >= 0) : n[0] >= 0;
        return accepted(n, inside);
    }
    if (letter == 'c') {
        const Hkl n = friedel_normalised(hkl, 2, 1, 0);
        const bool inside = n[1] != 0 ? (n[1] > 0 && n[2] >= 0) : n[0] >= 0;
        return accepted(n, inside);
    }
    if (letter == 'a') {
        // Normalised on h, l, k; the 0kl plane keeps the half with l > 0, or
        // l = 0 and k >= 0, so that every orbit has exactly one member here.
        const Hkl n = friedel_normalised(hkl, 0, 2, 1);
        const bool inside = n[0] >= 0 && (n[2] > 0 || (n[2] == 0 && n[1] >= 0));
        return accepted(n, inside);
    }
    return zero_hkl;
}

Hkl asu_hkl_orthorhombic(const Hkl& hkl) {
    const Hkl n = friedel_normalised(hkl, 0, 1, 2);
    return accepted(n, n[0] >= 0 && n[1] >= 0 && n[2] >= 0);
}

Hkl asu_hkl_tetragonal(const Hkl& hkl, std::string_view laue) {
    const std::string text = class_text(laue, 5);
    const Hkl n = friedel_normalised(hkl, 0, 1, 2);
    const std::int32_t h = n[0], k = n[1], l = n[2];
    if (fixed_equal(text, "4/m")) return accepted(n, quadrant_rule(n));
    if (fixed_equal(text, "4/mmm")) return accepted(n, h >= 0 && k >= 0 && l >= 0 && h >= k);
    return zero_hkl;
}

Hkl asu_hkl_trigonal(const Hkl& hkl, std::string_view laue) {
    const std::string text = class_text(laue, 4);
    const Hkl n = friedel_normalised(hkl, 0, 1, 2);
    const std::int32_t h = n[0], k = n[1], l = n[2];
    if (fixed_equal(text, "-3")) {
        const bool inside = (h == 0 && k == 0 && l > 0) || (h + k > 0 && l > 0) || (h > 0 && k >= 0 && l == 0);
        return accepted(n, inside);
    }
    if (fixed_equal(text, "-3m")) return accepted(n, (k >= 0 && k <= h) || (h >= 0 && k > 0 && l > 0));
    if (fixed_equal(text, "-31m")) return accepted(n, (h >= k && k > 0) || (h >= 0 && k == 0 && l >= 0));
    return zero_hkl;
}

Hkl asu_hkl_hexagonal(const Hkl& hkl, std::string_view laue) {
    const std::string text = class_text(laue, 5);
    const Hkl n = friedel_normalised(hkl, 0, 1, 2);
    const std::int32_t h = n[0], k = n[1], l = n[2];
    if (fixed_equal(text, "6/m")) return accepted(n, quadrant_rule(n));
    if (fixed_equal(text, "6/mmm")) return accepted(n, k >= 0 && h >= k && l >= 0);
    return zero_hkl;
}

Hkl asu_hkl_cubic(const Hkl& hkl, std::string_view laue) {
    const std::string text = class_text(laue, 4);
    const Hkl n = friedel_normalised(hkl, 0, 1, 2);
    const std::int32_t h = n[0], k = n[1], l = n[2];
    if (fixed_equal(text, "m-3")) return accepted(n, l >= 0 && h >= l && (k == l || (h > l && k > l)));
    if (fixed_equal(text, "m-3m")) return accepted(n, l >= 0 && k >= l && h >= k);
    return zero_hkl;
}

Hkl asu_hkl(const Hkl& hkl, const SpaceGroup& group) {
    std::string axis;
    const std::string laue = selected_laue(group, axis);
    if (laue == "-1") return asu_hkl_triclinic(hkl);
    if (laue == "2/m") return asu_hkl_monoclinic(hkl, axis);
    if (laue == "mmm") return asu_hkl_orthorhombic(hkl);
    if (laue == "4/m" || laue == "4/mmm") return asu_hkl_tetragonal(hkl, laue);
    if (laue == "-3" || laue == "-3m" || laue == "-31m") return asu_hkl_trigonal(hkl, laue);
    if (laue == "6/m" || laue == "6/mmm") return asu_hkl_hexagonal(hkl, laue);
    if (laue == "m-3" || laue == "m-3m") return asu_hkl_cubic(hkl, laue);
    return zero_hkl;
}

void write_asu(const SpaceGroup& group, std::ostream& out) {
    std::string axis;
    const std::string laue = selected_laue(group, axis);
    std::string text;
    if (laue == "-1") text = "hkl: l >=0    hk0: h >=0    0k0: k >=0";
    else if (laue == "2/m" && axis == "c") text = "hkl: k >=0, l >=0   h0l: h >=0";
    else if (laue == "2/m" && axis == "a") text = "hkl: h >=0, l >=0   0kl: l >=0";
    else if (laue == "2/m") text = "hkl: k >=0, l >=0   hk0: h >=0";
    else if (laue == "mmm") text = "hkl: h >=0, k >=0, l >=0";
    else if (laue == "4/m") text = "hkl: h >=0, l >=0 with k >=0 if h =0 and k >0 if h >0";
    else if (laue == "4/mmm") text = "hkl: h >=0, k >=0, l >=0 and h >=k";
    else if (laue == "-3") text = "hkl: h+k>0, l>0    hk0: h>0, k>=0";
    else if (laue == "-31m") text = "hkl: h >=0, h >=k >0   and  h0l: h >=0, l >=0";
    else if (laue == "-3m") text = "hkl: h >=0  h >=k  and   hhl: h >=0, l >=0";
    else if (laue == "6/m") text = "hkl: h > 0, k > 0, l >=0   and  0kl: k >=0, l >=0";
    else if (laue == "6/mmm") text = "hkl: h >=0, k >=0, l >=0 with h >=k";
    else if (laue == "m-3") text = "hkl: h > l, k > l, l >=0  and   hkk: k >=0, h >=k";
    else if (laue == "m-3m") text = "hkl: h >=0, k >=0, l >=0 with h >=k  and k >=l";
    else {
        err_refl = true;
        err_refl_mess = " SpaceGroup Laue Wrong";
        return;
    }
    out << " => Reciprocal Asymmetric Unit \n";
    out << "    [" << group.laue_class.view() << "]  " << fixed(text, 110) << '\n';
}

}  // namespace vorn_reflections_utilities
