// The setting-equivalence table against the peer's checks (Schoenflies
// symbols, the determinant of every transformation text), the placement of
// the texts in their fields, and the fill, refill and release of the table.
#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <string_view>

#include "support/tsv_fixture.hpp"
#include "tables/sym_table.hpp"

namespace {

namespace tab = vorn_symmetry_tables;

// Determinant of the linear part of a map such as "-2x+y,-x-y,3z-1/4"; 0
// when a text is not three sums of signed letter terms (one-digit
// coefficients) and fractions of denominator 2, 3, 4, 6 or 8.
int determinant(const std::string& t) {
    std::array<std::array<int, 3>, 3> m{};
    std::size_t row = 0, i = 0;
    while (i < t.size()) {
        if (t[i] == ',') {
            ++row, ++i;
            continue;
        }
        const int sign = t[i] == '-' ? -1 : 1;
        i += t[i] == '-' || t[i] == '+';
        int value = 0, digits = 0;
        for (; i < t.size() && std::isdigit(static_cast<unsigned char>(t[i])); ++i, ++digits) value = 10 * value + t[i] - '0';
        if (i < t.size() && t[i] >= 'x' && t[i] <= 'z' && digits <= 1 && row < 3)
            m[row][std::size_t(t[i++] - 'x')] += sign * (digits ? value : 1);
        else if (digits && i + 1 < t.size() && t[i] == '/' && std::string_view("23468").find(t[i + 1]) != std::string_view::npos)
            i += 2;
        else
            return 0;
    }
    return row != 2 ? 0 : m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                              m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
}

TEST(SettingEquivalence, EveryRowAgainstThePeer) {
    tab::set_system_equiv();
    ASSERT_EQ(tab::system_equiv.size(), 231u);
    for (const auto& f : tables_test::read_tsv("setting-equivalence-checks.tsv")) {
        const std::size_t n = std::stoul(f[0]);
        const tab::SettingEquivalence& row = tab::system_equiv[n];
        EXPECT_EQ(row.schoenflies.trimmed(), f[1]) << n;
        const std::string_view fields[] = {row.ml.view(), row.ko.view(), row.bc.view(), row.za.view()};
        for (std::size_t k = 0; k < 4; ++k) {
            const std::string text(vorn_string_utilities::trim_both(fields[k]));
            // ml in column 1; the others after a blank unless they start with "-" (Kovalev 38-41 and 57 keep it).
            const bool blank = k > 0 && (text[0] != '-' || (k == 1 && ((n >= 38 && n <= 41) || n == 57)));
            EXPECT_EQ(determinant(text), std::stoi(f[2 + 2 * k])) << n << " \"" << text << "\"";
            EXPECT_EQ(vorn_string_utilities::trim_right(fields[k]), (blank ? " " : "") + text) << n;
        }
    }
}

TEST(SettingEquivalence, WorkedFieldsFillAndRelease) {
    tab::remove_system_equiv();
    tab::remove_system_equiv();  // an absent table: nothing to do
    EXPECT_TRUE(tab::system_equiv.empty());
    tab::set_system_equiv();
    auto& t = tab::system_equiv;
    const std::pair<std::string_view, std::string> cases[] = {
        {t[1].ml.view(), "x,y,z" + std::string(12, ' ')}, {t[1].bc.view(), " x,y,z" + std::string(26, ' ')},
        {t[38].ko.view(), " -z,y,x           "}, {t[70].bc.view(), " x+y+z-15/8,-x-y+z+5/8,x-y-z+5/8"},
        {t[48].ml.view(), "x-1/4,y-1/4,z-1/4"}, {t[142].ko.view(), " x,y-1/4,z-9/8    "}, {t[230].schoenflies.view(), "O10_h "}};
    for (const auto& [field, expected] : cases) EXPECT_EQ(field, expected);
    t[5].ml = "changed";  // a refill restores a changed row
    tab::set_system_equiv();
    EXPECT_TRUE(t.size() == 231 && t[5].ml == "z,x,y");
}

}  // namespace
