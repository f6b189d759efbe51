#pragma once
// The language of a message: the launcher's own texts are Japanese; the
// checker writes its findings in the user's language, Japanese or English.

namespace morvane {

enum class MessageLanguage { kJapanese, kEnglish };

} // namespace morvane
