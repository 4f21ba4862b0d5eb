#include "platform/Platform.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32Dialogs.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Locale.h"
#include "platform/win32/Win32ProcessEnvironment.h"
#include "platform/win32/Win32ProcessRunner.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32WindowFinder.h"

namespace platform {

const Services& NativeServices() {
    static Win32ProcessEnvironment process;
    static Win32Shell shell;
    static Win32FileSystem files;
    static Win32CodePage codePage;
    static Win32Locale locale;
    static Win32Clock clock;
    static Win32Registry registry;
    static Win32WindowFinder windows;
    static Win32Dialogs dialogs;
    static Win32ProcessRunner processes;
    static const Services services{&process, &shell, &files, &codePage, &locale,
                                   &clock, &registry, &windows, &dialogs, &processes};
    return services;
}

}  // namespace platform
