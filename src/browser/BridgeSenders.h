#pragma once
// Which documents may use the script bridge. A call of external.Notificar
// can start programs on the user's machine, so only the service's own pages
// may make one: documents of the chat address's site, or of the site where
// the chat's first load ended (after the service's own redirects). An
// embedded widget, an advert or a page the chat was navigated to may not.
//
// Free of Qt: the engine layer turns addresses into WebOrigin values.

#include <optional>
#include <string>
#include <vector>

namespace engine {

// What decides an address's site, as the engine reports it.
struct WebOrigin {
    std::string scheme;  // lower case
    std::string host;    // lower case, IDN in its ASCII form, IPv6 without brackets
    int port = -1;       // -1: the scheme's default
};

// A site: for a name, the scheme and the registrable domain taken from the
// public suffix list (the host itself when the list gives none); for an IP
// address or localhost, the exact origin, port included, since there is no
// domain to group by and another port is another service.
struct Site {
    std::string scheme;
    std::string host;
    int port = 0;  // exact sites only
    bool exact = false;
    bool operator==(const Site&) const = default;
};

// Only http and https documents have a site here; anything else (opaque
// origins, data:, file:, error pages) has none and is never trusted.
std::optional<Site> SiteOf(const WebOrigin& origin);

class BridgeSenders {
public:
    // The chat address, given before the first navigation.
    void SetChatAddress(const WebOrigin& address);
    // Where the first load ended; later loads change nothing.
    void FirstLoadEnded(const WebOrigin& address);
    bool FirstLoadHasEnded() const { return loadEnd_.has_value(); }

    // Whether a call made by a document of `sender` is honoured while the
    // top frame shows `top`. Both must be of a trusted site. Until the first
    // load has ended, the site the first navigation has reached counts too.
    bool Honours(const WebOrigin& top, const WebOrigin& sender) const;

    // The trusted sites so far.
    std::vector<Site> Sites() const;

private:
    bool Trusted(const std::optional<Site>& site, const std::optional<Site>& provisional) const;

    std::optional<Site> chat_;
    std::optional<std::optional<Site>> loadEnd_;
};

}  // namespace engine
