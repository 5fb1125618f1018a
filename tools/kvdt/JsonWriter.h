#pragma once
// Pieces of JSON output for the text form, which lays its lines out itself
// (one value per line reads and diffs better than a generic pretty printer).

#include <string>

namespace Kvdt {

// A JSON string literal of valid UTF-8: quotes, backslashes, control
// characters and invisible separators escaped, everything else as it is.
std::string QuoteJson(const std::string& utf8);

} // namespace Kvdt
