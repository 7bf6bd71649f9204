// Integer arithmetic of the library: factorial, greatest common divisor,
// least common multiple, co-prime tests and reduction of integer vectors
// (e.g. Miller indices or lattice directions) to co-prime components, and the
// test whether two vectors are proportional within epss.
#include <algorithm>
#include <cmath>

#include "maths/math_gen.hpp"
#include "text/fortran_int.hpp"

namespace vorn_math_general {

using vorn_string_utilities::wrap_mul;

namespace {

// Largest magnitude of the components, |-2^31| = 2^31 kept exact.
std::uint32_t largest_magnitude(std::span<const std::int32_t> v) {
    std::uint32_t m = 0;
    for (std::int32_t x : v) {
        const std::uint32_t a = x < 0 ? 0u - static_cast<std::uint32_t>(x) : static_cast<std::uint32_t>(x);
        m = std::max(m, a);
    }
    return m;
}

bool prime_divides_all(std::int32_t p, std::span<const std::int32_t> v) {
    for (std::int32_t x : v)
        if (x % p != 0) return false;
    return true;
}

}  // namespace

std::int32_t factorial(std::int32_t n) {
    if (n == 0) return 1;
    // |n| with -2^31 kept as 2^31: every magnitude of 34 or more gives 0 mod 2^32.
    const std::uint32_t m = n < 0 ? 0u - static_cast<std::uint32_t>(n) : static_cast<std::uint32_t>(n);
    std::uint32_t result = 1;
    for (std::uint32_t k = m; k >= 2; --k) {
        result *= k;
        if (result == 0) break;
    }
    return static_cast<std::int32_t>(result);
}

std::int32_t pgcd(std::int32_t a, std::int32_t b) {
    std::int32_t u = std::max(a, b);
    std::int32_t v = std::min(a, b);
    if (v == 0) return u;
    for (;;) {
        const std::int32_t r = v == -1 ? 0 : u % v;  // a remainder by -1 is 0 (and -2^31 % -1 is not asked)
        u = v;
        v = r;
        if (r == 0) return u;
    }
}

std::int32_t ppcm(std::int32_t a, std::int32_t b) {
    const std::int32_t u = std::max(a, b);
    const std::int32_t v = std::min(a, b);
    if (v <= 1) return u;
    return wrap_mul(a / pgcd(a, b), b);
}

bool co_prime(std::span<const std::int32_t> v, std::optional<std::int32_t> max_prime) {
    if (v.empty()) return false;
    const std::uint32_t m = largest_magnitude(v);
    if (m == 1) return true;
    if (m == 0) return false;
    const std::int64_t bound = max_prime ? static_cast<std::int64_t>(*max_prime) : static_cast<std::int64_t>(m);
    std::size_t count = primes.size();
    if (bound < 7920) {
        count = 1;
        while (count < primes.size() && primes[count - 1] < bound) ++count;
    }
    for (std::size_t k = 0; k < count; ++k)
        if (prime_divides_all(primes[k], v)) return false;
    return true;
}

void co_prime_vector(std::span<const std::int32_t> v, std::span<std::int32_t> reduced, std::int32_t* factor) {
    if (factor != nullptr) *factor = 1;
    if (reduced.size() != v.size()) return;
    std::copy(v.begin(), v.end(), reduced.begin());
    const std::uint32_t m = largest_magnitude(v);
    if (m < 2) return;
    std::size_t count = 0;
    while (count < primes.size() && static_cast<std::uint32_t>(primes[count]) <= m) ++count;
    if (count == primes.size()) return;  // no prime beyond m in the table: left unreduced
    ++count;                             // up to the first prime greater than m
    std::int32_t running = 1;
    for (std::size_t k = 0; k < count; ++k) {
        const std::int32_t p = primes[k];
        while (prime_divides_all(p, reduced)) {
            running *= p;
            for (std::int32_t& x : reduced) x /= p;
        }
    }
    if (factor != nullptr) *factor = running;
}

namespace {

// Proportionality a = c b with c from the first non-zero components; the
// zero vector is taken as co-linear only with the zero vector.
template <class T, class C, class NonZero, class Quotient>
bool proportional(std::span<const T> a, std::span<const T> b, std::int32_t n, NonZero non_zero, Quotient quotient) {
    if (n < 1 || static_cast<std::size_t>(n) > a.size() || static_cast<std::size_t>(n) > b.size()) return false;
    const std::size_t count = static_cast<std::size_t>(n);
    auto first_non_zero = [&](std::span<const T> x) {
        for (std::size_t i = 0; i < count; ++i)
            if (non_zero(x[i])) return i;
        return count;
    };
    const std::size_t ia = first_non_zero(a);
    const std::size_t ib = first_non_zero(b);
    if (ia != ib) return false;
    if (ia == count) return true;
    const C c = quotient(a[ia], b[ia]);
    for (std::size_t i = 0; i < count; ++i)
        if (std::abs(C(a[i]) - c * C(b[i])) > epss) return false;
    return true;
}

}  // namespace

bool co_linear_i(std::span<const std::int32_t> a, std::span<const std::int32_t> b, std::int32_t n) {
    return proportional<std::int32_t, float>(
        a, b, n, [](std::int32_t x) { return x != 0; },
        [](std::int32_t x, std::int32_t y) { return static_cast<float>(x) / static_cast<float>(y); });
}

bool co_linear_r(std::span<const float> a, std::span<const float> b, std::int32_t n) {
    return proportional<float, float>(
        a, b, n, [](float x) { return std::fabs(x) > epss; }, [](float x, float y) { return x / y; });
}

bool co_linear_c(std::span<const std::complex<float>> a, std::span<const std::complex<float>> b, std::int32_t n) {
    using Cf = std::complex<float>;
    return proportional<Cf, Cf>(
        a, b, n, [](Cf x) { return std::abs(x) > epss; }, [](Cf x, Cf y) { return x / y; });
}

}  // namespace vorn_math_general
