#pragma once
// The operating-system services the core relies on, one small interface per
// concern. The core reaches them only through Current(), so tests can put
// fakes in their place and every rule runs without a display. They are the
// same for every thread, and are replaced only while no other thread of
// the program runs.

#include "platform/Clock.h"
#include "platform/CodePage.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/Locale.h"
#include "platform/ProcessEnvironment.h"
#include "platform/ProcessRunner.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "platform/WindowFinder.h"

#include <memory>

namespace platform {

struct Services {
    IProcessEnvironment* process = nullptr;
    IShell* shell = nullptr;
    IFileSystem* files = nullptr;
    ICodePage* codePage = nullptr;
    ILocale* locale = nullptr;
    IClock* clock = nullptr;
    IRegistry* registry = nullptr;
    IWindowFinder* windows = nullptr;
    IDialogs* dialogs = nullptr;
    IProcessRunner* processes = nullptr;
};

// The services in force. Until something is installed these are the native
// ones of the operating system the program was built for.
Services& Current();

// Replaces some or all services for the lifetime of the object (tests, and
// the GUI layer, which brings its own dialogs and window search).
class ScopedServices {
public:
    explicit ScopedServices(const Services& replacement);
    ~ScopedServices();
    ScopedServices(const ScopedServices&) = delete;
    ScopedServices& operator=(const ScopedServices&) = delete;

private:
    Services previous_;
};

// Installs services for the rest of the process; fields left null keep the
// service in force.
void Install(const Services& services);

// The native implementation, built once per process.
const Services& NativeServices();

}  // namespace platform
