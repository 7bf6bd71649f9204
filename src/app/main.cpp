// Process entry of the borq program.
#include "app/borq.hpp"

int main(int argc, char** argv) { return borq::run(argc, argv); }
