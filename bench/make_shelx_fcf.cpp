// Writes a large synthetic SHELX LIST 4 reflection file <code>.fcf and its
// <code>.cif for the speed benchmark of borq.
//
//   bench_make_shelx_fcf <reflections> <P212121|P321> <code>
//
// The reflections are those of a sphere of index space, one line for each
// unique reflection of the Laue class and, when it is acentric, one for its
// Friedel opposite (as SHELXL writes merged data with Friedel pairs kept
// apart), in the order of l, k, h, each written as the member of its orbit
// whose smallest index is largest, so that the 3I4 fields stay apart and the
// lines read as CIF values too; the file holds exactly <reflections> lines,
// the last shell being cut.  Intensities follow Wilson statistics
// with a temperature factor; the Friedel mates differ by an anomalous signal
// of about 3 %; Fo2 scatters about Fc2 with a counting-statistics sigma and
// 2 % of instability, so that weak reflections can be negative; one
// reflection in a thousand carries the status "x".  Random numbers come from
// a fixed seed: the files are the same on every run.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "text/fortran_format.hpp"

namespace {

using vorn_string_utilities::format_f;
using vorn_string_utilities::format_i;

using Hkl = std::array<int, 3>;
using Rotation = std::array<std::array<int, 3>, 3>;  // acts on a point as R x

// What the benchmark needs of a space group: its name for the CIF, the
// rotations of its point group, the symmetry operators and the cell for the
// header.
struct GroupModel {
    std::string name;
    std::vector<Rotation> rotations;
    std::vector<std::string> operators;
    std::array<double, 6> cell;
};

GroupModel p212121() {
    return {"P 21 21 21",
            {Rotation{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}, Rotation{{{-1, 0, 0}, {0, -1, 0}, {0, 0, 1}}},
             Rotation{{{-1, 0, 0}, {0, 1, 0}, {0, 0, -1}}}, Rotation{{{1, 0, 0}, {0, -1, 0}, {0, 0, -1}}}},
            {"x, y, z", "-x+1/2, -y, z+1/2", "-x, y+1/2, -z+1/2", "x+1/2, -y+1/2, -z"},
            {31.512, 42.177, 55.836, 90.0, 90.0, 90.0}};
}

GroupModel p321() {
    return {"P 3 2 1",
            {Rotation{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}, Rotation{{{0, -1, 0}, {1, -1, 0}, {0, 0, 1}}},
             Rotation{{{-1, 1, 0}, {-1, 0, 0}, {0, 0, 1}}}, Rotation{{{0, 1, 0}, {1, 0, 0}, {0, 0, -1}}},
             Rotation{{{1, -1, 0}, {0, -1, 0}, {0, 0, -1}}}, Rotation{{{-1, 0, 0}, {-1, 1, 0}, {0, 0, -1}}}},
            {"x, y, z", "-y, x-y, z", "-x+y, -x, z", "y, x, -z", "x-y, -y, -z", "-x, -x+y, -z"},
            {48.213, 48.213, 61.407, 90.0, 90.0, 120.0}};
}

// The image of a reflection (a row vector) under a rotation: h R.
Hkl image(const Hkl& h, const Rotation& r) {
    Hkl out{};
    for (int c = 0; c < 3; ++c) out[c] = h[0] * r[0][c] + h[1] * r[1][c] + h[2] * r[2][c];
    return out;
}

Hkl negated(const Hkl& h) { return {-h[0], -h[1], -h[2]}; }

// The representative of the point-group orbit of h: its greatest image.
Hkl representative(const Hkl& h, const GroupModel& group) {
    Hkl best = image(h, group.rotations[0]);
    for (const Rotation& r : group.rotations) best = std::max(best, image(h, r));
    return best;
}

// The member of the point-group orbit of h written to the file: the one
// whose smallest index is largest (the greatest of those), so that no index
// below -99 fills its I4 field and runs into the field before it.  The
// reflection lines then read as blank-separated CIF values as well.
Hkl written_member(const Hkl& h, const GroupModel& group) {
    Hkl best = image(h, group.rotations[0]);
    const auto smallest = [](const Hkl& v) { return std::min({v[0], v[1], v[2]}); };
    for (const Rotation& r : group.rotations) {
        const Hkl candidate = image(h, r);
        if (smallest(candidate) > smallest(best) || (smallest(candidate) == smallest(best) && candidate > best))
            best = candidate;
    }
    return best;
}

// Visits the Laue-unique reflections of the sphere |h|^2 <= limit in the
// order l, k, h: visit(h, mate, acentric), h being the representative of the
// orbit of +h and mate that of -h.
template <typename Visit>
void for_each_unique(int radius, long long limit, const GroupModel& group, Visit visit) {
    for (int l = -radius; l <= radius; ++l)
        for (int k = -radius; k <= radius; ++k)
            for (int h = -radius; h <= radius; ++h) {
                const long long norm = 1LL * h * h + 1LL * k * k + 1LL * l * l;
                if (norm > limit || norm == 0) continue;
                const Hkl v{h, k, l};
                const Hkl plus = representative(v, group);
                const Hkl minus = representative(negated(v), group);
                // Each Laue orbit is visited once, at its greatest member.
                if (v != std::max(plus, minus)) continue;
                visit(v, norm, plus == minus ? v : (v == plus ? minus : plus), plus != minus);
            }
}

// splitmix64: small, fast and reproducible.
struct Random {
    std::uint64_t state = 0x9E3779B97F4A7C15ULL;
    std::uint64_t next() {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    double uniform() { return (static_cast<double>(next() >> 11) + 0.5) / 9007199254740992.0; }  // (0, 1)
    double normal() { return std::sqrt(-2.0 * std::log(uniform())) * std::cos(6.283185307179586 * uniform()); }
};

// One reflection line: 3I4, Fc2 F14.2, Fo2 F14.2, sigma F13.2, blank, status.
void write_line(std::ostream& out, const Hkl& h, double fc2, double fo2, double sigma, char status) {
    out << format_i(h[0], 4) << format_i(h[1], 4) << format_i(h[2], 4) << format_f(fc2, 14, 2)
        << format_f(fo2, 14, 2) << format_f(sigma, 13, 2) << ' ' << status << '\n';
}

void write_header(std::ostream& out, const std::string& code, const GroupModel& group) {
    out << "#\n# h,k,l, Fc-squared, Fo-squared, sigma(Fo-squared), status flag\n"
        << "# Synthetic reflections for timing the statistics program.\n#\n"
        << "data_" << code << "\n_shelx_refln_list_code          4\n\nloop_\n _space_group_symop_operation_xyz\n";
    for (const std::string& op : group.operators) out << " '" << op << "'\n";
    const char* const names[6] = {"_cell_length_a    ", "_cell_length_b    ", "_cell_length_c    ",
                                  "_cell_angle_alpha ", "_cell_angle_beta  ", "_cell_angle_gamma "};
    out << '\n';
    for (int i = 0; i < 6; ++i) out << names[i] << format_f(group.cell[i], 9, i < 3 ? 4 : 3) << '\n';
    out << "\n_shelx_F_squared_multiplier     1.000\n\nloop_\n _refln_index_h\n _refln_index_k\n _refln_index_l\n"
        << " _refln_F_squared_calc\n _refln_F_squared_meas\n _refln_F_squared_sigma\n _refln_observed_status\n";
}

bool write_cif(const std::string& code, const GroupModel& group) {
    std::ofstream cif(code + ".cif");
    cif << "data_" << code << "\n_space_group_name_H-M_alt         '" << group.name << "'\n";
    cif.close();
    return !cif.fail();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: bench_make_shelx_fcf <reflections> <P212121|P321> <code>\n";
        return 2;
    }
    const long long wanted = std::atoll(argv[1]);
    const std::string group_name = argv[2];
    const std::string code = argv[3];
    if (wanted < 1 || (group_name != "P212121" && group_name != "P321")) {
        std::cerr << "bench_make_shelx_fcf: a positive count and P212121 or P321, please\n";
        return 2;
    }
    const GroupModel group = group_name == "P212121" ? p212121() : p321();

    // A sphere that holds somewhat more lines than wanted: about two lines
    // (h and -h) per Laue orbit of 2 x |point group| reflections.
    const double orbit = 2.0 * static_cast<double>(group.rotations.size());
    const int radius = static_cast<int>(1.1 * std::cbrt(static_cast<double>(wanted) * orbit / (2.0 * 4.18879))) + 4;

    // Lines per squared radius, to find the shell that completes the count.
    std::vector<long long> lines_at(static_cast<std::size_t>(3 * radius * radius) + 1, 0);
    for_each_unique(radius, 1LL * radius * radius, group, [&](const Hkl&, long long norm, const Hkl&, bool acentric) {
        lines_at[static_cast<std::size_t>(norm)] += acentric ? 2 : 1;
    });
    long long limit = 0, total = 0;
    while (limit < static_cast<long long>(lines_at.size()) - 1 && total < wanted)
        total += lines_at[static_cast<std::size_t>(++limit)];
    if (total < wanted) {
        std::cerr << "bench_make_shelx_fcf: the sphere holds only " << total << " lines\n";
        return 1;
    }

    std::ofstream fcf(code + ".fcf");
    std::vector<char> buffer(1 << 20);
    fcf.rdbuf()->pubsetbuf(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    write_header(fcf, code, group);

    // Intensity model: mean Fc2 falls off as exp(-2 B s^2) to a resolution
    // of 0.8 A (s = sin(theta)/lambda up to 0.625), B = 3 A^2.
    Random random;
    const double s2_max = 0.625 * 0.625;
    long long written = 0;
    const auto observe = [&](const Hkl& h, double fc2) {
        if (written >= wanted) return;
        const double sigma = std::sqrt(fc2 + (0.02 * fc2) * (0.02 * fc2) + 4.0);
        const double fo2 = fc2 + sigma * random.normal();
        write_line(fcf, written_member(h, group), fc2, fo2, sigma, random.uniform() < 0.001 ? 'x' : 'o');
        ++written;
    };
    for_each_unique(radius, limit, group, [&](const Hkl& h, long long norm, const Hkl& mate, bool acentric) {
        const double s2 = s2_max * static_cast<double>(norm) / static_cast<double>(limit);
        const double mean = 20000.0 * std::exp(-2.0 * 3.0 * s2);
        if (!acentric) {
            const double z = random.normal();  // centric: chi-squared with one degree of freedom
            observe(h, std::min(mean * z * z, 9.9e7));
            return;
        }
        const double fc2 = std::min(-mean * std::log(random.uniform()), 9.9e7);  // Wilson, acentric
        const double mate_fc2 = std::max(fc2 * (1.0 + 0.03 * random.normal()), 0.0);
        observe(h, fc2);
        observe(mate, mate_fc2);
    });
    fcf << '\n';
    fcf.close();
    if (!fcf) {
        std::cerr << "bench_make_shelx_fcf: cannot write " << code << ".fcf\n";
        return 1;
    }
    if (!write_cif(code, group)) {
        std::cerr << "bench_make_shelx_fcf: cannot write " << code << ".cif\n";
        return 1;
    }
    std::cout << code << ".fcf: " << written << " reflections, " << group.name << ", |h| up to "
              << std::sqrt(static_cast<double>(limit)) << '\n';
    return 0;
}
