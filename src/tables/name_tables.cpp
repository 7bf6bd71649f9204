// Constant names of crystal systems, centrings, Laue classes and point groups,
// and the centring translations of the centred lattices.  Data only.
#include "tables/sym_table.hpp"

namespace vorn_symmetry_tables {

const std::array<FixedText<12>, 8> sys_cry = {
    FixedText<12>(), "Triclinic", "Monoclinic", "Orthorhombic",
    "Tetragonal", "Trigonal", "Hexagonal", "Cubic",
};

// Each centring by its letter and its translations; the blanks are part of the text.
const std::array<FixedText<51>, 9> latt = {
    FixedText<51>(),
    "  P: { 000 }",
    "  A: { 000;  0  1/2 1/2 }+",
    "  B: { 000; 1/2  0  1/2 }+",
    "  C: { 000; 1/2 1/2  0  }+",
    "  I: { 000; 1/2 1/2 1/2 }+",
    "  R: { 000; 2/3 1/3 1/3; 1/3 2/3 2/3   }+",
    "  F: { 000;  0  1/2 1/2; 1/2  0  1/2; 1/2 1/2  0 }+",
    "  Z: { 000;  Unconventional Z-centering vectors  }+",
};

// 6 and 7 the rhombohedral classes on rhombohedral axes, 8-10 the trigonal
// classes on hexagonal axes; 15 and 16 spell m-3 and m-3m without the bar.
const std::array<FixedText<5>, 17> laue_class = {
    FixedText<5>(), "-1", "2/m", "mmm", "4/m", "4/mmm", "-3 R", "-3m R", "-3",
    "-3m1", "-31m", "6/m", "6/mmm", "m-3", "m-3m", "m3", "m3m",
};

// 7-9 mm2 in its three orientations; 21-23 the trigonal groups with the
// symmetry direction in the second place of the symbol, 24-26 in the third.
const std::array<FixedText<5>, 40> point_group = {
    FixedText<5>(),
    "1",    "-1",   "2",    "m",    "2/m",  "222",   "mm2",  "m2m",  "2mm",  "mmm",
    "4",    "-4",   "4/m",  "422",  "4mm",  "-42m",  "-4m2", "4/mmm", "3",   "-3",
    "32",   "3m",   "-3m",  "312",  "31m",  "-31m",  "6",    "-6",   "6/m",  "622",
    "6mm",  "-62m", "-6m2", "6/mmm", "23",  "m-3",   "432",  "-43m", "m-3m",
};

// Column 1 of every table is the null translation.
const std::array<CentringVector, 3> ltr_a = {{{0, 0, 0}, {0, 0, 0}, {0.0f, 0.5f, 0.5f}}};
const std::array<CentringVector, 3> ltr_b = {{{0, 0, 0}, {0, 0, 0}, {0.5f, 0.0f, 0.5f}}};
const std::array<CentringVector, 3> ltr_c = {{{0, 0, 0}, {0, 0, 0}, {0.5f, 0.5f, 0.0f}}};
const std::array<CentringVector, 3> ltr_i = {{{0, 0, 0}, {0, 0, 0}, {0.5f, 0.5f, 0.5f}}};
// Obverse rhombohedral centring on hexagonal axes; the nearest floats of 1/3 and 2/3.
const std::array<CentringVector, 4> ltr_r = {{{0, 0, 0},
                                              {0, 0, 0},
                                              {2.0f / 3.0f, 1.0f / 3.0f, 1.0f / 3.0f},
                                              {1.0f / 3.0f, 2.0f / 3.0f, 2.0f / 3.0f}}};
const std::array<CentringVector, 5> ltr_f = {{{0, 0, 0},
                                              {0, 0, 0},
                                              {0.0f, 0.5f, 0.5f},
                                              {0.5f, 0.0f, 0.5f},
                                              {0.5f, 0.5f, 0.0f}}};

}  // namespace vorn_symmetry_tables
