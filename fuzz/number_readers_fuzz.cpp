// Number readers of the text module on arbitrary input: the numbers of a
// line (getnum), values with uncertainties (getnum_std) and their writer
// (setnum_std), fractions (read_fract and the fraction texts), linear
// expressions and matrices of symbols, and the column count of a format.
#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_input.hpp"
#include "text/string_util.hpp"

namespace su = vorn_string_utilities;
using borq_fuzz::FuzzInput;
using borq_fuzz::invariant_failed;

namespace {

void fuzz_getnum(const std::string& text, std::size_t capacity) {
    std::vector<float> reals(capacity);
    std::vector<std::int32_t> integers(capacity);
    std::int32_t count = -7;
    su::getnum(text, reals, integers, count);
    if (count < 0 || static_cast<std::size_t>(count) > capacity) invariant_failed("getnum count out of range", text);
}

void fuzz_getnum_std(const std::string& text, std::size_t capacity) {
    std::vector<float> values(capacity);
    std::vector<float> sigmas(capacity);
    std::int32_t count = -7;
    su::getnum_std(text, values, sigmas, count);
    if (count < 0 || static_cast<std::size_t>(count) > capacity) invariant_failed("getnum_std count out of range", text);
}

// A value written with its uncertainty reads back within that uncertainty.
void fuzz_setnum_std(float value, float sigma, std::size_t width) {
    std::string text(width, ' ');
    su::setnum_std(value, sigma, text);
    if (text.size() != width) invariant_failed("setnum_std changed the width", text);
    if (width < 40 || !std::isfinite(value) || !std::isfinite(sigma)) return;
    const float s = std::fabs(sigma);
    if (std::fabs(value) > 999999.0f || s < 1.0e-5f || s > 1.0e4f) return;
    if (text.find('*') != std::string::npos) return;  // a field too narrow for its decimals
    std::array<float, 2> values{};
    std::array<float, 2> sigmas{};
    std::int32_t count = 0;
    su::getnum_std(text, values, sigmas, count);
    if (su::err_string || count != 1) invariant_failed("setnum_std text does not read back", text);
    const float tolerance = s + 1.0e-4f * std::fabs(value) + 1.0e-6f;
    if (!(std::fabs(values[0] - value) <= tolerance)) invariant_failed("setnum_std value read back wrong", text);
    if (!(std::fabs(sigmas[0] - s) <= 0.3f * s + 1.0e-6f)) invariant_failed("setnum_std uncertainty read back wrong", text);
}

// A fraction text reads back (read_fract) within the tolerance it was
// chosen with.
void fuzz_fraction(float value, std::size_t width, bool two_digits) {
    std::string text(width, ' ');
    if (two_digits) {
        su::get_fraction_2dig(value, text);
    } else {
        su::get_fraction_1dig(value, text);
    }
    if (text.size() != width) invariant_failed("fraction text changed the width", text);
    if (width < 8 || !std::isfinite(value) || std::fabs(value) > 1.0e6f) return;
    if (text.find('*') != std::string::npos) return;
    float back = 0.0f;
    su::init_err_string();  // read_fract reports through the pair without clearing it
    su::read_fract(text, back);
    if (su::err_string) invariant_failed("fraction text does not read back", text);
    if (!(std::fabs(back - value) <= 2.0e-5f + 1.0e-6f * std::fabs(value)))
        invariant_failed("fraction text reads back another value", text);
}

void fuzz_translation(const std::array<float, 3>& vector, std::size_t width, bool two_digits) {
    std::string text(width, ' ');
    if (two_digits) {
        su::frac_trans_2dig(vector, text);
    } else {
        su::frac_trans_1dig(vector, text);
    }
    if (text.size() != width) invariant_failed("translation text changed the width", text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input{data, size};
    const std::uint8_t selector = input.byte();
    const std::size_t small = input.byte() % 12;
    switch (selector % 10) {
        case 0: fuzz_getnum(input.rest(), small); break;
        case 1: fuzz_getnum_std(input.rest(), small); break;
        case 2: {
            const float value = input.real();
            const float sigma = input.real();
            fuzz_setnum_std(value, sigma, 1 + input.byte() % 48);
            break;
        }
        case 3: {
            float value = 0.0f;
            su::read_fract(input.rest(), value);
            break;
        }
        case 4: {
            const float value = input.real();
            fuzz_fraction(value, 1 + small, (selector & 0x80) != 0);
            break;
        }
        case 5: {
            const std::array<float, 3> vector{input.real(), input.real(), input.real()};
            fuzz_translation(vector, 1 + input.byte() % 40, (selector & 0x80) != 0);
            break;
        }
        case 6: {
            const std::array<char, 3> codes{'a', 'b', 'c'};
            std::array<float, 3> coefficients{};
            su::get_num_string(input.rest(), coefficients, codes);
            break;
        }
        case 7: {
            const std::array<char, 3> codes{'x', 'y', 'z'};
            std::array<std::array<float, 3>, 3> matrix{};
            su::get_mat_from_symb(input.rest(), matrix, codes);
            break;
        }
        case 8: {
            std::int32_t columns = 0;
            su::numcol_from_numfmt(input.rest(), columns);
            break;
        }
        default: {
            // The reals of a fraction text, as they come from typed input.
            const std::string text = input.rest();
            float value = 0.0f;
            su::init_err_string();
            su::read_fract(text, value);
            if (!su::err_string && std::isfinite(value)) fuzz_fraction(value, 8, true);
            break;
        }
    }
    return 0;
}
