// Unique reflection lists hold exactly one reflection of each class: the
// peer's lengths and totals for all 611 tabulated settings; groups without a
// settings row: every tabulated type moved to other axes and
// origins (cyclic axis permutations, origin shifts, rhombohedral axes,
// twofolds along the face diagonals of a C- or F-centred cell) and built from
// generators; the three groups that once gave repeated and missing classes;
// tabulated settings and number-0 groups in their rule's orientation as before.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <set>

#include "maths/math_3D.hpp"
#include "reflections/reflct_util.hpp"
#include "setting_groups.hpp"
#include "support/unit_cell.hpp"

namespace {

using namespace vorn_reflections_utilities;
namespace sym = vorn_crystallographic_symmetry;
using Basis = std::array<std::array<int, 3>, 3>;  // columns: the new basis vectors in old coordinates
using Point = std::array<double, 3>;

double in_cell(double x) {
    const double f = x - std::floor(x + 1e-9);
    return std::fabs(f) < 1e-9 ? 0.0 : f;
}

// The group built by the generator route from operator texts.
std::unique_ptr<SpaceGroup> group_of_generators(std::vector<std::string> texts) {
    auto group = std::make_unique<SpaceGroup>();
    sym::set_spacegroup("", *group, texts, int(texts.size()), "GEN");
    return group;
}

// The group on the new basis P with its origin at p (old coordinates), built
// by the generator route from its reduced operators (W' = P^-1 W P,
// t' = P^-1 (t + W p - p)), its inversion and the lattice translations.
std::unique_ptr<SpaceGroup> moved_group(const SpaceGroup& g, const Basis& P, const Point& p) {
    vorn_math_3d::Mat3d basis{};
    for (std::size_t i = 0; i < 9; ++i) basis[i / 3][i % 3] = P[i / 3][i % 3];
    const vorn_math_3d::Mat3d inv = vorn_math_3d::invert(basis);
    std::vector<std::string> texts;
    const auto add = [&](const RotationMatrix& w, const Point& t) {
        RotationMatrix moved{};
        sym::Vector3 shift{};
        for (int i = 0; i < 3; ++i) {
            double u = 0;
            for (int k = 0; k < 3; ++k) {
                double wp = 0;
                for (int m = 0; m < 3; ++m) wp += w[k][m] * p[m];
                u += inv[i][k] * (t[k] + wp - p[k]);
                double e = 0;
                for (int m = 0; m < 3; ++m) e += inv[i][m] * ((w[m][0] * P[0][k]) + (w[m][1] * P[1][k]) + (w[m][2] * P[2][k]));
                moved[i][k] = int(std::lround(e));
            }
            shift[i] = float(in_cell(u));
        }
        texts.push_back(sym::get_symsymbi(moved, shift));
    };
    for (std::size_t i = 0; i < std::size_t(g.reduced_count); ++i) add(g.operators[i].rot, {g.operators[i].tr[0], g.operators[i].tr[1], g.operators[i].tr[2]});
    const auto& c = g.centre_coordinates;
    if (g.centre_code != 1) add({{{-1, 0, 0}, {0, -1, 0}, {0, 0, -1}}}, {2.0 * c[0], 2.0 * c[1], 2.0 * c[2]});
    std::set<std::string> lattice;  // old centrings and cell edges, seen from the new cell
    for (std::size_t v = 0; v < std::size_t(g.centring_count); ++v)
        for (int n = 0; n < 8; ++n) {
            const Point old{g.centring_vectors[v][0] + (n & 1), g.centring_vectors[v][1] + (n >> 1 & 1), g.centring_vectors[v][2] + (n >> 2 & 1)};
            sym::Vector3 t{};
            for (int i = 0; i < 3; ++i) t[i] = float(in_cell(inv[i][0] * old[0] + inv[i][1] * old[1] + inv[i][2] * old[2]));
            if (t != sym::Vector3{} && lattice.insert(sym::get_symsymbi({{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}, t)).second)
                texts.push_back(sym::get_symsymbi({{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}, t));
        }
    return group_of_generators(texts);
}

// The cell of the new basis: metric G' = P^T G P.
UnitCell moved_cell(const std::array<double, 6>& c, const Basis& P) {
    const double r = std::numbers::pi / 180, ca = std::cos(c[3] * r), cb = std::cos(c[4] * r), cg = std::cos(c[5] * r);
    const double G[3][3] = {{c[0] * c[0], c[0] * c[1] * cg, c[0] * c[2] * cb}, {c[0] * c[1] * cg, c[1] * c[1], c[1] * c[2] * ca}, {c[0] * c[2] * cb, c[1] * c[2] * ca, c[2] * c[2]}};
    double H[3][3] = {};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k)
                for (int m = 0; m < 3; ++m) H[i][j] += P[k][i] * G[k][m] * P[m][j];
    const double a = std::sqrt(H[0][0]), b = std::sqrt(H[1][1]), cc = std::sqrt(H[2][2]);
    return test_cells::unit_cell(a, b, cc, std::acos(H[1][2] / (b * cc)) / r, std::acos(H[0][2] / (a * cc)) / r, std::acos(H[0][1] / (a * b)) / r);
}

// The unique list of the shell s_min <= s <= s_max with Friedel's law (its
// limits given in reverse order): s ascending within the shell, one key per
// reflection and no two equivalent reflections (equivalents share s), the
// same sequence in the long records and the same set from hkl_gen; the
// single-crystal array and list hold the reflections of the shell that are not
// absent, as many as the Friedel multiplicities add up to.  Returns the
// list's length and that sum.
std::pair<std::int32_t, std::int32_t> checked_unique_list(const UnitCell& cell, const SpaceGroup& g, float s_min,
                                                          float s_max) {
    std::vector<Reflection> unique(6000), generated(6000), all(12000);
    std::int32_t n = 0, n_gen = 0, n_all = 0, n_list = 0, total = 0;
    ReflectionList list, all_list;
    hkl_uni_reflect(cell, g, true, s_max, s_min, "s", n, unique);
    hkl_uni_refllist(cell, g, true, s_min, s_max, "S", 6000, list);
    hkl_gen(cell, g, true, s_min, s_max, n_gen, generated);
    hkl_gen_sxtal_reflection(cell, g, s_min, s_max, n_all, all);
    hkl_gen_sxtal_list(cell, g, s_min, s_max, n_list, all_list);
    EXPECT_TRUE(n < 6000 && n_all < 12000 && list.entries.size() == std::size_t(n));
    std::set<Hkl> found, gen, keys;
    for (std::size_t i = 0; i < std::size_t(n) && i < list.entries.size(); ++i) {
        total += unique[i].multiplicity;
        found.insert(unique[i].hkl);
        EXPECT_TRUE(keys.insert(get_hequiv_asu(unique[i].hkl, g)).second);
        EXPECT_TRUE(unique[i].s >= (i ? unique[i - 1].s : s_min) && unique[i].s <= s_max);
        EXPECT_TRUE(list.entries[i].hkl == unique[i].hkl && list.entries[i].s == unique[i].s);
        for (std::size_t j = i + 1; j < std::size_t(n) && unique[j].s - unique[i].s < 1e-5f; ++j)
            EXPECT_FALSE(hkl_equivi(unique[i].hkl, unique[j].hkl, g, true)) << "entries " << i << ", " << j;
    }
    for (std::size_t i = 0; i < std::size_t(n_gen); ++i) gen.insert(generated[i].hkl);
    EXPECT_EQ(gen, found);
    EXPECT_TRUE(n_all == total && n_list == n_all && all_list.reflection_count == n_all && list.reflection_count == n);
    EXPECT_TRUE(n_all == 0 || all_list.entries.at(std::size_t(n_all - 1)).hkl == all[std::size_t(n_all - 1)].hkl);
    return {n, total};
}

// Every tabulated setting: the unique list of the peer's shell, with the
// peer's length and Friedel multiplicity total.
TEST(OneReflectionPerClass, EverySetting) {
    for (const auto& f : tables_test::read_tsv("unique-list-counts.tsv")) {
        SCOPED_TRACE("row " + f[0] + " " + f[1]);
        const UnitCell cell = test_cells::unit_cell(std::stod(f[2]), std::stod(f[3]), std::stod(f[4]), std::stod(f[5]),
                                                    std::stod(f[6]), std::stod(f[7]));
        EXPECT_EQ(checked_unique_list(cell, *setting_groups::group_of_symbol(f[1]), std::stof(f[8]), std::stof(f[9])),
                  std::make_pair(std::stoi(f[10]), std::stoi(f[11])));
    }
}

// A cell that the rotations of the tabulated type keep.
std::array<double, 6> cell_of_type(int number) {
    if (number <= 2) return {5, 6, 7, 80, 95, 105};
    if (number <= 15) return {5, 6, 7, 90, 100, 90};
    if (number <= 74) return {5, 6, 7, 90, 90, 90};
    if (number <= 142) return {5, 5, 7, 90, 90, 90};
    if (number <= 194) return {5, 5, 7, 90, 90, 120};
    return {8, 8, 8, 90, 90, 90};
}

// Each type in its own orientation with an origin shift (the class rule
// applies), moved by both cyclic permutations of the axes (one with the
// shift), the orthorhombic P and I types turned onto the face diagonals
// (a' = a - b, b' = a + b: C- and F-centred cells), and the rhombohedral-axes
// rows: the unique list of the shell 0.1 <= s <= 0.25 passes the checks of
// every unique list (no two equivalent reflections, Friedel multiplicities
// adding up to the reflections of the shell not absent, hkl_gen's same set).
TEST(OneReflectionPerClass, TabulatedTypesMovedAndBuiltFromGenerators) {
    const Basis same{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}, bca{{{0, 0, 1}, {1, 0, 0}, {0, 1, 0}}}, cab{{{0, 1, 0}, {0, 0, 1}, {1, 0, 0}}},
                diagonals{{{1, 1, 0}, {-1, 1, 0}, {0, 0, 1}}};
    const Point origin{}, shifted{0.25, 1.0 / 6, 1.0 / 12};
    struct Move { const char* name; const Basis* basis; const Point* origin; int det; };
    const Move moves[] = {{"shifted", &same, &shifted, 1}, {"b,c,a", &bca, &origin, 1}, {"c,a,b shifted", &cab, &shifted, 1}, {"a-b,a+b,c", &diagonals, &origin, 2}};
    std::int32_t moved_count = 0;
    const auto check = [&](const SpaceGroup& base, const SpaceGroup& g, const UnitCell& cell, int det) {
        ASSERT_TRUE(!sym::err_symm && g.number == 0 && g.multiplicity == det * base.multiplicity) << sym::err_symm_mess;
        EXPECT_GT(checked_unique_list(cell, g, 0.1f, 0.25f).first, 0);
    };
    for (int number = 1; number <= 230; ++number) {
        const auto base = setting_groups::group_of_symbol(std::to_string(number));
        const char lattice = base->hm_symbol.view()[0];
        for (const Move& m : moves) {
            if (m.det == 2 && (number < 16 || number > 74 || (lattice != 'P' && lattice != 'I'))) continue;
            SCOPED_TRACE(std::to_string(number) + " " + m.name);
            const auto g = moved_group(*base, *m.basis, *m.origin);
            check(*base, *g, moved_cell(cell_of_type(number), *m.basis), m.det);
            ++moved_count;
        }
    }
    for (const char* symbol : {"R 3:R", "R -3:R", "R 3 2:R", "R 3 m:R", "R 3 c:R", "R -3 m:R", "R -3 c:R"}) {
        SCOPED_TRACE(symbol);
        const auto base = setting_groups::group_of_symbol(symbol);
        check(*base, *moved_group(*base, same, origin), moved_cell({5, 5, 5, 75, 75, 75}, same), 1);
    }
    EXPECT_EQ(moved_count, 3 * 230 + 30 + 9);  // 30 P and 9 I orthorhombic types on the face diagonals
}

// The groups that once gave repeated and missing classes (members in scan
// order, with their Friedel multiplicities), and lists that stay as they
// were: a tabulated setting, and a number-0 group whose rotations form the
// Laue group of its rule in the rule's orientation.
TEST(OneReflectionPerClass, ExactLists) {
    using Members = std::vector<std::pair<Hkl, std::int32_t>>;
    const auto gen = group_of_generators;
    const auto list = [](const SpaceGroup& g, const UnitCell& cell, float d_min, bool unsorted) {
        std::vector<Reflection> r(100);
        std::int32_t n = 0;
        hkl_uni_reflect(cell, g, true, d_min, 100.0f, "r", n, r, unsorted);
        Members m;
        for (std::size_t i = 0; i < std::size_t(n); ++i) m.push_back({r[i].hkl, r[i].multiplicity});
        return m;
    };
    const UnitCell c567 = test_cells::unit_cell(5, 6, 7);
    const Members twofold_c{{{0, 0, 1}, 2}, {{0, 0, 2}, 2}, {{0, 1, 0}, 2}, {{0, 1, 1}, 4}, {{0, 1, 2}, 4}, {{0, 2, 0}, 2},
                            {{1, -1, 0}, 2}, {{1, -1, 1}, 4}, {{1, 0, 0}, 2}, {{1, 0, 1}, 4}, {{1, 1, 0}, 2}, {{1, 1, 1}, 4}};
    const Members p112_sorted{{{0, 0, 1}, 2}, {{0, 1, 0}, 2}, {{1, 0, 0}, 2}, {{0, 1, 1}, 4}, {{1, 0, 1}, 4}, {{1, 1, 0}, 2},
                              {{-1, 1, 0}, 2}, {{0, 0, 2}, 2}, {{-1, 1, 1}, 4}, {{1, 1, 1}, 4}, {{0, 1, 2}, 4}, {{0, 2, 0}, 2}};
    const Members threefold_body{{{1, 0, -1}, 6}, {{1, 0, 0}, 6}, {{1, 1, -1}, 6}, {{1, 1, 0}, 6}, {{1, 1, 1}, 2}, {{2, 0, 0}, 6}};
    const Members diagonal_mirrors{{{0, 0, 1}, 2}, {{0, 0, 2}, 2}, {{0, 0, 3}, 2}, {{0, 0, 4}, 2}, {{2, -2, 0}, 2}, {{2, -2, 1}, 4},
                                   {{2, -2, 2}, 4}, {{2, 0, 0}, 4}, {{2, 0, 1}, 8}, {{2, 0, 2}, 8}, {{2, 0, 3}, 8}, {{2, 2, 0}, 2},
                                   {{2, 2, 1}, 4}, {{2, 2, 2}, 4}, {{3, -1, 0}, 4}, {{3, -1, 1}, 8}, {{3, 1, 0}, 4}, {{3, 1, 1}, 8}};
    const struct { const char* input; Members got, expected; } cases[] = {
        {"-x,-y,z, d >= 3: 12 classes, (1 0 1) without (-1 0 1)", list(*gen({"-x,-y,z"}), c567, 3, true), twofold_c},
        {"P 2 (0 0 1), d >= 3", list(*setting_groups::group_of_symbol("P 2 (0 0 1)"), c567, 3, true), twofold_c},
        {"z,x,y, a = 5, alpha = 90, d >= 2.4: 6 classes", list(*gen({"z,x,y"}), test_cells::unit_cell(5, 5, 5), 2.4f, true), threefold_body},
        {"C 2zab -2'b, a = b = 5, c = 7, d >= 1.5: 18 classes",
         list(*setting_groups::group_of_symbol("C 2zab -2'b"), test_cells::unit_cell(5, 5, 7), 1.5f, true), diagonal_mirrors},
        {"tabulated P 1 1 2 unchanged, sorted by s", list(*setting_groups::group_of_symbol("P 1 1 2"), c567, 3, false), p112_sorted},
        {"-x,y,-z (number 0, unique axis b) as P 1 2 1", list(*gen({"-x,y,-z"}), c567, 3, false),
         list(*setting_groups::group_of_symbol("P 1 2 1"), c567, 3, false)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        EXPECT_EQ(c.got, c.expected);
        EXPECT_FALSE(c.got.empty());
    }
}

}  // namespace
