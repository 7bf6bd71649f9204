// Identification of a rotation among the model point operations of m-3m
// (Oh, 48 operations) and 6/mmm (D6h, 24 operations), and its names: the
// international symbol with the location of its element, the Kovalev label
// and the image of a magnetic moment.
#include <algorithm>

#include "symmetry/symmetry.hpp"
#include "tables/sym_table.hpp"

namespace vorn_crystallographic_symmetry {

namespace tab = vorn_symmetry_tables;

namespace {

constexpr std::int32_t first_cubic = 1;
constexpr std::int32_t last_cubic = 24;
constexpr std::int32_t first_hexagonal = 25;
constexpr std::int32_t last_hexagonal = 36;

RotationMatrix negated(const RotationMatrix& m) {
    RotationMatrix r{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) r[i][j] = -m[i][j];
    return r;
}

// Entry (1-based) of the cubic or hexagonal name tables for a signed model
// index, or 0 when the index names no entry of that family.
std::int32_t family_entry(std::int32_t model_index, bool hexagonal) {
    const std::int32_t j = model_index < 0 ? -model_index : model_index;
    if (!hexagonal) {
        if (j < first_cubic || j > last_cubic) return 0;
        return model_index > 0 ? j : 24 + j;
    }
    if (j < first_hexagonal || j > last_hexagonal) return 0;
    return model_index > 0 ? j - 24 : j - 12;
}

}  // namespace

void searchop(const RotationMatrix& rotation, std::int32_t first, std::int32_t last, std::int32_t& model_index) {
    init_err_symm();
    model_index = 0;
    // Only the 36 tabulated models exist: a wider range is searched where it
    // overlaps them.
    const std::int32_t lo = std::max(first, 1);
    const std::int32_t hi = std::min(last, tab::num_mod6);
    for (std::int32_t j = lo; j <= hi; ++j)
        if (tab::mod6[static_cast<std::size_t>(j)] == rotation) {
            model_index = j;
            return;
        }
    const RotationMatrix minus = negated(rotation);
    for (std::int32_t j = lo; j <= hi; ++j)
        if (tab::mod6[static_cast<std::size_t>(j)] == minus) {
            model_index = -j;
            return;
        }
    std::string message = " Try to re-write your S.O. using a rotational part";
    if (first == first_cubic && last == last_cubic)
        message += " identical to a S.O. of the space group P m -3 m";
    else if (first == first_hexagonal && last == last_hexagonal)
        message += " identical to a S.O. of the space group P 6/m m m";
    else
        message += " identical to a S.O. of the space group P m -3 m or P 6/m m m";
    set_err_symm(message);
}

std::string get_symel(const RotationMatrix& rotation) {
    std::int32_t index = 0;
    if (hexa) searchop(rotation, first_hexagonal, last_hexagonal, index);
    else searchop(rotation, first_cubic, last_cubic, index);
    const std::int32_t e = family_entry(index, hexa);
    if (e == 0) return std::string(14, ' ');
    return hexa ? tab::intsymd6h[static_cast<std::size_t>(e)].str() : tab::intsymoh[static_cast<std::size_t>(e)].str();
}

std::string get_symkov(const RotationMatrix& rotation) {
    std::int32_t index = 0;
    if (hexa) searchop(rotation, first_hexagonal, last_hexagonal, index);
    else searchop(rotation, first_cubic, last_cubic, index);
    const std::int32_t e = family_entry(index, hexa);
    if (e == 0) return std::string(21, ' ');
    const auto k = static_cast<std::size_t>(e);
    if (hexa) return tab::intsymd6h[k].str() + " -> " + tab::kov_d6h[k].str();
    return tab::intsymoh[k].str() + " -> " + tab::kov_oh[k].str();
}

std::string decodmatmag(const RotationMatrix& rotation) {
    std::int32_t index = 0;
    searchop(rotation, first_cubic, last_hexagonal, index);
    const std::int32_t a = index < 0 ? -index : index;
    if (a == 0) return std::string(19, ' ');
    // Rows 1-48 of the moment images follow the cubic operations, rows 49-72
    // the hexagonal ones; a hexagonal model is named from the hexagonal rows
    // whatever the flag says.
    std::int32_t row = 0;
    if (a <= last_cubic) row = index > 0 ? a : 24 + a;
    else row = index > 0 ? a + 24 : a + 36;
    return tab::magmat[static_cast<std::size_t>(row)].str();
}

}  // namespace vorn_crystallographic_symmetry
