// The tables of a Friedel list for a spreadsheet: Quotients.dat and
// Differences.dat.
#include <fstream>
#include <string>
#include <ostream>

#include "app/borq.hpp"
#include "text/fortran_format.hpp"

namespace borq {

using vorn_string_utilities::append_f;
using vorn_string_utilities::append_i;

void write_results(std::int32_t row_count, const PairHkl& pair_hkl, const PairValues& pair_values,
                   bool is_quotient, std::ostream& out) {
    const char* const file_name = is_quotient ? "Quotients.dat" : "Differences.dat";
    const std::size_t held = std::min(pair_hkl.size(), pair_values.size());
    const std::int32_t m = row_count <= 0 || held == 0
                               ? 0
                               : static_cast<std::int32_t>(std::min<std::size_t>(static_cast<std::size_t>(row_count), held - 1));
    std::ofstream table(file_name, std::ios::out | std::ios::trunc);
    if (!table.is_open()) throw InputFailure{std::string("creating ") + file_name, "cannot open the file for writing"};
    table << (is_quotient ? "   h   k   l   Qsingle   Qobs      sQobs     |Q|/sQ    expDev    obsDev\n"
                          : "   h   k   l   Dsingle   Dobs      sDobs     |D|/sQ    expDev    obsDev\n");
    // Each row is assembled in one reused buffer and written at once, which
    // keeps tables of a million pairs fast and free of per-row allocation.
    std::string row;
    for (std::int32_t k = 1; k <= m; ++k) {
        const PairHklRow& h = pair_hkl[static_cast<std::size_t>(k)];
        const PairValuesRow& v = pair_values[static_cast<std::size_t>(k)];
        row.clear();
        append_i(row, h.h, 4);
        append_i(row, h.k, 4);
        append_i(row, h.l, 4);
        for (const float value : {v.single, v.obs, v.sigma_obs, v.ratio, v.expected_deviate, v.observed_deviate})
            append_f(row, value, 10, 5);
        row += '\n';
        table.write(row.data(), static_cast<std::streamsize>(row.size()));
    }
    table.close();
    if (table.fail()) throw InputFailure{std::string("writing ") + file_name, "the file could not be written"};

    if (is_quotient) {
        out << "Quotient data suitable for a spreadsheet are written to Quotients.dat.\n";
        out << "Plot Qobs on the vertical axis and Qsingle on the horizonal axis for a Q-plot.\n";
    } else {
        out << "Difference data suitable for a spreadsheet are written to Differences.dat.\n";
        out << "Plot Dobs on the vertical axis and Dsingle on the horizonal axis for a D-plot.\n";
    }
    out << "Plot Observed deviates on the vertical axis and expected deviates on the\n";
    out << "horizontal axis for a normal probability plot.\n\n";
}

}  // namespace borq
