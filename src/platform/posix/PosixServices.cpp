#include "platform/Platform.h"
#include "platform/posix/ConsoleDialogs.h"
#include "platform/posix/PosixClock.h"
#include "platform/posix/PosixCodePage.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixLocale.h"
#include "platform/posix/PosixProcessEnvironment.h"
#include "platform/posix/PosixProcessRunner.h"
#include "platform/posix/PosixRegistry.h"
#include "platform/posix/PosixShell.h"
#include "platform/posix/PosixWindowFinder.h"

namespace platform {

const Services& NativeServices() {
    static PosixProcessEnvironment process;
    static PosixShell shell;
    static PosixFileSystem files;
    static PosixCodePage codePage;
    static PosixLocale locale;
    static PosixClock clock;
    static PosixRegistry registry;
    static PosixWindowFinder windows;
    static ConsoleDialogs dialogs;
    static PosixProcessRunner processes;
    static const Services services{&process, &shell, &files, &codePage, &locale,
                                   &clock, &registry, &windows, &dialogs, &processes};
    return services;
}

}  // namespace platform
