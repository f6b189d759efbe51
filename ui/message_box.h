#pragma once
// The program's one modal message box, in the dark theme, and the error box
// for errors that escape a handler.
#include <windows.h>

#include <string_view>

namespace morvane {

enum class MessageKind {
    Information,
    Warning,
    Error,
    Confirmation
}; // "情報" "警告" "エラー" "確認"
enum class MessageButtons { Ok, OkCancel, YesNo };
enum class MessageResult { Ok, Cancel, Yes, No };

// Modal, centred on the screen, caption by kind, the kind's standard icon,
// buttons "OK", "キャンセル", "はい(&Y)", "いいえ(&N)". Closing the box by its
// close box or Escape gives Cancel (No for YesNo).
MessageResult showMessageBox(HWND owner, std::u16string_view text, MessageKind kind,
                             MessageButtons buttons = MessageButtons::Ok,
                             MessageResult defaultButton = MessageResult::Ok);

// The error box: the text with "." appended when its last character's code is
// above that of ".", caption "MorvaneX", stop icon, one OK.
void showErrorBox(HWND owner, std::u16string_view errorText);

// Runs a handler; an error escaping it (UserError, std::exception) ends the
// handler and shows the error box. The one place that catches them.
template <class Handler> void runGuarded(HWND owner, Handler&& handler) noexcept;

} // namespace morvane

#include "ui/run_guarded.h"
