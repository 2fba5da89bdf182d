#pragma once

#include <string>

namespace kivo {

/// The number of the completion notice the front end waits for.
inline constexpr int RunFinishedMessage = 1425;

/// The local socket name a front end titled `windowTitle` listens on for this user.
std::string NoticeSocketName(const std::string& windowTitle);

/// Tells the front end whose title is "KIVO GUI - " + settingsFile that the run is complete.
/// Never waits; sends nothing when no such front end listens.
void SendCompletionNotice(const std::string& settingsFile);

}  // namespace kivo
