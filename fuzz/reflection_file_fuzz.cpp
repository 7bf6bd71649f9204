// The reflection-file path on arbitrary file contents: layout detection,
// counting and reading in both layouts, and the whole statistics run on what
// was read, with one of a few space groups.  A failed input is reported as
// borq::InputFailure (exit status 2 in a run) and is an accepted outcome;
// anything else that goes wrong is a finding.  The report must never show a
// NaN or an infinity.
#include <array>
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
// trigonal, rhombohedral axes, a centrosymmetric one, and the unresolved
// symbol (no operators).
const std::array<cs::SpaceGroup, 7>& run_groups() {
    static const std::array<cs::SpaceGroup, 7> groups = [] {
        std::array<cs::SpaceGroup, 7> g;
        const std::array<std::string_view, 6> symbols = {"P 1", "P 21 21 21", "P 1 21 1", "P 32 2 1", "R 3 :R",
                                                         "P 21/c"};
        for (std::size_t i = 0; i < symbols.size(); ++i) cs::set_spacegroup(symbols[i], g[i]);
        cs::reset_spacegroup(g[6]);
        return g;
    }();
    return groups;
}

bool has_non_finite_text(const std::string& report) {
    for (const char* bad : {"nan", "NaN", "NAN", "inf", "Inf", "INF"})
        if (report.find(bad) != std::string::npos) return true;
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The run writes its tables into the working directory.
    std::filesystem::current_path(borq_fuzz::scratch_directory());
    run_groups();
    return 0;
}

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
                borq::run_statistics(code, layout, n_refl, group, report);
                if (has_non_finite_text(report.str())) invariant_failed("the report shows a non-finite number",
                                                                        report.str());
            }
        } catch (const borq::InputFailure&) {
            // A clear failed-input report: the expected outcome for a bad file.
        }
    }
    return 0;
}
