#include "app/borq.hpp"

namespace borq {

int run(int, char**) { return 0; }

}  // namespace borq
