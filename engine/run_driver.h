#pragma once

#include <string>
#include <vector>

namespace kivo {

/// Runs one analysis from the command-line arguments (without the program name) to the
/// completion notice and returns the exit code (0 complete, 1 after any failure); every
/// failure is reported on the console and waited for first.
int RunEngine(const std::vector<std::string>& arguments);

}  // namespace kivo
