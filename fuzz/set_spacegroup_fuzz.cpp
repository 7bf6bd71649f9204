// set_spacegroup on arbitrary text: numbers, Hermann-Mauguin and Hall
// symbols with suffixes, and generator lists.  No input may crash it, and
// whenever the error flag is clear the record must hold a group: the
// identity is there, every product of two operators is there (modulo lattice
// translations), and `multiplicity` counts distinct operators.
#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "fuzz_input.hpp"
#include "symmetry/symmetry.hpp"
#include "text/string_util.hpp"

namespace cs = vorn_crystallographic_symmetry;
using borq_fuzz::FuzzInput;
using borq_fuzz::invariant_failed;

namespace {

// Translations agree modulo whole cell edges within the operator tolerance.
bool same_modulo_lattice(const cs::SymmetryOperator& a, const cs::SymmetryOperator& b) {
    if (a.rot != b.rot) return false;
    for (int c = 0; c < 3; ++c) {
        const double d = static_cast<double>(a.tr[c]) - static_cast<double>(b.tr[c]);
        if (!(std::fabs(d - std::nearbyint(d)) <= 0.0005)) return false;
    }
    return true;
}

void check_group(const cs::SpaceGroup& group, const std::string& input) {
    const std::int32_t n = group.multiplicity;
    if (n < 1 || n > static_cast<std::int32_t>(cs::max_operators))
        invariant_failed("multiplicity out of range for a group built without error", input);
    if (group.reduced_count < 1 || group.reduced_count > n)
        invariant_failed("reduced_count out of range", input);
    if (group.centring_count < 1 || group.centring_count > static_cast<std::int32_t>(cs::max_centrings))
        invariant_failed("centring_count out of range", input);
    const auto ops = std::span<const cs::SymmetryOperator>(group.operators).first(static_cast<std::size_t>(n));

    cs::SymmetryOperator identity;
    for (int i = 0; i < 3; ++i) identity.rot[i][i] = 1;
    bool has_identity = false;
    for (const auto& op : ops) has_identity = has_identity || same_modulo_lattice(op, identity);
    if (!has_identity) invariant_failed("the group lacks the identity", input);

    for (std::size_t i = 0; i < ops.size(); ++i)
        for (std::size_t j = i + 1; j < ops.size(); ++j)
            if (same_modulo_lattice(ops[i], ops[j])) invariant_failed("an operator is stored twice", input);

    for (const auto& a : ops) {
        for (const auto& b : ops) {
            const cs::SymmetryOperator ab = cs::product_symop(a, b);
            bool found = false;
            for (const auto& c : ops) {
                if (same_modulo_lattice(ab, c)) {
                    found = true;
                    break;
                }
            }
            if (!found) invariant_failed("the operators are not closed under products", input);
        }
    }
}

// Local exploration past recorded findings (BORQ_FUZZ_TOLERATE): generator
// lists with a translation that overflows to infinity ("overflow") or with
// a matrix that is no crystallographic rotation ("rotation").
bool known_generator_finding(const std::vector<std::string>& generators) {
    const bool overflow = borq_fuzz::tolerated("overflow");
    const bool rotation = borq_fuzz::tolerated("rotation");
    if (!overflow && !rotation) return false;
    for (const auto& text : generators) {
        cs::SymmetryOperator op;
        cs::read_xsym(text, 1, op.rot, op.tr);
        if (cs::err_symm) continue;
        for (const float t : op.tr)
            if (overflow && !std::isfinite(t)) return true;
        const auto& m = op.rot;
        auto e = [&m](int i, int j) { return static_cast<std::int64_t>(m[i][j]); };
        const std::int64_t det = e(0, 0) * (e(1, 1) * e(2, 2) - e(1, 2) * e(2, 1)) -
                                 e(0, 1) * (e(1, 0) * e(2, 2) - e(1, 2) * e(2, 0)) +
                                 e(0, 2) * (e(1, 0) * e(2, 1) - e(1, 1) * e(2, 0));
        if (rotation && det != 1 && det != -1) return true;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 1024) return 0;
    FuzzInput input{data, size};
    const std::uint8_t selector = input.byte();
    const std::string text = input.rest();

    // The first line is the symbol, further lines are generators.
    std::vector<std::string> lines = borq_fuzz::split_lines(text);
    const std::string symbol = lines.empty() ? std::string() : lines[0];
    std::vector<std::string> generators;
    if (lines.size() > 1) generators.assign(lines.begin() + 1, lines.end());

    if (known_generator_finding(generators)) return 0;

    static const std::array<std::string_view, 5> modes = {"HMS", "HAL", "ITC", "GEN", "FIX"};
    const bool use_hall = (selector & 0x80) != 0;
    const int mode_choice = selector % 8;  // 0..2: no route code, 3..7: a route code

    static cs::SpaceGroup group;
    bool full_list = false;
    if (mode_choice < 3) {
        if (generators.empty()) {
            cs::set_spacegroup(symbol, group, std::nullopt, std::nullopt, std::nullopt, use_hall);
        } else {
            cs::set_spacegroup(symbol, group, std::span<const std::string>(generators),
                               static_cast<std::int32_t>(generators.size()), std::nullopt, use_hall);
        }
    } else {
        const std::string_view mode = modes[static_cast<std::size_t>(mode_choice - 3)];
        full_list = mode == "FIX";
        const auto num_gen = static_cast<std::int32_t>((selector >> 3) & 0x0f) == 0x0f
                                 ? static_cast<std::int32_t>(generators.size()) + 1
                                 : static_cast<std::int32_t>(generators.size());
        cs::set_spacegroup(symbol, group, std::span<const std::string>(generators), num_gen, mode, use_hall);
    }
    // A complete list is taken as the user gives it; only the routes that
    // generate the group promise one.
    if (!cs::err_symm && !full_list) check_group(group, text);
    return 0;
}
