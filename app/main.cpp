// The program entry of vimbo 2.
#include "app/CommandLine.hpp"

int main(int argc, char** argv) { return vimbo::RunCommandLine(argc, argv); }
