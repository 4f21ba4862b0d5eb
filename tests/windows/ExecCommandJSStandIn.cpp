#include "browser/ChromiumHost.h"

namespace TnTarvenixUtils {

void ExecCommandJS(IChromiumHost& _AChrome, const std::u16string& _AJSCommand) {
    _AChrome.ExecuteJavaScript(_AJSCommand, _AChrome.MainFrameUrl());
}

}  // namespace TnTarvenixUtils
