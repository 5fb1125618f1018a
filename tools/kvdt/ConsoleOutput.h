#pragma once
// Text out of a console program: UTF-8 bytes into files and pipes, wide
// characters into a console window (which would show UTF-8 as mojibake).

#include <string>

namespace Kvdt {

// False when the text could not be written completely.
bool WriteStandardOutput(const std::string& utf8);
bool WriteStandardError(const std::string& utf8);

} // namespace Kvdt
