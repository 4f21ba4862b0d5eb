#include "browser/WindowAddresses.h"

#include <algorithm>

namespace engine {

namespace {

bool IsWeb(std::string_view scheme) { return scheme == "http" || scheme == "https"; }

Destination Outside(const WebOrigin& target, bool byUser) {
    return byUser && MayLeaveTheProgram(target.scheme) ? Destination::DefaultBrowser : Destination::Nowhere;
}

}  // namespace

bool MayLeaveTheProgram(std::string_view scheme) { return IsWeb(scheme) || scheme == "mailto"; }

Destination ForNavigation(const BridgeSenders& sites, const WebOrigin& target, bool byUser) {
    if (IsWeb(target.scheme)) {
        if (!sites.FirstLoadHasEnded()) return Destination::Window;
        const auto site = SiteOf(target);
        const auto trusted = sites.Sites();
        if (site && std::find(trusted.begin(), trusted.end(), *site) != trusted.end()) return Destination::Window;
    }
    return Outside(target, byUser);
}

Destination ForNewWindow(const WebOrigin& target, bool byUser) { return Outside(target, byUser); }

}  // namespace engine
