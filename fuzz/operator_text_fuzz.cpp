// Operator texts on arbitrary input: whenever a triplet such as
// "x,y+1/2,-z" reads without error, its Jones-faithful text written back
// reads as the same operator.  Also the magnetic-operator reader, the
// crystal system of a list of texts, the writers on arbitrary operators and
// the point-operation identification of the rotations read.
#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_input.hpp"
#include "symmetry/symmetry.hpp"

namespace cs = vorn_crystallographic_symmetry;
using borq_fuzz::FuzzInput;
using borq_fuzz::invariant_failed;

namespace {

void round_trip(const std::string& text, std::int32_t start_pos, bool check_det) {
    cs::SymmetryOperator op;
    cs::read_xsym(text, start_pos, op.rot, op.tr, check_det);
    if (cs::err_symm) return;
    for (const float t : op.tr)
        if (!std::isfinite(t) && !borq_fuzz::tolerated("overflow"))
            invariant_failed("operator text read with a non-finite translation", text);
    const std::string written = cs::get_symsymbi(op.rot, op.tr);
    if (written.find(' ') != std::string::npos) invariant_failed("operator text holds a blank", written);
    // Asterisks stand for a coefficient or translation that no field can
    // show (no fraction i/j with i, j <= 24 within the tolerance).
    if (written.find('*') != std::string::npos) return;
    // Known: a row without coordinate or translation is written as an empty
    // field ("x,,z").
    if (borq_fuzz::tolerated("empty-field") &&
        (written.front() == ',' || written.back() == ',' || written.find(",,") != std::string::npos))
        return;
    cs::SymmetryOperator back;
    cs::read_xsym(written, 1, back.rot, back.tr, check_det);
    if (cs::err_symm) invariant_failed("written operator text does not read back", text + " -> " + written);
    if (!cs::equal_symop(op, back)) invariant_failed("written operator text reads as another operator",
                                                     text + " -> " + written);
    if (cs::get_symsymbi(back.rot, back.tr) != written)
        invariant_failed("operator text is not stable under a second round trip", text + " -> " + written);

    // Identification of the rotation among the model point operations.
    const std::string symel = cs::get_symel(op.rot);
    const std::string symkov = cs::get_symkov(op.rot);
    const std::string magnetic = cs::decodmatmag(op.rot);
    if (symel.size() != 14 || symkov.size() != 21 || magnetic.size() != 19)
        invariant_failed("point-operation text of the wrong width", text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 2048) return 0;
    FuzzInput input{data, size};
    const std::uint8_t selector = input.byte();
    switch (selector % 5) {
        case 0:
        case 1: {
            const std::int32_t start_pos = static_cast<std::int32_t>(input.byte() % 4) - 1;
            round_trip(input.rest(), start_pos, (selector & 0x80) != 0);
            break;
        }
        case 2: {
            cs::RotationMatrix matrix{};
            float phase = 0.0f;
            cs::read_msymm(input.rest(), matrix, phase, (selector & 0x80) != 0);
            break;
        }
        case 3: {
            // Arbitrary integer and real operators through the writers.
            cs::RotationMatrix rotation{};
            cs::RealMatrix real_matrix{};
            cs::Vector3 translation{};
            for (auto& row : rotation)
                for (auto& c : row) c = static_cast<std::int8_t>(input.byte());
            for (auto& row : real_matrix)
                for (auto& c : row) c = input.real();
            for (auto& t : translation) t = input.real();
            (void)cs::get_symsymbi(rotation, translation);
            (void)cs::get_symsymbr(real_matrix, translation);
            (void)cs::axes_rotation(rotation);
            std::int32_t model = 0;
            const std::int32_t first = static_cast<std::int8_t>(input.byte());
            const std::int32_t last = static_cast<std::int8_t>(input.byte());
            cs::searchop(rotation, first, last, model);
            (void)cs::get_symel(rotation);
            (void)cs::get_symkov(rotation);
            (void)cs::decodmatmag(rotation);
            break;
        }
        default: {
            const std::vector<std::string> texts = borq_fuzz::split_lines(input.rest());
            std::int32_t system = 0;
            char letter = ' ';
            cs::get_crystal_system_r_st(static_cast<std::int32_t>(texts.size()), texts, system, letter);
            break;
        }
    }
    return 0;
}
