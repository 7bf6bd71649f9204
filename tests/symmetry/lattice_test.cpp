// Lattice centring: the lattice state that a centring letter sets, the
// lattice-translation test, the closing of unconventional centring lists and
// the largest conventional centring a list contains.
#include <gtest/gtest.h>

#include <vector>

#include "symmetry/symmetry.hpp"

namespace sym = vorn_crystallographic_symmetry;
using sym::Vector3;

TEST(LatticeState, ConventionalLetters) {
    for (const char* symbol : {"-P", " p", "P", "-P 2ac 2n"}) {
        sym::latsym(symbol);
        EXPECT_FALSE(sym::err_symm) << symbol;
        EXPECT_EQ(sym::lat_ch, 'P') << symbol;
        EXPECT_EQ(sym::nlat, 1) << symbol;
        EXPECT_EQ(sym::inlat, 1) << symbol;
    }
    sym::latsym("f");
    EXPECT_EQ(sym::lat_ch, 'F');
    EXPECT_EQ(sym::nlat, 4);
    EXPECT_EQ(sym::inlat, 7);
    EXPECT_EQ(sym::ltr[0], (Vector3{0, 0, 0}));
    EXPECT_EQ(sym::ltr[1], (Vector3{0.5f, 0.5f, 0}));
    EXPECT_EQ(sym::ltr[2], (Vector3{0.5f, 0, 0.5f}));
    EXPECT_EQ(sym::ltr[3], (Vector3{0, 0.5f, 0.5f}));
    sym::latsym("R 3 2\"");
    EXPECT_EQ(sym::nlat, 3);
    EXPECT_EQ(sym::inlat, 6);
    EXPECT_EQ(sym::ltr[1], (Vector3{0.6666667f, 0.33333334f, 0.33333334f}));
    EXPECT_EQ(sym::ltr[2], (Vector3{0.33333334f, 0.6666667f, 0.6666667f}));
    const struct { const char* symbol; char letter; std::int32_t index; Vector3 vector; } two[] = {
        {"A", 'A', 2, {0, 0.5f, 0.5f}}, {"b", 'B', 3, {0.5f, 0, 0.5f}},
        {"-C 2yc", 'C', 4, {0.5f, 0.5f, 0}}, {"I", 'I', 5, {0.5f, 0.5f, 0.5f}}};
    for (const auto& c : two) {
        sym::latsym(c.symbol);
        EXPECT_EQ(sym::lat_ch, c.letter);
        EXPECT_EQ(sym::inlat, c.index);
        EXPECT_EQ(sym::nlat, 2);
        EXPECT_EQ(sym::ltr[1], c.vector) << c.symbol;
    }
}

TEST(LatticeState, UnconventionalAndWrongLetters) {
    const std::vector<Vector3> none;
    sym::latsym("Z", 0, none);
    EXPECT_FALSE(sym::err_symm);
    EXPECT_EQ(sym::lat_ch, 'Z');
    EXPECT_EQ(sym::nlat, 1);
    EXPECT_EQ(sym::inlat, 8);

    std::vector<Vector3> many(13);
    for (std::size_t j = 0; j < many.size(); ++j) many[j] = {static_cast<float>(j + 1) / 24.0f, 0, 0};
    sym::latsym("z", 13, many);
    EXPECT_EQ(sym::lat_ch, 'Z');
    EXPECT_EQ(sym::nlat, 12);
    EXPECT_EQ(sym::ltr[11], many[10]);
    // A count beyond the list given stores only what the list holds.
    sym::latsym("Z", 5, std::span<const Vector3>(many.data(), 2));
    EXPECT_EQ(sym::nlat, 3);

    sym::latsym("C");
    sym::latsym("Z");
    EXPECT_TRUE(sym::err_symm);
    EXPECT_EQ(sym::err_symm_mess, "Unconventional Lattice Symbol Z needs centring vectors");
    EXPECT_EQ(sym::nlat, 1);
    EXPECT_EQ(sym::inlat, 4);  // kept from the C lattice
    sym::latsym("Q");
    EXPECT_EQ(sym::err_symm_mess, "Wrong Lattice Symbol Q");
    EXPECT_EQ(sym::lat_ch, 'Q');
    EXPECT_EQ(sym::nlat, 1);
    // latsym clears an error left standing by its caller.
    sym::latsym("P");
    EXPECT_FALSE(sym::err_symm);
}

TEST(LatticeTranslation, ByLetter) {
    for (char letter : {'P', 'A', 'X', 'z'}) EXPECT_TRUE(sym::lattice_trans({1, 0, -2}, letter)) << letter;
    EXPECT_FALSE(sym::lattice_trans({0.5f, 0.5f, 0.5f}, 'P'));
    EXPECT_TRUE(sym::lattice_trans({0.5f, 0.5f, 0.5f}, 'i'));
    EXPECT_FALSE(sym::lattice_trans({-0.5f, 0.5f, 1.5f}, 'A'));
    EXPECT_TRUE(sym::lattice_trans({-0.5f, 0.5f, 1.5f}, 'I'));
    EXPECT_TRUE(sym::lattice_trans({0.5f, 1.0f, 0.5f}, 'b'));
    EXPECT_TRUE(sym::lattice_trans({0.5f, -0.5f, 3.0f}, 'C'));
    EXPECT_TRUE(sym::lattice_trans({0.5f, 0.0f, -0.5f}, 'F'));
    EXPECT_FALSE(sym::lattice_trans({0.5f, 0.0f, 0.0f}, 'F'));
    EXPECT_TRUE(sym::lattice_trans({0.33333f, 0.66667f, 0.66667f}, 'R'));
    EXPECT_TRUE(sym::lattice_trans({-1.0f / 3.0f, 1.0f / 3.0f, 1.0f / 3.0f}, 'r'));
    EXPECT_FALSE(sym::lattice_trans({0.33333f + 2.0e-5f, 0.66667f, 0.66667f}, 'R'));
    // Z asks the lattice state; lower-case z is no centring letter here.
    const std::vector<Vector3> quarter = {{0.25f, 0.25f, 0.25f}};
    sym::latsym("Z", 1, quarter);
    EXPECT_TRUE(sym::lattice_trans({0.25f, 0.25f, 1.25f}, 'Z'));
    EXPECT_FALSE(sym::lattice_trans({0.25f, 0.25f, 1.25f}, 'z'));
    EXPECT_FALSE(sym::lattice_trans({0.5f, 0.5f, 0.5f}, 'Z'));
    sym::latsym("P");
    EXPECT_FALSE(sym::lattice_trans({0.25f, 0.25f, 1.25f}, 'Z'));
}

TEST(CentringVectors, ClosingAList) {
    std::vector<Vector3> v(11);
    std::int32_t n = 1;
    v[0] = {1.0f / 3.0f, 2.0f / 3.0f, 2.0f / 3.0f};
    sym::get_centring_vectors(n, v);
    EXPECT_EQ(n, 2);
    EXPECT_NEAR(v[1][0], 2.0f / 3.0f, 1e-6f);
    EXPECT_NEAR(v[1][1], 1.0f / 3.0f, 1e-6f);
    EXPECT_NEAR(v[1][2], 1.0f / 3.0f, 1e-6f);

    n = 1;
    v[0] = {0.5f, 0.5f, 0};
    sym::get_centring_vectors(n, v);
    EXPECT_EQ(n, 1);

    n = 1;
    v[0] = {0.25f, 0.25f, 0.25f};
    sym::get_centring_vectors(n, v);
    EXPECT_EQ(n, 3);
    EXPECT_EQ(v[1], (Vector3{0.5f, 0.5f, 0.5f}));
    EXPECT_EQ(v[2], (Vector3{0.75f, 0.75f, 0.75f}));

    n = 2;
    v[0] = {0.5f, 0.5f, 0};
    v[1] = {0, 0.5f, 0.5f};
    sym::get_centring_vectors(n, v);
    EXPECT_EQ(n, 3);
    EXPECT_EQ(v[2], (Vector3{0.5f, 0, 0.5f}));

    // A null listed vector has bound 0: nothing is combined.
    n = 2;
    v[0] = {0.0001f, 0, 0};
    v[1] = {0.5f, 0.5f, 0};
    sym::get_centring_vectors(n, v);
    EXPECT_EQ(n, 2);

    // Three vectors: the eight combinations of the halves give the seven non-null ones.
    n = 3;
    v[0] = {0.5f, 0, 0};
    v[1] = {0, 0.5f, 0};
    v[2] = {0, 0, 0.5f};
    sym::get_centring_vectors(n, v);
    EXPECT_EQ(n, 7);

    // Appending stops when the caller's array is full.
    std::vector<Vector3> small(2);
    n = 1;
    small[0] = {1.0f / 6.0f, 0, 0};
    sym::get_centring_vectors(n, small);
    EXPECT_EQ(n, 2);
    EXPECT_NEAR(small[1][0], 1.0f / 3.0f, 1e-6f);
    std::vector<Vector3> three(3);
    n = 3;
    three[0] = {0.5f, 0, 0};
    three[1] = {0, 0.5f, 0};
    three[2] = {0, 0, 0.5f};
    sym::get_centring_vectors(n, three);
    EXPECT_EQ(n, 3);
}

TEST(CentringVectors, LargestConventionalLattice) {
    const std::vector<Vector3> f = {{0, 0.5f, 0.5f}, {0.5f, 0, 0.5f}};
    EXPECT_EQ(sym::max_conv_lattice_type(2, f), 'F');
    const std::vector<Vector3> i = {{0.5f, 0.5f, 0.5f}, {0, 0.5f, 0.5f}};
    EXPECT_EQ(sym::max_conv_lattice_type(2, i), 'I');
    const std::vector<Vector3> r = {{2.0f / 3.0f, 1.0f / 3.0f, 1.0f / 3.0f}};
    EXPECT_EQ(sym::max_conv_lattice_type(1, r), 'R');
    const std::vector<Vector3> unreduced = {{0, -0.5f, 0.5f}};
    EXPECT_EQ(sym::max_conv_lattice_type(1, unreduced), 'P');
    EXPECT_EQ(sym::max_conv_lattice_type(0, unreduced), 'P');
    const std::vector<Vector3> c = {{0.5f, 0.5f, 0}};
    EXPECT_EQ(sym::max_conv_lattice_type(1, c), 'C');
    // A count beyond the list reads only the list.
    EXPECT_EQ(sym::max_conv_lattice_type(5, c), 'C');
}
