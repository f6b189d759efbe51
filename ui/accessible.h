#pragma once
// What a screen reader says of a control: the name and role of its Active
// Accessibility object, which UI Automation also reads for windows that
// answer WM_GETOBJECT themselves. The system's own object (oleacc's) keeps
// telling the rest: state, value, place, children such as a tree's rows.
// Under Wine that object gives every control but an edit the role
// "client", so each control states its role here.
#include <windows.h>

#include <oleacc.h>

#include <string_view>

namespace morvane {

// The control's client object gets name and role (ROLE_SYSTEM_*). An empty
// name keeps the system's: the control's text for buttons and labels, the
// label created just before it for an edit. The control must leave
// GWLP_USERDATA to the hook chain.
void describeForAccessibility(HWND control, std::u16string_view name, LONG role);

// For a window procedure of our own: the answer to WM_GETOBJECT, the
// window's client object with name and role, or 0 for any other object
// (the caller then passes the message on).
LRESULT answerGetObject(HWND window, WPARAM wp, LPARAM lp, std::u16string_view name, LONG role);

} // namespace morvane
