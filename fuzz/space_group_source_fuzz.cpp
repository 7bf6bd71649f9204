// The space-group source of a run on arbitrary input: the symbol from the
// CIF key of either layout, or the answer on standard input when there is no
// CIF, and the group built from it.  A failed input (no key, an empty
// answer) is reported as borq::InputFailure, the accepted outcome.
#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>

#include "app/borq.hpp"
#include "fuzz_input.hpp"
#include "symmetry/symmetry.hpp"
#include "text/string_util.hpp"

namespace cs = vorn_crystallographic_symmetry;
using borq_fuzz::FuzzInput;
using borq_fuzz::invariant_failed;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 16384) return 0;
    FuzzInput input{data, size};
    const std::uint8_t selector = input.byte();
    const bool shelx_input = (selector & 1) != 0;
    const bool from_cif = (selector & 2) != 0;
    const std::string text = input.rest();

    const std::filesystem::path base = borq_fuzz::scratch_directory() / "group";
    const std::string cif_name = base.string() + ".cif";
    std::error_code ignored;
    std::filesystem::remove(cif_name, ignored);
    if (from_cif) borq_fuzz::write_scratch_file("group.cif", text);
    const borq::CompoundCode code(base.string());

    std::istringstream answer(from_cif ? std::string() : text);
    std::ostringstream out;
    try {
        const std::string symbol = borq::space_group_text(code, shelx_input, out, answer);
        if (symbol.size() != 240) invariant_failed("space-group text not 240 characters", symbol);
        if (from_cif && symbol.find('\'') != std::string::npos)
            invariant_failed("apostrophe left in the CIF symbol", symbol);
        static cs::SpaceGroup group;
        std::istringstream answer_again(from_cif ? std::string() : text);
        borq::obtain_space_group(code, shelx_input, group, out, answer_again);
        if (group.multiplicity < 0 || group.multiplicity > static_cast<std::int32_t>(cs::max_operators))
            invariant_failed("multiplicity out of range", symbol);
    } catch (const borq::InputFailure&) {
        // A clear failed-input report: the expected outcome.
    }
    return 0;
}
