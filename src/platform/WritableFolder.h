#pragma once
// The choice of the folder the program writes in. Users often cannot write
// in the folder the program is installed in ("C:\Program Files", /opt);
// everything the program writes then goes to a folder of the user's own,
// with the same layout below it.

#include "platform/FileSystem.h"

#include <string>

namespace platform {

// The folder part of an executable's path, ending with the separator.
std::u16string FolderOf(const std::u16string& executable);

// `programFolder` when a file can be created there; otherwise `userFolder`,
// created with the folders above it when missing.
std::u16string ChooseWritableFolder(IFileSystem& files, const std::u16string& programFolder,
                                    const std::u16string& userFolder);

}  // namespace platform
