#pragma once
// The main window's "ターゲット CAD" command: the dialog over an owner that
// steps out of always-on-top meanwhile, and the chosen target on OK.
#include <windows.h>

#include <string>
#include <string_view>

namespace morvane {

class TTargetCADForm;

// Main window not topmost and dialog topmost while it is open; the order is
// restored afterwards whatever the result. On OK the caption becomes
// appTitle + " [" + Edit1 + "]" and targetProgID the text of Edit2.
// Returns the dialog's result.
int chooseTargetCad(HWND mainWindow, std::u16string_view appTitle, TTargetCADForm& form,
                    std::u16string& targetProgID);

} // namespace morvane
