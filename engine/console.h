#pragma once

#include <iosfwd>
#include <string>

namespace kivo {

/// The engine's console: messages go to standard output, waits read one byte of standard
/// input (the end of the input ends a wait at once). Tests point it at their own streams.
std::ostream& ConsoleOut();
void SetConsoleStreams(std::ostream* out, std::istream* in);

/// Prints one line followed by a line end.
void PrintLine(const std::string& line);
/// Waits for one character of standard input.
void WaitForKey();

/// Ends the run on an error: throws FatalError, which the engine's main reports (message,
/// wait for a key, exit code 1). Never returns.
[[noreturn]] void ReportFatalError(const std::string& message);

}  // namespace kivo
