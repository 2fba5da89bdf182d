#pragma once

#include <string>

namespace kivo {

/// The number of the completion notice the front end waits for.
inline constexpr int RunFinishedMessage = 1425;

/// The local socket name a front end titled `windowTitle` listens on for this user:
/// "kivo-gui-" + the user id in decimal + "-" + the 64-bit FNV-1a hash of the exact title
/// bytes as 16 lower-case hex digits, e.g. "kivo-gui-1000-0123456789abcdef". The socket
/// itself is the Unix-domain stream socket "/tmp/" + that name (NoticeSocketPath); the front
/// end listens there (QLocalServer::listen with the full path) while its title is
/// "KIVO GUI - " + the settings path, and reads the notice "1425\n".
std::string NoticeSocketName(const std::string& windowTitle);

/// The full path of the socket for a front end titled `windowTitle`.
std::string NoticeSocketPath(const std::string& windowTitle);

/// Tells the front end whose title is "KIVO GUI - " + settingsFile that the run is complete.
/// Never waits; sends nothing when no such front end listens.
void SendCompletionNotice(const std::string& settingsFile);

}  // namespace kivo
