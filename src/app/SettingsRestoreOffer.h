// The restore of the settings that boosts changed, as the main window offers it:
// the question, the restore and its report, each in a message box of the window.
#pragma once

#include <string>

#include "platform/BaseTypes.h"
#include "restore/SettingsRestore.h"

// The values put back, and on a second line the record lines refused, if there were any.
std::string SettingsRestoreReport(const SettingsRestoreResult& result);
// Says that the records cannot be read (no usable state folder: empty) or that there is
// nothing to restore, or asks and then restores and reports.
void OfferSettingsRestore(win::HWND owner, const std::string& caption, const std::string& stateFolder);
