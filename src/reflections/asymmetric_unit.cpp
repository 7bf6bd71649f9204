// The reciprocal asymmetric unit of each Laue class: Friedel-normalised forms,
// the class rules, the dispatcher on the space-group number and the report.
#include <string>
#include <string_view>

#include "reflections/reflct_util.hpp"
#include "text/fortran_int.hpp"
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
char monoclinic_axis(const SpaceGroup& group) {
    const std::string_view code = group.setting_choice.view();
    char first = code.size() > 0 ? code[0] : ' ';
    char second = code.size() > 1 ? code[1] : ' ';
    if (first == ' ') {
        first = second;
        second = ' ';
    }
    const char letter = first == '-' ? second : first;
    return letter == 'a' || letter == 'b' || letter == 'c' ? letter : 'b';
}

// The Laue class that selects the rule: from the number when it is a
// space-group number, else the record's Laue text as stored.  Empty when
// nothing is selected.  axis receives the monoclinic unique axis.
std::string_view selected_laue(const SpaceGroup& group, char& axis) {
    const std::int32_t n = group.number;
    axis = 'b';
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
    static constexpr std::string_view known[] = {"-1",  "2/m", "mmm", "4/m", "4/mmm", "-3",
                                                 "-3m", "-31m", "6/m", "6/mmm", "m-3", "m-3m"};
    for (const std::string_view laue : known)
        if (group.laue_class == laue) return laue;
    return {};
}

}  // namespace

AsuRule asu_rule(const SpaceGroup& group) {
    char axis = 'b';
    const std::string_view laue = selected_laue(group, axis);
    // The rhombohedral-axes settings of the R groups: the hexagonal-axes rule
    // is meaningful only on the obverse hexagonal indices of the reflection.
    if (group.setting_choice[0] == 'R') {
        switch (group.number) {
            case 146: case 148: return AsuRule::rhombohedral_3;
            case 155: case 160: case 161: case 166: case 167: return AsuRule::rhombohedral_3m;
            default: break;
        }
    }
    if (laue == "-1") return AsuRule::triclinic;
    if (laue == "2/m") return axis == 'a' ? AsuRule::monoclinic_a : axis == 'c' ? AsuRule::monoclinic_c : AsuRule::monoclinic_b;
    if (laue == "mmm") return AsuRule::orthorhombic;
    if (laue == "4/m") return AsuRule::tetragonal_4_m;
    if (laue == "4/mmm") return AsuRule::tetragonal_4_mmm;
    if (laue == "-3") return AsuRule::trigonal_3;
    if (laue == "-3m") return AsuRule::trigonal_3m;
    if (laue == "-31m") return AsuRule::trigonal_31m;
    if (laue == "6/m") return AsuRule::hexagonal_6_m;
    if (laue == "6/mmm") return AsuRule::hexagonal_6_mmm;
    if (laue == "m-3") return AsuRule::cubic_m3;
    if (laue == "m-3m") return AsuRule::cubic_m3m;
    return AsuRule::none;
}

Hkl asu_hkl(const Hkl& hkl, AsuRule rule) {
    switch (rule) {
        case AsuRule::none:
            return zero_hkl;
        case AsuRule::triclinic:
            return friedel_normalised(hkl, 2, 0, 1);
        case AsuRule::monoclinic_b: {
            const Hkl n = friedel_normalised(hkl, 2, 1, 0);
            return accepted(n, n[2] != 0 ? (n[1] >= 0 && n[2] >= 0) : n[0] >= 0);
        }
        case AsuRule::monoclinic_c: {
            const Hkl n = friedel_normalised(hkl, 2, 1, 0);
            return accepted(n, n[1] != 0 ? (n[1] > 0 && n[2] >= 0) : n[0] >= 0);
        }
        case AsuRule::monoclinic_a: {
            // Normalised on h, l, k; the 0kl plane keeps the half with l > 0,
            // or l = 0 and k >= 0, so that every orbit has exactly one member.
            const Hkl n = friedel_normalised(hkl, 0, 2, 1);
            return accepted(n, n[0] >= 0 && (n[2] > 0 || (n[2] == 0 && n[1] >= 0)));
        }
        case AsuRule::rhombohedral_3:
        case AsuRule::rhombohedral_3m: {
            // hkl on rhombohedral axes has the obverse hexagonal indices
            // H = (h-k, k-l, h+k+l); hkl is accepted when the class rule
            // accepts H or -H with a third index >= 0, and the form returned
            // is the one of hkl and -hkl whose H the rule returned.
            using vorn_string_utilities::wrap_add;
            using vorn_string_utilities::wrap_sub;
            const Hkl hex{wrap_sub(hkl[0], hkl[1]), wrap_sub(hkl[1], hkl[2]), wrap_add(wrap_add(hkl[0], hkl[1]), hkl[2])};
            const Hkl r = asu_hkl(hex, rule == AsuRule::rhombohedral_3 ? AsuRule::trigonal_3 : AsuRule::trigonal_3m);
            if (r == zero_hkl || r[2] < 0) return zero_hkl;
            return r == hex ? hkl : Hkl{wrap_neg(hkl[0]), wrap_neg(hkl[1]), wrap_neg(hkl[2])};
        }
        default:
            break;
    }
    // The classes from orthorhombic on are normalised on h, k, l.
    const Hkl n = friedel_normalised(hkl, 0, 1, 2);
    const std::int32_t h = n[0], k = n[1], l = n[2];
    switch (rule) {
        case AsuRule::orthorhombic:
            return accepted(n, h >= 0 && k >= 0 && l >= 0);
        case AsuRule::tetragonal_4_m:
        case AsuRule::hexagonal_6_m:
            return accepted(n, quadrant_rule(n));
        case AsuRule::tetragonal_4_mmm:
            return accepted(n, h >= 0 && k >= 0 && l >= 0 && h >= k);
        case AsuRule::trigonal_3:
            return accepted(n, (h == 0 && k == 0 && l > 0) || (h + k > 0 && l > 0) || (h > 0 && k >= 0 && l == 0));
        case AsuRule::trigonal_3m:
            return accepted(n, (k >= 0 && k <= h) || (h >= 0 && k > 0 && l > 0));
        case AsuRule::trigonal_31m:
            return accepted(n, (h >= k && k > 0) || (h >= 0 && k == 0 && l >= 0));
        case AsuRule::hexagonal_6_mmm:
            return accepted(n, k >= 0 && h >= k && l >= 0);
        case AsuRule::cubic_m3:
            return accepted(n, l >= 0 && h >= l && (k == l || (h > l && k > l)));
        case AsuRule::cubic_m3m:
            return accepted(n, l >= 0 && k >= l && h >= k);
        default:
            return zero_hkl;
    }
}

Hkl asu_hkl_triclinic(const Hkl& hkl) { return asu_hkl(hkl, AsuRule::triclinic); }

Hkl asu_hkl_monoclinic(const Hkl& hkl, std::string_view axis) {
    const char letter = class_text(axis, 1)[0];
    if (letter == 'b' || letter == ' ') return asu_hkl(hkl, AsuRule::monoclinic_b);
    if (letter == 'c') return asu_hkl(hkl, AsuRule::monoclinic_c);
    if (letter == 'a') return asu_hkl(hkl, AsuRule::monoclinic_a);
    return zero_hkl;
}

Hkl asu_hkl_orthorhombic(const Hkl& hkl) { return asu_hkl(hkl, AsuRule::orthorhombic); }

Hkl asu_hkl_tetragonal(const Hkl& hkl, std::string_view laue) {
    const std::string text = class_text(laue, 5);
    if (fixed_equal(text, "4/m")) return asu_hkl(hkl, AsuRule::tetragonal_4_m);
    if (fixed_equal(text, "4/mmm")) return asu_hkl(hkl, AsuRule::tetragonal_4_mmm);
    return zero_hkl;
}

Hkl asu_hkl_trigonal(const Hkl& hkl, std::string_view laue) {
    const std::string text = class_text(laue, 4);
    if (fixed_equal(text, "-3")) return asu_hkl(hkl, AsuRule::trigonal_3);
    if (fixed_equal(text, "-3m")) return asu_hkl(hkl, AsuRule::trigonal_3m);
    if (fixed_equal(text, "-31m")) return asu_hkl(hkl, AsuRule::trigonal_31m);
    return zero_hkl;
}

Hkl asu_hkl_hexagonal(const Hkl& hkl, std::string_view laue) {
    const std::string text = class_text(laue, 5);
    if (fixed_equal(text, "6/m")) return asu_hkl(hkl, AsuRule::hexagonal_6_m);
    if (fixed_equal(text, "6/mmm")) return asu_hkl(hkl, AsuRule::hexagonal_6_mmm);
    return zero_hkl;
}

Hkl asu_hkl_cubic(const Hkl& hkl, std::string_view laue) {
    const std::string text = class_text(laue, 4);
    if (fixed_equal(text, "m-3")) return asu_hkl(hkl, AsuRule::cubic_m3);
    if (fixed_equal(text, "m-3m")) return asu_hkl(hkl, AsuRule::cubic_m3m);
    return zero_hkl;
}

Hkl asu_hkl(const Hkl& hkl, const SpaceGroup& group) { return asu_hkl(hkl, asu_rule(group)); }

void write_asu(const SpaceGroup& group, std::ostream& out) {
    std::string_view text;
    switch (asu_rule(group)) {
        case AsuRule::triclinic: text = "hkl: l >=0    hk0: h >=0    0k0: k >=0"; break;
        case AsuRule::monoclinic_c: text = "hkl: k >=0, l >=0   h0l: h >=0"; break;
        case AsuRule::monoclinic_a: text = "hkl: h >=0, l >=0   0kl: l >=0"; break;
        case AsuRule::monoclinic_b: text = "hkl: k >=0, l >=0   hk0: h >=0"; break;
        case AsuRule::orthorhombic: text = "hkl: h >=0, k >=0, l >=0"; break;
        case AsuRule::tetragonal_4_m: text = "hkl: h >=0, l >=0 with k >=0 if h =0 and k >0 if h >0"; break;
        case AsuRule::tetragonal_4_mmm: text = "hkl: h >=0, k >=0, l >=0 and h >=k"; break;
        case AsuRule::trigonal_3:
        case AsuRule::rhombohedral_3: text = "hkl: h+k>0, l>0    hk0: h>0, k>=0"; break;
        case AsuRule::trigonal_31m: text = "hkl: h >=0, h >=k >0   and  h0l: h >=0, l >=0"; break;
        case AsuRule::trigonal_3m:
        case AsuRule::rhombohedral_3m: text = "hkl: h >=0  h >=k  and   hhl: h >=0, l >=0"; break;
        case AsuRule::hexagonal_6_m: text = "hkl: h > 0, k > 0, l >=0   and  0kl: k >=0, l >=0"; break;
        case AsuRule::hexagonal_6_mmm: text = "hkl: h >=0, k >=0, l >=0 with h >=k"; break;
        case AsuRule::cubic_m3: text = "hkl: h > l, k > l, l >=0  and   hkk: k >=0, h >=k"; break;
        case AsuRule::cubic_m3m: text = "hkl: h >=0, k >=0, l >=0 with h >=k  and k >=l"; break;
        case AsuRule::none:
            err_refl = true;
            err_refl_mess = " SpaceGroup Laue Wrong";
            return;
    }
    out << " => Reciprocal Asymmetric Unit \n";
    out << "    [" << group.laue_class.view() << "]  " << fixed(text, 110) << '\n';
}

}  // namespace vorn_reflections_utilities
