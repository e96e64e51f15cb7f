#include <iostream>

#include "tools/kelvora-ini/inspector.h"

int main(int argc, char** argv) { return RunInspector(argc, argv, std::cout, std::cerr); }
