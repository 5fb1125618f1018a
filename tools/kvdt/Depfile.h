#pragma once
// Dependency files in the Make syntax that Ninja reads, so a build reruns a
// conversion when any file its text pulls in changes.

#include <string>
#include <vector>

namespace Kvdt {

// "target: dep dep ...\n" with spaces, '#' and '$' escaped.
std::string DepfileText(const std::string& target, const std::vector<std::string>& dependencies);

} // namespace Kvdt
