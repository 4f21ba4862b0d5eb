#include "windows/ChatWindowCommands.h"

#include "platform/Platform.h"
#include "remote/RemoteAttendant.h"
#include "support/Failure.h"
#include "windows/QtDialogs.h"
#include "windows/nFrmChatTarvenixClient_U.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include <cstring>

namespace {

// What a dialog that was closed without a button answers: Cancel, No or
// OK, whichever it offers first.
int DismissedAnswer(platform::DialogButtons buttons) {
    using platform::DialogButton;
    for (DialogButton b : {DialogButton::Cancel, DialogButton::No, DialogButton::OK})
        if (buttons.Has(b)) return platform::ResultOf(b);
    return platform::ResultCancel;
}

}  // namespace

std::shared_ptr<ChatWindowCommands> ChatWindowCommands::Create(TnFrmChatTarvenixClient& window) {
    return std::shared_ptr<ChatWindowCommands>(new ChatWindowCommands(window));
}

ChatWindowCommands::ChatWindowCommands(TnFrmChatTarvenixClient& window)
    : window_(window),
      windowThread_(WindowThread::Create([](WindowThread::Task task) {
          QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(task), Qt::QueuedConnection);
      })),
      uploads_(*this) {}

void ChatWindowCommands::Post(const std::u16string& Tipo) {
    commands_.Post([self = shared_from_this(), Tipo] {
        // The command's dialogs, the connectors' included, are shown by the
        // window thread.
        const platform::ScopedThreadServices dialogs(platform::Services{.dialogs = self.get()});
        DispatchChatCommand(*self, Tipo);
    });
}

void ChatWindowCommands::Close() {
    windowThread_->Close();
    commands_.Stop();
}

void ChatWindowCommands::Fechar() {
    windowThread_->Call([this] { window_.Fechar(); });
}

void ChatWindowCommands::AbrirUrlNoBrowser(bool _AFechar) {
    windowThread_->Call([this, _AFechar] { window_.AbrirUrlNoBrowser(_AFechar); });
}

void ChatWindowCommands::RefreshChat() {
    windowThread_->Call([this] { window_.RefreshChat(); });
}

void ChatWindowCommands::SetConfirmarSair(bool value) {
    windowThread_->Call([this, value] { window_.SetConfirmarSair(value); });
}

void ChatWindowCommands::RunScript(const std::u16string& script) {
    windowThread_->Post([this, script] {
        if (window_.FChromiumWindow) TnTarvenixUtils::ExecCommandJS(*window_.FChromiumWindow, script);
    });
}

platform::WindowHandle ChatWindowCommands::ChatWindowHandle() {
    platform::WindowHandle handle = 0;
    windowThread_->Call([&] { handle = static_cast<platform::WindowHandle>(window_.winId()); });
    return handle;
}

void ChatWindowCommands::ConectarAtendenteVNC(const TStringArray& fields) {
    ::ConectarAtendenteVNC(fields, [this](const std::u16string& script) { RunScript(script); });
}

void ChatWindowCommands::CloseVNCConnection() { ::CloseVNCConnection(); }

void ChatWindowCommands::HideWindow() {
    windowThread_->Call([this] { window_.hide(); });
}

void ChatWindowCommands::ShowWindow() {
    windowThread_->Call([this] { window_.show(); });
}

void ChatWindowCommands::RepaintWindow() {
    windowThread_->Call([this] { window_.repaint(); });
}

void ChatWindowCommands::RepaintBrowser() {
    windowThread_->Call([this] {
        if (window_.FChromiumWindow) window_.FChromiumWindow->repaint();
    });
}

RgbPicture ChatWindowCommands::CaptureScreen() {
    QImage grabbed;
    bool noScreen = false;
    // The whole primary screen from (0, 0), at its full size.
    const bool ran = windowThread_->Call([&] {
        QScreen* screen = QGuiApplication::primaryScreen();
        if (screen) grabbed = screen->grabWindow(0).toImage();
        else noScreen = true;
    });
    if (!ran) throw Failure(u"A janela do atendimento foi fechada.");
    if (noScreen) throw Failure(u"Nenhuma tela disponível para a captura.");
    // The conversion is the command thread's work, not the window's.
    const QImage image = grabbed.convertToFormat(QImage::Format_RGB888);
    if (image.isNull()) throw Failure(u"Não foi possível capturar a tela.");
    RgbPicture picture{image.width(), image.height(), {}};
    const size_t stride = static_cast<size_t>(image.width()) * 3;
    picture.pixels.resize(stride * static_cast<size_t>(image.height()));
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(picture.pixels.data() + stride * static_cast<size_t>(y), image.constScanLine(y), stride);
    return picture;
}

std::u16string ChatWindowCommands::GetUrlRoot() { return TnFrmChatTarvenixClient::GetUrlRoot(); }

// On the window thread the dialogs in force are the program's own. A
// command's dialog leaves the chat window free: the user may still close it.
int ChatWindowCommands::MessageDlg(const std::u16string& text, platform::DialogKind kind,
                                   platform::DialogButtons buttons, const std::vector<std::u16string>& captions,
                                   const platform::DialogTitle& title) {
    int answer = DismissedAnswer(buttons);
    windowThread_->Call([&] {
        const QtDialogs::LeaveWindowsFree free;
        answer = platform::Current().dialogs->MessageDlg(text, kind, buttons, captions, title);
    });
    return answer;
}

void ChatWindowCommands::ShowMessage(const std::u16string& text) {
    windowThread_->Call([&] {
        const QtDialogs::LeaveWindowsFree free;
        platform::Current().dialogs->ShowMessage(text);
    });
}

std::u16string ChatWindowCommands::PromptOpenFile(const std::u16string& title, const std::u16string& filter,
                                                  const std::u16string& defaultExtension,
                                                  platform::FileListing listing) {
    std::u16string chosen;
    windowThread_->Call([&] {
        const QtDialogs::LeaveWindowsFree free;
        chosen = platform::Current().dialogs->PromptOpenFile(title, filter, defaultExtension, listing);
    });
    return chosen;
}
