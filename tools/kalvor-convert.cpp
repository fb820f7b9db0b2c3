// kalvor-convert: converts a Terragen terrain into RWX objects from the
// command line.
#include <iostream>

#include "tools/znConvertCli.h"

int main(int argc, char** argv) { return RunConvertCli(argc, argv, std::cout, std::cerr); }
