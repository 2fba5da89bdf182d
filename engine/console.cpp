#include "engine/console.h"

#include <iostream>

#include "common/fatal_error.h"

namespace kivo {
namespace {

std::ostream* consoleOut = &std::cout;
std::istream* consoleIn = &std::cin;

}  // namespace

std::ostream& ConsoleOut() {
    return *consoleOut;
}

void SetConsoleStreams(std::ostream* out, std::istream* in) {
    consoleOut = out ? out : &std::cout;
    consoleIn = in ? in : &std::cin;
}

void PrintLine(const std::string& line) {
    // Flushed at once: the front end shows the engine's output live through a pipe.
    *consoleOut << line << '\n';
    consoleOut->flush();
}

void WaitForKey() {
    consoleOut->flush();
    consoleIn->get();
    if (!*consoleIn) consoleIn->clear();
}

void ReportFatalError(const std::string& message) {
    throw FatalError(message);
}

}  // namespace kivo
