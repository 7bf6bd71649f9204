// The borq program: absolute-structure statistics by the quotient method.
#pragma once

namespace borq {

// Runs the program with the command-line arguments; returns the exit status.
int run(int argc, char** argv);

}  // namespace borq
