#include "browser/ChromiumHost.h"

namespace TnTarvenixUtils {

void ExecCommandJS(IChromiumHost& _AChrome, const std::u16string& _AJSCommand) {
    // Script from the launcher is a notice to the page: nothing the page or
    // the engine does with it may stop the caller.
    try {
        const std::u16string address = _AChrome.MainFrameUrl();
        _AChrome.ExecuteJavaScript(_AJSCommand, address);
    } catch (...) {
    }
}

}  // namespace TnTarvenixUtils
