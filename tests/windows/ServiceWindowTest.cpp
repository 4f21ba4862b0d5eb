#include "windows/nFrmWebBrowserPadrao_U.h"

#include "WindowFixture.h"
#include "windows/WaitingPage.h"

#include <QTextDocument>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <thread>

namespace {

constexpr char16_t kLoadErrorText[] =
    u"Não foi possível conectar ao Tarvenix. Deseja abrir o endereço pelo seu navegador ? ";

class ServiceWindowTest : public WindowFixture<TnFrmWebBrowserPadrao> {
protected:
    void OpenAndFail(const std::u16string& url, int answer) {
        window->Abrir(url);
        window->show();
        platform.dialogs.answers = {answer};
        std::thread engine([this] { host->OnLoadError(false, -3, u"ABORTED", u""); });
        engine.join();
        ProcessPosted();
    }
};

TEST_F(ServiceWindowTest, AbrirSetsTheWaitingPageAndOnlyTheLoadErrorEvent) {
    EXPECT_FALSE(window->isVisible());
    const std::u16string url = u"http://h/novo?token=x&isDravelt=true";
    window->Abrir(url);
    EXPECT_EQ(host->defaultUrl, WaitingPageUrl(url));
    EXPECT_TRUE(host->OnLoadError);
    EXPECT_FALSE(host->OnLoadEnd);
    EXPECT_FALSE(host->OnProcessMessageReceived) << "its pages' bridge messages go nowhere";
}

TEST_F(ServiceWindowTest, LoadErrorYesOpensTheAddressWithoutTheFirstMarker) {
    OpenAndFail(u"http://h/s?a=1&isDravelt=true&b=2&isDravelt=true", platform::ResultYes);
    ASSERT_EQ(platform.dialogs.shown.size(), 1u);
    const auto& dialog = platform.dialogs.shown[0];
    EXPECT_EQ(dialog.text, kLoadErrorText);
    EXPECT_EQ(dialog.kind, platform::DialogKind::Error);
    EXPECT_EQ(dialog.buttons, (std::vector<platform::DialogButton>{platform::DialogButton::Yes,
                                                                    platform::DialogButton::No}));
    EXPECT_EQ(dialog.captions, (std::vector<std::u16string>{u"Sim", u"Não"}));
    EXPECT_EQ(dialog.title, u"Tarvenix");
    EXPECT_EQ(platform.shell.opened, std::vector<std::u16string>{u"http://h/s?a=1&b=2&isDravelt=true"});
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(closedNotices, 1);
}

TEST_F(ServiceWindowTest, LoadErrorNoClosesWithoutOpeningAndFurtherErrorsAreNotAsked) {
    OpenAndFail(u"http://h/s?isDravelt=true", platform::ResultNo);
    EXPECT_TRUE(platform.shell.opened.empty());
    EXPECT_FALSE(window->isVisible());
    host->OnLoadError(true, -2, u"", u"");
    ProcessPosted();
    EXPECT_EQ(platform.dialogs.shown.size(), 1u);
}

TEST_F(ServiceWindowTest, ClosingByTheUserAsksAndDeletesNothing) {
    window->Abrir(u"http://h/");
    window->show();
    window->close();
    EXPECT_TRUE(platform.dialogs.shown.empty());
    EXPECT_TRUE(platform.files.deleted.empty());
    EXPECT_TRUE(host->closeCalls.empty());
    EXPECT_EQ(closedNotices, 1);
}

// Reads the waiting page back the way a browser does: percent-decoding of
// the data address, then HTML.
struct ReadPage {
    std::u16string html;
    std::u16string refreshTarget;
    QString bodyText;
};

std::u16string HtmlUnescape(std::u16string text) {
    const std::pair<std::u16string, std::u16string> entities[] = {
        {u"&quot;", u"\""}, {u"&#39;", u"'"}, {u"&lt;", u"<"}, {u"&gt;", u">"}, {u"&amp;", u"&"}};
    for (const auto& [entity, plain] : entities)
        for (auto at = text.find(entity); at != std::u16string::npos; at = text.find(entity, at + plain.size()))
            text.replace(at, entity.size(), plain);
    return text;
}

ReadPage Read(const std::u16string& dataUrl) {
    const std::u16string prefix = u"data:text/html;charset=utf-8,";
    EXPECT_EQ(dataUrl.substr(0, prefix.size()), prefix);
    const std::u16string encoded = dataUrl.substr(prefix.size());
    EXPECT_EQ(encoded.find_first_of(u"#\"<> "), std::u16string::npos) << "characters a data address cannot carry";
    ReadPage page;
    page.html = QUrl::fromPercentEncoding(QString::fromStdU16String(encoded).toLatin1()).toStdU16String();
    const std::u16string open = u"content=\"0; url=";
    const auto from = page.html.find(open) + open.size();
    const auto to = page.html.find(u'"', from);
    page.refreshTarget = HtmlUnescape(page.html.substr(from, to - from));
    QTextDocument document;
    document.setHtml(QString::fromStdU16String(page.html));
    page.bodyText = document.toPlainText().trimmed();
    return page;
}

TEST(WaitingPage, SaysWhatItShouldAndRefreshesToTheAddressAndSlash) {
    const std::u16string plain = u"http://h/novo?token=abc&isDravelt=true";
    const ReadPage page = Read(WaitingPageUrl(plain));
    EXPECT_EQ(page.html,
              u"<head><meta http-equiv=\"refresh\" content=\"0; url=http://h/novo?token=abc&amp;isDravelt=true"
              u"/\"/></head><body><strong>Aguarde...</strong></body><!---->");
    EXPECT_EQ(page.refreshTarget, plain + u"/");
    EXPECT_EQ(page.bodyText, QStringLiteral("Aguarde..."));
}

TEST(WaitingPage, AddressWithHashPercentQuoteAndMarkupStaysOneAttribute) {
    const std::u16string tricky = u"http://h/a#frag?x=50%25&q=\"><script>alert(1)</script>&ç=é";
    const ReadPage page = Read(WaitingPageUrl(tricky));
    EXPECT_EQ(page.refreshTarget, tricky + u"/");
    EXPECT_EQ(page.bodyText, QStringLiteral("Aguarde..."));
    EXPECT_EQ(page.html.find(u"<script"), std::u16string::npos);
    EXPECT_NE(page.html.find(u"</head><body><strong>Aguarde...</strong></body><!---->"), std::u16string::npos);
}

}  // namespace
