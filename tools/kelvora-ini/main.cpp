#include <iostream>

#include "tools/kelvora-ini/ini_report.h"

int main(int argc, char** argv) { return RunInspector(argc, argv, std::cout, std::cerr); }
