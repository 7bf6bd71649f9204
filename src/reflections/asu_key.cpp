// The asymmetric-unit key by which reflections are sorted and Friedel
// opposites are paired.
#include "reflections/reflct_util.hpp"
#include "text/fortran_int.hpp"

namespace vorn_reflections_utilities {

using vorn_crystallographic_symmetry::at1;
using vorn_string_utilities::wrap_neg;

Hkl get_hequiv_asu(const Hkl& hkl, const SpaceGroup& group) {
    const std::int32_t n_ops = group.reduced_count;
    if (n_ops <= 0) return hkl;
    const std::int32_t last = n_ops < static_cast<std::int32_t>(group.operators.size())
                                  ? n_ops
                                  : static_cast<std::int32_t>(group.operators.size());

    // The images of hkl under the reduced operators, each up to its sign, form
    // the same set for hkl, for -hkl and for every equivalent of hkl.  Taking
    // the greatest member of that set (accepted asymmetric-unit forms first)
    // makes the key a property of the whole Friedel/Bijvoet orbit, whatever
    // the order of the operators and even where the class rule accepts no
    // image or several.  The class rule depends on the group alone, so it is
    // chosen once for all the images.
    const AsuRule rule = asu_rule(group);
    bool any_accepted = false;
    Hkl best_accepted{};
    Hkl best_image{};
    for (std::int32_t i = 1; i <= last; ++i) {
        const Hkl image = hr_i(hkl, at1(group.operators, i).rot);
        const Hkl form = asu_hkl(image, rule);
        if (form[0] != 0 || form[1] != 0 || form[2] != 0) {  // the zero triple: not accepted
            if (!any_accepted || form > best_accepted) best_accepted = form;
            any_accepted = true;
        }
        const Hkl opposite{wrap_neg(image[0]), wrap_neg(image[1]), wrap_neg(image[2])};
        const Hkl larger = image > opposite ? image : opposite;
        if (i == 1 || larger > best_image) best_image = larger;
    }
    return any_accepted ? best_accepted : best_image;
}

}  // namespace vorn_reflections_utilities
