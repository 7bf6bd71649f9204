// Index sorts keep the published order of equal keys (Friedel mates pair by
// it); counting and text sorts, the epss tolerance tests, exact comparisons,
// boxes, traces, the reduction into the cell and the vector helpers answer as
// stated, sizes guarded.

#include "maths/math_gen.hpp"
#include "maths/table_checks.hpp"

using namespace vorn_math_general;
using VS = std::vector<std::string>;

namespace {
VI sorted_i(const VI& k) { VI o(k.size(), -99); sort_i(k, std::int32_t(k.size()), o); return o; }
VI sorted_r(const VF& k) { VI o(k.size(), -99); sort_r(k, std::int32_t(k.size()), o); return o; }
// The answer of a sized routine, and whether it raised the error flag (cleared after).
auto flagged(std::int32_t got) { bool f = err_mathgen; init_err_mathgen(); return std::make_pair(got, f); }
}  // namespace

TEST(IndexSort, PublishedTieOrdersAndCountsOutsideTheArrays) {
    const std::pair<VI, VI> cases[] = {
        {VI(8, 4), {6, 4, 7, 1, 5, 2, 3, 8}}, {VI(10, 0), {7, 5, 9, 8, 1, 6, 2, 4, 3, 10}}, {{2, 1, 2, 1, 2, 1, 2}, {2, 4, 6, 1, 3, 5, 7}},
        {{3, 1, 2, 3, 1, 2, 3, 1, 2, 3}, {8, 5, 2, 3, 9, 6, 1, 7, 4, 10}}, {{42}, {1}}};
    for (const auto& [keys, order] : cases) {  // real keys 0.25 k + 0.5 sort the same
        VF real;
        for (auto k : keys) real.push_back(0.25f * float(k) + 0.5f);
        EXPECT_EQ(std::make_pair(sorted_i(keys), sorted_r(real)), std::make_pair(order, order)) << testing::PrintToString(keys);
    }
    VI untouched{7, 8, 9}, order{0, 0, 0, 55}, short_order{9, 9};
    err_mathgen = true;
    sort_i(VI{3, 2, 1}, -3, untouched);  // nothing to sort: order untouched, error cleared
    EXPECT_EQ(std::make_pair(untouched, err_mathgen), std::make_pair(VI{7, 8, 9}, false));
    sort_r(VF{3, 1, 2, 0}, 3, order);  // only positions 1..n written
    sort_i(VI{1, 2, 3}, 3, short_order);  // a count beyond order or keys is refused, never read past
    const bool short_refused = err_mathgen;
    sort_i(VI{1, 2}, 3, order);
    EXPECT_EQ(std::make_tuple(order, short_order, short_refused, err_mathgen), std::make_tuple(VI{2, 3, 1, 55}, VI{9, 9}, true, true));
}

TEST(CountingAndTextSorts, OrdersAndGuards) {
    const VI keys{5, 3, 5, 1};
    struct Case { VI keys; std::int32_t n; VI list, out_before, out; };
    const Case cases[] = {{keys, 4, {1, 2, 3, 4}, {0, 0, 0, 0}, {4, 2, 1, 3}},  // ties in list order
                          {keys, 2, {3, 1}, {0, 0, 77}, {3, 1, 77}},
                          {{}, 2, {1, 2}, {9, 9}, {9, 9}}, {keys, 2, {1, 5}, {9, 9}, {9, 9}},  // impossible indices: untouched
                          {{-2147483647 - 1, 2147483647}, 0, {}, {9, 9}, {9, 9}}};
    for (const Case& c : cases) {
        VI out = c.out_before;
        EXPECT_EQ((in_sort(c.keys, c.n, c.list, out), out), c.out) << testing::PrintToString(c.list);
    }
    VS t{"b", "a", "c", "a", "zz", "ab ", "ab", "Ab", "\xe9t"}, p{"b", "a"}, empty, many(3000);
    std::int32_t marker = 0;
    for (std::size_t k = 0; k < many.size(); ++k) many[k] = std::to_string(1000000 + k);
    const VS expect = many;  // long input already in order: bounded recursion, still sorted
    sort_strings(t), partition(p, marker);  // t: unsigned character codes, blank padding
    sort_strings(empty), sort_strings(many);
    EXPECT_EQ(std::tie(t[0], t[1], t[2], t[7], t[8], p, marker, empty, many),
              std::make_tuple("Ab", "a", "a", "zz", "\xe9t", VS{"a", "b"}, 2, VS{}, expect));
}

TEST(Tolerances, StateScalarAndArrayTestsAtTheBoundary) {
    const bool wide = (set_epsg(0.5f), negligibler(0.4f));
    set_epsg_default();
    err_mathgen = true, err_mathgen_mess = "x";
    init_err_mathgen();
    EXPECT_EQ(std::make_tuple(wide, epss, err_mathgen, err_mathgen_mess), std::make_tuple(true, 1.0e-5f, false, ""));
    const std::array<std::array<std::int32_t, 3>, 3> a{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}, b{{{1, 0, 0}, {0, 1, 7}, {0, 5, 1}}};
    const std::int32_t c_style[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    const Matrix<float> r{{1, 2}, {3, 4}}, s{{1.000005f, 2}, {3, 4 + nan_f}}, s2{{1, 2.0001f}, {3, 4}}, lims{{0, 0}, {1, 0.5f}};
    const std::array<std::int32_t, 3> u{1, 2, 3}, v{1, 2, 4};
    const std::array<float, 2> x{0.5f, 0.25f}, y{0.500005f, 0.2501f};
    const Matrix<std::int32_t> lim{{0, -1}, {5, 1}};
    check({YES(negligibler(1.0e-5f)), YES(negligibler(-1.0e-5f)), NO(negligibler(std::nextafter(1.0e-5f, 1.0f))),
           YES(negligibler(nan_f)), YES(negligiblec({3.0e-6f, 4.0e-6f})), NO(negligiblec({6.0e-6f, 9.0e-6f})),
           YES(negligiblec({nan_f, 0.0f})), NO(negligiblec({3.0e38f, 3.0e38f})), YES(negligiblec({1.0e-30f, -1.0e-30f})),
           NO(zbelongn(2.99999f)), YES(zbelongn(2.999991f)), NO(zbelongn(0.5f)), YES(zbelongn(nan_f)), NO(zbelongn(8388607.5f)),
           YES(zbelongn(8388608.0f)), YES(zbelongn(3.0e9f)), YES(zbelongn(-1.0e30f)), YES(zbelongn(std::numeric_limits<float>::infinity())),
           YES(zbelongv(VF{})), YES(zbelongv(VF{1, -2.000001f, 0})), NO(zbelongv(VF{1, 0.5f, 0})), YES(zbelongm(Matrix<float>{})),
           YES(zbelongm(Matrix<float>{{1, 2}, {3, 4.000001f}})), NO(zbelongm(Matrix<float>{{1, 2}, {3, 4.25f}})),
           YES(equal_matrix_i(a, b, 2)), NO(equal_matrix_i(a, b, 3)), YES(equal_matrix_i(a, b, -3)), YES(equal_matrix_i(a, c_style, 3)),
           YES(equal_matrix_r(r, s, 2)), NO(equal_matrix_r(r, s2, 2)), YES(equal_matrix_r(r, s2, 1)), YES(equal_vector_i(u, v, 2)),
           NO(equal_vector_i(u, v, 3)), YES(equal_vector_i(u, v, 0)), YES(equal_vector_r(x, y, 1)), NO(equal_vector_r(x, y, 2)),
           NO(equal_vector_i(u, v, 4)), NO(equal_vector_r(x, x, 3)), NO(equal_matrix_i(a, a, 4)),  // sizes beyond: never read
           NO(equal_matrix_r(r, r, 3)), YES(in_limits_int(2, lim, VI{0, 1})), NO(in_limits_int(2, lim, VI{6, 0})),
           NO(in_limits_int(2, lim, VI{3, -2})), YES(in_limits_int(0, lim, VI{})), NO(in_limits_int(3, lim, VI{0, 0, 0})),
           NO(in_limits_int(2, lim, VI{0})), YES(in_limits_int(-1, Matrix<std::int32_t>{}, VI{})), YES(in_limits_sp(2, lims, VF{1, 0})),
           NO(in_limits_sp(2, lims, VF{0.5f, nan_f})), YES(in_limits_dp(2, Matrix<double>{{0, 0}, {1, 0.5}}, std::vector<double>{0.5, 0.5})),
           NO(in_limits_dp(1, Matrix<double>{{0, 0}, {1, 0.5}}, std::vector<double>{std::nan("")}))});
}

TEST(Tolerances, TracesAndReductionIntoTheCell) {
    // Integer traces wrap modulo 2^32; real ones are summed in double (1 + 2^-24 + 2^-24 rounds once).
    const std::array<std::array<std::int32_t, 3>, 3> rot{{{0, -1, 0}, {1, -1, 0}, {0, 0, 1}}};
    check({EQ(trace_i(Matrix<std::int32_t>{{1, 2, 3}, {4, 5, 6}}), 6), EQ(trace_i(Matrix<std::int32_t>{}), 0),
           EQ(trace_i(Matrix<std::int32_t>{{2147483647, 0}, {0, 2}}), -2147483647), EQ(trace_i(rot), 0),
           EQ(trace_r(Matrix<float>{{1, 0, 0}, {0, 0x1p-24f, 0}, {0, 0, 0x1p-24f}}), 1.0f + 0x1p-23f),
           EQ(trace_r(Matrix<float>{}), 0)});
    EXPECT_EQ(trace_c(Matrix<C>{{{1, 2}, {9, 9}}, {{9, 9}, {3, -5}}}), C(4, -3));
    EXPECT_EQ(modulo_lat(std::array<float, 3>{1.25f, -1.25f, -0.0000001f}), (std::array<float, 3>{0.25f, 0.75f, 0}));
    EXPECT_EQ(modulo_lat(VF{-10.0f, -10.3f, -20.5f, 0.99999994f, -5.0e-7f}), (VF{0, -10.3f + 10.0f, -0.5f, 0, 0.99999905f}));
    EXPECT_TRUE(modulo_lat(VF{}).empty());
}

TEST(VectorHelpers, Exchanges) {
    std::int32_t i = 1, j = 2;
    float x = 1, y = 2, x2 = 1, y2 = 2;
    C c1(1, 2), c2(3, 4);
    VF a{1, 2, 3}, b{4, 5, 6}, shorter{9};
    VI p{1, 2}, q{3, 4};
    Matrix<float> m{{1, 2}, {3, 4}}, n{{5, 6}, {7, 8}};
    Matrix<std::int32_t> mi{{1}}, ni{{2}};
    swap_i(i, j), swap_c(c1, c2), swap_iv(p, q), swap_im(mi, ni);
    masked_swap_r(x, y, false), masked_swap_r(x2, y2, true), swap_r(x2, y2);  // x2, y2 swapped twice
    masked_swap_rv(a, b, std::array<bool, 3>{true, false, true});
    swap_rv(b, shorter);  // different sizes: refused
    EXPECT_EQ(std::make_tuple(i, j, x, x2, y2, c1, a, b, shorter, p, mi),
              std::make_tuple(2, 1, 1.0f, 1.0f, 2.0f, C(3, 4), VF{4, 2, 6}, VF{1, 5, 3}, VF{9}, VI{3, 4}, Matrix<std::int32_t>{{2}}));
    swap_rv(std::span<float>(&m.at1(1, 1), 2), std::span<float>(&m.at1(2, 1), 2));  // two rows of one matrix
    swap_rm(m, n);
    EXPECT_EQ(n, (Matrix<float>{{3, 4}, {1, 2}}));
    masked_swap_rm(m, n, std::array<std::array<bool, 2>, 2>{{{true, false}, {false, true}}});
    EXPECT_EQ(std::tie(m, n), std::make_tuple(Matrix<float>{{3, 6}, {7, 2}}, Matrix<float>{{5, 4}, {1, 8}}));
}

TEST(VectorHelpers, ExtremesBisectionMetricAndOuterProducts) {
    const VI t{10, 20, 30, 40};
    const VF r{1, 2, 2, 2, 5};
    check({EQ(imaxloc_i(VI{3, 7, 7, 1}), 2), EQ(iminloc_r(VF{2, -1, -1}), 2), EQ(iminloc_i(VI{5, 4, 4}), 2),
           EQ(imaxloc_r(VF{1, 9, 9}), 2), EQ(imaxloc_i(VI{}), 0), EQ(iminloc_r(VF{}), 0),
           EQ(locate_r(r, 5, 2.0f), 1), EQ(locate_r(r, 5, 3.0f), 4), EQ(locate_rb(r, 3.0f), 4)});
    init_err_mathgen();
    const std::pair<int, int> brackets[] = {{5, 1}, {10, 1}, {20, 1}, {25, 2}, {30, 2}, {40, 4}, {99, 4}, {35, 3}};
    for (auto [x, want] : brackets)
        EXPECT_EQ(std::make_pair(flagged(locate_i(t, 4, x)), flagged(locate_ib(t, x))), std::make_pair(std::pair(want, false), std::pair(want, false)));
    // Sizes below 1 or beyond the table: 0 and the error flag.
    EXPECT_EQ(std::make_tuple(flagged(locate_i(t, 0, 15)), flagged(locate_r(r, 9, 3.0f)), flagged(locate_ib(VI{}, 3))),
              std::make_tuple(std::pair(0, true), std::pair(0, true), std::pair(0, true)));
    const float failure = std::numeric_limits<float>::min();  // mismatched sizes
    const Matrix<float> g{{4, 0, 0}, {0, 9, 0}, {0, 0, 16}}, h{{1, 0.5f, 0}, {0.5f, 1, 0}, {0, 0, 1}}, g2{{1, 0}, {0, 1}};
    check({EQ(norm_r(VF{1, 0, 0}, g), 2), EQ(norm_i(VI{0, 1, 1}, g), 5), EQ(scalar_r(VF{1, 0, 0}, VF{0, 1, 0}, h), 0.5),
           EQ(scalar_i(VI{1, 1, 0}, VI{1, 0, 0}, h), 1.5), EQ(norm_r(VF{1, 0, 0}, g2), failure),
           EQ(scalar_i(VI{1, 0, 0}, VI{1, 0}, g), failure)});
    EXPECT_TRUE(std::isnan(norm_r(VF{1, 0}, Matrix<float>{{-1, 0}, {0, 1}})));
    EXPECT_EQ(std::make_tuple(outerprod_sp(VF{1, 2}, VF{3, 4, 5}), outerprod_dp(std::vector<double>{0.5}, std::vector<double>{2, 4}), outerprod_sp(VF{}, VF{1}).rows),
              std::make_tuple(Matrix<float>{{3, 4, 5}, {6, 8, 10}}, Matrix<double>{{1, 2}}, 0));
}
