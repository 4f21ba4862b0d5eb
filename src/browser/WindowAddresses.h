#pragma once
// Which addresses a window shows and which leave it. A window shows only the
// service's own sites, the ones the bridge trusts; what the user opens
// elsewhere goes to the default browser, and nothing but web and mail
// addresses is ever handed to the system.
//
// Free of Qt: the engine layer asks these rules and carries out the answer.

#include "browser/BridgeSenders.h"

#include <chrono>
#include <string_view>

namespace engine {

enum class Destination {
    Window,          // shown in the window itself
    DefaultBrowser,  // handed to the user's default browser
    Nowhere,         // opened nowhere, and written to the action log
};

// How long a click or a key press counts as the user's own for what the page
// does next, as the engine counts it for pop-ups.
inline constexpr std::chrono::milliseconds kUserActivationSpan{5000};

// http, https and mailto: the only schemes the system is ever handed.
bool MayLeaveTheProgram(std::string_view scheme);

// A navigation of the top frame to `target`. Until the window's first load
// has ended, the service's own redirects and sign-in pages take it where
// they need to; after that only the trusted sites are shown. `byUser`: a
// click or a key of the user's started it.
Destination ForNavigation(const BridgeSenders& sites, const WebOrigin& target, bool byUser);

// A new window the page asks for (a link with a target, window.open) or
// "open link" in the context menu: never a window of the program.
Destination ForNewWindow(const WebOrigin& target, bool byUser);

}  // namespace engine
