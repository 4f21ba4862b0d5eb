#include "FuzzInput.h"
#include "startup/WindowsCommandLine.h"

// Properties: every argument is non-empty and holds neither a quote nor a
// terminator; quoting each argument and joining with blanks splits back to
// the same arguments.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::u16string line = TextFromBytes(data, size);
    const auto args = SplitWindowsCommandLine(line);
    std::u16string rebuilt;
    for (const auto& arg : args) {
        Check(!arg.empty());
        Check(arg.find(u'"') == std::u16string::npos);
        Check(arg.find(u'\0') == std::u16string::npos);
        Check(arg.size() <= line.size());
        rebuilt += u"\"" + arg + u"\" ";
    }
    Check(SplitWindowsCommandLine(rebuilt) == args);
    return 0;
}
