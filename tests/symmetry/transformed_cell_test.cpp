// A group rebuilt in a transformed cell is closed, holds its centring and lies
// within the peer's operator set in the new cell, equal to it when the orders
// agree; the matrix reads by rows or, with "IT", by columns; the volume
// ratio, singular matrices, fixed lattices and origin texts behave as stated.
#include <gtest/gtest.h>

#include <map>

#include "group_checks.hpp"
#include "support/tsv_fixture.hpp"
#include "symmetry/symmetry.hpp"

namespace {

using namespace vorn_crystallographic_symmetry;

RealMatrix matrix_of(std::string rows, bool transposed) {
    std::replace(rows.begin(), rows.end(), ';', ',');
    const std::vector<float> v = group_checks::fractions(rows);
    RealMatrix m{};
    for (std::size_t k = 0; k < 9; ++k) (transposed ? m[k % 3][k / 3] : m[k / 3][k % 3]) = v[k];
    return m;
}

TEST(TransformedCell, EveryPeerCaseByRowsAndByColumnsGivesAPartOfThePeerGroup) {
    std::map<std::string, std::string> hall_of_row;
    for (const auto& r : tables_test::read_tsv("settings-table.tsv")) hall_of_row[r[0]] = r[3];
    const auto cases = tables_test::read_tsv("transformed-cells-peer.tsv");
    ASSERT_EQ(cases.size(), 651u);
    for (const bool by_columns : {false, true}) {
        int whole = 0;
        for (const auto& f : cases) {
            SCOPED_TRACE(f[0] + (by_columns ? " by columns" : " by rows"));
            SpaceGroup g, ng;
            set_spacegroup(hall_of_row.at(f[2]), g, std::nullopt, std::nullopt, "HAL");
            const std::vector<float> p = group_checks::fractions(f[6]);
            similar_transf_sg(matrix_of(f[5], by_columns), {p[0], p[1], p[2]}, g, ng,
                              by_columns ? std::optional<std::string_view>("IT") : std::nullopt);
            ASSERT_EQ(group_checks::group_fault(ng), "");
            std::vector<std::string> got = group_checks::peer_form(ng);
            for (int j = 1; j < ng.centring_count; ++j)  // the centring is among the operators
                got.push_back(get_symsymbi({{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}, ng.centring_vectors[std::size_t(j)]));
            std::sort(got.begin(), got.end());
            got.erase(std::unique(got.begin(), got.end()), got.end());
            const std::vector<std::string> peer = symmetry_test_data::split(f[10], ';');
            EXPECT_TRUE(std::includes(peer.begin(), peer.end(), got.begin(), got.end()));
            EXPECT_EQ(got.size(), static_cast<std::size_t>(ng.multiplicity));
            if (ng.multiplicity == std::stoi(f[8])) {
                ++whole;
                EXPECT_EQ(got, peer);
                if (ng.number != 0) { EXPECT_EQ(ng.number, std::stoi(f[9])); }
            }
        }
        EXPECT_EQ(whole, 640);  // the rest build a proper subgroup of the peer group
    }
}

TEST(TransformedCell, EdgeCasesAndRefusals) {
    struct Case { const char* group; const char* rows; const char* kind; const char* lattice; const char* message;
                  const char* hm; int multiplicity; char letter; };
    const Case cases[] = {
        {"P 4", "1,-1,0;1,1,0;0,0,1", "", nullptr, "", "From(P4)", 8, 'C'},
        {"P 4", "1,-1,0;1,1,0;0,0,1", "", "C", "", "From(P4) Lat:C", 8, 'C'},
        {"P 4", "1,-1,0;1,1,0;0,0,1", "", "Cxxxxxxxxxxxx", "", "From(P4) Lat:Cxxxxxx", 8, 'C'},
        {"P 1", "1,0,0;0,1,0;0,0,0", "", nullptr, "Inversion Matrix Failed on: similar_SG", "-", 0, ' '},
        {"P 1", "1/3,-1/3,4/3;-5/3,-1/3,-2/3;-1,-5/3,1", "", nullptr, "", "P 1", 1, 'P'},
        {"P 1", "2/3,-1,-2;1/3,-1,1;-2,2,1", "", nullptr, "", "P 1", 1, 'P'},
        {"C 1 2/m 1", "0,1,0;1,0,0;0,0,2", "", nullptr, "", "I 2/M 1 1", 8, 'I'},
        {"P 1", "7,0,0;0,7,0;0,0,1", "", nullptr, " Transformation refused: volume ratio above 48", "-", 0, ' '},
        {"P 2 2 2", "1,0,0;0,1,0;0,0,1", "It", "C", "", "C 2 2 2", 8, 'C'},
        {"P 2 2 2", "1,0,0;0,1,0;0,0,1", "it-columns", "I", "", "I 2 2 2", 8, 'I'},
        {"P 2 2 2", "1,0,0;0,1,0;0,0,1", "", "c", "", "P 2 2 2", 4, 'P'},
        {"P 2 2 2", "1,0,0;0,1,0;0,0,1", "", "", "", "P 2 2 2", 4, 'P'},
        {"R -3 m", "2,0,0;0,2,0;0,0,1", "", nullptr, "", "C 1", 2, 'C'},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.group) + " " + c.rows);
        SpaceGroup g, ng;
        set_spacegroup(c.group, g);
        ng.hm_symbol = "-";
        similar_transf_sg(matrix_of(c.rows, false), {0, 0, 0}, g, ng, c.kind,
                          c.lattice ? std::optional<std::string_view>(c.lattice) : std::nullopt);
        EXPECT_EQ(err_symm_mess, c.message);
        EXPECT_EQ(ng.hm_symbol.trimmed(), c.hm);
        EXPECT_EQ(ng.multiplicity, c.multiplicity);
        if (c.multiplicity > 0) { EXPECT_EQ(ng.lattice_letter.view()[0], c.letter); }
    }
}

}  // namespace
