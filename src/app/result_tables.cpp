// The tables of a Friedel list for a spreadsheet: Quotients.dat and
// Differences.dat.
#include <algorithm>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

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
    std::ofstream table = open_for_writing(file_name);
    table << (is_quotient ? "   h   k   l   Qsingle   Qobs      sQobs     |Q|/sQ    expDev    obsDev\n"
                          : "   h   k   l   Dsingle   Dobs      sDobs     |D|/sQ    expDev    obsDev\n");
    // The rows are formatted a round at a time, each round shared among
    // threads in consecutive slices, each slice into its own buffer; the
    // buffers go to the file in row order, so the file is the one a single
    // thread writes.  The buffers are reused round after round.
    constexpr std::int32_t round_rows = 1 << 16;
    std::vector<std::string> buffers(static_cast<std::size_t>(std::max(most_threads, 1)));
    const auto format_rows = [&](std::int32_t slice, std::int32_t first, std::int32_t last) {
        std::string& rows = buffers[static_cast<std::size_t>(slice)];
        rows.clear();
        for (std::int32_t k = first; k <= last; ++k) {
            const PairHklRow& h = pair_hkl[static_cast<std::size_t>(k)];
            const PairValuesRow& v = pair_values[static_cast<std::size_t>(k)];
            append_i(rows, h.h, 4);
            append_i(rows, h.k, 4);
            append_i(rows, h.l, 4);
            for (const float value : {v.single, v.obs, v.sigma_obs, v.ratio, v.expected_deviate, v.observed_deviate})
                append_f(rows, value, 10, 5);
            rows += '\n';
        }
    };
    for (std::int32_t first = 1; first <= m; first += round_rows) {
        const std::int32_t last = m - first < round_rows ? m : first + round_rows - 1;
        const std::int32_t slices = slice_count(last - first + 1, 8192);
        run_slices(first, last, slices, format_rows);
        for (std::int32_t s = 0; s < slices; ++s)
            table.write(buffers[static_cast<std::size_t>(s)].data(),
                        static_cast<std::streamsize>(buffers[static_cast<std::size_t>(s)].size()));
        check_written(table, file_name);  // a full device or a size limit stops the table here
    }
    table.close();
    check_written(table, file_name);

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
