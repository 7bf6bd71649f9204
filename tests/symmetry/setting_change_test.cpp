// Setting changes between International Tables, Miller-Love, Kovalev,
// Bradley-Cracknell and Zak settings give the peer's operator sets, keep the
// centring and centre fields consistent with the operators, compose, invert,
// and refuse the volume-changing transformations without touching the record.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>

#include "group_checks.hpp"
#include "support/tsv_fixture.hpp"
#include "symmetry/symmetry.hpp"

namespace {

using namespace vorn_crystallographic_symmetry;

std::string joined(const SpaceGroup& g) {
    std::string s;
    for (const std::string& t : group_checks::peer_form(g)) s += (s.empty() ? "" : ";") + t;
    return s;
}

// The record's fields and all operators with their texts, byte for byte.
std::string snapshot(const SpaceGroup& g) {
    const auto bytes = [](const auto& a) { return std::string(reinterpret_cast<const char*>(&a), sizeof a); };
    return group_checks::describe(g) + bytes(g.operators) + bytes(g.operator_symbols) + bytes(g.centring_vectors);
}

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

TEST(SettingChange, EveryTableTransformationGivesThePeerOperatorsOrIsRefused) {
    std::map<std::string, std::string> hall_of_row;
    for (const auto& r : tables_test::read_tsv("settings-table.tsv")) hall_of_row[r[0]] = r[3];
    const auto build = [&](const std::string& row) {
        SpaceGroup g;
        set_spacegroup(hall_of_row.at(row), g, std::nullopt, std::nullopt, "HAL");
        return g;
    };
    const auto lines = tables_test::read_tsv("setting-changes-peer.tsv");
    ASSERT_EQ(lines.size(), 920u);
    std::map<std::string, std::map<std::string, std::string>> after;  // row -> code -> operators
    std::string trans(35, ' '), back(35, ' ');
    for (const auto& f : lines) {
        SCOPED_TRACE(f[0] + " " + f[2]);
        SpaceGroup g = build(f[1]);
        const std::string before = snapshot(g);
        setting_change("IT", f[2], g, trans, back);
        if (f[7] == "refused") {
            EXPECT_EQ(err_symm_mess.rfind(" Setting change refused: " + f[2] + " transformation ", 0), 0u);
            EXPECT_EQ(snapshot(g), before);
            EXPECT_EQ(trans + back, std::string(70, ' '));
            continue;
        }
        EXPECT_EQ(err_symm_mess + joined(g), f[7]);
        EXPECT_EQ(field_fault(g), "");
        after[f[1]][f[2]] = f[7];
    }
    EXPECT_EQ(after.size(), 230u);
    // X -> Y equals IT -> Y, and IT -> X -> IT restores the group.
    for (const auto& [row, by_code] : after)
        for (const auto& [x, x_ops] : by_code) {
            const SpaceGroup standard = build(row);
            SpaceGroup g = standard;
            setting_change("it", x, g, trans, back);
            for (const auto& [y, y_ops] : by_code) {
                SpaceGroup h = g;
                setting_change(x, y, h, trans, back);
                EXPECT_EQ(joined(h), x == y ? joined(g) : y_ops) << row << " " << x << " -> " << y;
            }
            setting_change(x, "IT", g, trans, back);
            EXPECT_EQ(joined(g), joined(standard)) << row << " " << x;
        }
}

TEST(SettingChange, WorkedExampleEqualCodesAndErrors) {
    struct Case { const char* group; const char* from; const char* to; float shift; const char* message;
                  const char* type; const char* texts; };
    const Case cases[] = {
        {"P 1 21/m 1", "IT", "KO", 0, "", "Changed from IT to KO", "-z,x,-y+1/4|x,y+1/4,z|-x,-y,z+1/2|-x,-y,-z+1/2"},
        {"P 1 21/m 1", "ZA", "za", 0, "", "Changed from ZA to ZA", "||-x,y+1/2,-z|-x,-y,-z"},
        {"P 1 21/m 1", "  ", "KO", 0, " Blank Option", "?", "||-x,y+1/2,-z|-x,-y,-z"},
        {"P 1 21/m 1", "IT", "", 0, " Blank Option", "?", "||-x,y+1/2,-z|-x,-y,-z"},
        {"P 1 21/m 1", "IT", "XY", 0, " Setting change refused: unknown code XY", "?", "||-x,y+1/2,-z|-x,-y,-z"},
        {"P 1 21/m 1", "Q", "IT", 0, " Setting change refused: unknown code Q ", "?", "||-x,y+1/2,-z|-x,-y,-z"},
        {"C 1 2/c 1", "IT", "BC", 0, " Setting change refused: BC transformation z-1/4,-x+y,-x-y changes the cell volume",
         "?", "||-x,y,-z+1/2|-x,-y,-z"},
        {"R 3", "KO", "ML", 0, " Setting change refused: KO transformation -2x+y,-x-y,z changes the cell volume", "?",
         "||-y,x-y,z|-x+y,-x,z"},
        {"P 1 21/m 1", "IT", "ML", 2.6f, "", "Changed from IT to ML", "z,x,y|x,y,z|-x+7/12,-y,z+1/2|-x,-y,-z"},
        {"P 1 21/m 1", "IT", "ML", NAN, " Setting change refused: operator translation not finite", "?",
         "||-x,y+1/2,-z|-x,-y,-z"},
        {"P 1 21/m 1", "IT", "ML", -100, " Space Group Not Defined...", "?", "||-x,y+1/2,-z|-x,-y,-z"},
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

}  // namespace
