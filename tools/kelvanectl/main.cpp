#include "HugePageHeap.hpp"
#include "Kelvanectl.hpp"

#include <iostream>

int main(int argc, char** argv) {
    kelvane::ctl::useHugePagesForHeap();
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const int code = kelvane::ctl::run(arguments, std::cout, std::cerr);
    std::cout.flush();
    return code;
}
