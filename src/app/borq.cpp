// The borq program: command line, banner and the order of the steps of a
// run.
#include "app/borq.hpp"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <memory>
#include <streambuf>
#include <vector>

#include "text/fixed_text.hpp"

namespace borq {

namespace {

// The report's way to standard output (file descriptor 1): the bytes are
// gathered in a large block and written when it is full or flushed, as a
// buffered stream writes them, and the system's reason of the first write
// that fails is kept, so that the run can end as a failed output however
// much later it looks.  After a failure the rest of the report is dropped.
class ReportBuffer : public std::streambuf {
public:
    ReportBuffer() : block_(std::size_t{1} << 16) { setp(block_.data(), block_.data() + block_.size()); }
    // errno of the first failed write, 0 while every write has succeeded.
    int failure() const { return failure_; }

protected:
    int_type overflow(int_type ch) override {
        if (!drain()) return traits_type::eof();
        if (!traits_type::eq_int_type(ch, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(ch);
            pbump(1);
        }
        return traits_type::not_eof(ch);
    }
    int sync() override { return drain() ? 0 : -1; }

private:
    // Writes the gathered bytes (all of them, a write being free to take
    // fewer) and empties the block.
    bool drain() {
        const char* next = pbase();
        std::size_t left = static_cast<std::size_t>(pptr() - pbase());
        while (left > 0 && failure_ == 0) {
            const ssize_t written = ::write(1, next, left);
            if (written > 0) {
                next += written;
                left -= static_cast<std::size_t>(written);
            } else if (written < 0 && errno != EINTR) {
                failure_ = errno;
            } else if (written == 0) {
                failure_ = EIO;
            }
        }
        setp(block_.data(), block_.data() + block_.size());
        return failure_ == 0;
    }

    std::vector<char> block_;
    int failure_ = 0;
};

// Ends the run as a failed output once a write of the report has failed.
void check_report(const ReportBuffer& report) {
    if (report.failure() != 0) throw OutputFailure{"writing standard output", std::strerror(report.failure())};
}

// std::cout writes into the report's buffer for the whole run, and into its
// own again afterwards.
struct ReportOnStandardOutput {
    ReportBuffer report;
    std::streambuf* const previous = std::cout.rdbuf(&report);
    ~ReportOnStandardOutput() {
        std::cout.flush();
        std::cout.rdbuf(previous);
    }
};

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

// Keeps what was printed before, reports the failure on standard error and
// gives the exit status of a failed run.
int stop_run(const std::string& failure, std::ostream& out) {
    out.flush();
    std::cerr << failure << '\n';
    std::cerr.flush();
    return 2;
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
    ReportOnStandardOutput standard_output;
    const ReportBuffer& report = standard_output.report;
    std::ostream& out = std::cout;
    try {
        const CompoundCode code = command_code(argc, argv);
        print_banner(out);
        out << "Compound code: " << code_name(code) << "\n\n";
        // Written at once: a standard output that is full or closed ends the
        // run before any file is opened (a closed one would hand its number
        // to the next file opened).
        out.flush();
        check_report(report);

        bool shelx_input = false;
        sx_or_cry(code, shelx_input, out);

        std::int32_t n_refl = 0;
        const auto group = std::make_unique<SpaceGroup>();  // large record: not on the stack
        if (shelx_input) {
            find_info_shelx(code, n_refl, *group, out, std::cin);
        } else {
            find_info_cry(code, n_refl, *group, out, std::cin);
        }
        check_report(report);
        run_statistics(code, shelx_input, n_refl, *group, out);
        check_report(report);

        // The run has succeeded only once its last line is written.
        out << "Program ends.\n\n";
        out.flush();
        check_report(report);
        return 0;
    } catch (const InputFailure& failure) {
        return stop_run(failure_report(failure), out);
    } catch (const OutputFailure& failure) {
        return stop_run(failure_report(failure), out);
    }
}

}  // namespace borq
