#include "platform/WritableFolder.h"

namespace platform {

std::u16string FolderOf(const std::u16string& executable) {
    const auto last = executable.find_last_of(kPathDelimiters);
    return last == std::u16string::npos ? std::u16string() : executable.substr(0, last + 1);
}

std::u16string ChooseWritableFolder(IFileSystem& files, const std::u16string& programFolder,
                                    const std::u16string& userFolder) {
    if (userFolder.empty() || files.CanCreateFileIn(programFolder)) return programFolder;
    // Each missing level in turn, from the top; a failure shows in the
    // writes that follow, with the system's text.
    for (auto end = userFolder.find(kPathSeparator, 1); end != std::u16string::npos;
         end = userFolder.find(kPathSeparator, end + 1)) {
        const std::u16string level = userFolder.substr(0, end);
        if (!level.empty() && level.back() != u':' && !files.DirectoryExists(level)) files.CreateDirectory(level);
    }
    return userFolder;
}

}  // namespace platform
