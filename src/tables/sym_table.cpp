// Module state of vorn_symmetry_tables: the error pair and the tables that
// their fill procedures write (see sym_table.hpp for who writes and reads them).
#include "tables/sym_table.hpp"

namespace vorn_symmetry_tables {

bool err_symtab = false;
std::string err_symtab_mess;

std::vector<SpaceGroupInfo> spgr_info;
std::array<FixedText<120>, 231> spg_gen;
std::vector<WyckoffInfo> wyckoff_info;

}  // namespace vorn_symmetry_tables
