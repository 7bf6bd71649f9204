// Laue class, point group, crystal system and lattice type of a set of
// operators: the classification of every tabulated setting agrees with the
// settings table and the peer fixture.
#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "support/settings_operators_fixture.hpp"
#include "symmetry/symmetry.hpp"
#include "tables/sym_table.hpp"

namespace sym = vorn_crystallographic_symmetry;
namespace tab = vorn_symmetry_tables;
using sym::FixedText;
using sym::RotationMatrix;
using sym::SpaceGroup;
using sym::Vector3;

namespace {

// A record holding the given operators as its reduced set.
SpaceGroup group_of(const std::vector<std::string>& texts, std::int32_t centre_code, bool hexagonal) {
    SpaceGroup g;
    g.reduced_count = static_cast<std::int32_t>(texts.size());
    g.centre_code = centre_code;
    g.hexagonal = hexagonal;
    for (std::size_t i = 0; i < texts.size(); ++i) sym::read_xsym(texts[i], 1, g.operators[i].rot, g.operators[i].tr);
    return g;
}

std::pair<std::string, std::string> laue_and_pg(const SpaceGroup& g) {
    FixedText<5> laue;
    FixedText<5> pg;
    sym::get_laue_pg(g, laue, pg);
    return {std::string(laue.trimmed()), std::string(pg.trimmed())};
}

struct SettingRow {
    std::int32_t laue_index = 0;
    std::int32_t pg_index = 0;
};

std::map<std::int32_t, SettingRow> read_settings_table() {
    std::map<std::int32_t, SettingRow> rows;
    std::ifstream in(std::string(BORQ_TEST_DATA) + "/tables/settings-table.tsv");
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        const auto f = symmetry_test_data::split(line, '\t');
        rows[std::stoi(f[0])] = {std::stoi(f[4]), std::stoi(f[5])};
    }
    return rows;
}

}  // namespace

TEST(LaueClass, SmallGroups) {
    EXPECT_EQ(laue_and_pg(group_of({"x,y,z"}, 1, false)), std::make_pair(std::string("-1"), std::string("1")));
    EXPECT_EQ(laue_and_pg(group_of({"x,y,z"}, 2, false)), std::make_pair(std::string("-1"), std::string("-1")));
    EXPECT_EQ(laue_and_pg(group_of({"x,y,z", "-x,y,-z"}, 2, false)),
              std::make_pair(std::string("2/m"), std::string("2/m")));
    EXPECT_EQ(laue_and_pg(group_of({"x,y,z", "x,-y,z"}, 1, false)), std::make_pair(std::string("2/m"), std::string("m")));
    // P 3 1 2 and P 3 2 1 on hexagonal axes, R 3 2 on rhombohedral axes.
    const std::vector<std::string> p312 = {"x,y,z", "-y,x-y,z", "-x+y,-x,z", "-y,-x,-z", "-x+y,y,-z", "x,x-y,-z"};
    EXPECT_EQ(laue_and_pg(group_of(p312, 1, true)), std::make_pair(std::string("-31m"), std::string("312")));
    const std::vector<std::string> p321 = {"x,y,z", "-y,x-y,z", "-x+y,-x,z", "y,x,-z", "x-y,-y,-z", "-x,-x+y,-z"};
    EXPECT_EQ(laue_and_pg(group_of(p321, 1, true)), std::make_pair(std::string("-3m"), std::string("32")));
    const std::vector<std::string> r32 = {"x,y,z", "z,x,y", "y,z,x", "-y,-x,-z", "-x,-z,-y", "-z,-y,-x"};
    EXPECT_EQ(laue_and_pg(group_of(r32, 1, false)), std::make_pair(std::string("-3m"), std::string("32")));
    // The orientation is told by any of the three equivalent twofolds, not only the first listed.
    const std::vector<std::string> p312_other = {"x,y,z", "-y,x-y,z", "-x+y,-x,z", "x,x-y,-z", "-y,-x,-z", "-x+y,y,-z"};
    EXPECT_EQ(laue_and_pg(group_of(p312_other, 1, true)), std::make_pair(std::string("-31m"), std::string("312")));
    // A centric trigonal group whose reduced set holds the twofolds, not the mirrors.
    EXPECT_EQ(laue_and_pg(group_of(p312, 2, true)), std::make_pair(std::string("-31m"), std::string("-31m")));
    EXPECT_EQ(laue_and_pg(group_of(p321, 2, true)), std::make_pair(std::string("-3m"), std::string("-3m")));
    // P -6 2 m whatever twofold comes first: -62m, not -6m2.
    const std::vector<std::string> p_6_2m = {"x,y,z", "-y,x-y,z", "-x+y,-x,z", "x,y,-z", "-y,x-y,-z", "-x+y,-x,-z",
                                             "x-y,-y,-z", "y,x,-z", "-x,-x+y,-z", "y,x,z", "x-y,-y,z", "-x,-x+y,z"};
    EXPECT_EQ(laue_and_pg(group_of(p_6_2m, 1, true)), std::make_pair(std::string("6/mmm"), std::string("-62m")));
}

TEST(LaueClass, Errors) {
    FixedText<5> laue = "xx";
    FixedText<5> pg = "yy";
    sym::get_laue_pg(SpaceGroup{}, laue, pg);
    EXPECT_TRUE(sym::err_symm);
    EXPECT_EQ(sym::err_symm_mess, " No symmetry operators are given");
    EXPECT_TRUE(laue.blank());
    EXPECT_TRUE(pg.blank());
    SpaceGroup bad = group_of({"x,y,z"}, 1, false);
    bad.operators[0].rot[0][0] = 2;
    sym::get_laue_pg(bad, laue, pg);
    EXPECT_EQ(sym::err_symm_mess, " Rotation Not Determined");
    EXPECT_TRUE(laue.blank());

    FixedText<5> symbol = "keep";
    sym::get_laue_str(17, symbol);
    EXPECT_EQ(sym::err_symm_mess, " Laue Number Incorrect");
    EXPECT_EQ(symbol, "keep");
    sym::get_pointgroup_str(0, symbol);
    EXPECT_EQ(sym::err_symm_mess, " Point Group Number Incorrect");
    EXPECT_EQ(symbol, "keep");
    sym::get_laue_str(6, symbol);
    EXPECT_FALSE(sym::err_symm);
    EXPECT_EQ(symbol, "-3 R");
    sym::get_pointgroup_str(33, symbol);
    EXPECT_EQ(symbol, "-6m2");

    std::int32_t number = -7;
    char letter = '?';
    sym::init_err_symm();
    const std::vector<RotationMatrix> wrong = {RotationMatrix{}};
    sym::get_crystal_system_r_op(1, wrong, number, letter);
    EXPECT_EQ(sym::err_symm_mess, " Axes rotation wrong");
    EXPECT_EQ(number, -7);
    EXPECT_EQ(letter, '?');
}

TEST(LaueClass, NumbersOfSymbols) {
    EXPECT_EQ(sym::get_laue_num("m3m"), 14);
    EXPECT_EQ(sym::get_laue_num("m3"), 13);
    EXPECT_EQ(sym::get_laue_num("  -3 R"), 6);
    EXPECT_EQ(sym::get_laue_num("-3m"), 0);
    EXPECT_EQ(sym::get_pointgroup_num("-6m2"), 33);
    EXPECT_EQ(sym::get_pointgroup_num("m-3m"), 39);
    EXPECT_EQ(sym::get_pointgroup_num("5"), 0);
    for (std::int32_t k = 1; k <= 14; ++k) {
        FixedText<5> s;
        sym::get_laue_str(k, s);
        EXPECT_EQ(sym::get_laue_num(s.view()), k);
    }
    for (std::int32_t k = 1; k <= 39; ++k) {
        FixedText<5> s;
        sym::get_pointgroup_str(k, s);
        EXPECT_EQ(sym::get_pointgroup_num(s.view()), k);
    }
}

TEST(LatticeType, OfCentringVectors) {
    const std::vector<Vector3> none;
    EXPECT_EQ(sym::get_lattice_type(0, none), 'P');
    const std::vector<Vector3> a = {{0, 0.5f, 0.5f}};
    EXPECT_EQ(sym::get_lattice_type(1, a), 'A');
    const std::vector<Vector3> f = {{0, 0.5f, 0.5f}, {0.5f, 0, 0.5f}};
    EXPECT_EQ(sym::get_lattice_type(2, f), 'F');
    const std::vector<Vector3> r = {{2.0f / 3.0f, 1.0f / 3.0f, 1.0f / 3.0f}, {1.0f / 3.0f, 2.0f / 3.0f, 2.0f / 3.0f}};
    EXPECT_EQ(sym::get_lattice_type(2, r), 'R');
    const std::vector<Vector3> unreduced = {{0, -0.5f, 0.5f}, {0.5f, 0.5f, 0}};
    EXPECT_EQ(sym::get_lattice_type(2, unreduced), 'Z');
    const std::vector<Vector3> later_unknown = {{0.5f, 0.5f, 0.5f}, {0.25f, 0, 0}};
    EXPECT_EQ(sym::get_lattice_type(2, later_unknown), 'I');
    const std::vector<Vector3> four(4, Vector3{0.5f, 0.5f, 0});
    EXPECT_EQ(sym::get_lattice_type(4, four), 'Z');
}

TEST(CrystalSystem, OfRotationLists) {
    std::int32_t number = 0;
    char letter = ' ';
    sym::get_crystal_system_r_op(0, {}, number, letter);
    EXPECT_EQ(number, 1);
    EXPECT_EQ(letter, 'a');
}

// Every tabulated setting, given as its complete operator list: the crystal
// system is the peer's, and the Laue class and point group are those of the
// settings table, with the trigonal Laue classes written "-3" and "-3m" by
// the classification rules.
TEST(LaueClass, EveryTabulatedSetting) {
    const auto table = read_settings_table();
    for (const auto& s : symmetry_test_data::read_settings_operators()) {
        const std::string where = "row " + std::to_string(s.row) + " " + s.hm_symbol;
        std::vector<RotationMatrix> rotations(s.operators.size());
        std::vector<std::string> texts = s.operators;
        for (std::size_t i = 0; i < texts.size(); ++i) sym::read_xsym(texts[i], 1, rotations[i]);
        std::int32_t number = 0;
        char letter = ' ';
        sym::init_err_symm();
        sym::get_crystal_system_r_op(static_cast<std::int32_t>(rotations.size()), rotations, number, letter);
        ASSERT_FALSE(sym::err_symm) << where;
        EXPECT_EQ(tab::sys_cry[static_cast<std::size_t>(number)], s.crystal_system) << where;

        const bool rhombohedral_axes = s.hm_symbol.find(":R") != std::string::npos;
        const bool hexagonal = (number == 5 || number == 6) && !rhombohedral_axes;
        const auto [laue, pg] = laue_and_pg(group_of(texts, s.centre_code, hexagonal));
        const SettingRow row = table.at(s.row);
        std::string expected_laue(tab::laue_class[static_cast<std::size_t>(row.laue_index)].trimmed());
        if (expected_laue == "-3 R") expected_laue = "-3";
        if (expected_laue == "-3m R" || expected_laue == "-3m1") expected_laue = "-3m";
        std::string expected_pg(tab::point_group[static_cast<std::size_t>(row.pg_index)].trimmed());
        // The settings table names these two by the point group of the
        // standard cell (-4m2 for C -4 b 2, -42m for F -4 d 2); in their
        // own cells the mirrors and twofolds swap orientation.
        if (s.row == 456) expected_pg = "-42m";
        if (s.row == 462) expected_pg = "-4m2";
        EXPECT_EQ(laue, expected_laue) << where;
        EXPECT_EQ(pg, expected_pg) << where;
    }
}

// The same classification of the reduced operators that the Hall route
// builds for every setting (inversion images and centring copies left out).
TEST(LaueClass, EveryBuiltReducedSet) {
    std::ifstream in(std::string(BORQ_TEST_DATA) + "/tables/settings-table.tsv");
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        const auto f = symmetry_test_data::split(line, '\t');
        const std::int32_t row = std::stoi(f[0]);
        const std::string where = "row " + f[0] + " " + f[2] + " Hall symbol " + f[3];
        SpaceGroup g;
        sym::set_spacegroup(f[3], g, std::nullopt, std::nullopt, "HAL");
        ASSERT_FALSE(sym::err_symm) << where << ": " << sym::err_symm_mess;
        const auto [laue, pg] = laue_and_pg(g);
        EXPECT_FALSE(sym::err_symm) << where;
        std::string expected_laue(tab::laue_class[static_cast<std::size_t>(std::stoi(f[4]))].trimmed());
        if (expected_laue == "-3 R") expected_laue = "-3";
        if (expected_laue == "-3m R" || expected_laue == "-3m1") expected_laue = "-3m";
        std::string expected_pg(tab::point_group[static_cast<std::size_t>(std::stoi(f[5]))].trimmed());
        if (row == 456) expected_pg = "-42m";
        if (row == 462) expected_pg = "-4m2";
        EXPECT_EQ(laue, expected_laue) << where;
        EXPECT_EQ(pg, expected_pg) << where;
    }
}
