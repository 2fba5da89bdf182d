#pragma once

#include <QString>

#include "common/settings_format.h"
#include "frontend/edited_settings.h"

namespace kivo::gui {

/// The name of a settings file that has not been saved yet.
inline const QString kNonameSettingsFile = QStringLiteral("Noname.kvo");

/// The settings a file would hold for the edited settings and the unit item shown.
SettingsFileValues ToSettingsFileValues(const EditedSettings& settings, int unitChoice);

/// Takes the values a settings file gave into the edited settings (file names as Latin-1).
void TakeSettingsFileValues(const SettingsFileValues& values, EditedSettings& settings);

/// The file-system tests the settings reader uses in the front end.
SettingsFileSystem FrontEndFileSystem();

}  // namespace kivo::gui
