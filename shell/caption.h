#pragma once
// The main window's caption: the application title with the name of the
// current target, taken from the target list.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvane {

struct PlatformServices;

inline constexpr std::u16string_view kApplicationTitle = u"MorvaneX";
inline constexpr std::u16string_view kDesignedCaption = u"Morvane";

// "MorvaneX [ name ]" for the first line holding a TAB immediately followed by
// progID (anywhere in the line, with case); name is the text before that TAB.
std::optional<std::u16string> captionFromTargetLines(const std::vector<std::u16string>& lines,
                                                     std::u16string_view progID);

// Reads the target list in folder (which ends with a separator). nullopt when
// the file is missing or no line matches; an existing file that cannot be
// read throws UserError.
std::optional<std::u16string> lookUpCaption(std::u16string_view folder, std::u16string_view progID,
                                            const PlatformServices& services);

} // namespace morvane
