#include "fakes/FakePlatform.h"
#include "startup/nRequestHandlers_U.h"
#include "support/Failure.h"
#include "support/TextUtils.h"

#include <gtest/gtest.h>

namespace {

// Records what the handlers do with the windows, in order.
struct Journal {
    std::vector<std::string> steps;
    void Add(std::string step) { steps.push_back(std::move(step)); }
};

std::string Narrow(const std::u16string& text) { return ToUtf8(text); }

template <typename Base>
class FakeWindow : public Base {
public:
    explicit FakeWindow(Journal& journal) : journal_(journal) {}
    int Width() const override { return width; }
    int Height() const override { return height; }
    void SetLeft(int value) override { journal_.Add("left " + std::to_string(value)); }
    void SetTop(int value) override { journal_.Add("top " + std::to_string(value)); }
    std::vector<MonitorBounds> Monitors() const override { return monitors; }
    void SetTitle(const std::u16string& title) override { journal_.Add("title " + Narrow(title)); }
    void SetOuterSize(int w, int h) override {
        width = w;
        height = h;
        journal_.Add("size " + std::to_string(w) + "x" + std::to_string(h));
    }
    void Close() override { journal_.Add("close"); }

    int width = 0, height = 0;
    std::vector<MonitorBounds> monitors{{0, 0, 1920, 1080}, {1920, 0, 1280, 1024}};

protected:
    Journal& journal_;
};

class FakeChatWindow : public FakeWindow<IChatRequestWindow> {
public:
    using FakeWindow::FakeWindow;
    void Iniciar() override { journal_.Add("chat Iniciar"); }
    void Abrir() override { journal_.Add("chat Abrir"); }
};

class FakeServiceWindow : public FakeWindow<IServiceRequestWindow> {
public:
    using FakeWindow::FakeWindow;
    void Abrir(const std::u16string& url) override { journal_.Add("service Abrir " + Narrow(url)); }
};

class FakeWindowFactory : public IRequestWindowFactory {
public:
    explicit FakeWindowFactory(Journal& journal) : journal_(journal) {}
    void InitializeApplication() override { journal_.Add("application"); }
    void EnableTooltips() override { journal_.Add("tooltips"); }
    std::unique_ptr<IChatRequestWindow> CreateChatWindow() override {
        journal_.Add("create chat");
        if (failCreation) throw Failure(u"sem janela");
        return std::make_unique<FakeChatWindow>(journal_);
    }
    std::unique_ptr<IServiceRequestWindow> CreateServiceWindow() override {
        journal_.Add("create service");
        return std::make_unique<FakeServiceWindow>(journal_);
    }
    void RunMessageLoop() override { journal_.Add("loop"); }
    bool failCreation = false;

private:
    Journal& journal_;
};

const std::vector<std::u16string> kChatLogin = {u"-Url", u"h", u"-IDAplicativo", u"1", u"-Name", u"n",
                                                u"-Email", u"e", u"-OrganizationCodeReference", u"o"};

class RequestHandlers : public ::testing::Test {
protected:
    fakes::FakePlatform os;
    Journal journal;
    FakeWindowFactory windows{journal};

    void Arguments(std::vector<std::u16string> extra, bool withChatLogin = true) {
        std::vector<std::u16string> args = withChatLogin ? kChatLogin : std::vector<std::u16string>{};
        args.insert(args.end(), extra.begin(), extra.end());
        os.SetArguments(args);
    }
    void Run() { TnRequestHandler::Iniciar(windows); }
};

TEST_F(RequestHandlers, ChatWindowOpensPlacedOnTheFirstMonitor) {
    Arguments({});
    Run();
    EXPECT_EQ(journal.steps,
              (std::vector<std::string>{"application", "create chat", "chat Iniciar", "tooltips",
                                        "title TarveNix - Atendimento", "size 415x450", "chat Abrir", "left 1505",
                                        "top 580", "loop"}));
    EXPECT_EQ(os.windows.searched, (std::vector<std::u16string>{u"TarveNix - Atendimento"}));
}

TEST_F(RequestHandlers, ServiceKindIsComparedExactly) {
    for (const char16_t* kind : {u"Novo", u"LISTAR", u"novo ", u""}) {
        journal.steps.clear();
        Arguments({u"-servico_tipo", kind});
        Run();
        EXPECT_EQ(journal.steps.at(1), "create chat");
    }
}

TEST_F(RequestHandlers, OnlyATokenIsEnoughForTheChat) {
    Arguments({u"-token", u"T"}, false);
    Run();
    EXPECT_EQ(journal.steps.back(), "loop");
    EXPECT_TRUE(os.dialogs.messages.empty());
}

TEST_F(RequestHandlers, IncompleteChatParametersCloseTheWindowUnused) {
    Arguments({u"-Url", u"h"}, false);
    Run();
    EXPECT_EQ(os.dialogs.messages, (std::vector<std::u16string>{u"Operação inválida"}));
    EXPECT_EQ(journal.steps, (std::vector<std::string>{"application", "create chat", "chat Iniciar", "close"}));
}

TEST_F(RequestHandlers, DebugModeNamesTheMissingParameters) {
    Arguments({u"-MODO_DEBUG", u"TrUe"}, false);
    Run();
    EXPECT_EQ(os.dialogs.messages,
              (std::vector<std::u16string>{
                  u"Verifique parâmetros obrigatórios: Url;IDAplicativo;Name;Email;OrganizationCodeReference"}));
    EXPECT_EQ(journal.steps.back(), "chat Iniciar");
}

TEST_F(RequestHandlers, FailureInsideExecIsShownAndSwallowed) {
    Arguments({});
    windows.failCreation = true;
    EXPECT_NO_THROW(Run());
    EXPECT_EQ(os.dialogs.messages, (std::vector<std::u16string>{u"sem janela"}));
}

TEST_F(RequestHandlers, SameWindowAlreadyOpenIsRaisedAndNothingElseHappens) {
    os.windows.windows[u"Consultar Serviços"] = 77;
    Arguments({u"-servico_tipo", u"listar"});
    Run();
    EXPECT_TRUE(journal.steps.empty());
    EXPECT_EQ(os.windows.calls, (std::vector<std::pair<std::string, platform::WindowHandle>>{
                                    {"restore", 77}, {"foreground", 77}}));
    EXPECT_TRUE(os.dialogs.messages.empty());
}

TEST_F(RequestHandlers, ServiceWindowGetsTheMarkerAndItsSize) {
    os.registry.values[u"svcVersion"] = {u"11.0"};
    Arguments({u"-servico_tipo", u"novo", u"-token", u"TK"});
    Run();
    EXPECT_EQ(journal.steps,
              (std::vector<std::string>{"application", "create service", "tooltips", "title Solicitação de Serviços",
                                        "size 420x510", "service Abrir http://h/api/servicos/novo?token=TK&isDravelt=true",
                                        "left 1500", "top 520", "loop"}));
}

TEST_F(RequestHandlers, OldLegacyBrowserOffersTheDefaultBrowser) {
    os.registry.values[u"svcVersion"] = {u"9.0"};
    Arguments({u"-servico_tipo", u"listar", u"-token", u"TK"});
    os.dialogs.answers = {platform::ResultYes};
    Run();
    EXPECT_EQ(os.shell.opened, (std::vector<std::u16string>{u"http://h/api/servicos/listar?token=TK"}));
    EXPECT_EQ(journal.steps, (std::vector<std::string>{"application", "create service", "close", "loop"}));

    journal.steps.clear();
    os.shell.opened.clear();
    os.dialogs.answers = {platform::ResultNo};
    Run();
    EXPECT_TRUE(os.shell.opened.empty());
    EXPECT_EQ(journal.steps.back(), "loop");
}

TEST_F(RequestHandlers, InvalidMinimumVersionIsShownAndNothingOpens) {
    Arguments({u"-servico_tipo", u"novo", u"-VersaoIEMinima", u"abc"});
    Run();
    EXPECT_EQ(os.dialogs.messages, (std::vector<std::u16string>{u"'abc' is not a valid integer value"}));
    EXPECT_EQ(journal.steps, (std::vector<std::string>{"application", "create service"}));
}

TEST_F(RequestHandlers, ServiceRequestWithoutParametersFailsBeforeAnyWindow) {
    Arguments({u"-servico_tipo", u"novo", u"-abrir_browser", u"true"}, false);
    EXPECT_THROW(Run(), Failure);
    EXPECT_TRUE(journal.steps.empty());
    EXPECT_TRUE(os.shell.opened.empty());
}

TEST_F(RequestHandlers, DefaultBrowserPathSkipsWindowsChecksAndMarker) {
    os.windows.windows[u"Solicitação de Serviços"] = 5;
    Arguments({u"-servico_tipo", u"novo", u"-abrir_browser", u"true", u"-token", u"TK"});
    Run();
    EXPECT_EQ(os.shell.opened, (std::vector<std::u16string>{u"http://h/api/servicos/novo?token=TK"}));
    EXPECT_TRUE(journal.steps.empty());
    EXPECT_TRUE(os.windows.searched.empty());

    os.shell.opened.clear();
    os.SetArguments({u"-abrir_browser", u"true"});
    Run();
    EXPECT_EQ(os.shell.opened,
              (std::vector<std::u16string>{u"http:///ChatWidget/Login/?Name=&Email=&OrganizationCodeReference="
                                           u"&StayConnected=false&EmptySubject=false&StartChat=false"}));
}

TEST_F(RequestHandlers, OpenBrowserCountsOnlyWhenExactlyTrue) {
    Arguments({u"-abrir_browser", u"True"});
    Run();
    EXPECT_TRUE(os.shell.opened.empty());
    EXPECT_EQ(journal.steps.back(), "loop");
}

TEST(AchouProcessoJaExistente, EmptyOrAbsentTitleFindsNothing) {
    fakes::FakePlatform os;
    os.windows.windows[u""] = 1;
    EXPECT_FALSE(TnTarvenixUtils::AchouProcessoJaExistente(nullptr));
    EXPECT_FALSE(TnTarvenixUtils::AchouProcessoJaExistente(u""));
    EXPECT_FALSE(TnTarvenixUtils::AchouProcessoJaExistente(u"TarveNix - Atendimento"));
    EXPECT_TRUE(os.windows.calls.empty());
}

TEST(MoveFormToTopOfRightmostMonitor, NoMonitorsLeavesTheWindowAlone) {
    Journal journal;
    FakeChatWindow window(journal);
    window.monitors.clear();
    TnTarvenixUtils::MoveFormToTopOfRightmostMonitor(window);
    EXPECT_TRUE(journal.steps.empty());
}

TEST(AbrirUrlNoBrowser, LogsWhenSwitchedOnAndOpensEvenWhenTheLogFails) {
    fakes::FakePlatform os;
    const std::u16string sep(1, platform::kPathSeparator);
    os.files.files[sep + u"app" + sep + u"logar_Tarvenix"] = "";
    os.clock.now = {2026, 12, 9, 8, 7, 6, 0};
    os.files.unwritable.insert(u"temp" + sep + u"TarvenixLog.txt");
    TnTarvenixUtils::AbrirUrlNoBrowser(u"http://x/");
    EXPECT_EQ(os.shell.opened, (std::vector<std::u16string>{u"http://x/"}));

    os.files.unwritable.clear();
    TnTarvenixUtils::AbrirUrlNoBrowser(u"http://y/");
    EXPECT_EQ(os.files.files[u"temp" + sep + u"TarvenixLog.txt"], "09/12/2026 08:07:06 - AbrirUrlNoBrowser http://y/\r\n");
}

}  // namespace
