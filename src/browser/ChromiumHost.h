#pragma once
// The browser host control as the windows see it: at most one embedded
// browser, its first address, its creation and close, script in the main
// frame and the engine's events. The Qt WebEngine control implements it;
// tests use a fake.

#include <functional>
#include <string>
#include <vector>

struct BridgeMessage {
    std::u16string name;
    // The argument list; absent for a message that carries none.
    bool hasArguments = true;
    std::vector<std::u16string> arguments;
};

class IChromiumHost {
public:
    virtual ~IChromiumHost() = default;

    // Address of the first navigation; set before CreateBrowser.
    virtual void SetDefaultUrl(const std::u16string& url) = 0;
    virtual std::u16string DefaultUrl() const = 0;
    // The address whose site is the host's own; the first address's when
    // none is set (a window whose first address is a waiting page sets it).
    virtual void SetSiteAddress(const std::u16string& url) = 0;
    // Requests the browser's creation; false while the engine is not ready,
    // or when a browser exists or is being created.
    virtual bool CreateBrowser() = 0;
    // True from the browser's creation until it is closed.
    virtual bool Initialized() const = 0;
    // Forced close; nothing unless Initialized.
    virtual void CloseBrowser(bool forceClose) = 0;
    // The main frame's current address; empty without a browser.
    virtual std::u16string MainFrameUrl() const = 0;
    // Runs script in the main frame, without result; nothing without a browser.
    virtual void ExecuteJavaScript(const std::u16string& code, const std::u16string& scriptUrl) = 0;
    // Deletes all cookies; nothing unless Initialized.
    virtual void DeleteCookies() = 0;

    // Engine events, for every frame of every navigation.
    std::function<void(bool mainFrame, int httpStatusCode)> OnLoadEnd;
    std::function<void(bool mainFrame, int errorCode, const std::u16string& errorText,
                       const std::u16string& failedUrl)>
        OnLoadError;
    // Bridge messages from the page; answers whether the message was handled.
    std::function<bool(const BridgeMessage& message)> OnProcessMessageReceived;
};

namespace TnTarvenixUtils {

// Runs a script in the main frame of the host's browser and returns at once;
// never fails, and does nothing when no browser exists yet.
void ExecCommandJS(IChromiumHost& _AChrome, const std::u16string& _AJSCommand);

}  // namespace TnTarvenixUtils
