#include "browser/BridgeSenders.h"

#include "remote/AttendantAddress.h"
#include "support/TextUtils.h"

#include <libpsl.h>

#include <algorithm>

namespace engine {

namespace {

// The newest list on the machine: the system's copy (kept up to date by its
// package) or the one built into the library, whichever is newer.
const psl_ctx_t* SuffixList() {
    static const psl_ctx_t* const list = [] {
        const psl_ctx_t* latest = psl_latest(nullptr);
        return latest ? latest : psl_builtin();
    }();
    return list;
}

std::string AsciiLower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return text;
}

bool IsAddressOrLocalhost(const std::string& host) {
    const std::u16string text = FromUtf8(host);
    return host == "localhost" || IsIPv4Address(text) || IsIPv6Address(text);
}

}  // namespace

std::optional<Site> SiteOf(const WebOrigin& origin) {
    const std::string scheme = AsciiLower(origin.scheme);
    const std::string host = AsciiLower(origin.host);
    if ((scheme != "http" && scheme != "https") || host.empty()) return std::nullopt;
    if (IsAddressOrLocalhost(host)) {
        const int port = origin.port >= 0 ? origin.port : scheme == "https" ? 443 : 80;
        return Site{scheme, host, port, true};
    }
    const char* domain = SuffixList() ? psl_registrable_domain(SuffixList(), host.c_str()) : nullptr;
    // A host that is itself a public suffix (or that the list does not know
    // at all) is a site of its own.
    return Site{scheme, domain ? std::string(domain) : host, 0, false};
}

void BridgeSenders::SetChatAddress(const WebOrigin& address) {
    chat_ = SiteOf(address);
    loadEnd_.reset();
}

void BridgeSenders::FirstLoadEnded(const WebOrigin& address) {
    if (!loadEnd_) loadEnd_ = SiteOf(address);
}

bool BridgeSenders::Trusted(const std::optional<Site>& site, const std::optional<Site>& provisional) const {
    if (!site) return false;
    if (site == chat_) return true;
    if (loadEnd_) return site == *loadEnd_;
    return site == provisional;
}

bool BridgeSenders::Honours(const WebOrigin& top, const WebOrigin& sender) const {
    const std::optional<Site> topSite = SiteOf(top);
    return Trusted(topSite, topSite) && Trusted(SiteOf(sender), topSite);
}

std::vector<Site> BridgeSenders::Sites() const {
    std::vector<Site> sites;
    if (chat_) sites.push_back(*chat_);
    if (loadEnd_ && *loadEnd_ && *loadEnd_ != chat_) sites.push_back(**loadEnd_);
    return sites;
}

}  // namespace engine
