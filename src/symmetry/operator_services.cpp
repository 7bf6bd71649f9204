// Small services on single operators: the product of two operator texts,
// the symmetry-translation code ("_3.654": operator 3 moved by (1,0,-1)) and
// the labelled operator line with its element symbol, Kovalev label and
// Seitz symbol from the tabulated cubic or hexagonal point operations.
#include <cmath>

#include "symmetry/symmetry.hpp"
#include "tables/sym_table.hpp"
#include "text/fortran_format.hpp"
#include "text/string_util.hpp"

namespace vorn_crystallographic_symmetry {

namespace su = vorn_string_utilities;
namespace tab = vorn_symmetry_tables;

void sym_prod_st(std::string_view op_a, std::string_view op_b, std::string& op_ab, std::optional<bool> mod_lat) {
    SymmetryOperator a, b;
    read_xsym(op_a, 1, a.rot, a.tr);
    // The first fault read is the one reported.
    const bool fault_a = err_symm;
    const std::string message_a = err_symm_mess;
    read_xsym(op_b, 1, b.rot, b.tr);
    if (fault_a) {
        init_err_symm();
        set_err_symm(message_a);
    }
    const SymmetryOperator ab = sym_prod(a, b, mod_lat.value_or(true));
    // The whole text, never cut: a short field only gets its blank padding.
    op_ab = get_symsymbi(ab.rot, ab.tr);
    if (op_ab.size() < op_a.size()) op_ab.resize(op_a.size(), ' ');
}

void write_symtrans_code(std::int32_t op_number, const Vector3& translation, std::string& code) {
    const std::size_t width = code.size();
    code.assign(width, ' ');
    if (op_number < 1) return;
    std::string text = "_" + std::string(su::trim_both(su::format_i(op_number, 3)));
    // Digit of the nearest integer (halves away from zero) shifted by 5; only
    // values that round into -5..4 are converted at all.
    std::string digits;
    bool null_translation = true;
    for (float t : translation) {
        if (t > -5.5f && t < 4.5f) {
            const std::int32_t d = static_cast<std::int32_t>(std::round(t)) + 5;
            digits += static_cast<char>('0' + d);
            null_translation = null_translation && d == 5;
        } else {
            digits += '*';
            null_translation = false;
        }
    }
    if (null_translation) {
        if (text == "_1") text.clear();
    } else {
        text += "." + digits;
    }
    code = su::fixed(text, width);
}

void write_sym(std::int32_t iunit, std::int32_t op_number, const RotationMatrix& rot, const Vector3& tr,
               float mag_phase, bool mag_line) {
    // Cubic rows 1-24 proper and 25-48 improper; hexagonal rows 1-12 and 13-24
    // for the models 25-36 and their negatives.
    std::int32_t model_index = 0;
    if (hexa) searchop(rot, 25, 36, model_index);
    else searchop(rot, 1, 24, model_index);
    std::int32_t row = 0;
    if (model_index > 0) row = hexa ? model_index - 24 : model_index;
    else if (model_index < 0) row = hexa ? -model_index - 12 : -model_index + 24;

    std::string element, label, seitz, moment(hexa ? 19 : 13, ' ');
    if (row > 0) {
        const auto r = static_cast<std::size_t>(row);
        element = hexa ? tab::intsymd6h[r].trimmed() : tab::intsymoh[r].trimmed();
        label = hexa ? tab::kov_d6h[r].trimmed() : tab::kov_oh[r].trimmed();
        seitz.assign(40, ' ');
        get_seitz(row, tr, seitz);
        seitz = su::trim_right(seitz);
        moment = hexa ? tab::magmat[48 + r].str() : tab::magmat[r].str().substr(0, 13);
    }
    su::write_line(iunit, su::format_i(op_number, 4) + " :: " + element + " :: " + label + " :: " +
                          get_symsymbi(rot, tr) + " :: " + seitz);
    if (mag_line)
        su::write_line(iunit, "      (" + su::format_i(op_number, 2) + "): " + moment + " MPhas: " +
                              su::format_f(mag_phase, 12, 4));
}

}  // namespace vorn_crystallographic_symmetry
