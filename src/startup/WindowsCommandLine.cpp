#include "startup/WindowsCommandLine.h"

std::vector<std::u16string> SplitWindowsCommandLine(std::u16string_view commandLine) {
    // The command line ends at its terminator, as the system hands it over.
    commandLine = commandLine.substr(0, commandLine.find(u'\0'));
    const size_t n = commandLine.size();
    auto isSeparator = [](char16_t c) { return c <= u' '; };

    std::vector<std::u16string> args;
    size_t i = 0;
    while (true) {
        while (true) {
            while (i < n && isSeparator(commandLine[i])) ++i;
            if (i + 1 < n && commandLine[i] == u'"' && commandLine[i + 1] == u'"') i += 2;
            else break;
        }
        std::u16string arg;
        while (i < n && !isSeparator(commandLine[i])) {
            if (commandLine[i] == u'"') {
                ++i;
                while (i < n && commandLine[i] != u'"') arg += commandLine[i++];
                if (i < n) ++i;
            } else {
                arg += commandLine[i++];
            }
        }
        // An empty argument can only come at the very end (a lone quote);
        // the runtime stops counting there.
        if (arg.empty()) break;
        args.push_back(std::move(arg));
    }
    return args;
}
