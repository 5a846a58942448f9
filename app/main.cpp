#include "app/Program_Main.h"

int main(int argc, char *argv[]) { return tessaran::ProgramMainBlock(argc, argv); }
