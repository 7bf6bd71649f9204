// Coordinate texts of points and lines, setting-change descriptions and the
// transformation and translation symbols: the worked texts are byte-exact,
// every rotation axis of the peer's groups is written as a line on the axis,
// and every unimodular change of basis reads back to its matrix and origin.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>

#include "group_checks.hpp"
#include "maths/math_3D.hpp"
#include "maths/math_gen.hpp"

namespace {

using namespace vorn_crystallographic_symmetry;
namespace su = vorn_string_utilities;

Vector3 vector_of(const std::string& text) {
    const std::vector<float> v = group_checks::fractions(text);
    return {v.at(0), v.at(1), v.at(2)};
}

}  // namespace

// Beyond the round trips: the coordinate texts of points and lines (doubled on a half step, leading plus dropped,
// unmatched fractions starred), the column forms selected by "IT" in either case, a singular basis, the
// translation symbols, non-unimodular bases (coefficients of any size written whole, a zero row as 0) and the cuts
// at the field width.
TEST(TransformationTexts, WorkedTextsAndDecisions) {
    const RealMatrix unit = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}, diagonal = {{{1, 1, 0}, {-1, 1, 0}, {0, 0, 1}}};
    const auto resolv = [](Vector3 p, Vector3 d, std::array<std::int32_t, 3> l) {
        return [=](std::string& s) { get_string_resolv(p, d, l, s); };
    };
    const auto setting = [](RealMatrix m, Vector3 o, std::optional<std::string_view> form = std::nullopt) {
        return [=](std::string& s) { get_setting_info(m, o, s, form); };
    };
    const auto trasfm = [](RotationMatrix m, Vector3 o) { return [=](std::string& s) { get_trasfm_symbol(m, o, s); }; };
    const auto transl = [](Vector3 t) { return [=](std::string& s) { get_transl_symbol(t, s); }; };
    const char* const it = "a'=a-b, b'=a+b, c'=c  -> Origin: (0,0,1/2)";
    const struct { std::size_t width; std::function<void(std::string&)> write; const char* want; } cases[] = {
        {30, resolv({0.25f, 0, 0.5f}, {0, 0, 1}, {0, 0, 3}), "1/4,0,z+1/2"}, {30, resolv({0, 0, 0}, {0.5f, 1, 0}, {1, 1, 0}), "x,2x,0"},
        {30, resolv({0, -0.25f, 0}, {2, -1, 0}, {1, 1, 0}), "2x,-x-1/4,0"},
        {30, resolv({1, 0, 0}, {0, 1.0f / 3, 0}, {0, 2, 0}), "1,1/3y,0"},
        {30, resolv({1, -0.25f, -1}, {1, 1, 0}, {1, 1, 0}), "x+1,x-1/4,-1"}, {30, resolv({0, 0, 0}, {1.5f, 0, 0}, {1, 0, 0}), "3/2x,0,0"},
        {30, resolv({0.5f, 0, 0}, {1, 0, 0}, {0, 0, 0}), "+1/2,0,0"},
        {30, resolv({0.123f, 0, 0}, {0, 0.123f, 0}, {1, 1, 0}), "***/**,***/**x,0"}, {6, resolv({0.25f, 0.25f, 0.25f}, {}, {}), "1/4,1"},
        {30, resolv({0, 0, 0}, {0.05f, 1, 0}, {1, 1, 0}), "1/10x,2x,0"}, {30, resolv({0, 0, 0}, {5.5f, 0, 0}, {1, 0, 0}), "11x,0,0"},
        {80, setting(diagonal, {0, 0, 0.5f}, "it"), it}, {80, setting(diagonal, {0, 0, 0.5f}, "ITx"), it},
        {80, setting(diagonal, {0, 0, 0.5f}, "It"), "a'=a+b, b'=-a+b, c'=c  -> Origin: (0,0,1/2)"},
        {80, setting({{{1, 0, 0}, {0, 1, 0}, {0, 0, 0}}}, {0.123f, 0, 0}), "a'=a, b'=b, c'=0  -> Origin: (***/**,0,0)"},
        {30, setting(unit, {0, 0, 0}), "a'=a, b'=b, c'=c  -> Origin: ("}, {2, setting(unit, {0, 0, 0}), "a'"},
        {40, trasfm({{{2, 0, 0}, {0, -1, 0}, {0, 0, 1}}}, {-0.25f, 1, 0}), "(-1/4,1,0; 2a,-b,c)"},
        {40, trasfm({{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}, {0.123f, 0, 0}), "(***/**,0,0; a,b,c)"},
        {60, trasfm({{{2, -2, 2}, {-2, 2, -2}, {2, 2, -2}}}, {0, 0, 0}), "(0,0,0; 2a-2b+2c,-2a+2b-2c,2a+2b-2c)"},
        {40, trasfm({{{10, 0, 0}, {0, -12, 0}, {0, 0, 1}}}, {0, 0, 0}), "(0,0,0; 10a,-12b,c)"},
        {60, trasfm({{{-1, 23, 0}, {0, 0, 0}, {INT32_MIN, 0, INT32_MAX}}}, {0, 0, 0}),
         "(0,0,0; -a+23b,0,-2147483648a+2147483647c)"},
        {30, transl({0, 0.5f, 0.5f}), "( 0, 1/2, 1/2)"}, {30, transl({0.5f, 0, 0}), "( 1/2, 0, 0)"},
        {30, transl({-0.25f, 0.25f, 0}), "(-1/4, 1/4, 0)"}, {30, transl({1, 0, -1}), "( 1, 0,-1)"},
        {30, transl({0.123f, 0, 0}), "(***/**, 0, 0)"},
    };
    for (const auto& c : cases) EXPECT_EQ(group_checks::in_field(c.width, c.write), su::fixed(c.want, c.width)) << c.want;
    // A fraction written under one tolerance is not reused under another: with none, 0.334 is no fraction.
    for (const auto& [eps, want] : {std::pair{0.01f, "x+1/3,y,z"}, std::pair{0.0f, "x***/**,y,z"}}) {
        vorn_math_general::set_epsg(eps);
        EXPECT_EQ(get_symsymbi({{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}, {0.334f, 0, 0}), want);
    }
    vorn_math_general::set_epsg_default();
    FixedText<80> field = "#";
    get_setting_info(diagonal, {0, 0, 0.5f}, field, "IT");
    EXPECT_EQ(field, it);
}

// Each rotation axis of the peer's groups, written through its point along
// its direction, reads back to a line on the axis.
TEST(TransformationTexts, EveryPeerRotationAxisStaysOnTheElement) {
    for (const auto& f : tables_test::read_tsv("seitz-symbols.tsv")) {
        if (std::stoi(f[5]) < 2) continue;
        SCOPED_TRACE(f[0] + " " + f[4] + " axis " + f[6] + " point " + f[9]);
        const Vector3 axis = vector_of(f[6]), point = vector_of(f[9]);
        const std::size_t lead = axis[0] != 0 ? 0 : axis[1] != 0 ? 1 : 2;
        std::array<std::int32_t, 3> letters{};
        for (std::size_t c = 0; c < 3; ++c) letters[c] = axis[c] != 0 ? static_cast<std::int32_t>(lead) + 1 : 0;
        const std::string text = group_checks::in_field(30, [&](std::string& s) { get_string_resolv(point, axis, letters, s); });
        RotationMatrix w{};
        Vector3 d{};
        read_xsym(text, 1, w, d, false);
        ASSERT_FALSE(err_symm);
        for (std::size_t c = 0; c < 3; ++c) d[c] = d[c] - point[c] + static_cast<float>(w[c][lead]) * 0.37f;
        EXPECT_NE(w[lead][lead], 0) << text;
        for (std::size_t c = 0; c < 3; ++c)
            EXPECT_NEAR(d[(c + 1) % 3] * axis[(c + 2) % 3] - d[(c + 2) % 3] * axis[(c + 1) % 3], 0, 1e-5) << text;
    }
}

TEST(TransformationTexts, EveryUnimodularBasisReadsBack) {
    const Vector3 origin = {-0.25f, 1, 0.5f};
    for (int code = 0; code <= 19683; ++code) {
        RotationMatrix m{};
        RealMatrix r{}, back{};
        for (int e = 0, c = code; e < 9; ++e, c /= 3) r[e / 3][e % 3] = static_cast<float>(m[e / 3][e % 3] = c % 3 - 1);
        if (code == 19683) r = {{{0.5f, 0.5f, 0}, {-0.5f, 0.5f, 0}, {0, 0, 1}}};  // the halves example
        else if (std::abs(vorn_math_3d::determ_a_i(m)) != 1) continue;
        for (const bool columns : {false, true}) {
            std::string text(80, ' ');
            get_setting_info(r, origin, text, columns ? std::optional<std::string_view>("IT") : std::nullopt);
            SCOPED_TRACE(text);
            const std::size_t arrow = text.find("  -> Origin: (");
            std::string exprs = text.substr(0, arrow);
            for (const char* label : {" c'=", " b'=", "a'="}) exprs.erase(exprs.find(label), std::strlen(label));
            su::get_mat_from_symb(exprs, back, {'a', 'b', 'c'});
            for (int k = 0; k < 9; ++k) EXPECT_EQ(back[k / 3][k % 3], columns ? r[k % 3][k / 3] : r[k / 3][k % 3]);
            EXPECT_EQ(vector_of(text.substr(arrow + 14, text.find(')') - arrow - 14)), origin);
        }
        if (code == 19683) break;
        const std::string symbol = group_checks::in_field(40, [&](std::string& s) { get_trasfm_symbol(m, origin, s); });
        const std::size_t semicolon = symbol.find("; ");
        su::get_mat_from_symb(symbol.substr(semicolon + 2, symbol.find(')') - semicolon - 2), back, {'a', 'b', 'c'});
        EXPECT_TRUE(back == r && vector_of(symbol.substr(1, semicolon - 1)) == origin) << symbol;
    }
}
