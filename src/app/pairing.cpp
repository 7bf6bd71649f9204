// Classification of the reflections: the asymmetric-unit key and the sort by
// it, centric reflections, Friedel pairs, outlying pairs and the coverage
// report with missing_A.dat.
#include <algorithm>
#include <cmath>
#include <fstream>
#include <ostream>
#include <tuple>

#include "app/borq.hpp"
#include "maths/math_gen.hpp"
#include "reflections/reflct_util.hpp"
#include "text/fortran_format.hpp"
#include "text/fortran_int.hpp"

namespace borq {

namespace {

using vorn_crystallographic_symmetry::at1;
using vorn_crystallographic_symmetry::RotationMatrix;
using vorn_reflections_utilities::Hkl;
using vorn_string_utilities::append_f;
using vorn_string_utilities::append_i;
using vorn_string_utilities::format_f;
using vorn_string_utilities::format_i;
using vorn_string_utilities::wrap_add;
using vorn_string_utilities::wrap_mul;
using vorn_string_utilities::wrap_neg;
using vorn_string_utilities::wrap_sub;

// Rows a table of the run can offer for a count of n: never past its end.
template <class Table>
std::int32_t usable_rows(const Table& table, std::int32_t n) {
    const std::int64_t held = table.empty() ? 0 : static_cast<std::int64_t>(table.size()) - 1;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(n, 0, held));
}

// The reduced operators that the pairing uses, capped at the record's size.
std::int32_t reduced_operators(const SpaceGroup& group) {
    return std::clamp<std::int32_t>(group.reduced_count, 0, static_cast<std::int32_t>(group.operators.size()));
}

RotationMatrix transposed(const RotationMatrix& m) {
    RotationMatrix t{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) t[i][j] = m[j][i];
    return t;
}

Hkl indices_of(const HklInfoRow& row) { return {row.h, row.k, row.l}; }

Hkl negated(const Hkl& v) { return {wrap_neg(v[0]), wrap_neg(v[1]), wrap_neg(v[2])}; }

std::int32_t determinant(const RotationMatrix& m) {
    const auto minor = [&](int r1, int c1, int r2, int c2) {
        return wrap_sub(wrap_mul(m[r1][c1], m[r2][c2]), wrap_mul(m[r1][c2], m[r2][c1]));
    };
    return wrap_add(wrap_sub(wrap_mul(m[0][0], minor(1, 1, 2, 2)), wrap_mul(m[0][1], minor(1, 0, 2, 2))),
                    wrap_mul(m[0][2], minor(1, 0, 2, 1)));
}

// Inverse of a unimodular integer matrix (determinant d = +-1): adj(m) * d.
RotationMatrix unimodular_inverse(const RotationMatrix& m, std::int32_t d) {
    RotationMatrix inv{};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            // Cofactor of element (j, i).
            const int r1 = (j + 1) % 3, r2 = (j + 2) % 3, c1 = (i + 1) % 3, c2 = (i + 2) % 3;
            const std::int32_t cofactor = wrap_sub(wrap_mul(m[r1][c1], m[r2][c2]), wrap_mul(m[r1][c2], m[r2][c1]));
            inv[i][j] = wrap_mul(cofactor, d);
        }
    }
    return inv;
}

bool is_null(const RotationMatrix& m) {
    for (const auto& row : m)
        for (std::int32_t x : row)
            if (x != 0) return false;
    return true;
}

// How the Friedel search finds, for row i and one reduced operator R, the
// rows j with -(h_j R) = h_i.
enum class MateSearch {
    lookup,   // R unimodular: h_j = -h_i R^-1, one triple to look up
    any_row,  // R null: every later row of the key matches when h_i is 0 0 0
    scan      // any other matrix: test every later row of the key
};

struct OperatorForSearch {
    RotationMatrix rot_t;    // transpose of rot, for mvmuli
    RotationMatrix inverse_t;  // transpose of rot^-1 when rot is unimodular
    MateSearch search;
};

// The rows ordered by (key, h, k, l, row), so that the rows of one key with
// given indices form a run of entries.  The entries carry their sort fields,
// which keeps the sort and the look-ups in contiguous memory.  cursor[p], for
// the first entry p of a run, is the first entry of that run not yet known to
// be used up.
struct IndexEntry {
    std::int32_t asu_key;
    Hkl hkl;
    std::int32_t row;
};
struct RowIndex {
    std::vector<IndexEntry> entries;
    std::vector<std::int32_t> cursor;
};

bool entry_before(const IndexEntry& a, const IndexEntry& b) {
    if (a.asu_key != b.asu_key) return a.asu_key < b.asu_key;
    for (std::size_t c = 0; c < 3; ++c)
        if (a.hkl[c] != b.hkl[c]) return a.hkl[c] < b.hkl[c];
    return a.row < b.row;
}

// Rearranges rows 1..n of each table in place so that the new row p is the
// old row order[p - 1] (order holds a permutation of 1..n), following the
// cycles of the permutation: no second copy of the tables, whose fresh
// memory would cost more than the moves.  order is restored before the
// return.
template <class... Table>
void apply_order(std::vector<std::int32_t>& order, std::int32_t n, Table&... tables) {
    const auto at = [&](std::int32_t p) -> std::int32_t& { return order[static_cast<std::size_t>(p - 1)]; };
    for (std::int32_t start = 1; start <= n; ++start) {
        if (at(start) < 0 || at(start) == start) continue;
        // Row `start` waits aside while each row of its cycle takes the one
        // it receives from; finished places are marked by a negative entry.
        const auto saved = std::make_tuple(tables[static_cast<std::size_t>(start)]...);
        std::int32_t p = start;
        for (;;) {
            const std::int32_t from = at(p);
            at(p) = -from;
            if (from == start) {
                std::apply([&](const auto&... rows) { ((tables[static_cast<std::size_t>(p)] = rows), ...); }, saved);
                break;
            }
            ((tables[static_cast<std::size_t>(p)] = tables[static_cast<std::size_t>(from)]), ...);
            p = from;
        }
    }
    for (std::int32_t p = 1; p <= n; ++p) at(p) = at(p) < 0 ? -at(p) : at(p);
}

// Keys held by at most this many rows are searched row by row.
constexpr std::int32_t small_block = 16;

// The Friedel search when the rows are sorted by key and every key holds at
// most small_block rows, as in merged data where a key holds a reflection and
// its opposite: the mate of row i is the first later row of its key, not yet
// paired, that one of the operators maps onto -h_i, found by testing those
// few rows directly with the same tests as the indexed search.
// Rows first..last, whole keys only: a key that begins before first is left
// to the slice before, and the last key is followed past last.
void pair_within_small_blocks(std::int32_t n, std::int32_t first, std::int32_t last,
                              const std::vector<OperatorForSearch>& ops, HklInfo& hkl_info) {
    const auto key_of = [&](std::int32_t i) { return hkl_info[static_cast<std::size_t>(i)].asu_key; };
    while (first > 1 && first <= last && key_of(first) == key_of(first - 1)) ++first;
    std::vector<Hkl> targets(ops.size());
    std::int32_t block_end = first;
    for (std::int32_t i = first; i <= n && (i <= last || i < block_end); ++i) {
        HklInfoRow& row_i = hkl_info[static_cast<std::size_t>(i)];
        if (i >= block_end) {
            block_end = i + 1;
            while (block_end <= n && hkl_info[static_cast<std::size_t>(block_end)].asu_key == row_i.asu_key) ++block_end;
        }
        if (row_i.partner != partner_missing || i + 1 >= block_end) continue;
        const Hkl h_i = indices_of(row_i);
        for (std::size_t o = 0; o < ops.size(); ++o)
            if (ops[o].search == MateSearch::lookup) targets[o] = mvmuli(ops[o].inverse_t, negated(h_i));
        const auto matches = [&](const Hkl& h_r) {
            for (std::size_t o = 0; o < ops.size(); ++o) {
                switch (ops[o].search) {
                    case MateSearch::lookup:
                        if (h_r == targets[o]) return true;
                        break;
                    case MateSearch::any_row:  // -(h_r 0) = 0 0 0
                        if (h_i == Hkl{0, 0, 0}) return true;
                        break;
                    case MateSearch::scan:
                        if (negated(mvmuli(ops[o].rot_t, h_r)) == h_i) return true;
                        break;
                }
            }
            return false;
        };
        for (std::int32_t r = i + 1; r < block_end; ++r) {
            HklInfoRow& row_r = hkl_info[static_cast<std::size_t>(r)];
            if (row_r.partner > 0 || !matches(indices_of(row_r))) continue;
            row_i.partner = r;
            row_r.partner = i;
            break;
        }
    }
}

}  // namespace

std::array<std::int32_t, 3> mvmuli(const std::array<std::array<std::int32_t, 3>, 3>& m,
                                   const std::array<std::int32_t, 3>& v) {
    std::array<std::int32_t, 3> r{};
    for (int i = 0; i < 3; ++i) {
        std::int32_t sum = 0;
        for (int j = 0; j < 3; ++j) sum = wrap_add(sum, wrap_mul(m[i][j], v[j]));
        r[i] = sum;
    }
    return r;
}

void pack_hkl(std::int32_t n_refl, const SpaceGroup& group, HklInfo& hkl_info, FsqData& fsq_data) {
    const std::int32_t n = std::min(usable_rows(hkl_info, n_refl), usable_rows(fsq_data, n_refl));
    if (n <= 0) return;
    std::vector<std::int32_t> keys(static_cast<std::size_t>(n));
    // The key of a row depends on its indices and the group alone (the group
    // only read), so consecutive slices of rows are keyed by threads.
    run_slices(1, n, slice_count(n, 16384), [&](std::int32_t, std::int32_t first, std::int32_t last) {
        for (std::int32_t i = first; i <= last; ++i) {
            HklInfoRow& row = hkl_info[static_cast<std::size_t>(i)];
            const Hkl e = vorn_reflections_utilities::get_hequiv_asu(indices_of(row), group);
            row.asu_key = wrap_add(wrap_add(e[0], wrap_mul(256, e[1])), wrap_mul(65536, e[2]));
            keys[static_cast<std::size_t>(i - 1)] = row.asu_key;
        }
    });
    std::vector<std::int32_t> order(static_cast<std::size_t>(n));
    for (std::int32_t i = 0; i < n; ++i) order[static_cast<std::size_t>(i)] = i + 1;
    vorn_math_general::sort_i(keys, n, order);

    apply_order(order, n, hkl_info, fsq_data);
}

void find_centric(std::int32_t n_refl, const SpaceGroup& group, HklInfo& hkl_info) {
    const std::int32_t n = usable_rows(hkl_info, n_refl);
    const std::int32_t n_ops = reduced_operators(group);
    std::vector<RotationMatrix> rot_t;
    for (std::int32_t op = 1; op <= n_ops; ++op) rot_t.push_back(transposed(at1(group.operators, op).rot));
    // Each row is judged alone: consecutive slices go to threads.
    run_slices(1, n, slice_count(n, 16384), [&](std::int32_t, std::int32_t first, std::int32_t last) {
        for (std::int32_t i = first; i <= last; ++i) {
            HklInfoRow& row = hkl_info[static_cast<std::size_t>(i)];
            row.partner = partner_missing;
            const Hkl h = indices_of(row);
            for (const RotationMatrix& r : rot_t) {
                const Hkl image = mvmuli(r, h);
                if (wrap_add(image[0], h[0]) == 0 && wrap_add(image[1], h[1]) == 0 && wrap_add(image[2], h[2]) == 0) {
                    row.partner = partner_centric;
                    break;
                }
            }
        }
    });
}

void find_friedels(std::int32_t n_refl, const SpaceGroup& group, HklInfo& hkl_info) {
    // For each row i still without partner, the mate is the first later row j
    // of the same key, not yet paired, with -(h_j R) = h_i for some reduced
    // operator R.  Rather than testing every later row of the key (quadratic
    // when many rows share a key), the rows are indexed by (key, h, k, l) and
    // the mate candidates of each operator are looked up.
    const std::int32_t n = usable_rows(hkl_info, n_refl);
    const std::int32_t n_ops = reduced_operators(group);
    if (n <= 1 || n_ops == 0) return;

    std::vector<OperatorForSearch> ops;
    for (std::int32_t op = 1; op <= n_ops; ++op) {
        const RotationMatrix& rot = at1(group.operators, op).rot;
        OperatorForSearch o{transposed(rot), RotationMatrix{}, MateSearch::scan};
        const std::int32_t d = determinant(rot);
        if (d == 1 || d == -1) {
            o.inverse_t = transposed(unimodular_inverse(rot, d));
            o.search = MateSearch::lookup;
        } else if (is_null(rot)) {
            o.search = MateSearch::any_row;
        }
        ops.push_back(o);
    }

    // Sorted by key (as pack_hkl leaves them), the rows of a key are one
    // run; when every run is short, the later rows of the key are tested
    // directly.
    bool by_key = true;
    std::int32_t largest_run = 1;
    for (std::int32_t i = 2, run = 1; i <= n; ++i) {
        const std::int32_t key = hkl_info[static_cast<std::size_t>(i)].asu_key;
        const std::int32_t before = hkl_info[static_cast<std::size_t>(i - 1)].asu_key;
        if (key < before) by_key = false;
        run = key == before ? run + 1 : 1;
        largest_run = std::max(largest_run, run);
    }
    if (by_key && largest_run <= small_block) {
        // Keys never share a row, so consecutive slices of whole keys go to
        // threads.
        run_slices(1, n, slice_count(n, 16384), [&](std::int32_t, std::int32_t first, std::int32_t last) {
            pair_within_small_blocks(n, first, last, ops, hkl_info);
        });
        return;
    }

    RowIndex index;
    index.entries.resize(static_cast<std::size_t>(n));
    for (std::int32_t i = 1; i <= n; ++i) {
        const HklInfoRow& row = hkl_info[static_cast<std::size_t>(i)];
        index.entries[static_cast<std::size_t>(i - 1)] = IndexEntry{row.asu_key, indices_of(row), i};
    }
    if (by_key) {
        // Already in key order: each key's entries sorted alone.
        for (auto first = index.entries.begin(); first != index.entries.end();) {
            auto last = first + 1;
            while (last != index.entries.end() && last->asu_key == first->asu_key) ++last;
            std::sort(first, last, entry_before);
            first = last;
        }
    } else {
        std::sort(index.entries.begin(), index.entries.end(), entry_before);
    }
    index.cursor.resize(static_cast<std::size_t>(n));
    for (std::int32_t p = 0; p < n; ++p) index.cursor[static_cast<std::size_t>(p)] = p;

    // The rows of one key follow each other; block_end is the first row
    // after those of row i's key.
    std::int32_t block_end = 1;

    // First row of positions [first, last) of the index that is later than
    // row i and not yet paired; the rows skipped on the way can never become
    // candidates again (rows only get paired, and i only grows), so the
    // cursor of the run's first position remembers how far it got.
    const auto first_free = [&](std::int32_t first, std::int32_t last, std::int32_t i) -> std::int32_t {
        std::int32_t p = index.cursor[static_cast<std::size_t>(first)];
        while (p < last) {
            const std::int32_t row = index.entries[static_cast<std::size_t>(p)].row;
            if (row > i && hkl_info[static_cast<std::size_t>(row)].partner <= 0) break;
            ++p;
        }
        index.cursor[static_cast<std::size_t>(first)] = p;
        return p < last ? index.entries[static_cast<std::size_t>(p)].row : 0;
    };
    // The entries of the current row's key, [key_first, key_last), and within
    // them the entries with given indices.
    std::int32_t key_first = 0, key_last = 0;
    const auto range_of = [&](const Hkl& t) {
        const auto begin = index.entries.begin() + key_first;
        const auto end = index.entries.begin() + key_last;
        const auto lo = std::lower_bound(begin, end, t, [](const IndexEntry& e, const Hkl& v) { return e.hkl < v; });
        const auto hi = std::upper_bound(lo, end, t, [](const Hkl& v, const IndexEntry& e) { return v < e.hkl; });
        return std::pair<std::int32_t, std::int32_t>{static_cast<std::int32_t>(lo - index.entries.begin()),
                                                     static_cast<std::int32_t>(hi - index.entries.begin())};
    };

    for (std::int32_t i = 1; i <= n; ++i) {
        if (i >= block_end) {
            block_end = i + 1;
            while (block_end <= n &&
                   hkl_info[static_cast<std::size_t>(block_end)].asu_key == hkl_info[static_cast<std::size_t>(i)].asu_key)
                ++block_end;
            const std::int32_t key = hkl_info[static_cast<std::size_t>(i)].asu_key;
            const auto lo = std::lower_bound(index.entries.begin(), index.entries.end(), key,
                                             [](const IndexEntry& e, std::int32_t k) { return e.asu_key < k; });
            const auto hi = std::upper_bound(lo, index.entries.end(), key,
                                             [](std::int32_t k, const IndexEntry& e) { return k < e.asu_key; });
            key_first = static_cast<std::int32_t>(lo - index.entries.begin());
            key_last = static_cast<std::int32_t>(hi - index.entries.begin());
        }
        HklInfoRow& row_i = hkl_info[static_cast<std::size_t>(i)];
        if (row_i.partner != partner_missing) continue;
        const Hkl h_i = indices_of(row_i);
        std::int32_t mate = 0;  // the smallest matching row over all operators
        for (const OperatorForSearch& o : ops) {
            std::int32_t j = 0;
            if (o.search == MateSearch::lookup) {
                const Hkl target = mvmuli(o.inverse_t, negated(h_i));
                const auto [first, last] = range_of(target);
                if (first < last) j = first_free(first, last, i);
            } else if (o.search == MateSearch::any_row) {
                // -(h_j 0) = 0 0 0: only the zero reflection has such mates.
                if (h_i == Hkl{0, 0, 0}) {
                    for (std::int32_t r = i + 1; r < block_end && j == 0; ++r)
                        if (hkl_info[static_cast<std::size_t>(r)].partner <= 0) j = r;
                }
            } else {
                for (std::int32_t r = i + 1; r < block_end; ++r) {
                    if (hkl_info[static_cast<std::size_t>(r)].partner > 0) continue;
                    if (negated(mvmuli(o.rot_t, indices_of(hkl_info[static_cast<std::size_t>(r)]))) == h_i) {
                        j = r;
                        break;
                    }
                }
            }
            if (j != 0 && (mate == 0 || j < mate)) mate = j;
        }
        if (mate != 0) {
            row_i.partner = mate;
            hkl_info[static_cast<std::size_t>(mate)].partner = i;
        }
    }
}

void find_outliers(std::int32_t n_refl, HklInfo& hkl_info, const FsqData& fsq_data, std::ostream& out) {
    const std::int32_t n = std::min(usable_rows(hkl_info, n_refl), usable_rows(fsq_data, n_refl));
    std::vector<char> done(static_cast<std::size_t>(n) + 1, 0);
    const auto mate_of = [&](std::int32_t i) -> std::int32_t {
        const std::int32_t j = hkl_info[static_cast<std::size_t>(i)].partner;
        return (j > 0 && j <= n) ? j : 0;
    };

    // Pass 1: the largest calculated difference over all pairs.
    float largest = 0.0f;
    for (std::int32_t i = 1; i <= n; ++i) {
        const std::int32_t j = done[static_cast<std::size_t>(i)] ? 0 : mate_of(i);
        if (j == 0) continue;
        const float calc = std::fabs(fsq_data[static_cast<std::size_t>(i)].fc2 - fsq_data[static_cast<std::size_t>(j)].fc2);
        if (calc > largest) largest = calc;
        done[static_cast<std::size_t>(i)] = done[static_cast<std::size_t>(j)] = 1;
    }
    const float limit = 2.0f * largest;
    out << "\nINFORMATION ON OUTLIERS:\n";
    out << "Max. allowed difference   = " << format_f(limit, 8, 2) << '\n';

    // Pass 2: pairs whose observed difference exceeds the limit, one report
    // line each, assembled in one reused buffer.
    std::fill(done.begin(), done.end(), 0);
    std::string line;
    for (std::int32_t i = 1; i <= n; ++i) {
        const std::int32_t j = done[static_cast<std::size_t>(i)] ? 0 : mate_of(i);
        if (j == 0) continue;
        const FsqDataRow& a = fsq_data[static_cast<std::size_t>(i)];
        const FsqDataRow& b = fsq_data[static_cast<std::size_t>(j)];
        const float obs = std::fabs(a.fo2 - b.fo2);
        if (obs > limit) {
            HklInfoRow& row = hkl_info[static_cast<std::size_t>(i)];
            row.partner = partner_outlier;
            hkl_info[static_cast<std::size_t>(j)].partner = partner_outlier;
            line.assign("Outlier: ");
            append_i(line, row.h, 4);
            append_i(line, row.k, 4);
            append_i(line, row.l, 4);
            line += " Obs = ";
            append_f(line, obs, 8, 2);
            line += " Calc = ";
            append_f(line, std::fabs(a.fc2 - b.fc2), 8, 2);
            line += '\n';
            out << line;
        }
        done[static_cast<std::size_t>(i)] = done[static_cast<std::size_t>(j)] = 1;
    }
}

void count_classes(std::int32_t n_refl, const HklInfo& hkl_info, std::int32_t& n_pairs, std::ostream& out) {
    const std::int32_t n = usable_rows(hkl_info, n_refl);
    std::int32_t centric = 0, paired = 0, unpaired = 0, outlying = 0;
    for (std::int32_t i = 1; i <= n; ++i) {
        const std::int32_t p = hkl_info[static_cast<std::size_t>(i)].partner;
        if (p == partner_centric) ++centric;
        else if (p > 0) ++paired;
        else if (p == partner_missing) ++unpaired;
        else if (p == partner_outlier) ++outlying;
    }
    out << "\nCOVERAGE STATISTICS:\n";
    out << "Number of reflections in hkl file                       = " << format_i(n_refl, 8) << '\n';
    out << "Number of centric  data                                 = " << format_i(centric, 8) << '\n';
    out << "Number of paired acentric data (excl outliers)          = " << format_i(paired, 8) << '\n';
    out << "Number of unpaired acentric data                        = " << format_i(unpaired, 8) << '\n';
    out << "Number of outlying pairs                                = " << format_i(outlying / 2, 8) << '\n';
    n_pairs = paired / 2;

    if (unpaired > 0) {
        out << "Acentric reflections with missing partners are in missing_A.dat.\n";
        std::ofstream file = open_for_writing("missing_A.dat");
        file << "No partner for reflections: \n";
        constexpr std::string_view indent = "                            ";  // 28 blanks
        std::string line;  // one reused buffer for every line
        for (std::int32_t i = 1; i <= n; ++i) {
            const HklInfoRow& row = hkl_info[static_cast<std::size_t>(i)];
            if (row.partner != partner_missing) continue;
            line.assign(indent);
            append_i(line, row.h, 4);
            append_i(line, row.k, 4);
            append_i(line, row.l, 4);
            line += '\n';
            file.write(line.data(), static_cast<std::streamsize>(line.size()));
        }
        file.close();
        check_written(file, "missing_A.dat");
    }
    out << '\n';
}

}  // namespace borq
