#pragma once

#include <stdexcept>
#include <string>

namespace kivo {

/// An error that ends an engine run: its message is the one console line to print.
/// Shared code throws it; the engine's main prints it, waits for a key and exits with 1.
class FatalError : public std::runtime_error {
public:
    explicit FatalError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace kivo
