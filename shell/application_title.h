#pragma once
// The application title: it heads the main window's caption once a target
// name is known, and it is the caption of the application's error box.
#include <string_view>

namespace morvane {

inline constexpr std::u16string_view kApplicationTitle = u"MorvaneX";

} // namespace morvane
