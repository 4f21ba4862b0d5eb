// The engine layer and the script bridge on the real engine, under a display.

#include "browser/ChromiumHost.h"
#include "browser/EngineStart.h"
#include "browser/TChromiumWindow.h"
#include "support/ChildProcess.h"
#include "support/PageServer.h"
#include "support/WaitUntil.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <QApplication>
#include <QEventLoop>
#include <QMenu>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEngineView>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

// Between the looks a real event loop runs, not processEvents: deferred
// deletions happen only inside one.
bool WaitFor(const std::function<bool()>& done, int timeoutMs = 15000) {
    const auto runTheLoop = [] {
        QEventLoop loop;
        QTimer::singleShot(10, &loop, &QEventLoop::quit);
        loop.exec();
    };
    return testing_support::WaitUntil(done, timeoutMs, runTheLoop, 0);
}

// A loopback port on which nothing listens.
int ClosedPort() {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(s);
    return ntohs(address.sin_port);
}

using testing_support::PageServer;

// The address of `path` on `pages`, by `host`.
std::u16string Url(const PageServer& pages, const std::string& path, const std::string& host = "127.0.0.1") {
    return QString::fromStdString(pages.Root(host) + path).toStdU16String();
}

// A host with a browser on `url`, recording what the engine reports.
struct Browser {
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    TChromiumWindow* host = new TChromiumWindow(window.get());
    std::vector<std::u16string> texts;
    std::vector<std::u16string> names;
    int loadEnds = 0;
    int loadErrors = 0;

    explicit Browser(const std::u16string& url) {
        window->resize(400, 300);
        host->resize(400, 300);
        host->SetDefaultUrl(url);
        host->OnLoadEnd = [this](bool, int) { ++loadEnds; };
        host->OnLoadError = [this](bool, int, const std::u16string&, const std::u16string&) { ++loadErrors; };
        host->OnProcessMessageReceived = [this](const BridgeMessage& message) {
            names.push_back(message.name);
            texts.push_back(message.arguments.empty() ? u"<none>" : message.arguments[0]);
            return true;
        };
        window->show();
    }
    bool Start() { return host->CreateBrowser(); }
    bool WaitForText(const std::u16string& text, int timeoutMs = 15000) {
        return WaitFor([&] { return std::find(texts.begin(), texts.end(), text) != texts.end(); }, timeoutMs);
    }
};

// The demo service on a port of its own; answers its root address.
std::string StartDemoService(testing_support::ChildProcess& service) {
    const std::string line = service.ReadLine(10000);
    const auto colon = line.rfind(':');
    if (line.rfind("listening ", 0) != 0 || colon == std::string::npos) return {};
    return "http://127.0.0.1:" + line.substr(colon + 1);
}

}  // namespace

TEST(EngineFiles, AMissingFolderIsReportedAndTheRealOneAccepted) {
    QTemporaryDir empty;
    EXPECT_FALSE(engine::CheckEngineFiles(empty.path() + "/").isEmpty());
    EXPECT_TRUE(engine::CheckEngineFiles(engine::EngineFolder()).isEmpty()) << engine::CheckEngineFiles(engine::EngineFolder()).toStdString();
}

TEST(ChromiumWindow, CreatesOneBrowserAndLoadsTheDemoChatPage) {
    testing_support::ChildProcess service({DEMO_SERVICE_PATH, "--port", "0"});
    const std::string root = StartDemoService(service);
    ASSERT_FALSE(root.empty());
    {
        Browser browser(QString::fromStdString(root + "/ChatWidget/Login/abc&StayConnected=false").toStdU16String());
        EXPECT_FALSE(browser.host->Initialized());
        ASSERT_TRUE(browser.Start());
        EXPECT_FALSE(browser.Start()) << "a second browser while the first is being created";
        ASSERT_TRUE(WaitFor([&] { return browser.loadEnds > 0; }));
        EXPECT_TRUE(browser.host->Initialized());
        EXPECT_FALSE(browser.Start()) << "a second browser while one exists";
        EXPECT_EQ(browser.loadErrors, 0);
        EXPECT_NE(browser.host->MainFrameUrl().find(u"/ChatWidget/Login/abc"), std::u16string::npos);

        // The page's own button reaches the launcher through the bridge.
        TnTarvenixUtils::ExecCommandJS(*browser.host,
                                       u"document.querySelector('[data-comando=\"Refresh\"]').click();");
        EXPECT_TRUE(browser.WaitForText(u"Refresh"));

        // Closing: script sent after the close request still runs, as the
        // page's confirmation click at the end of a chat must.
        browser.host->CloseBrowser(true);
        EXPECT_FALSE(browser.host->Initialized());
        TnTarvenixUtils::ExecCommandJS(
            *browser.host,
            u"document.getElementsByClassName(\"chat-widget-zq-btn-yes btn-zq-confirm btn-yes\").item(0).click();");
        httplib::Client client(root);
        std::string log;
        WaitFor([&] {
            const auto reply = client.Get("/__log");
            log = reply ? reply->body : "";
            return log.find("\"fn\":\"confirmar\"") != std::string::npos;
        }, 5000);
        EXPECT_NE(log.find("\"fn\":\"confirmar\""), std::string::npos) << log;
        EXPECT_TRUE(browser.Start()) << "a new browser takes the closed one's place";
    }
}

// Whatever the system's language, the page and the service are told
// Brazilian Portuguese.
TEST(ChromiumWindow, PageAndServiceSeeBrazilianPortuguese) {
    PageServer pages;
    pages.Document("/", "<script>external.Notificar('language ' + navigator.language);</script>");
    Browser browser(Url(pages, "/"));
    ASSERT_TRUE(browser.Start());
    ASSERT_TRUE(WaitFor([&] { return !browser.texts.empty(); }));
    EXPECT_EQ(browser.texts.front(), u"language pt-BR");
    EXPECT_EQ(pages.LastAcceptLanguage().rfind("pt-BR", 0), 0u) << pages.LastAcceptLanguage();
}

TEST(ChromiumWindow, AnUnreachableAddressRaisesLoadError) {
    Browser browser(QString::fromStdString("http://127.0.0.1:" + std::to_string(ClosedPort()) + "/").toStdU16String());
    ASSERT_TRUE(browser.Start());
    ASSERT_TRUE(WaitFor([&] { return browser.loadErrors > 0; }));
    EXPECT_EQ(browser.loadEnds, 0);
}

// A page's permission requests end at once, as a browser's refusal ends
// them; the context menu spells in Brazilian Portuguese and offers nothing
// that leaves the page.
TEST(ChromiumWindow, PermissionsAreRefusedAndTheMenuSpellsInPortugueseAndKeepsThePage) {
    PageServer pages;
    pages.Document("/", R"(<!DOCTYPE html><html><body style="margin:0">
        <textarea id="t" spellcheck="true" style="width:380px;height:200px;font-size:20px">ecola bonita</textarea><script>
        Notification.requestPermission().then(function (p) { external.Notificar('notificação ' + p); });
        navigator.geolocation.getCurrentPosition(function () { external.Notificar('posição'); },
            function (e) { external.Notificar('posição recusada ' + e.code); });
        var t = document.getElementById('t'); t.focus(); t.setSelectionRange(2, 2);
        </script></body></html>)");
    Browser browser(Url(pages, "/"));
    ASSERT_TRUE(browser.Start());
    ASSERT_TRUE(browser.WaitForText(u"notificação denied"));
    ASSERT_TRUE(browser.WaitForText(u"posição recusada 1"));

    // A right click on the misspelt word, again until the checker, which
    // loads its dictionary on first use, has seen it.
    QWidget* surface = browser.host->View()->focusProxy();
    ASSERT_NE(surface, nullptr);
    const QPointF at(20, 15);
    QStringList items;
    WaitFor([&] {
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent click(type, at, surface->mapToGlobal(at), Qt::RightButton,
                              type == QEvent::MouseButtonPress ? Qt::RightButton : Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(surface, &click);
        }
        QMenu* menu = nullptr;
        if (!WaitFor([&] { return (menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) != nullptr; }, 2000))
            return false;
        items.clear();
        for (const QAction* action : menu->actions())
            if (!action->isSeparator()) items << action->text();
        menu->close();
        return items.contains(QStringLiteral("escola"));
    });
    ASSERT_FALSE(items.isEmpty());
    EXPECT_EQ(items.front(), QStringLiteral("escola")) << items.join(", ").toStdString();
    for (const char* offered : {"Desfazer", "Recortar", "Copiar", "Colar", "Selecionar tudo"})
        EXPECT_TRUE(items.contains(QString::fromUtf8(offered))) << offered;
    for (const char* absent : {"Voltar", "Avançar", "Recarregar", "Salvar página", "Exibir código-fonte da página",
                               "Back", "Forward", "Inspect"})
        EXPECT_FALSE(items.contains(QString::fromUtf8(absent))) << absent;
}

TEST(ChromiumWindow, WithoutABrowserNothingHappens) {
    TChromiumWindow host(nullptr);
    EXPECT_FALSE(host.Initialized());
    EXPECT_TRUE(host.MainFrameUrl().empty());
    TnTarvenixUtils::ExecCommandJS(host, u"throw new Error('x');");
    host.DeleteCookies();
    host.CloseBrowser(true);
    EXPECT_FALSE(host.Initialized());
}

TEST(ScriptBridge, DeliversTextsInOrderAndDropsEverythingElse) {
    PageServer pages;
    pages.Document("/", R"(<!DOCTYPE html><html><head><script>
        var results = [];
        results.push(external.Notificar('Refresh'));
        results.push(external.Notificar());
        results.push(external.Notificar(42));
        results.push(external.Notificar(null));
        results.push(external.Notificar(undefined));
        results.push(external.Notificar({a: 1}));
        results.push(external.Notificar(''));
        results.push(external.Notificar('a', 'b'));
        results.push(external.Notificar('Olá | "aspas" \\ \u00e7 \ud83d\ude00'));
        external.Notificar('undefined-all:' + results.every(function (r) { return r === undefined; }));
    </script></head><body></body></html>)");
    Browser browser(Url(pages, "/"));
    ASSERT_TRUE(browser.Start());
    ASSERT_TRUE(browser.WaitForText(u"undefined-all:true"));
    const std::vector<std::u16string> expected{u"Refresh", u"", u"a", u"Olá | \"aspas\" \\ ç 😀", u"undefined-all:true"};
    EXPECT_EQ(browser.texts, expected);
    for (const auto& name : browser.names) EXPECT_EQ(name, u"Notificar");
}

TEST(ScriptBridge, HundredsOfCallsDuringLoadArriveInOrder) {
    PageServer pages;
    pages.Document("/", R"(<!DOCTYPE html><html><head><script>
        for (var i = 0; i < 400; ++i) external.Notificar('n' + i);
    </script></head><body><script>
        for (var j = 400; j < 500; ++j) external.Notificar('n' + j);
    </script></body></html>)");
    Browser browser(Url(pages, "/"));
    ASSERT_TRUE(browser.Start());
    ASSERT_TRUE(browser.WaitForText(u"n499"));
    ASSERT_EQ(browser.texts.size(), 500u);
    for (int i = 0; i < 500; ++i) EXPECT_EQ(browser.texts[i], QString("n%1").arg(i).toStdU16String());
}

TEST(ScriptBridge, SubFramesReachTheLauncherToo) {
    PageServer pages;
    pages.Document("/inner", R"(<!DOCTYPE html><html><body><script>
        external.Notificar('from-frame');
    </script><iframe srcdoc="<script>external.Notificar('from-nested-frame')</script>"></iframe></body></html>)");
    pages.Document("/", R"(<!DOCTYPE html><html><body><script>external.Notificar('from-top');</script>
        <iframe src="/inner"></iframe></body></html>)");
    Browser browser(Url(pages, "/"));
    ASSERT_TRUE(browser.Start());
    ASSERT_TRUE(browser.WaitForText(u"from-frame"));
    ASSERT_TRUE(browser.WaitForText(u"from-nested-frame"));
    EXPECT_EQ(browser.texts.front(), u"from-top");
}

// The top frame and a frame of another host of its registrable domain are of
// the chat's site; another port is another origin, and another site.
TEST(ScriptBridge, OnlyDocumentsOfTheChatsSiteReachTheLauncherAndInOrder) {
    PageServer chat, other;
    // The other origin's call is sent, then it says so.
    other.Document("/frame", R"(<!DOCTYPE html><script>
        external.Notificar('ConnectRemoteAttendantListening|127.0.0.1:5500|tight');
        parent.postMessage('foreign-sent', '*');</script>)");
    chat.Document("/inner", R"(<!DOCTYPE html><script>
        external.Notificar('same-1'); external.Notificar('same-2');</script>)");
    chat.Document("/", R"(<!DOCTYPE html><html><body><script>
        external.Notificar('top');
        window.addEventListener('message', function (e) {
            if (e.data === 'foreign-sent') external.Notificar('after-foreign');
        });
        </script><iframe src=")" + other.Root() + "/frame" + R"("></iframe>
        <iframe src=")" + chat.Root("widget.tarvenix.localhost") + "/inner" + R"("></iframe></body></html>)");
    Browser browser(Url(chat, "/", "chat.tarvenix.localhost"));
    ASSERT_TRUE(browser.Start());
    ASSERT_TRUE(browser.WaitForText(u"after-foreign"));
    ASSERT_TRUE(browser.WaitForText(u"same-2"));
    const auto at = [&](const std::u16string& text) {
        return std::find(browser.texts.begin(), browser.texts.end(), text) - browser.texts.begin();
    };
    EXPECT_EQ(browser.texts.size(), 4u) << "the other origin's call was refused";
    EXPECT_EQ(at(u"top"), 0);
    EXPECT_LT(at(u"same-1"), at(u"same-2"));
}

TEST(ScriptBridge, AHandlerInAModalLoopHoldsUpTheLaterMessages) {
    PageServer pages;
    pages.Document("/", R"(<!DOCTYPE html><html><body><script>
        external.Notificar('first'); external.Notificar('second'); external.Notificar('third');
    </script></body></html>)");
    Browser browser(Url(pages, "/"));
    std::vector<std::string> trace;
    browser.host->OnProcessMessageReceived = [&](const BridgeMessage& message) {
        const std::string text = QString::fromStdU16String(message.arguments.at(0)).toStdString();
        trace.push_back("enter " + text);
        if (text == "first") {
            // What a modal dialog does: spin an event loop of its own.
            QEventLoop modal;
            QTimer::singleShot(500, &modal, &QEventLoop::quit);
            modal.exec();
        }
        trace.push_back("leave " + text);
        return true;
    };
    ASSERT_TRUE(browser.Start());
    ASSERT_TRUE(WaitFor([&] { return trace.size() == 6; }));
    const std::vector<std::string> expected{"enter first",  "leave first", "enter second",
                                            "leave second", "enter third", "leave third"};
    EXPECT_EQ(trace, expected);
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::puts("Skipped: no display (run under xvfb-run).");
        return 77;  // reported as skipped
    }
    engine::PrepareEngineEnvironment(engine::EngineFolder());
    QApplication application(argc, argv);
    if (!engine::StartEngine(engine::EngineFolder(), engine::EngineDataFolder())) return 1;
    return RUN_ALL_TESTS();
}
