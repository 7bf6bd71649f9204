// Lattice centring: the module lattice state set from a centring letter, the
// lattice-translation test, the completion of unconventional centring lists
// and the conventional centring that a list contains.
#include <algorithm>
#include <cmath>

#include "maths/math_gen.hpp"
#include "symmetry/symmetry.hpp"
#include "tables/sym_table.hpp"
#include "text/string_util.hpp"

namespace vorn_crystallographic_symmetry {

namespace tab = vorn_symmetry_tables;

const std::array<std::array<std::int32_t, 3>, 6> conventional_centrings_twelfths = {{
    {0, 6, 6},  // A
    {6, 0, 6},  // B
    {6, 6, 0},  // C
    {6, 6, 6},  // I
    {8, 4, 4},  // R (obverse, hexagonal axes)
    {4, 8, 8},  // R
}};
const std::array<char, 6> conventional_centring_letters = {'A', 'B', 'C', 'I', 'R', 'R'};

namespace {

char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

void set_translations(std::int32_t count, std::int32_t index, std::initializer_list<Vector3> vectors) {
    nlat = count;
    inlat = index;
    std::size_t j = 1;
    for (const Vector3& v : vectors) ltr[j++] = v;
}

// Difference of a tabulated centring vector and vec, rounded to 32 bits, is a
// lattice vector.
bool differs_by_lattice_vector(const Vector3& centring, const Vector3& vec) {
    Vector3 d{};
    for (int c = 0; c < 3; ++c) d[c] = centring[c] - vec[c];
    return vorn_math_general::zbelongv(d);
}

template <std::size_t N>
bool matches_any(const std::array<tab::CentringVector, N>& table, const Vector3& vec) {
    for (std::size_t j = 2; j < N; ++j)
        if (differs_by_lattice_vector(table[j], vec)) return true;
    return false;
}

}  // namespace

void latsym(std::string_view lat_symbol) {
    init_err_symm();
    char letter = ' ';
    for (char c : vorn_string_utilities::trim_both(lat_symbol)) {
        if (c != ' ' && c != '-') {
            letter = c;
            break;
        }
    }
    nlat = 1;
    ltr.fill(Vector3{});  // no translation of an earlier lattice survives past nlat
    constexpr float half = 0.5f;
    constexpr float third = 1.0f / 3.0f;
    constexpr float two_thirds = 2.0f / 3.0f;
    switch (upper(letter)) {
        case 'P': set_translations(1, 1, {}); break;
        case 'A': set_translations(2, 2, {{0.0f, half, half}}); break;
        case 'B': set_translations(2, 3, {{half, 0.0f, half}}); break;
        case 'C': set_translations(2, 4, {{half, half, 0.0f}}); break;
        case 'I': set_translations(2, 5, {{half, half, half}}); break;
        case 'R': set_translations(3, 6, {{two_thirds, third, third}, {third, two_thirds, two_thirds}}); break;
        // The C vector first: the reverse of the order of the F table.
        case 'F': set_translations(4, 7, {{half, half, 0.0f}, {half, 0.0f, half}, {0.0f, half, half}}); break;
        case 'Z':
            lat_ch = letter;
            set_err_symm("Unconventional Lattice Symbol Z needs centring vectors");
            return;
        default:
            lat_ch = letter;
            set_err_symm(std::string("Wrong Lattice Symbol ") + letter);
            return;
    }
    lat_ch = upper(letter);
}

void latsym(std::string_view lat_symbol, std::int32_t n_centring, std::span<const Vector3> centring) {
    latsym(lat_symbol);
    if (upper(lat_ch) != 'Z') return;
    // The explicit translations of an unconventional lattice: at most 11
    // besides the null one, and never more than the list holds.
    init_err_symm();
    lat_ch = 'Z';
    inlat = 8;
    std::int32_t count = std::clamp(n_centring, 0, static_cast<std::int32_t>(max_centrings) - 1);
    count = std::min(count, static_cast<std::int32_t>(centring.size()));
    nlat = count + 1;
    for (std::int32_t j = 0; j < count; ++j) ltr[static_cast<std::size_t>(j) + 1] = centring[static_cast<std::size_t>(j)];
}

bool lattice_trans(const Vector3& vec, char lat_letter) {
    if (vorn_math_general::zbelongv(vec)) return true;
    switch (lat_letter) {
        case 'A': case 'a': return matches_any(tab::ltr_a, vec);
        case 'B': case 'b': return matches_any(tab::ltr_b, vec);
        case 'C': case 'c': return matches_any(tab::ltr_c, vec);
        case 'I': case 'i': return matches_any(tab::ltr_i, vec);
        case 'R': case 'r': return matches_any(tab::ltr_r, vec);
        case 'F': case 'f': return matches_any(tab::ltr_f, vec);
        case 'Z':
            for (std::int32_t j = 2; j <= std::min(nlat, static_cast<std::int32_t>(max_centrings)); ++j)
                if (differs_by_lattice_vector(at1(ltr, static_cast<std::size_t>(j)), vec)) return true;
            return false;
        default: return false;
    }
}

// ---- Centring vectors and conventional lattice ----

namespace {

constexpr float null_tolerance = 0.0006f;

// Number of steps after which multiples of a centring translation repeat:
// the largest reciprocal of its components, to the nearest integer.
std::int32_t repeat_bound(const Vector3& v) {
    float largest = 0.0f;
    bool first = true;
    for (float x : v) {
        const float r = std::fabs(x) > 0.0002f ? 1.0f / x : 0.0f;
        if (first || r > largest) largest = r;
        first = false;
    }
    return vorn_string_utilities::nint(largest);
}

float distance_l1(const Vector3& a, const Vector3& b) {
    float s = 0.0f;
    for (int c = 0; c < 3; ++c) s += std::fabs(a[c] - b[c]);
    return s;
}

// Appends v unless it is null or already listed; false once the array is full.
bool append_if_new(const Vector3& v, std::int32_t& n_centring, std::span<Vector3> centring) {
    if (distance_l1(v, Vector3{}) < null_tolerance) return true;
    for (std::int32_t k = 0; k < n_centring; ++k)
        if (distance_l1(v, centring[static_cast<std::size_t>(k)]) < null_tolerance) return true;
    if (static_cast<std::size_t>(n_centring) >= centring.size()) return false;
    centring[static_cast<std::size_t>(n_centring)] = v;
    ++n_centring;
    return static_cast<std::size_t>(n_centring) < centring.size();
}

Vector3 combination(std::int32_t i, const Vector3& a, std::int32_t j, const Vector3& b, std::int32_t l,
                    const Vector3& c) {
    Vector3 v{};
    for (int k = 0; k < 3; ++k)
        v[k] = static_cast<float>(i) * a[k] + static_cast<float>(j) * b[k] + static_cast<float>(l) * c[k];
    return vorn_math_general::modulo_lat(v);
}

}  // namespace

void get_centring_vectors(std::int32_t& n_centring, std::span<Vector3> centring) {
    const std::size_t m = centring.size();
    if (n_centring <= 0 || m == 0) return;
    n_centring = std::min(n_centring, static_cast<std::int32_t>(m));
    if (n_centring == 1) {
        const Vector3 first = centring[0];
        const std::int32_t b1 = repeat_bound(first);
        std::int32_t k = 2;
        for (; k <= b1 - 1 && static_cast<std::size_t>(k) <= m; ++k) {
            Vector3 v{};
            for (int c = 0; c < 3; ++c) v[c] = static_cast<float>(k) * first[c];
            centring[static_cast<std::size_t>(k) - 1] = vorn_math_general::modulo_lat(v);
        }
        n_centring = std::max(n_centring, k - 1);
        return;
    }
    const Vector3 c1 = centring[0];
    const Vector3 c2 = centring[1];
    const std::int32_t b1 = repeat_bound(c1);
    const std::int32_t b2 = repeat_bound(c2);
    if (n_centring == 2) {
        for (std::int32_t i = 0; i <= b1 - 1; ++i)
            for (std::int32_t j = 0; j <= b2 - 1; ++j)
                if (!append_if_new(combination(i, c1, j, c2, 0, Vector3{}), n_centring, centring)) return;
        return;
    }
    const Vector3 c3 = centring[2];
    const std::int32_t b3 = repeat_bound(c3);
    for (std::int32_t i = 0; i <= b1 - 1; ++i)
        for (std::int32_t j = 0; j <= b2 - 1; ++j)
            for (std::int32_t l = 0; l <= b3 - 1; ++l)
                if (!append_if_new(combination(i, c1, j, c2, l, c3), n_centring, centring)) return;
}

char max_conv_lattice_type(std::int32_t n_centring, std::span<const Vector3> centring) {
    if (n_centring <= 0) return 'P';
    bool flags[6] = {false, false, false, false, false, false};  // A B C I R R
    const std::size_t n = std::min(static_cast<std::size_t>(n_centring), centring.size());
    for (std::size_t j = 0; j < n; ++j) {
        std::array<std::int32_t, 3> twelfths{};
        for (int c = 0; c < 3; ++c) twelfths[c] = vorn_string_utilities::nint(12.0f * centring[j][c]);
        for (std::size_t t = 0; t < conventional_centrings_twelfths.size(); ++t)
            if (twelfths == conventional_centrings_twelfths[t]) {
                flags[t] = true;
                break;
            }
    }
    if (static_cast<int>(flags[0]) + static_cast<int>(flags[1]) + static_cast<int>(flags[2]) >= 2) return 'F';
    char letter = 'P';
    for (std::size_t t = 0; t < 6; ++t)
        if (flags[t]) letter = conventional_centring_letters[t];
    return letter;
}

}  // namespace vorn_crystallographic_symmetry
