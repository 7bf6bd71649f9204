// The borq program: command line, banner and the order of the steps of a
// run.
#include "app/borq.hpp"

#include <iostream>
#include <memory>

#include "text/fixed_text.hpp"

namespace borq {

namespace {

// Quotients or differences: fit, normal probability plot, table.  A list
// that cannot be fitted gets the notice and a table with its header only.
void list_statistics(std::int32_t rows, PairValues& pair_values, const PairHkl& pair_hkl, bool is_quotient,
                     std::ostream& out) {
    if (ymx(rows, pair_values, is_quotient, out)) {
        calc_exp_deviates(rows, pair_values);
        linearlsq(rows, pair_values, out);
        write_results(rows, pair_hkl, pair_values, is_quotient, out);
    } else {
        write_results(0, pair_hkl, pair_values, is_quotient, out);
    }
}

}  // namespace

CompoundCode command_code(int argc, char** argv) {
    std::string joined;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) joined += ' ';
        joined += argv[i];
        if (joined.size() >= CompoundCode::size()) break;
    }
    return CompoundCode(joined);
}

std::string code_name(const CompoundCode& code) { return std::string(vorn_string_utilities::trim_both(code.view())); }

void print_banner(std::ostream& out) {
    out << '\n'
        << "BORQ: Program to calculate descriptive statistics relating to absolute\n"
        << "      structure determination by the post-refinement quotient method.\n"
        << "      Input:  ShelxL-2013 LIST4 fcf file and the space group.\n"
        << "      Output: Some numbers and a file, quotients.out, for a spreadsheet\n"
        << "\n\n";
}

void run_statistics(const CompoundCode& code, bool shelx_input, std::int32_t n_refl, const SpaceGroup& group,
                    std::ostream& out) {
    HklInfo hkl_info;
    FsqData fsq_data;
    if (shelx_input) {
        read_data_shelx(code, n_refl, hkl_info, fsq_data);
    } else {
        read_data_cry(code, n_refl, hkl_info, fsq_data);
    }
    pack_hkl(n_refl, group, hkl_info, fsq_data);
    find_centric(n_refl, group, hkl_info);
    find_friedels(n_refl, group, hkl_info);
    find_outliers(n_refl, hkl_info, fsq_data, out);
    std::int32_t n_pairs = 0;
    count_classes(n_refl, hkl_info, n_pairs, out);

    // The quotient list, then the difference list in the same tables.
    const auto pair_rows = static_cast<std::size_t>(n_pairs) + 1;
    PairValues pair_values(pair_rows);
    PairHkl pair_hkl(pair_rows);

    std::int32_t nq = 0;
    make_q(n_refl, hkl_info, fsq_data, pair_values, pair_hkl, nq, out);
    list_statistics(nq, pair_values, pair_hkl, true, out);

    std::int32_t nd = 0;
    make_d(n_refl, hkl_info, fsq_data, pair_values, pair_hkl, nd, out);
    list_statistics(nd, pair_values, pair_hkl, false, out);
}

int run(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    std::ostream& out = std::cout;
    try {
        const CompoundCode code = command_code(argc, argv);
        print_banner(out);
        out << "Compound code: " << code_name(code) << "\n\n";

        bool shelx_input = false;
        sx_or_cry(code, shelx_input, out);

        std::int32_t n_refl = 0;
        const auto group = std::make_unique<SpaceGroup>();  // large record: not on the stack
        if (shelx_input) {
            find_info_shelx(code, n_refl, *group, out, std::cin);
        } else {
            find_info_cry(code, n_refl, *group, out, std::cin);
        }
        run_statistics(code, shelx_input, n_refl, *group, out);

        out << "Program ends.\n\n";
        out.flush();
        return 0;
    } catch (const InputFailure& failure) {
        out.flush();
        std::cerr << failure_report(failure) << '\n';
        std::cerr.flush();
        return 2;
    }
}

}  // namespace borq
