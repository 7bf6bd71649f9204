// Stored space-group records on arbitrary bytes: the input is a stored file,
// read group after group.  A refused read leaves the caller's record bit for
// bit as it was; an accepted one, written back, gives bytes that read back as
// the same record.
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "fuzz_input.hpp"
#include "symmetry/symmetry.hpp"
#include "text/string_util.hpp"

namespace cs = vorn_crystallographic_symmetry;
namespace su = vorn_string_utilities;
using borq_fuzz::invariant_failed;

namespace {

constexpr std::int32_t unit = 61;

bool same_bytes(const cs::SpaceGroup& a, const cs::SpaceGroup& b) {
    return std::memcmp(&a, &b, sizeof(cs::SpaceGroup)) == 0;
}

// A record with every byte set, the logical kept valid, so that a field the
// reader should not touch shows any change.
std::unique_ptr<cs::SpaceGroup> patterned() {
    auto g = std::make_unique<cs::SpaceGroup>();
    std::memset(static_cast<void*>(g.get()), 0x5a, sizeof(cs::SpaceGroup));
    g->hexagonal = true;
    return g;
}

// The bytes that the writer stores for the record.
std::string stored_bytes(const cs::SpaceGroup& group, const std::string& path) {
    if (!su::open_unit(unit + 1, path, su::UnitAccess::write, su::UnitForm::unformatted))
        invariant_failed("scratch file not opened", path);
    cs::init_err_symm();
    cs::write_bin_spacegroup(group, unit + 1);
    su::close_unit(unit + 1);
    if (cs::err_symm) invariant_failed("an accepted record is not written back", cs::err_symm_mess);
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// An accepted record written back reads back into a fresh record whose
// stored bytes are the same.
void check_round_trip(const cs::SpaceGroup& group) {
    const std::string path = borq_fuzz::write_scratch_file("stored_record_back.bin", "");
    const std::string first = stored_bytes(group, path);
    auto back = std::make_unique<cs::SpaceGroup>();
    bool ok = false;
    if (!su::open_unit(unit + 1, path, su::UnitAccess::read, su::UnitForm::unformatted))
        invariant_failed("scratch file not reopened", path);
    cs::read_bin_spacegroup(*back, unit + 1, ok);
    su::close_unit(unit + 1);
    if (!ok) invariant_failed("a written record does not read back", path);
    if (stored_bytes(*back, path) != first) invariant_failed("a written record reads back otherwise", path);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 65536) return 0;
    const std::string path =
        borq_fuzz::write_scratch_file("stored_record.bin", std::string(reinterpret_cast<const char*>(data), size));
    if (!su::open_unit(unit, path, su::UnitAccess::read, su::UnitForm::unformatted))
        invariant_failed("scratch file not opened", path);
    for (int n = 0; n < 8; ++n) {
        auto group = patterned();
        auto before = patterned();
        bool ok = false;
        cs::read_bin_spacegroup(*group, unit, ok);
        if (!ok) {
            if (!same_bytes(*group, *before)) invariant_failed("a refused read changed the record", "");
            break;
        }
        check_round_trip(*group);
    }
    su::close_unit(unit);
    return 0;
}
