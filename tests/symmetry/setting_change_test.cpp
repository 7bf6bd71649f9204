// Setting changes between International Tables, Miller-Love, Kovalev, Bradley-Cracknell and Zak settings give the
// peer's operator sets, keep the centring and centre fields consistent with the operators, compose, invert, and
// refuse the volume-changing transformations without touching the record. A group rebuilt in a transformed cell is
// closed, holds its centring and lies within the peer's operator set in the new cell (equal when the orders agree),
// the matrix read by rows or, with "IT", by columns; volume ratio, singular matrices and fixed lattices as stated.
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "group_checks.hpp"

namespace {

using namespace vorn_crystallographic_symmetry;
using group_checks::joined;

// The whole record, byte for byte (it is plain data).
static_assert(std::is_trivially_copyable_v<SpaceGroup>);
std::string bytes(const SpaceGroup& g) { return std::string(reinterpret_cast<const char*>(&g), sizeof g); }

// Empty when texts, centring vectors, lattice letter and centre code agree with the operators.
std::string field_fault(const SpaceGroup& g) {
    std::vector<Vector3> pure;
    int centre = 0;
    for (int k = 0; k < g.multiplicity; ++k) {
        const SymmetryOperator& op = g.operators[static_cast<std::size_t>(k)];
        const bool zero = op.tr == Vector3{};
        if (op.rot == RotationMatrix{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}} && !zero) pure.push_back(op.tr);
        if (op.rot == RotationMatrix{{{-1, 0, 0}, {0, -1, 0}, {0, 0, -1}}} && zero) centre = 2;
        if (g.operator_symbols[static_cast<std::size_t>(k)].trimmed() != get_symsymbi(op.rot, op.tr)) return "text";
    }
    std::vector<Vector3> listed(g.centring_vectors.begin() + 1, g.centring_vectors.begin() + g.centring_count);
    if (!std::is_permutation(pure.begin(), pure.end(), listed.begin(), listed.end())) return "centring";
    if (g.lattice_letter.view()[0] != get_lattice_type(g.centring_count - 1, pure) ||
        g.lattice_symbol.view()[1] != g.lattice_letter.view()[0])
        return "lattice";
    return g.centre_code == 1 || g.centre_code == centre ? "" : "centre";
}

// Every row of the peer fixture: accepted equal to the peer's operators, or refused with the record byte-identical;
// then X -> Y equals IT -> Y and IT -> X -> IT restores the group.
TEST(SettingChange, EveryTableTransformationGivesThePeerOperatorsOrIsRefused) {
    const auto lines = tables_test::read_tsv("setting-changes-peer.tsv");
    std::map<std::string, std::map<std::string, std::string>> after;  // row -> code -> operators
    std::string trans(35, ' '), back(35, ' ');
    SpaceGroup g, h, standard;
    std::size_t refused = 0;
    for (const auto& f : lines) {
        SCOPED_TRACE(f[0] + " " + f[2]);
        const std::string before = bytes(group_checks::build_row(g, f[1]));
        setting_change("IT", f[2], g, trans, back);
        if (f[7] == "refused") {
            ++refused;
            EXPECT_EQ(err_symm_mess.rfind(" Setting change refused: " + f[2] + " transformation ", 0), 0u);
            EXPECT_EQ(bytes(g) + trans + back, before + std::string(70, ' '));
        } else {
            EXPECT_EQ(err_symm_mess + joined(g), f[7]);
            EXPECT_EQ(field_fault(g), "");
            after[f[1]][f[2]] = f[7];
        }
    }
    EXPECT_EQ(std::make_tuple(lines.size(), refused, after.size()), std::make_tuple(920u, 95u, 230u));
    for (const auto& [row, by_code] : after)
        for (const auto& [x, x_ops] : by_code) {
            setting_change("it", x, group_checks::build_row(g, row), trans, back);
            for (const auto& [y, y_ops] : by_code) {
                setting_change(x, y, h = g, trans, back);
                EXPECT_EQ(joined(h), x == y ? joined(g) : y_ops) << row << " " << x << " -> " << y;
            }
            setting_change(x, "IT", g, trans, back);
            EXPECT_EQ(joined(g), joined(group_checks::build_row(standard, row))) << row << " " << x;
        }
}

// Worked example, equal codes and every refusal; shift > 0 moves the second operator's z translation, NaN makes it
// non-finite, shift < 0 sets an undefined group number. U: the texts of P 1 21/m 1 left untouched.
TEST(SettingChange, WorkedExampleEqualCodesAndErrors) {
    const char *U = "||-x,y+1/2,-z|-x,-y,-z", *R = " Setting change refused: ";
    struct Case { const char *group, *from, *to; float shift; std::string message; const char *type, *texts; };
    const Case cases[] = {
        {"P 1 21/m 1", "IT", "KO", 0, "", "Changed from IT to KO", "-z,x,-y+1/4|x,y+1/4,z|-x,-y,z+1/2|-x,-y,-z+1/2"},
        {"P 1 21/m 1", "ZA", "za", 0, "", "Changed from ZA to ZA", U},
        {"P 1 21/m 1", "  ", "KO", 0, " Blank Option", "?", U},
        {"P 1 21/m 1", "IT", "", 0, " Blank Option", "?", U},
        {"P 1 21/m 1", "IT", "XY", 0, R + std::string("unknown code XY"), "?", U},
        {"P 1 21/m 1", "Q", "IT", 0, R + std::string("unknown code Q "), "?", U},
        {"C 1 2/c 1", "IT", "BC", 0, R + std::string("BC transformation z-1/4,-x+y,-x-y changes the cell volume"), "?",
         "||-x,y,-z+1/2|-x,-y,-z"},
        {"R 3", "KO", "ML", 0, R + std::string("KO transformation -2x+y,-x-y,z changes the cell volume"), "?",
         "||-y,x-y,z|-x+y,-x,z"},
        {"P 1 21/m 1", "IT", "ML", 2.6f, "", "Changed from IT to ML", "z,x,y|x,y,z|-x+7/12,-y,z+1/2|-x,-y,-z"},
        {"P 1 21/m 1", "IT", "ML", NAN, R + std::string("operator translation not finite"), "?", U},
        {"P 1 21/m 1", "IT", "ML", -100, " Space Group Not Defined...", "?", U},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.group) + " " + c.from + " -> " + c.to);
        SpaceGroup g;
        set_spacegroup(c.group, g);
        g.setting_type = "?";
        g.operators[1].tr[2] += std::isnan(c.shift) || c.shift > 0 ? c.shift : 0.0f;
        if (c.shift < 0) g.number = 231;
        FixedText<35> trans, back;
        setting_change(c.from, c.to, g, trans, back);
        EXPECT_EQ(err_symm_mess, c.message);
        EXPECT_EQ(g.setting_type.trimmed(), c.type);
        EXPECT_EQ(std::string(trans.trimmed()) + "|" + std::string(back.trimmed()) + "|" +
                      std::string(g.operator_symbols[1].trimmed()) + "|" + std::string(g.operator_symbols[2].trimmed()),
                  c.texts);
    }
}

// A record filled by hand with counts beyond its arrays: every operator after the first a pure translation, so that
// a conversion reaching the centring copies reads as far as the counts say. Both procedures refuse it by the first
// count out of range (centring_count, reduced_count, multiplicity), the record, its setting_type, the texts and the
// transformed-cell output byte-identical; the largest counts that fit are accepted (empty count; `built`: the
// transformed cell's outcome, 191 pure translations being more generators than a build takes).
TEST(SettingChange, RecordsWhoseCountsExceedTheirArraysAreRefusedUntouched) {
    struct Case { const char *group, *from, *to; std::int32_t centrings, reduced, multiplicity;
                  const char *count, *built = ""; };
    const Case cases[] = {
        {"P 1", "IT", "KO", 40, 1, 40, "centring_count 40"},
        {"P -1", "IT", "KO", 1, 100000, 1000000, "reduced_count 100000"},
        {"P 1", "IT", "KO", 2, 100000, 1000000, "reduced_count 100000"},
        {"P 1", "IT", "KO", 2000000, 1, 1, "centring_count 2000000"},
        {"P 1", "IT", "KO", 0, 1, 1, "centring_count 0"},
        {"P 1", "IT", "KO", 1, -1, 1, "reduced_count -1"},
        {"P 1", "IT", "KO", 1, 1, 193, "multiplicity 193"},
        {"P 1", "IT", "KO", 1, 1, -1, "multiplicity -1"},
        {"P 1", "ZA", "ZA", 13, 1, 13, "centring_count 13"},
        {"P 1", "IT", "KO", 12, 1, 12, ""},
        {"P -1", "IT", "KO", 1, 192, 192, "", " The number of operators exceeds the list given or 48"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.group) + " " + c.from + " -> " + c.to + " " + c.count);
        SpaceGroup g, ng;
        set_spacegroup(c.group, g);
        g.setting_type = "?";
        std::tie(g.centring_count, g.reduced_count, g.multiplicity) = std::tie(c.centrings, c.reduced, c.multiplicity);
        for (std::size_t k = 1; k < max_operators; ++k)
            g.operators[k] = {{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}, {static_cast<float>(k) / 192.0f, 0.5f, 0.0f}};
        const std::string record = bytes(g), untouched = bytes(ng);
        similar_transf_sg({{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}, {0, 0, 0}, g, ng);
        const std::string refused = *c.count ? " Transformation refused: " + std::string(c.count) : c.built;
        EXPECT_EQ(std::make_tuple(err_symm_mess, bytes(ng) == untouched), std::make_tuple(refused, *c.count != 0));
        FixedText<35> trans = "#", back = "#";
        setting_change(c.from, c.to, g, trans, back);
        EXPECT_EQ(err_symm_mess, *c.count ? " Setting change refused: " + std::string(c.count) : "");
        if (*c.count) {
            EXPECT_EQ(bytes(g) + trans.str() + back.str(), record + std::string(70, ' '));
        }
    }
}

RealMatrix matrix_of(std::string rows, bool transposed) {
    std::replace(rows.begin(), rows.end(), ';', ',');
    const std::vector<float> v = group_checks::fractions(rows);
    RealMatrix m{};
    for (std::size_t k = 0; k < 9; ++k) (transposed ? m[k % 3][k / 3] : m[k / 3][k % 3]) = v[k];
    return m;
}

TEST(TransformedCell, EveryPeerCaseByRowsAndByColumnsGivesAPartOfThePeerGroup) {
    const auto cases = tables_test::read_tsv("transformed-cells-peer.tsv");
    ASSERT_EQ(cases.size(), 651u);
    for (const bool by_columns : {false, true}) {
        int whole = 0, failed = 0;
        for (const auto& f : cases) {
            SCOPED_TRACE(f[0] + (by_columns ? " by columns" : " by rows"));
            SpaceGroup g, ng;
            const std::vector<float> p = group_checks::fractions(f[6]);
            similar_transf_sg(matrix_of(f[5], by_columns), {p[0], p[1], p[2]}, group_checks::build_row(g, f[2]), ng,
                              by_columns ? std::optional<std::string_view>("IT") : std::nullopt);
            if (ng.multiplicity == 0) {  // a build that fails is reported, not cut down to a subgroup
                ++failed;
                EXPECT_EQ(err_symm_mess, " The generators do not form a space group");
                continue;
            }
            ASSERT_EQ(group_checks::group_fault(ng), "");
            std::vector<std::string> got = group_checks::peer_form(ng);
            for (int j = 1; j < ng.centring_count; ++j)  // the centring is among the operators
                got.push_back(get_symsymbi({{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}, ng.centring_vectors[std::size_t(j)]));
            std::sort(got.begin(), got.end());
            got.erase(std::unique(got.begin(), got.end()), got.end());
            const std::vector<std::string> peer = symmetry_test_data::split(f[10], ';');
            EXPECT_TRUE(std::includes(peer.begin(), peer.end(), got.begin(), got.end()));
            EXPECT_EQ(got.size(), static_cast<std::size_t>(ng.multiplicity));
            if (ng.multiplicity != std::stoi(f[8])) continue;
            ++whole;
            EXPECT_EQ(got, peer);
            EXPECT_EQ(ng.number, ng.number == 0 ? 0 : std::stoi(f[9]));
        }
        // The rest build a proper subgroup of the peer group, but for R -3 m with a and b doubled, whose
        // transformed generators form no group that the construction can build.
        EXPECT_EQ(std::make_pair(whole, failed), std::make_pair(640, 1));
    }
}

// Fixed lattice (nullptr: none) with "It"/"it-columns" reading, volume ratio 49, a singular matrix, fractional
// matrices of volume 1, a centring gained and one lost.
TEST(TransformedCell, EdgeCasesAndRefusals) {
    struct Case { const char *group, *rows, *kind, *lattice, *message, *hm; int multiplicity; char letter; };
    const char* I = "1,0,0;0,1,0;0,0,1";
    const Case cases[] = {
        {"P 4", "1,-1,0;1,1,0;0,0,1", "", nullptr, "", "From(P4)", 8, 'C'},
        {"P 4", "1,-1,0;1,1,0;0,0,1", "", "C", "", "From(P4) Lat:C", 8, 'C'},
        {"P 4", "1,-1,0;1,1,0;0,0,1", "", "Cxxxxxxxxxxxx", "", "From(P4) Lat:Cxxxxxx", 8, 'C'},
        {"P 1", "1,0,0;0,1,0;0,0,0", "", nullptr, "Inversion Matrix Failed on: similar_SG", "-", 0, ' '},
        {"P 1", "1/3,-1/3,4/3;-5/3,-1/3,-2/3;-1,-5/3,1", "", nullptr, "", "P 1", 1, 'P'},
        {"P 1", "2/3,-1,-2;1/3,-1,1;-2,2,1", "", nullptr, "", "P 1", 1, 'P'},
        {"C 1 2/m 1", "0,1,0;1,0,0;0,0,2", "", nullptr, "", "I 2/M 1 1", 8, 'I'},
        {"P 1", "7,0,0;0,7,0;0,0,1", "", nullptr, " Transformation refused: volume ratio above 48", "-", 0, ' '},
        {"P 2 2 2", I, "It", "C", "", "C 2 2 2", 8, 'C'}, {"P 2 2 2", I, "it-columns", "I", "", "I 2 2 2", 8, 'I'},
        {"P 2 2 2", I, "", "c", "", "P 2 2 2", 4, 'P'}, {"P 2 2 2", I, "", "", "", "P 2 2 2", 4, 'P'},
        {"R -3 m", "2,0,0;0,2,0;0,0,1", "", nullptr, " The generators do not form a space group", "From(R-3m)", 0, ' '},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.group) + " " + c.rows);
        SpaceGroup g, ng;
        set_spacegroup(c.group, g);
        ng.hm_symbol = "-";
        similar_transf_sg(matrix_of(c.rows, false), {0, 0, 0}, g, ng, c.kind,
                          c.lattice ? std::optional<std::string_view>(c.lattice) : std::nullopt);
        EXPECT_EQ(err_symm_mess, c.message);
        EXPECT_EQ(std::make_tuple(std::string(ng.hm_symbol.trimmed()), ng.multiplicity),
                  std::make_tuple(std::string(c.hm), c.multiplicity));
        EXPECT_EQ(c.multiplicity > 0 ? ng.lattice_letter.view()[0] : ' ', c.letter);
    }
}

}  // namespace
