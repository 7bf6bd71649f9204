// The borq program: absolute-structure statistics by the quotient method.
//
// One run pairs every acentric reflection of a refined structure with its
// Friedel opposite and estimates the Flack parameter x from the quotients
// Q = (I(h) - I(-h)) / (I(h) + I(-h)) and from the differences
// D = I(h) - I(-h).
//
// Array convention of the program: the tables of a run are 1-based, a table
// of n rows being a std::vector of n + 1 records whose record 0 is unused, so
// that the partner row numbers stored in hkl_info index the tables directly.
// Every procedure reads at most the rows its table holds.
//
// Output: the report goes to the stream `out` passed to each procedure
// (standard output in a run); the tables Quotients.dat, Differences.dat and
// missing_A.dat are written in the working directory.
//
// Failed input (a missing file, a reflection file without its header line, a
// malformed number, an early end of a file or of standard input) throws
// InputFailure; failed output (a table that cannot be created or written, a
// report that does not reach standard output) throws OutputFailure.
// borq::run reports either on standard error and ends with exit status 2,
// keeping what was printed and written before.
#pragma once

#include <array>
#include <cstdint>
#include <fstream>
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "symmetry/symmetry.hpp"
#include "text/fixed_text.hpp"

namespace borq {

using vorn_crystallographic_symmetry::SpaceGroup;
using vorn_string_utilities::FixedText;

// ==== Entry ====

// Runs the program with the command-line arguments; returns the exit status.
int run(int argc, char** argv);

// ==== Failed input and output ====

// Where reading failed ("reading ex19.fcf, line 37") and why ("bad value in
// columns 27-40 (Fo2)").
struct InputFailure {
    std::string where;
    std::string reason;
};
// Where writing failed ("writing Quotients.dat", "writing standard output")
// and the system's reason ("No space left on device").
struct OutputFailure {
    std::string where;
    std::string reason;
};

// The one-line reports written to standard error: "borq: failed input
// while ..." and "borq: failed output while ...".
std::string failure_report(const InputFailure& failure);
std::string failure_report(const OutputFailure& failure);

// Creates or replaces a table in the working folder for writing; a table
// that cannot be created is a failed output.
std::ofstream open_for_writing(const std::string& file_name);
// Throws the failed output of the table when its stream has failed.  Called
// right after each block written and after the close, while errno still
// holds the system's reason for the failed write.
void check_written(const std::ofstream& table, const std::string& file_name);

// ==== Text records of the input files ====

// Opens a file for reading; a file that cannot be opened is a failed input.
std::ifstream open_for_reading(const std::string& file_name);
// Reads the next line as a record of exactly `width` characters (cut, or
// padded with blanks) after dropping one trailing carriage return, so that
// files with CRLF line ends read like the others.  False at the end of the
// input or on a read error.
bool read_record(std::istream& in, std::string& line, std::size_t width);
// The lines of a long file read in large blocks and seen in place, with no
// copy of each line.  next_line gives the next line without its line end and
// without one trailing carriage return, as read_record reads it before the
// cut to width (a last line without a line end counts); false at the end of
// the input or on a read error.  A line stays valid until the next call.
struct BlockLines {
    std::istream* in = nullptr;
    std::vector<char> block;
    std::size_t begin = 0, end = 0;  // the part not yet handed out: block[begin, end)
    bool exhausted = false;          // nothing more to read from `in`
};
BlockLines block_lines(std::istream& in);
bool next_line(BlockLines& lines, std::string_view& line);
// The next lines as next_line gives them, at most `most` (at least one when
// there is one: false at the end): the first as next_line reads it, then the
// lines that already stand whole in the block, so that all stay valid
// together until the next call.
bool next_lines(BlockLines& lines, std::vector<std::string_view>& batch, std::size_t most);

// ==== Work shared among threads ====

// Runs work(slice, first, last) on `slices` consecutive slices of [first,
// last] (1-based rows, none empty), the first slice on the calling thread and
// the others on threads of their own, and returns when all are done.  The
// slices depend only on the range and the count, never on timing, so the
// results are the same as on one thread.  When a thread cannot be started
// its slice runs on the calling thread; an exception of any slice is thrown
// again after all have ended (the first slice's first).
void run_slices(std::int32_t first, std::int32_t last, std::int32_t slices,
                const std::function<void(std::int32_t slice, std::int32_t first, std::int32_t last)>& work);
// The most threads a step of a run shares its rows among: the number of
// cores, at most 8.  Written only by tests, which set 1 to compare a run with
// the one-thread run.
std::int32_t core_count();
inline std::int32_t most_threads = core_count();
// The number of slices for n rows: one per rows_per_slice rows, at least 1
// and at most most_threads.
std::int32_t slice_count(std::int32_t n, std::int32_t rows_per_slice);

// ==== Tables of a run ====

// One row of hkl_info.  partner: the row of the Friedel mate, or one of the
// class codes below.  omitted: 1 when the refinement left the reflection out
// (status character other than "o").
struct HklInfoRow {
    std::int32_t h = 0, k = 0, l = 0;
    std::int32_t asu_key = 0;      // h' + 256 k' + 65536 l' of the asymmetric-unit equivalent
    std::int32_t partner = 0;
    std::int32_t omitted = 0;
};
inline constexpr std::int32_t partner_centric = 0;
inline constexpr std::int32_t partner_missing = -1;   // acentric without Friedel mate
inline constexpr std::int32_t partner_outlier = -2;   // member of an outlying pair

// One row of fsq_data.
struct FsqDataRow {
    float fo2 = 0.0f;        // observed F squared
    float sigma_fo2 = 0.0f;  // its standard uncertainty
    float fc2 = 0.0f;        // calculated F squared
};

// One row of a Friedel list (quotients or differences): pair_values.
struct PairValuesRow {
    float single = 0.0f;            // Qsingle or Dsingle, from Fc2
    float obs = 0.0f;               // Qobs or Dobs, from Fo2
    float sigma_obs = 0.0f;         // sQobs or sDobs
    float ratio = 0.0f;             // |obs| / sigma_obs
    float expected_deviate = 0.0f;  // normal score of the row's rank
    float observed_deviate = 0.0f;  // (obs - a single) / sigma_obs
};

// One row of pair_hkl: the indices of the pair's first mate.
struct PairHklRow {
    std::int32_t h = 0, k = 0, l = 0;
};

using HklInfo = std::vector<HklInfoRow>;
using FsqData = std::vector<FsqDataRow>;
using PairValues = std::vector<PairValuesRow>;
using PairHkl = std::vector<PairHklRow>;

// ==== Command line and the run ====

using CompoundCode = FixedText<80>;

// The arguments after the program name joined by single blanks, cut to 80
// characters.
CompoundCode command_code(int argc, char** argv);
// The code as used in file names and the report: without leading and
// trailing blanks.
std::string code_name(const CompoundCode& code);

void print_banner(std::ostream& out);

// Everything after the space group is known: reads the reflections, pairs
// them, and runs the quotient and then the difference statistics.
void run_statistics(const CompoundCode& code, bool shelx_input, std::int32_t n_refl,
                    const SpaceGroup& group, std::ostream& out);

// ==== Reflection-file layout ====

// Scans <code>.fcf for the first line naming SHELX or CRYSTALS (any case).
void sx_or_cry(const CompoundCode& code, bool& shelx_input, std::ostream& out);
// result: 1 "SHELX", 2 "CRYSTALS" (leftmost wins), unchanged when neither
// occurs in the 240-column line.
void find_string(std::string_view line, std::int32_t& result);
// Upper-cases the first length characters (a to z only).
void toupper(std::string& text, std::int32_t length);

// ==== Reflection files ====

// Counts the reflection lines after the header, then obtains the space group.
void find_info_shelx(const CompoundCode& code, std::int32_t& n_refl, SpaceGroup& group,
                     std::ostream& out, std::istream& in);
void find_info_cry(const CompoundCode& code, std::int32_t& n_refl, SpaceGroup& group,
                   std::ostream& out, std::istream& in);
// The counting half alone.
std::int32_t count_reflections(const CompoundCode& code, bool shelx_input);
// Read the n_refl counted lines into hkl_info and fsq_data (resized to
// n_refl + 1 rows and cleared).
void read_data_shelx(const CompoundCode& code, std::int32_t n_refl, HklInfo& hkl_info, FsqData& fsq_data);
void read_data_cry(const CompoundCode& code, std::int32_t n_refl, HklInfo& hkl_info, FsqData& fsq_data);

// ==== Space-group source ====

// The space-group text of the compound: the value of the layout's key in
// <code>.cif, or the answer to the prompt on `in` when there is no CIF
// (blank: "P 21 21 21").  240 characters, apostrophes blanked and one
// enclosing pair of double quotes removed.
std::string space_group_text(const CompoundCode& code, bool shelx_input, std::ostream& out,
                             std::istream& in);
// Obtains the group of the compound and prints "Space group is: " with its
// symbol.
void obtain_space_group(const CompoundCode& code, bool shelx_input, SpaceGroup& group,
                        std::ostream& out, std::istream& in);

// ==== Classification and pairing ====

void pack_hkl(std::int32_t n_refl, const SpaceGroup& group, HklInfo& hkl_info, FsqData& fsq_data);
void find_centric(std::int32_t n_refl, const SpaceGroup& group, HklInfo& hkl_info);
void find_friedels(std::int32_t n_refl, const SpaceGroup& group, HklInfo& hkl_info);
// m.v for a 3x3 integer matrix (32-bit wrap-around).
std::array<std::int32_t, 3> mvmuli(const std::array<std::array<std::int32_t, 3>, 3>& m,
                                   const std::array<std::int32_t, 3>& v);
void find_outliers(std::int32_t n_refl, HklInfo& hkl_info, const FsqData& fsq_data, std::ostream& out);
void count_classes(std::int32_t n_refl, const HklInfo& hkl_info, std::int32_t& n_pairs, std::ostream& out);

// ==== Friedel quotient and difference lists ====

// Build the list in pair_values/pair_hkl (refilled, and enlarged when they
// cannot hold every pair used; run_statistics gives them n_pairs + 1 rows,
// n_pairs being the number of linked pairs) and print its summary.
void make_q(std::int32_t n_refl, const HklInfo& hkl_info, const FsqData& fsq_data, PairValues& pair_values,
            PairHkl& pair_hkl, std::int32_t& nq, std::ostream& out);
void make_d(std::int32_t n_refl, const HklInfo& hkl_info, const FsqData& fsq_data, PairValues& pair_values,
            PairHkl& pair_hkl, std::int32_t& nd, std::ostream& out);
// Standard uncertainty of (I1 - I2) / (I1 + I2).
float quot_error(float i1, float s1, float i2, float s2);

// ==== Flack-parameter fit ====

// Printed in place of the fit lines when a list cannot be fitted (fewer than
// two rows, or a zero or non-finite denominator).
inline constexpr std::string_view too_few_data_notice =
    "Too few data for a fit: x, chi2 and the normal probability plot are not computed.";

// Fits Yo = a Ys through the origin, x = (1 - a)/2; fills the observed
// deviates and prints x, its e.s.d., chi2 and Pearson r.  Returns false (after
// printing the notice, with nothing written into the list) when the list
// cannot be fitted.
bool ymx(std::int32_t row_count, PairValues& pair_values, bool is_quotient, std::ostream& out);
// Pearson correlation coefficient of the first n pairs (x[k], y[k]), k from 0.
void pearsn(const std::vector<float>& x, const std::vector<float>& y, std::int32_t n, float& r);

// ==== Normal probability plot ====

void calc_exp_deviates(std::int32_t row_count, PairValues& pair_values);
// Inverse of the standard normal distribution function, 0 < p < 1.
float invnorm(float p);
// Fits observed = g expected + c and prints g, c and r.  Returns false (after
// printing the notice) when the normal matrix is singular.
bool linearlsq(std::int32_t row_count, const PairValues& pair_values, std::ostream& out);

// ==== Result tables ====

// Writes Quotients.dat or Differences.dat and prints the plotting hints.
void write_results(std::int32_t row_count, const PairHkl& pair_hkl, const PairValues& pair_values,
                   bool is_quotient, std::ostream& out);

// ==== Alternative estimators (cross-checks; no step of a run calls them) ====

// Printed by gek2 and gek1 in place of an estimate that cannot be formed
// (too few rows, or a zero or non-finite sum of weights).
inline constexpr std::string_view gek_too_few_notice =
    "Too few data for this check: x and its e.s.d. are not computed.";
// gek1: the headings of its two blocks, and the notice of a single used row.
inline constexpr std::string_view gek1_internal_heading =
    "Internal e.s.d., from the weights of the individual values of x:";
inline constexpr std::string_view gek1_external_heading =
    "External e.s.d., from the scatter of the individual values of x:";
inline constexpr std::string_view gek1_no_external_notice =
    "Too few data for this check: the external e.s.d. needs two values of x.";

// x from the ratio of weighted averages, a = sum w Yo Ys / sum w Ys^2, and
// its e.s.d.; prints the check.  A row with sigma below 1.0e-10 prints
// "Check data: Zero sigma(Yobs) for # " with its row and throws InputFailure
// (a run ends with exit status 2) before anything else is printed.
void gek2(std::int32_t row_count, const PairValues& pair_values, bool is_quotient, std::ostream& out);
// x as the weighted average of the per-pair values (1 - Yo/Ys)/2 with its
// internal and external e.s.d.; rows with |Ys| <= 1.0e-10 or a zero sigma are
// counted as extra omissions.  Prints the check and writes gek1Q.dat or
// gek1D.dat.
void gek1(std::int32_t row_count, const PairValues& pair_values, bool is_quotient, std::ostream& out);
// Replaces sigma(Fo2) of rows 1..n_refl by the uncertainty implied by the
// weighting scheme 1/(sigma^2 + (0.0984 P)^2 + 5.4628 P), P = (max(Fo2, 0) +
// 2 Fc2)/3 (never below 0).
void reweight(std::int32_t n_refl, FsqData& fsq_data);

}  // namespace borq
