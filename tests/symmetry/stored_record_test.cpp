// Stored space-group records: the independent peer's file is written byte for byte and read back, every tabulated
// setting round-trips through one unit, and cut, damaged or over-capacity files and refused writes leave the
// caller's record and the error pair as they were.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <map>
#include <memory>
#include <sstream>

#include "support/scratch_dir.hpp"
#include "support/tsv_fixture.hpp"
#include "symmetry/symmetry.hpp"
#include "tables/sym_table.hpp"
#include "text/string_util.hpp"

namespace {

using namespace vorn_crystallographic_symmetry;
namespace su = vorn_string_utilities;
using Groups = std::vector<std::unique_ptr<SpaceGroup>>;

constexpr std::int32_t unit = 31;
const std::string peer_file = std::string(BORQ_TEST_DATA) + "/tables/stored-record-peer.bin";
constexpr std::size_t peer_group_ends[] = {1245, 1862, 2375};

// A record whose every byte is `fill` (the logical kept valid), so that untouched bytes can be told.
std::unique_ptr<SpaceGroup> patterned(unsigned char fill) {
    auto g = std::make_unique<SpaceGroup>();
    std::memset(static_cast<void*>(g.get()), fill, sizeof(SpaceGroup)), g->hexagonal = false;
    return g;
}
bool same_bytes(const SpaceGroup& a, const SpaceGroup& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

std::vector<float> reals(std::string list) {
    std::ranges::replace(list, ',', ' ');
    std::istringstream in(list);
    return {std::istream_iterator<float>(in), std::istream_iterator<float>()};
}

// The peer's three records, every field as the table gives it, on zeroed records.
Groups peer_groups() {
    Groups groups;
    for (const auto& row : tables_test::read_tsv("stored-record-peer.tsv")) {
        if (groups.size() < std::stoul(row[0])) groups.push_back(patterned(0));
        SpaceGroup& g = *groups.back();
        const std::string& f = row[1];
        const std::string v = row.size() > 3 ? row[3] : "";
        const std::size_t i = std::stoul(row[2]) - 1;
        // "orbit_<k>_position" names its orbit; the other orbit fields are indexed by it.
        const std::size_t k = f.ends_with("_position") ? static_cast<std::size_t>(f[6] - '1') : std::min<std::size_t>(i, 25);
        WyckoffOrbit& orbit = g.wyckoff.orbits[k];
        const std::map<std::string, std::int32_t*> ints = {{"number", &g.number}, {"centre_code", &g.centre_code},
            {"centring_count", &g.centring_count}, {"reduced_count", &g.reduced_count}, {"multiplicity", &g.multiplicity},
            {"generator_count", &g.generator_count}, {"orbit_count", &g.wyckoff.orbit_count},
            {"orbit_position_count", &orbit.position_count}};
#define TEXT(name) {#name, g.name.chars}
        const std::map<std::string, std::span<char>> texts = {TEXT(hm_symbol), TEXT(hall_symbol), TEXT(crystal_system),
            TEXT(laue_class), TEXT(point_group), TEXT(setting_type), TEXT(setting_choice), TEXT(lattice_letter),
            TEXT(lattice_symbol), TEXT(bravais_lattice), TEXT(centrosymmetry_text), {"operator_symbol", g.operator_symbols[i].chars},
            {"orbit_representative", orbit.representative.chars}, {"orbit_1_position", orbit.positions[i].chars},
            {"orbit_3_position", orbit.positions[i].chars}};
        if (ints.count(f)) *ints.at(f) = std::stoi(v);
        else if (texts.count(f)) std::ranges::copy(su::fixed(v, texts.at(f).size()), texts.at(f).begin());
        else if (f == "hexagonal") g.hexagonal = v == "true";
        else if (f == "centring_vectors") g.centring_vectors[i / 3][i % 3] = std::stof(v);
        else if (f == "centre_coordinates") g.centre_coordinates[i] = std::stof(v);
        else if (f == "asymmetric_unit") g.asymmetric_unit[i % 3][i / 3] = std::stof(v);
        else if (f == "operator_tr") std::ranges::copy(reals(v), g.operators[i].tr.begin());
        else if (f == "operator_rot")
            for (std::size_t k = 0; const float r : reals(v)) g.operators[i].rot[k / 3][k % 3] = static_cast<int>(r), ++k;
        else ADD_FAILURE() << "unknown field " << f;
    }
    return groups;
}

// Reads the groups of `file` in order: the first `good` must give the peer's records; the next one must be refused
// with the caller's record and a preset error pair untouched.
void expect_reads(const std::string& file, std::size_t good, su::UnitForm form = su::UnitForm::unformatted) {
    static const Groups peer = peer_groups();
    ASSERT_TRUE(su::open_unit(unit, file, su::UnitAccess::read, form));
    for (std::size_t n = 0; n <= good; ++n) {
        auto g = patterned(0), before = patterned(0);
        init_err_symm(), set_err_symm("preset");
        bool ok = n == good;
        read_bin_spacegroup(*g, unit, ok);
        EXPECT_EQ(ok, n < good) << "group " << n + 1;
        EXPECT_TRUE(same_bytes(*g, n < good ? *peer[n] : *before)) << "group " << n + 1;
        EXPECT_EQ(err_symm_mess, "preset");
    }
    su::close_unit(unit);
}

std::string le(std::uint32_t w) { return {char(w), char(w >> 8), char(w >> 16), char(w >> 24)}; }

TEST(StoredRecord, PeerRecordsWrittenByteForByteReadBackAndCutDamagedOrOverCapacityFilesRefused) {
    const Groups groups = peer_groups();
    borq_test::ScratchDir scratch("stored_record_peer");
    ASSERT_TRUE(su::open_unit(unit, "out.bin", su::UnitAccess::write, su::UnitForm::unformatted));
    init_err_symm();
    for (const auto& g : groups) write_bin_spacegroup(*g, unit);
    su::close_unit(unit);
    EXPECT_FALSE(err_symm);
    const std::string peer = borq_test::read_file(peer_file);
    EXPECT_EQ(borq_test::read_file("out.bin"), peer);
    for (std::size_t cut = 0; cut <= peer.size(); ++cut) {  // the whole file: end of file at the fourth header
        SCOPED_TRACE("cut at " + std::to_string(cut));
        scratch.write("cut.bin", peer.substr(0, cut));
        expect_reads("cut.bin", std::ranges::upper_bound(peer_group_ends, cut) - peer_group_ends);
    }
    struct Case { const char* what; std::size_t offset; std::uint32_t word; std::size_t good; };
    const Case cases[] = {{"leading length word", 0, 462, 0}, {"trailing length word", 465, 460, 0},
        {"length 0x7FFFFFFF", 0, 0x7fffffff, 0}, {"length -1", 0, 0xffffffff, 0}, {"multiplicity 193", 457, 193, 0},
        {"centring_count 13", 158, 13, 0}, {"orbit_count 27", 817, 27, 0}, {"position_count 49", 829, 49, 0},
        {"asymmetric unit of 24 bytes read as operator", 2319, 1, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        scratch.write("bad.bin", std::string(peer).replace(c.offset, 4, le(c.word)));
        expect_reads("bad.bin", c.good);
    }
    // A record longer than its fields is accepted (the asymmetric unit of the third group gets 4 more bytes).
    scratch.write("long.bin", peer.substr(0, 2331) + le(28) + peer.substr(2335, 24) + "1234" + le(28) + peer.substr(2363));
    expect_reads("long.bin", 3);
    expect_reads(peer_file, 0, su::UnitForm::formatted);
}

TEST(StoredRecord, EveryTabulatedSettingRoundTripsAndLeavesUnstoredFieldsAlone) {
    vorn_symmetry_tables::set_spgr_info();
    borq_test::ScratchDir scratch("stored_record_all");
    // Kept as written: a rebuilt record may differ in the centring vectors beyond its count.
    Groups built;
    ASSERT_TRUE(su::open_unit(unit, "all.bin", su::UnitAccess::write, su::UnitForm::unformatted));
    for (std::int32_t r = 1; r <= vorn_symmetry_tables::num_spgr_info; ++r) {
        built.push_back(std::make_unique<SpaceGroup>());
        set_spacegroup(std::string(vorn_symmetry_tables::spgr_info[r].hall_symbol.view()), *built.back(), std::nullopt, std::nullopt, "HAL");
        write_bin_spacegroup(*built.back(), unit);
    }
    su::close_unit(unit);
    ASSERT_TRUE(su::open_unit(unit, "all.bin", su::UnitAccess::read, su::UnitForm::unformatted));
    for (const auto& g : built) {
        auto back = patterned(0xa5), expected = patterned(0xa5);
        SpaceGroup& e = *expected;
        using S = SpaceGroup;  // the stored fields below; the rest must keep the sentinel bytes
        [&](auto... field) { ((e.*field = g.get()->*field), ...); }(&S::number, &S::hm_symbol, &S::hall_symbol,
            &S::crystal_system, &S::laue_class, &S::point_group, &S::setting_choice, &S::setting_type, &S::hexagonal,
            &S::lattice_letter, &S::lattice_symbol, &S::centring_count, &S::centring_vectors, &S::bravais_lattice,
            &S::centrosymmetry_text, &S::centre_code, &S::centre_coordinates, &S::reduced_count, &S::multiplicity,
            &S::generator_count, &S::asymmetric_unit);
        e.wyckoff.orbit_count = g->wyckoff.orbit_count;
        for (std::int32_t i = 0; i < g->multiplicity; ++i)
            std::tie(e.operators[i], e.operator_symbols[i]) = std::tie(g->operators[i], g->operator_symbols[i]);
        for (std::int32_t k = 0; k < g->wyckoff.orbit_count; ++k) {
            const WyckoffOrbit& o = g->wyckoff.orbits[k]; WyckoffOrbit& eo = e.wyckoff.orbits[k];
            std::tie(eo.position_count, eo.representative) = std::tie(o.position_count, o.representative);
            std::copy_n(o.positions.begin(), o.position_count, eo.positions.begin());
        }
        bool ok = false;  // set by a successful read
        read_bin_spacegroup(*back, unit, ok);
        EXPECT_TRUE(ok && same_bytes(*back, e)) << g->hall_symbol.view();
    }
    su::close_unit(unit);
}

TEST(StoredRecord, WriterRefusesCountsBeyondCapacityAndUnwritableUnits) {
    borq_test::ScratchDir scratch("stored_record_writer");
    scratch.write("existing.bin", "");
    struct Case { std::int32_t multiplicity, orbits, positions; su::UnitAccess access; const char* message; };
    const Case cases[] = {{193, 0, 0, su::UnitAccess::write, "multiplicity 193"}, {1, 27, 0, su::UnitAccess::write, "orbit count 27"},
                          {1, 2, 49, su::UnitAccess::write, "position count 49"}, {1, 0, 0, su::UnitAccess::read, "unit 31"}};
    for (const Case& c : cases) {
        auto g = std::make_unique<SpaceGroup>();
        std::tie(g->multiplicity, g->wyckoff.orbit_count, g->wyckoff.orbits[1].position_count) = std::tie(c.multiplicity, c.orbits, c.positions);
        ASSERT_TRUE(su::open_unit(unit, "existing.bin", c.access, su::UnitForm::unformatted));
        init_err_symm(), write_bin_spacegroup(*g, unit), su::close_unit(unit);
        EXPECT_EQ(err_symm_mess, std::string(" Stored space-group record not written: ") + c.message);
        EXPECT_EQ(borq_test::read_file(scratch.path() / "existing.bin"), "") << c.message;
    }
}

}  // namespace
