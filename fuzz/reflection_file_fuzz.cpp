// The reflection-file path on arbitrary file contents: layout detection,
// counting and reading in both layouts, and the whole statistics run on what
// was read, with one of a few space groups.  A failed input is reported as
// borq::InputFailure (exit status 2 in a run) and is an accepted outcome;
// anything else that goes wrong is a finding.  The report must never show a
// NaN or an infinity.
#include <array>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>

#include "app/borq.hpp"
#include "fuzz_input.hpp"
#include "symmetry/symmetry.hpp"

namespace cs = vorn_crystallographic_symmetry;
using borq_fuzz::FuzzInput;
using borq_fuzz::invariant_failed;

namespace {

// Groups of the runs: triclinic, orthorhombic, monoclinic (unique axis b),
// trigonal, rhombohedral axes, a centrosymmetric one, a symbol the builder
// refuses (whatever record that leaves), and the reset record.
const std::array<cs::SpaceGroup, 8>& run_groups() {
    static const std::array<cs::SpaceGroup, 8> groups = [] {
        std::array<cs::SpaceGroup, 8> g;
        const std::array<std::string_view, 7> symbols = {"P 1",    "P 21 21 21", "P 1 21 1", "P 32 2 1",
                                                         "R 3 :R", "P 21/c",     "-R 2"};
        for (std::size_t i = 0; i < symbols.size(); ++i) cs::set_spacegroup(symbols[i], g[i]);
        cs::reset_spacegroup(g[7]);
        return g;
    }();
    return groups;
}

// A report word (blank, "=", "(" or ")" separated) that spells a NaN or an
// infinity, in any case and with any sign ("NaN", "-nan", "Infinity").
bool has_non_finite_text(const std::string& report) {
    std::string word;
    auto is_non_finite = [](std::string w) {
        while (!w.empty() && (w[0] == '-' || w[0] == '+')) w.erase(0, 1);
        for (char& c : w) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return w == "nan" || w == "inf" || w == "infinity";
    };
    for (const char c : report + " ") {
        if (c == ' ' || c == '\n' || c == '=' || c == '(' || c == ')' || c == ',') {
            if (is_non_finite(word)) return true;
            word.clear();
        } else {
            word += c;
        }
    }
    return false;
}

// The statistics run writes its tables into the working directory: run it
// in the scratch directory and come back, so that the fuzzer's own relative
// paths (corpus, artifacts) keep their meaning.
void run_in_scratch_directory(const borq::CompoundCode& code, bool shelx_input, std::int32_t n_refl,
                              const cs::SpaceGroup& group, std::ostream& report) {
    const std::filesystem::path home = std::filesystem::current_path();
    std::filesystem::current_path(borq_fuzz::scratch_directory());
    try {
        borq::run_statistics(code, shelx_input, n_refl, group, report);
    } catch (...) {
        std::filesystem::current_path(home);
        throw;
    }
    std::filesystem::current_path(home);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 65536) return 0;
    FuzzInput input{data, size};
    const std::uint8_t selector = input.byte();
    const std::string file_text = input.rest();
    borq_fuzz::write_scratch_file("refl.fcf", file_text);
    const borq::CompoundCode code((borq_fuzz::scratch_directory() / "refl").string());

    std::ostringstream out;
    bool shelx_input = false;
    try {
        borq::sx_or_cry(code, shelx_input, out);
    } catch (const borq::InputFailure&) {
        invariant_failed("the reflection file written just now cannot be opened", "");
    }
    // Count and read in the detected layout, then in the other one.
    for (const bool layout : {shelx_input, !shelx_input}) {
        try {
            const std::int32_t n_refl = borq::count_reflections(code, layout);
            if (n_refl < 0) invariant_failed("negative reflection count", file_text);
            borq::HklInfo hkl_info;
            borq::FsqData fsq_data;
            if (layout) {
                borq::read_data_shelx(code, n_refl, hkl_info, fsq_data);
            } else {
                borq::read_data_cry(code, n_refl, hkl_info, fsq_data);
            }
            if (hkl_info.size() != static_cast<std::size_t>(n_refl) + 1 ||
                fsq_data.size() != static_cast<std::size_t>(n_refl) + 1)
                invariant_failed("reflection tables not sized from the count", file_text);
            if (layout == shelx_input) {
                const cs::SpaceGroup& group = run_groups()[(selector >> 1) % run_groups().size()];
                std::ostringstream report;
                run_in_scratch_directory(code, layout, n_refl, group, report);
                if (has_non_finite_text(report.str())) invariant_failed("the report shows a non-finite number",
                                                                        report.str());
            }
        } catch (const borq::InputFailure&) {
            // A clear failed-input report: the expected outcome for a bad file.
        }
    }
    return 0;
}
