#pragma once
// The main window's caption: the application title with the name of the
// current target, taken from the target list.
//
// The caption has two forms, and both are kept as they are: the one looked
// up at start-up has a blank inside each bracket, "MorvaneX [ name ]"; the
// one set after the target dialog's OK has none, "MorvaneX [name]". They
// came from two places of the launcher as users have always had it, and
// users and their window-finding scripts know both; making them alike
// would change a caption people already see. Both are written here, so the
// difference stays one visible decision.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvane {

struct PlatformServices;

// The main window's designed caption, kept while no target name is known.
inline constexpr std::u16string_view kDesignedCaption = u"Morvane";

// "MorvaneX [ name ]": the caption looked up at start-up.
std::u16string startUpCaption(std::u16string_view name);
// "MorvaneX [name]": the caption after the target dialog's OK.
std::u16string chosenTargetCaption(std::u16string_view name);

// The start-up caption for the first line holding a TAB immediately followed
// by progID (anywhere in the line, with case); the name is the text before
// that TAB.
std::optional<std::u16string> captionFromTargetLines(const std::vector<std::u16string>& lines,
                                                     std::u16string_view progID);

// Reads the target list in folder (which ends with a separator). nullopt when
// the file is missing or no line matches; an existing file that cannot be
// read throws UserError.
std::optional<std::u16string> lookUpCaption(std::u16string_view folder, std::u16string_view progID,
                                            const PlatformServices& services);

} // namespace morvane
