// The Hall-symbol route reads explicit-origin Hall symbols into the reduced
// operator list, with the centre of symmetry and the change of origin applied
// to the whole group, and refuses text outside the Hall grammar.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "symmetry/symmetry.hpp"

namespace {

using namespace vorn_crystallographic_symmetry;

struct HallResult {
    std::int32_t system = -1, centre_code = -1, lattice = -1, count = -1, generators = -1;
    std::array<RotationMatrix, 24> rotations{};
    std::array<Vector3, 24> translations{};
    FixedText<2> bravais;
    Vector3 centre{};
    std::vector<std::string> texts() const {
        std::vector<std::string> t;
        for (int k = 0; k < count; ++k) t.push_back(get_symsymbi(rotations[k], translations[k]));
        return t;
    }
};

HallResult hall(std::string_view symbol) {
    HallResult r;
    get_so_from_hall(r.system, r.centre_code, r.lattice, r.count, r.rotations, r.translations, r.bravais, r.centre,
                     r.generators, symbol);
    return r;
}

// All operators of a built group, translations reduced into [0,1), sorted.
std::vector<std::string> group_texts(const SpaceGroup& g) {
    std::vector<std::string> texts;
    for (int i = 0; i < g.multiplicity; ++i) {
        Vector3 t = g.operators[i].tr;
        for (float& c : t) {
            const long n = ((std::lround(c * 24.0) % 24) + 24) % 24;
            c = static_cast<float>(n) / 24.0f;
        }
        texts.push_back(get_symsymbi(g.operators[i].rot, t));
    }
    std::sort(texts.begin(), texts.end());
    return texts;
}

std::vector<std::string> split(const std::string& s) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t p; (p = s.find(';', start)) != std::string::npos; start = p + 1) parts.push_back(s.substr(start, p - start));
    parts.push_back(s.substr(start));
    return parts;
}

TEST(HallRoute, IdentityInversionAndCentreCodes) {
    for (const char* s : {"P 1", "-P 1", "P -1"}) {
        const HallResult r = hall(s);
        EXPECT_FALSE(err_symm) << s;
        EXPECT_EQ(r.count, 1) << s;
        EXPECT_EQ(r.generators, 1) << s;
        EXPECT_EQ(r.texts(), std::vector<std::string>{"x,y,z"}) << s;
        EXPECT_EQ(r.bravais.trimmed(), "aP") << s;
    }
    EXPECT_EQ(hall("P 1").centre_code, 1);
    EXPECT_EQ(hall("-P 1").centre_code, 2);
    EXPECT_EQ(hall("P -1").centre_code, 2);
}

TEST(HallRoute, CentreOffTheOrigin) {
    HallResult r = hall("P 2 2 -1n");
    EXPECT_EQ(r.count, 4);
    EXPECT_EQ(r.centre_code, 0);
    EXPECT_EQ(r.centre, (Vector3{0.25f, 0.25f, 0.25f}));
    r = hall("F 4d 2 3 -1d");
    EXPECT_EQ(r.count, 24);
    EXPECT_EQ(r.centre_code, 0);
    EXPECT_EQ(r.centre, (Vector3{0.125f, 0.125f, 0.125f}));
    EXPECT_EQ(r.bravais.trimmed(), "cF");
    EXPECT_EQ(lat_ch, 'F');
    EXPECT_EQ(nlat, 4);
}

TEST(HallRoute, OrderOfTheReducedList) {
    // The twofold of I 4bw is dropped as a power (its translation is the I
    // centring) and comes back as the product of the fourfold with itself.
    EXPECT_EQ(hall("I 4bw").texts(),
              (std::vector<std::string>{"x,y,z", "-y,x+1/2,z+1/4", "y+1/2,-x,z+3/4", "-x,-y,z"}));
    const HallResult r = hall("P 31 2c (0 0 1)");
    ASSERT_EQ(r.count, 6);
    const float expected_z[] = {0.0f, 1.0f / 3.0f, 2.0f / 3.0f, 2.0f / 3.0f, 0.0f, 1.0f / 3.0f};
    for (int k = 0; k < 6; ++k) EXPECT_NEAR(r.translations[k][2], expected_z[k], 1e-6) << k;
    EXPECT_EQ(r.system, 5);
    EXPECT_EQ(r.bravais.trimmed(), "hP");
}

TEST(HallRoute, LetterCaseIsFree) {
    EXPECT_EQ(hall("p 2ac 2ab").texts(), hall("P 2ac 2ab").texts());
    EXPECT_EQ(hall("  P 2ac 2ab").texts(), hall("P 2ac 2ab").texts());
}

// Text outside the Hall grammar sets the error flag with a blank message;
// an unknown lattice letter has its own message.
TEST(HallRoute, MalformedSymbolsAreRefused) {
    const char* blank_message[] = {
        "P  2",            // two blanks before a part
        "P 2  2",          // two blanks between parts
        "P 5",             // no fivefold axis
        "P 21",            // a twofold screw is written with a translation letter
        "P2",              // nothing may follow the lattice letter directly
        "P21/c",           // a Hermann-Mauguin symbol is no Hall symbol
        "R 3:H",           // nor is a setting suffix
        "P 2 2 2 2 2",     // a fifth rotation part
        "P 3*1",           // a screw digit along a diagonal axis
        "P 2 (0 0 1 1)",   // four origin-shift components
        "P 2 (0 0 6)",     // shift components are signed digits 0..5
        "P 2 -",           // a trailing "-"
        "P 2 2 -1n 2",     // parts after the inversion part
        "-P 2 -1",         // an inversion part besides the leading "-"
        "P 2ac 2ab 2ab 2ab",  // 17 significant characters: no Hall symbol
        "P 2ac 2ab (0 0 1 )", // the same with a change of origin
        "P 2 (0 0 1) 2",   // text after the change of origin
        "P 2x/",           // a character outside the grammar
        "-P 2:1",
        "P 1n",            // a translation without a rotation
    };
    for (const char* s : blank_message) {
        hall(s);
        EXPECT_TRUE(err_symm) << s;
        EXPECT_EQ(err_symm_mess, "") << s;
    }
    for (const char* s : {"Z 2", "-Q 1", "-"}) {
        const HallResult r = hall(s);
        EXPECT_TRUE(err_symm) << s;
        EXPECT_EQ(err_symm_mess, " IBRAVL is Equal Zero") << s;
        EXPECT_EQ(r.count, 0);
        EXPECT_EQ(r.lattice, 0);
    }
    // The scan of the change of origin runs to ")" or to the end.
    EXPECT_EQ(hall("P 2 (0 0 1").texts(), hall("P 2 (0 0 1)").texts());
    EXPECT_FALSE(err_symm);
}

TEST(HallRoute, TableOverflow) {
    // A sixfold axis along c with a threefold along the body diagonal
    // generates no finite crystallographic group.
    const HallResult r = hall("P 6 3*");
    EXPECT_TRUE(err_symm);
    EXPECT_EQ(err_symm_mess, " Dimension of Table exceeded (II)");
    EXPECT_EQ(r.count, 0);
}

// An inversion part without translation is the inversion at the origin,
// read like a leading "-": no operator is listed twice.
TEST(HallRoute, InversionPartAtTheOrigin) {
    const HallResult a = hall("P 2 -1");
    const HallResult b = hall("-P 2");
    EXPECT_FALSE(err_symm);
    EXPECT_EQ(a.texts(), b.texts());
    EXPECT_EQ(a.centre_code, 2);
    EXPECT_EQ(a.count, 2);
    SpaceGroup g;
    set_spacegroup("P 2 -1", g, std::nullopt, std::nullopt, "HAL");
    EXPECT_EQ(g.multiplicity, 4);
    EXPECT_EQ(group_texts(g), split("-x,-y,-z;-x,-y,z;x,y,-z;x,y,z"));
}

// The change of origin moves the whole group, the inversion included; the
// expected sets are those of an independent library.
TEST(HallRoute, ChangeOfOriginMovesTheInversion) {
    SpaceGroup g;
    set_spacegroup("-P 2 (0 0 1)", g, std::nullopt, std::nullopt, "HAL");
    EXPECT_FALSE(err_symm);
    EXPECT_EQ(group_texts(g), split("-x,-y,-z+1/6;-x,-y,z;x,y,-z+1/6;x,y,z"));
    EXPECT_EQ(g.centre_code, 0);
    EXPECT_NEAR(g.centre_coordinates[2], 1.0f / 12.0f, 1e-6);
    EXPECT_EQ(g.centrosymmetry_text.trimmed(), "Centric (-1 not at origin)  Gen(-1):-x,-y,-z+1/6");

    std::vector<std::string> shifted_inversion = group_texts(g);
    set_spacegroup("P 2 -1 (0 0 1)", g, std::nullopt, std::nullopt, "HAL");
    EXPECT_EQ(group_texts(g), shifted_inversion);
    EXPECT_EQ(g.centre_code, 0);

    set_spacegroup("P 2 2 -1n (1 0 0)", g, std::nullopt, std::nullopt, "HAL");
    EXPECT_FALSE(err_symm);
    EXPECT_EQ(group_texts(g), split("-x+1/6,-y,z;-x+1/6,y,-z;-x+2/3,-y+1/2,-z+1/2;-x+2/3,y+1/2,z+1/2;"
                                    "x+1/2,-y+1/2,z+1/2;x+1/2,y+1/2,-z+1/2;x,-y,-z;x,y,z"));
    EXPECT_EQ(g.centre_code, 0);
    EXPECT_NEAR(g.centre_coordinates[0], 1.0f / 3.0f, 1e-6);
    EXPECT_NEAR(g.centre_coordinates[1], 0.25f, 1e-6);
    EXPECT_NEAR(g.centre_coordinates[2], 0.25f, 1e-6);
    // The record keeps 16 characters of the symbol, which still name the group.
    EXPECT_EQ(g.hall_symbol.trimmed(), "P 2 2 -1N (1 0 0");
    const std::vector<std::string> texts = group_texts(g);
    set_spacegroup(g.hall_symbol.view(), g, std::nullopt, std::nullopt, "HAL");
    EXPECT_EQ(group_texts(g), texts);
}

}  // namespace
