#include <iostream>

#include "cli/finder_cli.h"

int main(int argc, char** argv) {
    return RunFinderCli(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
