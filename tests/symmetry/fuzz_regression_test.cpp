// Inputs that coverage-guided fuzzing of the operator texts and of the
// space-group construction turned up: each must be handled as the readers
// and builders promise (a clear error, or a result that reads back).
#include <gtest/gtest.h>

#include <cmath>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "symmetry/symmetry.hpp"

namespace {

using namespace vorn_crystallographic_symmetry;

// A triplet read without the determinant check may have a row without any
// coordinate or translation (a projection such as "x,0,z").  Written back,
// that row must still be a readable field ("0"), so that every operator the
// reader accepts survives a write and a second read unchanged (an empty
// field, "x,,z", would read as a blank field).
TEST(OperatorTextFuzzRegression, ZeroRowWrittenAsReadableField) {
    for (const char* text : {"x,0,z", "x,-+,z", "-0,y,z", "y,x,/3", "y,x+1/2,0"}) {
        SymmetryOperator op;
        read_xsym(text, 1, op.rot, op.tr, false);
        ASSERT_FALSE(err_symm) << text;
        const std::string written = get_symsymbi(op.rot, op.tr);
        SymmetryOperator back;
        read_xsym(written, 1, back.rot, back.tr, false);
        EXPECT_FALSE(err_symm) << text << " -> " << written << ": " << err_symm_mess;
        EXPECT_TRUE(equal_symop(op, back)) << text << " -> " << written;
    }
}

// A translation whose digits overflow a 32-bit real ("-x+1,-y,777...7-z" with
// fifty digits) becomes infinite: the reader must refuse it, since no
// operator has an infinite translation and every product with it is NaN (a
// generator list holding it built an operator set that is not closed).
TEST(OperatorTextFuzzRegression, OverflowingTranslationRefused) {
    const std::string text = "-x+1,-y," + std::string(50, '7') + "-z";
    SymmetryOperator op;
    read_xsym(text, 1, op.rot, op.tr);
    EXPECT_TRUE(err_symm) << text << " read with translation " << op.tr[2];

    const std::vector<std::string> generators = {text, "x,-y,-z"};
    SpaceGroup g;
    set_spacegroup("user", g, std::span<const std::string>(generators), 2, "GEN");
    EXPECT_TRUE(err_symm) << "generators " << text << " ; x,-y,-z";
}

// Operators equal up to a whole-cell translation.
bool same_modulo_lattice(const SymmetryOperator& a, const SymmetryOperator& b) {
    if (a.rot != b.rot) return false;
    for (int c = 0; c < 3; ++c) {
        const double d = static_cast<double>(a.tr[c]) - static_cast<double>(b.tr[c]);
        if (!(std::fabs(d - std::nearbyint(d)) <= 0.0005)) return false;
    }
    return true;
}

// The record built without error is a group: identity, no operator twice,
// closed under products modulo lattice translations.  Empty text when it
// is, otherwise what is wrong.
std::string group_fault(const SpaceGroup& g) {
    const auto n = static_cast<std::size_t>(g.multiplicity);
    if (n < 1 || n > max_operators) return "multiplicity " + std::to_string(g.multiplicity);
    SymmetryOperator identity;
    for (int i = 0; i < 3; ++i) identity.rot[i][i] = 1;
    bool has_identity = false;
    for (std::size_t i = 0; i < n; ++i) has_identity = has_identity || same_modulo_lattice(g.operators[i], identity);
    if (!has_identity) return "no identity";
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = i + 1; j < n; ++j)
            if (same_modulo_lattice(g.operators[i], g.operators[j]))
                return "operator " + std::to_string(i + 1) + " stored again as " + std::to_string(j + 1) + " (" +
                       std::string(g.operator_symbols[i].trimmed()) + ")";
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = 0; j < n; ++j) {
            const SymmetryOperator p = product_symop(g.operators[i], g.operators[j]);
            bool found = false;
            for (std::size_t k = 0; k < n && !found; ++k) found = same_modulo_lattice(p, g.operators[k]);
            if (!found)
                return "product of " + std::string(g.operator_symbols[i].trimmed()) + " and " +
                       std::string(g.operator_symbols[j].trimmed()) + " missing";
        }
    }
    return "";
}

// Either refused with the error flag or built as a true group.
void expect_error_or_group(const std::string& symbol) {
    SpaceGroup g;
    set_spacegroup(symbol, g);
    if (err_symm) return;
    EXPECT_EQ(group_fault(g), "") << "symbol \"" << symbol << "\"";
}

// The tabulated symbols themselves build groups: the check above is sound.
TEST(SpaceGroupFuzzRegression, TabulatedSymbolsBuildGroups) {
    for (const char* symbol : {"P 1", "P 21/c", "I a 3 d", "F d 3 c", "R -3 c:r", "-P 2ybc", "P 61 2 2", "F m -3 m",
                               "P 4 2 2     :1"}) {
        SpaceGroup g;
        set_spacegroup(symbol, g);
        ASSERT_FALSE(err_symm) << symbol << ": " << err_symm_mess;
        EXPECT_EQ(group_fault(g), "") << symbol;
    }
}

// A Hall symbol with a "1" rotation part ("P 4 1", "B 1 1") generates the
// identity again: the operator list must not hold it twice (multiplicity
// counts distinct operators).
TEST(SpaceGroupFuzzRegression, HallIdentityPartStoredOnce) {
    for (const char* symbol : {"P 1 1", "P 4 1", "P 42 1 2", "P -4 1", "B 1 1", "-I 1 2c", "P 61 1 (0 0"})
        expect_error_or_group(symbol);
}

// Hall symbols whose rotations do not map the centring lattice onto itself
// ("-R 2", "-I 3", "F 6") or whose axis translations give a pure translation
// outside the lattice ("-C 1c 2") describe no space group: they must be
// refused, never built as an operator list that is not closed.
TEST(SpaceGroupFuzzRegression, HallSymbolOfNoSpaceGroupRefused) {
    for (const char* symbol : {"-R 2", "R 2c", "-I 3", "F 6", "-F 3", "A -3a 2", "-C 1c 2", "I 2bw 2bw"})
        expect_error_or_group(symbol);
}

// A symbol matched to a settings row on its first 12 characters must not be
// built from a longer text: "I A 3 D     c" is either refused or the group
// of "I a 3 d", never a 96-operator list that is not closed.
TEST(SpaceGroupFuzzRegression, TextBeyondTheMatchedSymbolIgnoredOrRefused) {
    SpaceGroup reference;
    set_spacegroup("I a 3 d", reference);
    ASSERT_FALSE(err_symm);
    for (const char* symbol : {"I A 3 D     c", "I a 3 d     2C 3P 42z", "F D 3 C     -P"}) {
        SpaceGroup g;
        set_spacegroup(symbol, g);
        if (err_symm) continue;
        EXPECT_EQ(group_fault(g), "") << symbol;
        if (std::string_view(symbol).substr(0, 1) == "I") {
            EXPECT_TRUE(spgr_equal(g, reference)) << symbol;
        }
    }
}

// A generator that is the identity up to a whole-cell translation ("x+1,y,z")
// is no centring: it must not become a null "Z" centring vector that stores
// every operator twice.
TEST(SpaceGroupFuzzRegression, IntegerTranslationGeneratorAddsNoCentring) {
    for (const std::vector<std::string>& generators :
         {std::vector<std::string>{"x+1,y,z", "-x,-y,-z"}, std::vector<std::string>{"x,y,z+1", "-x,-y,z+1/2"},
          std::vector<std::string>{"x+21,y+1,z", "-x,-y,-z"}}) {
        SpaceGroup g;
        set_spacegroup("user", g, std::span<const std::string>(generators),
                       static_cast<std::int32_t>(generators.size()), "GEN");
        if (err_symm) continue;
        EXPECT_EQ(group_fault(g), "") << generators[0] << " ; " << generators[1];
    }
}

// A generator whose matrix is no crystallographic rotation ("-8y+2/3,z+2x,z",
// determinant 16) has powers whose elements grow without bound: the
// generator route must refuse it with an error instead of multiplying it
// until the 32-bit elements overflow (undefined behaviour in the crystal
// system count).
TEST(SpaceGroupFuzzRegression, NonCrystallographicGeneratorRefused) {
    for (const std::vector<std::string>& generators :
         {std::vector<std::string>{"-8y+2/3,z+2x,z"}, std::vector<std::string>{"2x,y,z"},
          std::vector<std::string>{"x+y,y,z", "-x,-y,z"}}) {
        SpaceGroup g;
        set_spacegroup("user", g, std::span<const std::string>(generators),
                       static_cast<std::int32_t>(generators.size()), "GEN");
        EXPECT_TRUE(err_symm) << generators[0];
    }
}

}  // namespace
