#pragma once
// Lines of LISP source as the indexer passes them between its stages.
#include <string>
#include <vector>

namespace morvane {

using LspLines = std::vector<std::u16string>;

} // namespace morvane
