// The index sorts (keys travelling with their rows, stops listed in blocks, long lists on threads)
// leave the order of the plain quicksort that looks every key up through the order, equal keys
// included: random lists with and without ties, sorted and reversed runs, NaN keys.
#include "maths/math_gen.hpp"
#include "maths/table_checks.hpp"

using namespace vorn_math_general;

// The quicksort as stated: median of three, the pivot at l, stops at keys not below / not above
// the pivot, straight insertion below 7, the longer stretch waiting on the stack.  o[1..n].
template <class K> static VI stated_index_sort(const std::vector<K>& keys) {
    VI o(keys.size() + 1), stack;
    for (int p = 1; p < static_cast<int>(o.size()); ++p) o[p] = p;
    const auto key = [&](int p) { return keys[o[p] - 1]; };
    // Partition steps until the stretch l..r is short, then insertion, then the next waiting stretch.
    for (int l = 1, r = static_cast<int>(keys.size());; r = stack.back(), stack.pop_back(), l = stack.back(), stack.pop_back()) {
        while (r - l >= 7) {
            std::swap(o[(l + r) / 2], o[l + 1]);
            if (key(l + 1) > key(r)) std::swap(o[l + 1], o[r]);
            if (key(l) > key(r)) std::swap(o[l], o[r]);
            if (key(l + 1) > key(l)) std::swap(o[l + 1], o[l]);
            int v = o[l], i = l + 1, j = r;
            for (;; std::swap(o[i], o[j])) {  // the scans from both ends, exchanging while they have not crossed
                do ++i; while (key(i) < keys[v - 1]);
                do --j; while (key(j) > keys[v - 1]);
                if (j < i) break;
            }
            o[l] = o[j], o[j] = v;
            if (r - i + 1 >= j - l) stack.insert(stack.end(), {i, r}), r = j - 1;
            else stack.insert(stack.end(), {l, j - 1}), l = i;
        }
        for (int p = l + 1, q, t; p <= r; o[q + 1] = t, ++p)
            for (t = o[p], q = p - 1; q >= 1 && key(q) > keys[t - 1]; --q) o[q + 1] = o[q];
        if (stack.empty()) return VI(o.begin() + 1, o.end());
    }
}

TEST(IndexSortEquivalence, SameOrderAsTheStatedSortWithTiesOnThreadsAndWithNaN) {
    // values: distinct keys (0: any of 2^31); shape: r random, s rising, d falling, p two interleaved runs
    // with each key twice (Friedel keys); nan: a real key is NaN with odds 1/nan (0: never).
    struct Case { int n; std::uint32_t values; char shape; std::uint32_t nan = 0; };
    const Case cases[] = {
        {1, 0, 'r'}, {2, 2, 'r'}, {7, 3, 'r'}, {8, 8, 'r'}, {129, 0, 'r'}, {300, 0, 'r'}, {300, 5, 'r'}, {5000, 0, 'r'}, {5000, 2, 'r'},
        {5000, 40, 'r'}, {5000, 2500, 'r'}, {100000, 0, 'r'}, {100000, 1000, 'r'}, {300000, 0, 'r'}, {300000, 150000, 'r'},
        {20000, 0, 's'}, {20000, 0, 'd'}, {20000, 7, 's'}, {20000, 1, 'r'}, {20000, 0, 'p'}, {20000, 997, 'r', 2}, {20000, 997, 'r', 5},
        {20000, 997, 'r', 50}, {20000, 997, 'r', 1000}, {70000, 997, 'r', 10000}};  // the last on threads but for NaN
    std::mt19937 random(20261206u);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "n=" << c.n << " values=" << c.values << " shape=" << c.shape << " nan=" << c.nan);
        VI ints(static_cast<std::size_t>(c.n)), by_int(ints.size(), -9), by_real(ints.size(), -9);
        VF reals(ints.size());
        for (int p = 0; p < c.n; ++p) {
            ints[p] = (c.shape == 's' ? (c.values == 0 ? p : p % int(c.values)) : c.shape == 'd' ? c.n - p
                       : c.shape == 'p' ? (p % 2 == 0 ? p : c.n - p) : c.values == 0 ? int(random() >> 1) : int(random() % c.values)) - int(c.values / 2);
            reals[p] = c.nan != 0 && random() % c.nan == 0 ? nan_f : -float(ints[p]) / 1024.0f;
        }
        sort_i(ints, c.n, by_int), sort_r(reals, c.n, by_real);
        ASSERT_EQ(std::tuple(by_int, by_real, err_mathgen), std::tuple(stated_index_sort(ints), stated_index_sort(reals), false));
    }
}
