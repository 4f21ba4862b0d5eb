#include "windows/ChatCommands.h"

#include "fakes/FakePlatform.h"
#include "support/TextUtils.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>

using platform::DialogButton;
using platform::DialogKind;
using testing::ElementsAre;
using testing::IsEmpty;

namespace {

class FakeChatWindow : public IChatCommandWindow {
public:
    std::vector<std::string> calls;
    platform::WindowHandle chatHandle = 11, applicationHandle = 22;
    std::function<void()> onPrintScreen;

    platform::IDialogs& Dialogs() override { return *platform::Current().dialogs; }
    void Fechar() override { calls.push_back("Fechar"); }
    void AbrirUrlNoBrowser(bool fechar) override { calls.push_back(fechar ? "AbrirUrlNoBrowser(true)" : "AbrirUrlNoBrowser(false)"); }
    void RefreshChat() override { calls.push_back("RefreshChat"); }
    void SetConfirmarSair(bool value) override { calls.push_back(value ? "ConfirmarSair=true" : "ConfirmarSair=false"); }
    void RunScript(const std::u16string& script) override { calls.push_back("script:" + ToUtf8(script)); }
    platform::WindowHandle ChatWindowHandle() override { return chatHandle; }
    platform::WindowHandle ApplicationWindowHandle() override { return applicationHandle; }
    void PrintScreenClient() override {
        calls.push_back("PrintScreenClient");
        if (onPrintScreen) onPrintScreen();
    }
    void FileUploadClient(const TStringArray& fields) override { calls.push_back("FileUploadClient:" + Joined(fields)); }
    void ConectarAtendenteVNC(const TStringArray& fields) override { calls.push_back("ConectarAtendenteVNC:" + Joined(fields)); }
    void CloseVNCConnection() override { calls.push_back("CloseVNCConnection"); }

private:
    static std::string Joined(const TStringArray& fields) {
        std::string out;
        for (const auto& f : fields) out += "[" + ToUtf8(f) + "]";
        return out;
    }
};

class ChatCommandsTest : public testing::Test {
protected:
    void Send(std::u16string_view text) { DispatchChatCommand(window_, text); }
    fakes::FakePlatform platform_;
    FakeChatWindow window_;
};

TEST_F(ChatCommandsTest, TextsThatNameNoCommandDoNothing) {
    for (std::u16string_view text : {u"", u"|", u"printscreenclient", u" Refresh", u"Refresh ", u"OnOpenCal",
                                     u"Nada|Refresh"})
        Send(text);
    EXPECT_THAT(window_.calls, IsEmpty());
    EXPECT_THAT(platform_.dialogs.shown, IsEmpty());
    EXPECT_THAT(platform_.dialogs.messages, IsEmpty());
}

TEST_F(ChatCommandsTest, CloseChatWindowShowsItsDialogOnlyWithFourFields) {
    Send(u"CloseChatWindow");
    Send(u"CloseChatWindow|Título|Texto");
    EXPECT_THAT(platform_.dialogs.shown, IsEmpty());
    Send(u"CloseChatWindow|Título|Texto|ignorado");
    EXPECT_THAT(window_.calls, ElementsAre("Fechar", "Fechar", "Fechar"));
    ASSERT_EQ(platform_.dialogs.shown.size(), 1u);
    const auto& dialog = platform_.dialogs.shown[0];
    EXPECT_EQ(dialog.text, u"Texto");
    EXPECT_EQ(dialog.title, u"Título");
    EXPECT_EQ(dialog.kind, DialogKind::Information);
    EXPECT_THAT(dialog.buttons, ElementsAre(DialogButton::OK));
    EXPECT_THAT(dialog.captions, ElementsAre(u"OK"));
}

TEST_F(ChatCommandsTest, QuestionsRunTheirScriptOnlyOnYes) {
    Send(u"CloseChatWindowWithQuery");  // alone: no question
    platform_.dialogs.answers = {platform::ResultYes, platform::ResultNo, platform::ResultCancel,
                                 platform::ResultYes, platform::ResultNo, platform::ResultYes};
    Send(u"CloseChatWindowWithQuery|");
    Send(u"CloseChatWindowWithQuery|Encerrar?");
    Send(u"CloseChatWindowWithQuery|Encerrar?");
    Send(u"QueryClose|Fechar mesmo?|closeChat()");
    Send(u"QueryClose|Fechar mesmo?|closeChat()");
    Send(u"QueryClose");  // missing fields count as empty
    EXPECT_THAT(window_.calls, ElementsAre("script:closeChat()", "script:closeChat()", "script:closeChat()", "script:"));

    ASSERT_EQ(platform_.dialogs.shown.size(), 6u);
    EXPECT_EQ(platform_.dialogs.shown[0].text, u"");
    EXPECT_EQ(platform_.dialogs.shown[0].kind, DialogKind::Confirmation);
    EXPECT_THAT(platform_.dialogs.shown[0].buttons, ElementsAre(DialogButton::Yes, DialogButton::No));
    EXPECT_EQ(platform_.dialogs.shown[1].text, u"Encerrar?");
    EXPECT_EQ(platform_.dialogs.shown[3].kind, DialogKind::Warning);
    EXPECT_THAT(platform_.dialogs.shown[3].buttons, ElementsAre(DialogButton::Yes, DialogButton::No));
    EXPECT_EQ(platform_.dialogs.shown[3].text, u"Fechar mesmo?");
    EXPECT_EQ(platform_.dialogs.shown[5].text, u"");
}

TEST_F(ChatCommandsTest, OnOpenCallArmsTheQuestionBeforeOfferingTheButtons) {
    Send(u"OnOpenCall|extra|campos");
    EXPECT_THAT(window_.calls,
                ElementsAre("ConfirmarSair=true",
                            "script:buildRemoteButton( [{ id: \"real\", name: \"VNC\" }, { id: \"anydesk\", name: \"Any Desk\" }])"));
}

TEST_F(ChatCommandsTest, CommandsHandOverToTheWindowWithTheirFields) {
    Send(u"PrintScreenClient|x");
    Send(u"ConnectRemoteAttendantListening|10.0.0.5|real");
    Send(u"CloseVNCConnection");
    Send(u"FileUploadClient|pdf;png");
    Send(u"FileUploadClient");
    Send(u"Refresh");
    Send(u"RedirectToBrowserAndClose");
    EXPECT_THAT(window_.calls,
                ElementsAre("PrintScreenClient", "ConectarAtendenteVNC:[ConnectRemoteAttendantListening][10.0.0.5][real]",
                            "CloseVNCConnection", "FileUploadClient:[FileUploadClient][pdf;png]",
                            "FileUploadClient:[FileUploadClient]", "RefreshChat", "AbrirUrlNoBrowser(true)"));
    EXPECT_THAT(platform_.dialogs.messages, IsEmpty());
}

TEST_F(ChatCommandsTest, NewMessageFlashesTheChatWindowThenTheApplicationWindow) {
    Send(u"OnReceiveMessage");
    window_.applicationHandle = 0;  // a window without an application window of its own
    Send(u"OnReceiveMessage");
    EXPECT_THAT(platform_.windows.calls,
                ElementsAre(std::pair<std::string, platform::WindowHandle>{"flash", 11},
                            std::pair<std::string, platform::WindowHandle>{"flash", 22},
                            std::pair<std::string, platform::WindowHandle>{"flash", 11}));
    EXPECT_THAT(window_.calls, IsEmpty());
}

TEST_F(ChatCommandsTest, FailuresAreShownWithTheirTextAndDoNotStopLaterCommands) {
    window_.onPrintScreen = [] { throw Failure(u"Não foi possível capturar a tela"); };
    Send(u"PrintScreenClient");
    window_.onPrintScreen = [] { throw std::runtime_error("disco cheio"); };
    Send(u"PrintScreenClient");
    Send(u"Refresh");
    EXPECT_THAT(platform_.dialogs.messages, ElementsAre(u"Não foi possível capturar a tela", u"disco cheio"));
    EXPECT_EQ(window_.calls.back(), "RefreshChat");
}

}  // namespace
