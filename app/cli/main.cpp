#include "app/cli/CliMain.h"

#include <iostream>

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    return brennic::cli::Run_cli(argc, argv, std::cout, std::cerr);
}
