#pragma once
// The operator's pinned commands: the rows shown again, in the order pinned,
// in the group "ピン留め" at the top of the file-order and command-order
// views. A pin names its row by command and file field, not by row key, so it
// outlasts reloads, reordering and edits of the list; a pin whose row is gone
// is kept and shows again when the row returns.
//
// The window keeps one Pins beside its rows (LauncherState::pins), reads it
// from the settings at start (pinsFromSettingsValues), hands it to the view
// builds (tree_model.h), and writes it back with the other settings at close,
// or at once on pinning (pinSettingsValues).
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "list/list_row.h"
#include "shell/launcher_settings.h"
#include "text/message_language.h"

namespace morvane {

struct Pin {
    std::u16string command;
    std::u16string file;

    bool operator==(const Pin&) const = default;
};

// Whether the row can be pinned: a command entry (either form) whose command
// is not empty and holds no TAB (the stored value's separator), and whose
// stored value fits what the settings reader returns. The menu item
// "ピン留め" is greyed for any other row.
bool canPin(const ListRow& row);

class Pins {
  public:
    Pins() = default;
    // Pins in this order; a repeated pin is kept once, at its first place.
    explicit Pins(std::vector<Pin> pins);

    const std::vector<Pin>& list() const { return pins_; }
    bool empty() const { return pins_.empty(); }

    // True when a pin names the row's command and file field. Rows that
    // repeat a command and file field are one pin: all read as pinned.
    bool isPinned(const ListRow& row) const;
    // Adds the row's pin at the end. False when it cannot be pinned or
    // already is.
    bool pin(const ListRow& row);
    // Removes the row's pin. False when it was not pinned.
    bool unpin(const ListRow& row);
    // Pins or unpins; returns whether the row is pinned afterwards (false
    // for a row that cannot be pinned).
    bool toggle(const ListRow& row);

  private:
    std::vector<Pin> pins_;
};

// The rows to show in the pin group, in pin order: for each pin, the first
// command entry in file order (lowest row key) holding its command and file
// field. Pins without such a row are left out.
std::vector<const ListRow*> pinnedRows(const ListRows& rows, const Pins& pins);

// The settings file keeps the pins in section [Pinned] (kPinnedSection in
// shell/launcher_settings.h), keys "1", "2", …, in pin order, each value the
// command, a TAB and the file field, as SettingsPairs.

// The section's keys and values, numbered from 1. A value that the settings
// reader would change (blanks at either end are trimmed, a pair of quotes
// around the value removed) is written inside double quotes, which the reader
// removes again. The writer replaces the whole section, so that no key of a
// longer earlier list stays behind.
SettingsPairs pinSettingsValues(const Pins& pins);

struct PinSettingProblem {
    enum Kind {
        kKeyNotNumber, // the key is not 1, 2, …: ignored
        kKeyRepeated,  // the key stands twice: the later is ignored
        kNoCommand,    // the value holds no command: ignored
        kPinRepeated,  // the same pin under an earlier key: kept once
    };
    Kind kind = kKeyNotNumber;
    std::u16string key;
};

// Pins from the section's pairs as the settings reader returns them (blanks
// around the value trimmed and a pair of enclosing quotes removed, as the
// profile functions do), in the order of their keys' numbers; gaps in the
// numbers are allowed. The value splits at its first TAB; a value without a
// TAB is a command without a file field (the reader trims a TAB at the end).
// problems, when given, receives what was skipped, in the pairs' order.
Pins pinsFromSettingsValues(const SettingsPairs& pairs,
                            std::vector<PinSettingProblem>* problems = nullptr);

// A finding for the checker: what is wrong, then what the launcher does.
std::u16string pinSettingProblemText(const PinSettingProblem& problem, MessageLanguage language);

} // namespace morvane
