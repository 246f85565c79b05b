// qla-loggen: generates synthetic game console logs.
#include <iostream>

#include "run_loggen.h"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    return loggen::runLogGen(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
