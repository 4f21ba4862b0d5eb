#pragma once

#include <string>
#include <string_view>
#include <vector>

// Splits a Windows command line the way the program's runtime does: blanks
// and control characters separate, double quotes group (and are dropped),
// there is no escape character, and an empty quoted text where an argument
// would start is skipped. The program name is the first element.
std::vector<std::u16string> SplitWindowsCommandLine(std::u16string_view commandLine);
