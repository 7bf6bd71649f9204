// The t-subgroups of every standard setting agree with the peer's exhaustive enumeration: count, orders and types;
// each is a closed group inside the given one that keeps its lattice; the order of discovery, a full output array
// and a record of another layout behave as stated.
#include <gtest/gtest.h>

#include <set>

#include "group_checks.hpp"

namespace {

using namespace vorn_crystallographic_symmetry;
using group_checks::peer_form;

TEST(TSubgroups, EveryStandardSettingGivesThePeerSubgroups) {
    const auto lines = tables_test::read_tsv("t-subgroups-peer.tsv");
    ASSERT_EQ(lines.size(), 230u);
    std::vector<SpaceGroup> subgroups(120);
    SpaceGroup g;
    for (const auto& f : lines) {
        SCOPED_TRACE(f[0] + " " + f[2]);
        std::int32_t count = -1;
        get_t_subgroups(group_checks::build_row(g, f[1]), subgroups, count);
        ASSERT_EQ(count, std::stoi(f[4]));
        const std::vector<std::string> all = peer_form(g), orders = symmetry_test_data::split(f[7], ','),
                                       numbers = symmetry_test_data::split(f[8], ',');
        std::multiset<std::string> peer_orders(orders.begin(), orders.end()), got_orders;
        std::set<std::vector<std::string>> distinct;
        std::set<std::pair<std::string, std::string>> pairs;  // order and number of each peer t-subgroup
        for (std::size_t i = 0; i < numbers.size(); ++i) pairs.insert({orders[i], numbers[i]});
        for (int m = 0; m < count; ++m) {
            const SpaceGroup& s = subgroups[static_cast<std::size_t>(m)];
            const std::vector<std::string> ops = peer_form(s);
            got_orders.insert(std::to_string(s.multiplicity));
            EXPECT_TRUE(distinct.insert(ops).second) << m;
            EXPECT_EQ(group_checks::group_fault(s), "") << m;
            EXPECT_TRUE(std::includes(all.begin(), all.end(), ops.begin(), ops.end())) << m;
            EXPECT_EQ(s.centring_count, g.centring_count) << m;
            EXPECT_TRUE(s.number == 0 || pairs.count({std::to_string(s.multiplicity), std::to_string(s.number)})) << m;
        }
        EXPECT_EQ(got_orders, peer_orders);
    }
}

// The order of discovery, an output array with room for fewer or none, a centrosymmetric P -1, a pure centring,
// and a record whose operators are not in constructed order.
TEST(TSubgroups, DiscoveryOrderFullArraysAndForeignLayouts) {
    const char* P2m = "x,y,z;-x,y,-z;-x,-y,-z;x,-y,z";
    struct Case { const char *mode, *list; std::size_t room; int count; const char *message, *listed; };
    const Case cases[] = {
        {"GEN", P2m, 8, 4, "", "-x,y,-z;x,y,z|-x,-y,-z;-x,y,-z;x,-y,z;x,y,z|-x,-y,-z;x,y,z|x,-y,z;x,y,z|"},
        {"GEN", P2m, 2, 2, "", "-x,y,-z;x,y,z|-x,-y,-z;-x,y,-z;x,-y,z;x,y,z|"},
        {"GEN", P2m, 0, 0, "", ""},
        {"GEN", "x,y,z;-x,-y,-z", 4, 1, "", "-x,-y,-z;x,y,z|"},
        {"GEN", "x,y,z;x+1/2,y+1/2,z", 4, 0, "", ""},
        {"FIX", "x,y,z;x,-y,z;-x,-y,-z;-x,y,-z", 8, 0, " Operators not in the order of a constructed group", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.list) + " room " + std::to_string(c.room));
        SpaceGroup g;
        std::vector<SpaceGroup> subgroups(c.room);
        std::int32_t count = -1;
        group_checks::build(g, "", c.mode, c.list);
        init_err_symm();
        get_t_subgroups(g, subgroups, count);
        std::string listed;
        for (int m = 0; m < count; ++m) listed += group_checks::joined(subgroups[static_cast<std::size_t>(m)]) + "|";
        EXPECT_EQ(std::make_tuple(count, err_symm_mess, listed), std::make_tuple(c.count, c.message, c.listed));
    }
}

}  // namespace
