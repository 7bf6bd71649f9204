// The t-subgroups of every standard setting agree with the peer's exhaustive
// enumeration: count, orders and types; each is a closed group inside the
// given one that keeps its lattice; the order of discovery, a full output
// array and a record of another layout behave as stated.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "group_checks.hpp"
#include "support/tsv_fixture.hpp"
#include "symmetry/symmetry.hpp"

namespace {

using namespace vorn_crystallographic_symmetry;
using group_checks::peer_form;

TEST(TSubgroups, EveryStandardSettingGivesThePeerSubgroups) {
    std::map<std::string, std::string> hall_of_row;
    for (const auto& r : tables_test::read_tsv("settings-table.tsv")) hall_of_row[r[0]] = r[3];
    const auto lines = tables_test::read_tsv("t-subgroups-peer.tsv");
    ASSERT_EQ(lines.size(), 230u);
    std::vector<SpaceGroup> subgroups(120);
    for (const auto& f : lines) {
        SCOPED_TRACE(f[0] + " " + f[2]);
        SpaceGroup g;
        set_spacegroup(hall_of_row.at(f[1]), g, std::nullopt, std::nullopt, "HAL");
        std::int32_t count = -1;
        get_t_subgroups(g, subgroups, count);
        ASSERT_EQ(count, std::stoi(f[4]));
        const std::vector<std::string> all = peer_form(g), orders = symmetry_test_data::split(f[7], ','),
                                       numbers = symmetry_test_data::split(f[8], ',');
        std::set<std::pair<int, int>> pairs;
        for (std::size_t i = 0; i < numbers.size(); ++i) pairs.insert({std::stoi(orders[i]), std::stoi(numbers[i])});
        std::multiset<int> got_orders;
        std::set<std::vector<std::string>> distinct;
        for (int m = 0; m < count; ++m) {
            const SpaceGroup& s = subgroups[static_cast<std::size_t>(m)];
            const std::vector<std::string> ops = peer_form(s);
            got_orders.insert(s.multiplicity);
            EXPECT_TRUE(distinct.insert(ops).second) << m;
            EXPECT_EQ(group_checks::group_fault(s), "") << m;
            EXPECT_TRUE(std::includes(all.begin(), all.end(), ops.begin(), ops.end())) << m;
            EXPECT_EQ(s.centring_count, g.centring_count) << m;
            if (s.number != 0) { EXPECT_TRUE(pairs.count({s.multiplicity, s.number})) << m << " " << s.number; }
        }
        std::multiset<int> peer_orders;
        for (const std::string& o : orders) peer_orders.insert(std::stoi(o));
        EXPECT_EQ(got_orders, peer_orders);
    }
}

TEST(TSubgroups, DiscoveryOrderFullArraysAndForeignLayouts) {
    struct Case { const char* mode; const char* list; std::size_t room; int count; const char* message;
                  const char* listed; };
    const Case cases[] = {
        {"GEN", "x,y,z;-x,y,-z;-x,-y,-z;x,-y,z", 8, 4, "", "-x,y,-z;x,y,z|-x,-y,-z;-x,y,-z;x,-y,z;x,y,z|"
                                                        "-x,-y,-z;x,y,z|x,-y,z;x,y,z|"},
        {"GEN", "x,y,z;-x,y,-z;-x,-y,-z;x,-y,z", 2, 2, "", "-x,y,-z;x,y,z|-x,-y,-z;-x,y,-z;x,-y,z;x,y,z|"},
        {"GEN", "x,y,z;-x,y,-z;-x,-y,-z;x,-y,z", 0, 0, "", ""},
        {"GEN", "x,y,z;-x,-y,-z", 4, 1, "", "-x,-y,-z;x,y,z|"},
        {"GEN", "x,y,z;x+1/2,y+1/2,z", 4, 0, "", ""},
        {"FIX", "x,y,z;x,-y,z;-x,-y,-z;-x,y,-z", 8, 0, " Operators not in the order of a constructed group", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.list) + " room " + std::to_string(c.room));
        SpaceGroup g;
        group_checks::build(g, "", c.mode, c.list);
        std::vector<SpaceGroup> subgroups(c.room);
        std::int32_t count = -1;
        init_err_symm();
        get_t_subgroups(g, subgroups, count);
        EXPECT_EQ(count, c.count);
        EXPECT_EQ(err_symm_mess, c.message);
        std::string listed;
        for (int m = 0; m < count; ++m) {
            for (const std::string& t : peer_form(subgroups[static_cast<std::size_t>(m)])) listed += t + ";";
            listed.back() = '|';
        }
        EXPECT_EQ(listed, c.listed);
    }
}

}  // namespace
