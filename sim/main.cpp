#include <iostream>

#include "sim/camsim_command.h"

int main(int argc, char** argv) {
    return CamsimMain(argc, argv, std::cout, std::cerr);
}
