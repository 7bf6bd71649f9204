// Phases of the Hall-symbol derivation from a group's operators, open to the
// tests (they take inputs that are no groups, which the public procedure
// refuses).  Internal to the module.
//
// Translations are held in twelfths of the cell edges.  Generator rows and
// working operators are numbered from 1 in the comments, stored from 0.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "symmetry/symmetry.hpp"

namespace vorn_crystallographic_symmetry::hall_derivation_detail {

using Twelfths = std::array<std::int32_t, 3>;
// count[k]: generators whose rotation order has magnitude k (index 0 unused).
using OrderCounts = std::array<std::int32_t, 7>;

// One term of the symbol: order (negative for an improper rotation), axis
// symbol ("x", "y", "z", "'", the double quote, "*" or blank), the cell edge
// a face diagonal leaves out, and up to three translation symbols.
struct GeneratorRow {
    std::int32_t order = 0;
    char axis = ' ';
    char direction = ' ';
    FixedText<3> translation;
};

// At most four rows; the fifth slot is the spare one used when rows move.
struct GeneratorRows {
    std::array<GeneratorRow, 5> rows{};
    std::int32_t count = 0;
};

// The working operators of a record: copies of its reduced operators, those
// that are no Hall matrix reduced to the zero rotation.
struct WorkingOperators {
    std::array<RotationMatrix, max_operators> rotations{};
    std::array<Vector3, max_operators> translations{};
    std::int32_t count = 0;
};

// nint(factor * value), the product rounded to 32 bits first, halves away from zero.
std::int32_t nint_of_product(float factor, float value);

// The vector of smallest component sum among t and t minus each centring
// translation of the lattice letter (A, B, C, I one; R two; F three in the
// order C, B, A), components taken modulo 12; the earliest wins a tie.
Twelfths centring_reduction(const Twelfths& t, char lattice_letter);

// Up to three translation letters (n a b c d u v w, the first that fits
// taken each time) spelling t; what is left after three is dropped.
FixedText<3> translation_letters(Twelfths t);

// Translation letters of the inversion through `centre` (translation 2c,
// negative twelfths brought up by 12, then reduced by the centring).
FixedText<3> inversion_letters(const Vector3& centre, char lattice_letter);

// The rotation is one of the 19 Hall matrices or the negative of one.
bool is_hall_matrix(const RotationMatrix& rotation);

// Copies operators 1..min(max(reduced_count, 0), 192) of the record and
// zeroes the rotations that are no Hall matrix.
void copy_working_operators(const SpaceGroup& group, WorkingOperators& work);

// Order census over the non-zero rotations, then the generator list: for
// magnitudes 6 down to 1, each operator met is exchanged into the next slot;
// the operator brought into slot j is not examined again.  Returns the
// number of generators; `counts` are taken over them, the threefold count
// cleared when there are sixfold generators.
std::int32_t gather_generators(WorkingOperators& work, OrderCounts& counts);

// Axis symbol and direction of a generator of signed order n (magnitudes
// 2, 3, 4, 6); both blank when no Hall matrix of that order matches.
void axis_symbol(const RotationMatrix& rotation, std::int32_t n, char& axis, char& direction);

// Translation symbols of a generator: twelfths modulo 12, centring
// reduction, a screw digit for threefold and sixfold axes along x, y, z,
// else translation letters.
FixedText<3> generator_translation(const Vector3& translation, std::int32_t magnitude, char axis,
                                   char lattice_letter);

// The rules that make the current term a generator row; false when a fifth
// row would be needed.
bool take_generator(const GeneratorRow& term, const OrderCounts& counts, std::int32_t generator_count,
                    GeneratorRows& rows);

// Of a "'" row and a double-quote row, one is deleted.
void prune_diagonal_rows(GeneratorRows& rows);

// The rows in the order of Hall notation.
void order_rows(GeneratorRows& rows);

// The terms written after the lattice part of the buffer, cut at 20 characters.
void write_terms(const GeneratorRows& rows, FixedText<20>& buffer);

// In a buffer beginning with "-", the last further "-" is deleted.
void drop_last_minus(FixedText<20>& buffer);

// All phases up to the minus-sign rule: false (nothing derived) when the
// generators need a fifth row.
bool derive_hall_text(const SpaceGroup& group, FixedText<20>& buffer);

// The Hall text builds exactly the record's operators 1..multiplicity
// (translations modulo 1 within 0.0002).  Leaves the module's lattice state
// and error pair as they were.
bool rebuilds_record(const SpaceGroup& group, std::string_view hall_text);

}  // namespace vorn_crystallographic_symmetry::hall_derivation_detail
