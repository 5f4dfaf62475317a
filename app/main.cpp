// The program entry of vimbo 2.
#include "app/Program.hpp"

int main() { return vimbo::RunProgram(); }
