#include "platform/win32/Win32Dialogs.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <thread>

namespace {

using platform::DialogButton;
using platform::DialogKind;

// Waits on another thread for the message box titled `title`, notes its
// button captions and presses one of them, as a user would.
class DialogAnswer {
public:
    DialogAnswer(std::wstring title, int press) : title_(std::move(title)) {
        worker_ = std::thread([this, press] {
            for (int i = 0; i < 500 && !box_; ++i) {
                box_ = ::FindWindowW(nullptr, title_.c_str());
                if (!box_) ::Sleep(20);
            }
            if (!box_) return;
            ::Sleep(100);  // let the box finish setting itself up
            for (int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO}) {
                if (HWND button = ::GetDlgItem(box_, id)) {
                    wchar_t text[64] = {};
                    ::GetWindowTextW(button, text, 64);
                    captions_[id] = text;
                }
            }
            ::PostMessageW(box_, WM_COMMAND, MAKEWPARAM(press, BN_CLICKED), 0);
        });
    }
    ~DialogAnswer() { Join(); }
    void Join() {
        if (worker_.joinable()) worker_.join();
    }
    bool Found() const { return box_ != nullptr; }
    const std::map<int, std::wstring>& Captions() const { return captions_; }

private:
    std::wstring title_;
    std::thread worker_;
    std::atomic<HWND> box_{nullptr};
    std::map<int, std::wstring> captions_;
};

TEST(Win32Dialogs, ButtonsGetTheCallersCaptionsAndAnswerWithTheirCodes) {
    platform::Win32Dialogs dialogs;
    DialogAnswer answer(L"Dravelt Tarvenix", IDYES);
    const int result = dialogs.MessageDlg(u"Deseja abrir o chamado pelo seu navegador ? ", DialogKind::Error,
                                          {DialogButton::No, DialogButton::Yes}, {u"Sim", u"Não"},
                                          u"Dravelt Tarvenix");
    answer.Join();
    ASSERT_TRUE(answer.Found());
    EXPECT_EQ(result, platform::ResultYes);
    // Captions follow the fixed layout order, whatever order the caller named the buttons in.
    EXPECT_EQ(answer.Captions().at(IDYES), L"Sim");
    EXPECT_EQ(answer.Captions().at(IDNO), L"Não");
}

TEST(Win32Dialogs, ButtonsWithoutACaptionKeepTheirOwn) {
    platform::Win32Dialogs dialogs;
    DialogAnswer answer(L"Três botões", IDCANCEL);
    const int result = dialogs.MessageDlg(u"?", DialogKind::Confirmation,
                                          {DialogButton::Yes, DialogButton::No, DialogButton::Cancel}, {u"Sim"},
                                          u"Três botões");
    answer.Join();
    ASSERT_TRUE(answer.Found());
    EXPECT_EQ(result, platform::ResultCancel);
    EXPECT_EQ(answer.Captions().at(IDYES), L"Sim");
    EXPECT_NE(answer.Captions().at(IDNO), L"Sim");
    EXPECT_NE(answer.Captions().at(IDCANCEL), L"");
}

TEST(Win32Dialogs, WithoutATitleTheKindsOwn) {
    DialogAnswer answer(L"Aviso", IDOK);
    platform::Win32Dialogs().MessageDlg(u"Atenção", DialogKind::Warning, {DialogButton::OK}, {}, std::nullopt);
    answer.Join();
    EXPECT_TRUE(answer.Found());
}

TEST(Win32Dialogs, MessageBoxSetsAndFiltersTakeTheSystemsForm) {
    using platform::MessageBoxButtonSet;
    EXPECT_EQ(MessageBoxButtonSet({DialogButton::OK}), unsigned(MB_OK));
    EXPECT_EQ(MessageBoxButtonSet({DialogButton::OK, DialogButton::Cancel}), unsigned(MB_OKCANCEL));
    EXPECT_EQ(MessageBoxButtonSet({DialogButton::No, DialogButton::Yes}), unsigned(MB_YESNO));
    EXPECT_EQ(MessageBoxButtonSet({DialogButton::Yes, DialogButton::No, DialogButton::Cancel}),
              unsigned(MB_YESNOCANCEL));
    EXPECT_EQ(MessageBoxButtonSet({DialogButton::Retry, DialogButton::Cancel}), unsigned(MB_RETRYCANCEL));
    EXPECT_EQ(MessageBoxButtonSet({DialogButton::Abort, DialogButton::Retry, DialogButton::Ignore}),
              unsigned(MB_ABORTRETRYIGNORE));
    EXPECT_EQ(MessageBoxButtonSet({}), unsigned(MB_OK));

    constexpr char16_t pairs[] = u"Imagens\0*.png;*.jpg\0Todos\0*.*\0";  // and the literal's own zero
    EXPECT_EQ(platform::OpenFileFilter(u"Imagens|*.png;*.jpg|Todos|*.*"), std::u16string(pairs, std::size(pairs)));
}

}  // namespace
