#include "app/znProgram.h"

int main(int argc, char** argv) { return RunKalvor(argc, argv); }
