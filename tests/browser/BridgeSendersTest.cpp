#include "browser/BridgeSenders.h"
#include "browser/WindowAddresses.h"

#include <gtest/gtest.h>

namespace {

using engine::BridgeSenders;
using engine::Destination;
using engine::SiteOf;
using engine::WebOrigin;

WebOrigin O(std::string scheme, std::string host, int port = -1) { return {std::move(scheme), std::move(host), port}; }

TEST(BridgeSite, NamesGroupByRegistrableDomainAndAddressesByExactOrigin) {
    EXPECT_EQ(SiteOf(O("https", "chat.example.com")), SiteOf(O("https", "www.Example.COM", 8443)));
    EXPECT_EQ(SiteOf(O("https", "a.example.co.uk")), SiteOf(O("https", "b.example.co.uk")));
    EXPECT_NE(SiteOf(O("https", "chat.example.com")), SiteOf(O("http", "chat.example.com")));
    EXPECT_NE(SiteOf(O("https", "example.co.uk")), SiteOf(O("https", "other.co.uk")));
    // Domains under a private suffix belong to different owners.
    EXPECT_NE(SiteOf(O("https", "a.github.io")), SiteOf(O("https", "b.github.io")));
    EXPECT_EQ(SiteOf(O("https", "github.io"))->host, "github.io");
    EXPECT_EQ(SiteOf(O("http", "helpdesk.intranet"))->host, "helpdesk.intranet");

    EXPECT_EQ(SiteOf(O("http", "127.0.0.1")), SiteOf(O("http", "127.0.0.1", 80)));
    EXPECT_NE(SiteOf(O("http", "127.0.0.1", 5000)), SiteOf(O("http", "127.0.0.1", 5001)));
    EXPECT_NE(SiteOf(O("http", "10.0.0.1")), SiteOf(O("http", "1.0.0.1")));
    EXPECT_NE(SiteOf(O("http", "localhost", 5000)), SiteOf(O("http", "localhost", 5001)));
    EXPECT_NE(SiteOf(O("http", "::1", 5000)), SiteOf(O("http", "::1", 5001)));

    for (const auto& none : {O("", ""), O("data", ""), O("file", ""), O("chrome-error", "chromewebdata"),
                             O("qrc", "tarvenix"), O("https", "")})
        EXPECT_FALSE(SiteOf(none).has_value()) << none.scheme;
}

TEST(BridgeSenders, TheChatSiteAndWhereTheFirstLoadEndedAreTrustedInTheTopFrameOnly) {
    BridgeSenders senders;
    senders.SetChatAddress(O("http", "helpdesk.example.com"));
    const WebOrigin login = O("https", "login.tarvenix.net"), cdn = O("https", "cdn.tarvenix.net"),
                    chat = O("http", "www.helpdesk.example.com"), ad = O("https", "ads.example.org");

    // While the first load is under way, wherever it has got to counts.
    EXPECT_TRUE(senders.Honours(login, login));
    EXPECT_TRUE(senders.Honours(login, cdn));
    EXPECT_FALSE(senders.Honours(login, ad));
    EXPECT_TRUE(senders.Honours(chat, chat));

    senders.FirstLoadEnded(login);
    senders.FirstLoadEnded(ad);  // only the first counts
    EXPECT_TRUE(senders.Honours(login, cdn));
    EXPECT_TRUE(senders.Honours(login, chat));
    EXPECT_TRUE(senders.Honours(chat, login));
    EXPECT_FALSE(senders.Honours(login, ad));
    // A top frame elsewhere loses the bridge, and so do the trusted frames
    // inside it.
    EXPECT_FALSE(senders.Honours(ad, ad));
    EXPECT_FALSE(senders.Honours(ad, login));
    EXPECT_FALSE(senders.Honours(O("https", "helpdesk.example.com"), O("https", "helpdesk.example.com")));
    EXPECT_EQ(senders.Sites().size(), 2u);
}

TEST(BridgeSenders, ALoadEndingOnAPageWithoutSiteTrustsNothingMore) {
    BridgeSenders senders;
    senders.SetChatAddress(O("http", "127.0.0.1", 8080));
    senders.FirstLoadEnded(O("chrome-error", "chromewebdata"));
    EXPECT_FALSE(senders.Honours(O("chrome-error", "chromewebdata"), O("chrome-error", "chromewebdata")));
    EXPECT_FALSE(senders.Honours(O("http", "127.0.0.1", 8081), O("http", "127.0.0.1", 8081)));
    EXPECT_TRUE(senders.Honours(O("http", "127.0.0.1", 8080), O("http", "127.0.0.1", 8080)));
    EXPECT_EQ(senders.Sites().size(), 1u);
}

TEST(WindowAddresses, TheWindowShowsItsSitesAndOnlyWebAndMailAddressesLeaveAndOnlyByTheUser) {
    BridgeSenders sites;
    sites.SetChatAddress(O("http", "helpdesk.example.com"));
    const WebOrigin login = O("https", "login.tarvenix.net"), other = O("https", "news.example.org");

    // The first load goes where the service sends it, on the web only.
    EXPECT_EQ(engine::ForNavigation(sites, login, false), Destination::Window);
    EXPECT_EQ(engine::ForNavigation(sites, O("tarvx-test", ""), false), Destination::Nowhere);
    sites.FirstLoadEnded(login);

    EXPECT_EQ(engine::ForNavigation(sites, O("http", "www.helpdesk.example.com", 8080), false), Destination::Window);
    EXPECT_EQ(engine::ForNavigation(sites, O("https", "cdn.tarvenix.net"), false), Destination::Window);
    EXPECT_EQ(engine::ForNavigation(sites, O("https", "helpdesk.example.com"), true), Destination::DefaultBrowser)
        << "another scheme is another site";
    EXPECT_EQ(engine::ForNavigation(sites, other, true), Destination::DefaultBrowser);
    EXPECT_EQ(engine::ForNavigation(sites, other, false), Destination::Nowhere);
    EXPECT_EQ(engine::ForNavigation(sites, O("mailto", ""), true), Destination::DefaultBrowser);
    for (const char* scheme : {"file", "javascript", "data", "blob", "ms-msdt", "search-ms", "tarvx-test", ""}) {
        EXPECT_EQ(engine::ForNavigation(sites, O(scheme, ""), true), Destination::Nowhere) << scheme;
        EXPECT_EQ(engine::ForNewWindow(O(scheme, ""), true), Destination::Nowhere) << scheme;
    }
    // A new window is never the program's, not even of the chat's own site.
    EXPECT_EQ(engine::ForNewWindow(O("http", "helpdesk.example.com"), true), Destination::DefaultBrowser);
    EXPECT_EQ(engine::ForNewWindow(other, false), Destination::Nowhere);
}

}  // namespace
