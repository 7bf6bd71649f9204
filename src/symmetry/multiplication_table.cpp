// Multiplication (Cayley) table of the operators stored in a space-group
// record.
#include <algorithm>

#include "symmetry/symmetry.hpp"

namespace vorn_crystallographic_symmetry {

void set_spg_mult_table(const SpaceGroup& group, std::vector<std::vector<std::int32_t>>& mult_table, bool full) {
    char letter = group.lattice_letter[0];
    std::int32_t n = group.centre_code != 1 ? 2 * group.reduced_count : group.reduced_count;
    if (full) {
        // Every stored operator, the centring copies included, as a distinct
        // element: no lattice translation is allowed.
        letter = 'P';
        n = group.multiplicity;
    }
    // The record holds at most 192 operators; a count beyond them names none.
    n = std::clamp(n, 0, static_cast<std::int32_t>(max_operators));
    mult_table.assign(static_cast<std::size_t>(n), std::vector<std::int32_t>(static_cast<std::size_t>(n), 0));
    for (std::int32_t i = 1; i <= n; ++i) {
        for (std::int32_t j = 1; j <= n; ++j) {
            const SymmetryOperator product =
                product_symop(at1(group.operators, static_cast<std::size_t>(i)),
                              at1(group.operators, static_cast<std::size_t>(j)));
            std::int32_t found = 0;
            for (std::int32_t k = 1; k <= n && found == 0; ++k)
                if (equiv_symop(product, at1(group.operators, static_cast<std::size_t>(k)), letter)) found = k;
            if (found == 0) {
                set_err_symm(" Problems constructing the multiplication Table of the space group: " +
                             std::string(group.hm_symbol.trimmed()));
                return;
            }
            at1(at1(mult_table, static_cast<std::size_t>(i)), static_cast<std::size_t>(j)) = found;
        }
    }
}

}  // namespace vorn_crystallographic_symmetry
