// The stored form of a space-group record: a fixed sequence of unformatted
// records (header, operators with their texts, asymmetric unit, special
// Wyckoff positions), every field serialised on its own in little-endian
// order so that files move between machines and earlier programs' files load.
#include <cstring>
#include <memory>
#include <string>
#include <type_traits>

#include "symmetry/symmetry.hpp"
#include "text/string_util.hpp"

namespace vorn_crystallographic_symmetry {

namespace su = vorn_string_utilities;

namespace {

// Record copies go through memcpy, so that a refused read leaves the caller's
// record bit for bit as it was and an accepted one touches nothing but the
// stored fields.
static_assert(std::is_trivially_copyable_v<SpaceGroup>);

constexpr std::int32_t max_orbits = 26;
constexpr std::int32_t max_positions = 48;

constexpr std::string_view not_written = " Stored space-group record not written: ";

// -- Writing: fields appended to one record's data bytes --
void put_u32(std::string& out, std::uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<char>((v >> shift) & 0xffu));
}
void put(std::string& out, std::int32_t v) { put_u32(out, static_cast<std::uint32_t>(v)); }
void put(std::string& out, float v) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &v, 4);
    put_u32(out, bits);
}
void put(std::string& out, bool v) { put_u32(out, v ? 1u : 0u); }
template <std::size_t N>
void put(std::string& out, const FixedText<N>& text) { out.append(text.view()); }

// -- Reading: fields taken in order from one record's data bytes; a field
//    that does not fit wholly in the record fails the read --
struct RecordReader {
    std::string bytes;
    std::size_t next = 0;
    bool ok = true;

    bool take(void* destination, std::size_t n) {
        if (!ok || bytes.size() - next < n) return ok = false;
        std::memcpy(destination, bytes.data() + next, n);
        next += n;
        return true;
    }
    std::uint32_t u32() {
        unsigned char b[4] = {0, 0, 0, 0};
        take(b, 4);
        return b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
    }
    void get(std::int32_t& v) { const std::uint32_t u = u32(); if (ok) v = static_cast<std::int32_t>(u); }
    void get(float& v) { const std::uint32_t u = u32(); if (ok) std::memcpy(&v, &u, 4); }
    void get(bool& v) { const std::uint32_t u = u32(); if (ok) v = u != 0; }  // any non-zero word is true
    template <std::size_t N>
    void get(FixedText<N>& text) { take(text.chars.data(), N); }
};

// The next whole record of the unit, or a failed reader.
RecordReader next_record(std::int32_t iunit) {
    RecordReader r;
    r.ok = su::read_record(iunit, r.bytes) == su::unit_read_ok;
    return r;
}

// The header's fields in their stored order, for writing and reading alike.
template <class Field>
void header_fields(auto& group, Field&& field) {
    field(group.number);
    field(group.hm_symbol);
    field(group.hall_symbol);
    field(group.crystal_system);
    field(group.laue_class);
    field(group.point_group);
    field(group.setting_choice);
    field(group.setting_type);
    field(group.hexagonal);
    field(group.lattice_letter);
    field(group.lattice_symbol);
    field(group.centring_count);
    for (auto& vector : group.centring_vectors)
        for (auto& c : vector) field(c);
    field(group.bravais_lattice);
    field(group.centrosymmetry_text);
    field(group.centre_code);
    for (auto& c : group.centre_coordinates) field(c);
    field(group.reduced_count);
    field(group.multiplicity);
    field(group.generator_count);
}

// rot column after column (first index fastest), then tr.
template <class Field>
void operator_fields(auto& op, Field&& field) {
    for (std::size_t j = 0; j < 3; ++j)
        for (std::size_t i = 0; i < 3; ++i) field(op.rot[i][j]);
    for (auto& t : op.tr) field(t);
}

// Minima of x, y, z, then maxima.
template <class Field>
void asymmetric_unit_fields(auto& group, Field&& field) {
    for (std::size_t bound = 0; bound < 2; ++bound)
        for (std::size_t axis = 0; axis < 3; ++axis) field(group.asymmetric_unit[axis][bound]);
}

// The first count that the arrays cannot hold, as its name and value.
std::string capacity_fault(const SpaceGroup& group) {
    if (group.multiplicity > static_cast<std::int32_t>(max_operators))
        return "multiplicity " + std::to_string(group.multiplicity);
    const WyckoffSet& w = group.wyckoff;
    if (w.orbit_count > max_orbits) return "orbit count " + std::to_string(w.orbit_count);
    for (std::int32_t k = 1; k <= w.orbit_count; ++k)
        if (at1(w.orbits, k).position_count > max_positions)
            return "position count " + std::to_string(at1(w.orbits, k).position_count);
    return {};
}

}  // namespace

void write_bin_spacegroup(const SpaceGroup& group, std::int32_t iunit) {
    if (const std::string fault = capacity_fault(group); !fault.empty()) {
        set_err_symm(std::string(not_written) + fault);
        return;
    }
    // Each record is written whole; the first write the unit refuses stops
    // the sequence.
    std::string data;
    const auto write = [&] {
        const bool written = su::write_record(iunit, data);
        data.clear();
        if (!written) set_err_symm(std::string(not_written) + "unit " + std::to_string(iunit));
        return written;
    };
    const auto field = [&](const auto& v) { put(data, v); };

    header_fields(group, field);
    if (!write()) return;
    for (std::int32_t i = 1; i <= group.multiplicity; ++i) {
        operator_fields(at1(group.operators, i), field);
        if (!write()) return;
        put(data, at1(group.operator_symbols, i));
        if (!write()) return;
    }
    asymmetric_unit_fields(group, field);
    if (!write()) return;
    put(data, group.wyckoff.orbit_count);
    if (!write()) return;
    for (std::int32_t k = 1; k <= group.wyckoff.orbit_count; ++k) {
        const WyckoffOrbit& orbit = at1(group.wyckoff.orbits, k);
        put(data, orbit.position_count);
        if (!write()) return;
        put(data, orbit.representative);
        if (!write()) return;
        for (std::int32_t j = 1; j <= orbit.position_count; ++j) {
            put(data, at1(orbit.positions, j));
            if (!write()) return;
        }
    }
}

void read_bin_spacegroup(SpaceGroup& group, std::int32_t iunit, bool& ok) {
    // Everything is read into a copy; the caller's record receives it only
    // when the whole sequence has been read.
    auto copy = std::make_unique<SpaceGroup>();
    std::memcpy(static_cast<void*>(copy.get()), &group, sizeof(SpaceGroup));
    SpaceGroup& g = *copy;
    ok = false;

    const auto read = [iunit](auto&& fill) {
        RecordReader r = next_record(iunit);
        fill(r);
        return r.ok;
    };
    const auto read_text = [&](auto& text) { return read([&](RecordReader& r) { r.get(text); }); };

    if (!read([&](RecordReader& r) { header_fields(g, [&](auto& v) { r.get(v); }); })) return;
    if (g.multiplicity > static_cast<std::int32_t>(max_operators) ||
        g.centring_count > static_cast<std::int32_t>(max_centrings))
        return;
    for (std::int32_t i = 1; i <= g.multiplicity; ++i) {
        if (!read([&](RecordReader& r) { operator_fields(at1(g.operators, i), [&](auto& v) { r.get(v); }); }))
            return;
        if (!read_text(at1(g.operator_symbols, i))) return;
    }
    if (!read([&](RecordReader& r) { asymmetric_unit_fields(g, [&](auto& v) { r.get(v); }); })) return;
    if (!read([&](RecordReader& r) { r.get(g.wyckoff.orbit_count); }) || g.wyckoff.orbit_count > max_orbits)
        return;
    for (std::int32_t k = 1; k <= g.wyckoff.orbit_count; ++k) {
        WyckoffOrbit& orbit = at1(g.wyckoff.orbits, k);
        if (!read([&](RecordReader& r) { r.get(orbit.position_count); }) || orbit.position_count > max_positions)
            return;
        if (!read_text(orbit.representative)) return;
        for (std::int32_t j = 1; j <= orbit.position_count; ++j)
            if (!read_text(at1(orbit.positions, j))) return;
    }
    std::memcpy(static_cast<void*>(&group), copy.get(), sizeof(SpaceGroup));
    ok = true;
}

}  // namespace vorn_crystallographic_symmetry
