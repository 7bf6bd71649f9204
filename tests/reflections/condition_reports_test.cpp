// The reflection-condition reports of every tabulated setting against the
// peer, P 1 and F d -3 m byte for byte, and the unit form equal to the lines.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "reflections/reflct_util.hpp"
#include "setting_groups.hpp"
#include "support/scratch_dir.hpp"
#include "text/fortran_format.hpp"
#include "text/string_util.hpp"

namespace {

using namespace vorn_reflections_utilities;
namespace su = vorn_string_utilities;

// The lines of the search, and the unit form's lines with trailing blanks removed and cut at 132.
std::pair<std::vector<std::string>, std::vector<std::string>> search(const SpaceGroup& g) {
    std::vector<std::string> lines(80, std::string(132, 'x')), unit_lines;
    std::int32_t count = -1;
    search_extinctions_file(g, count, lines);
    EXPECT_EQ(lines[std::size_t(count)], std::string(132, ' '));
    lines.resize(std::size_t(count));
    su::open_unit(31, "report.txt", su::UnitAccess::write);
    search_extinctions_iunit(g, 31);
    su::close_unit(31);
    std::istringstream in(borq_test::read_file("report.txt"));
    for (std::string line; std::getline(in, line);) {
        EXPECT_EQ(line.size(), line.starts_with("     #") ? 90u : line.size());
        unit_lines.push_back(su::fixed(su::trim_right(line), 132));
    }
    std::filesystem::remove("report.txt");
    return {lines, unit_lines};
}

TEST(ConditionReports, EverySettingAgainstThePeer) {
    borq_test::ScratchDir scratch("conditions");
    for (const auto& f : tables_test::read_tsv("reflection-conditions.tsv")) {
        SCOPED_TRACE("row " + f[0] + " " + f[2]);
        const auto [lines, unit_lines] = search(*setting_groups::group_of_symbol(f[2]));
        std::array<std::string, 3> found{"none", "none", "none"};  // condition numbers of each report
        int report = -1;
        for (const std::string& line : lines) {
            report += line.starts_with("  >>> ");
            if (line.starts_with("     #"))
                found[std::size_t(report)] = (found[std::size_t(report)] == "none" ? "" : found[std::size_t(report)] + ",") +
                                             std::to_string(std::stoi(line.substr(6, 2)));
        }
        EXPECT_EQ(found, (std::array<std::string, 3>{f[3], f[4], f[5]}));
        EXPECT_EQ(lines.size(), std::stoul(f[6]));
        EXPECT_EQ(unit_lines, lines);
    }
    EXPECT_TRUE(std::filesystem::is_empty(scratch.path()));  // no file left behind
}

TEST(ConditionReports, WholeReportsByteForByte) {
    borq_test::ScratchDir scratch("conditions_text");
    const auto head = [](const std::string& title, std::size_t rule) { return "\n  >>> " + title + "\n " + std::string(rule, '-') + "\n\n"; };
    const auto rows = [](std::initializer_list<int> numbers) {
        std::string text;
        for (int n : numbers) text += "     #" + su::format_i(n, 2) + ": " + std::string(hkl_ref_conditions[std::size_t(n - 1)].trimmed()) + "\n";
        return text;
    };
    const std::string integral = head("Integral reflections conditions for centred lattices:", 58),
                      zonal = head("Zonal reflections conditions for glide planes:", 51),
                      serial = head("Serial reflections conditions for screw axes:", 51);
    const std::pair<const char*, std::string> cases[] = {
        {"P 1", integral + "      =====>>> no general reflection condition\n" + zonal + "      =====>>> no zonal reflection condition\n" +
                    serial + "      =====>>> no serial reflection condition\n"},
        {"F d -3 m", integral + rows({1, 2, 3, 5}) + zonal + rows({7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18}) + serial +
                         rows({40, 41, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51})}};
    for (const auto& [symbol, expected] : cases) {
        std::string text;
        for (const std::string& line : search(*setting_groups::group_of_symbol(symbol)).first) text += std::string(su::trim_right(line)) + "\n";
        EXPECT_EQ(text, expected) << symbol;
    }
    EXPECT_EQ(hkl_ref_conditions[30].view(), "(  h -h  l)  2h+l=4n : (110)  glide plane with a/4 +- b/4 +- c/4 translation (d)");
}

}  // namespace
