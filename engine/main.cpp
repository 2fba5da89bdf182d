#include <string>
#include <vector>

#include "engine/run_driver.h"

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    return kivo::RunEngine(arguments);
}
