#include "console/command_line.h"

#include <algorithm>
#include <iostream>

int main(int argc, char** argv) {
    // argv[0] is the program's name, where there is one at all.
    return ferrow::runWithArguments({argv + std::min(argc, 1), argv + argc}, std::cout, std::cerr);
}
