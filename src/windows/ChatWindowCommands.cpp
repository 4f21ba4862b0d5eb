#include "windows/ChatWindowCommands.h"

#include "remote/RemoteAttendant.h"
#include "support/Failure.h"
#include "windows/nFrmChatTarvenixClient_U.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include <cstring>

ChatWindowCommands::ChatWindowCommands(TnFrmChatTarvenixClient& window)
    : window_(window),
      windowThread_(WindowThread::Create([](WindowThread::Task task) {
          QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(task), Qt::QueuedConnection);
      })),
      dialogs_(windowThread_, shownDialogs_),
      uploads_(*this) {}

ChatWindowCommands::~ChatWindowCommands() {
    Close();
    commands_.Join();
}

template <class Operation>
bool ChatWindowCommands::OnWindow(Operation operation) {
    return windowThread_->Call([&] { operation(window_); });
}

void ChatWindowCommands::Post(const std::u16string& Tipo) {
    commands_.Post([this, Tipo] { DispatchChatCommand(*this, Tipo); });
}

void ChatWindowCommands::Close() {
    windowThread_->Close();
    commands_.Stop();
}

void ChatWindowCommands::Join() {
    commands_.Join();
    uploads_.Join();
}

void ChatWindowCommands::RunScript(const std::u16string& script) {
    windowThread_->Post([this, script] {
        if (window_.FChromiumWindow) TnTarvenixUtils::ExecCommandJS(*window_.FChromiumWindow, script);
    });
}

void ChatWindowCommands::Fechar() {
    OnWindow([](TnFrmChatTarvenixClient& window) { window.Fechar(); });
}

void ChatWindowCommands::AbrirUrlNoBrowser(bool _AFechar) {
    OnWindow([_AFechar](TnFrmChatTarvenixClient& window) { window.AbrirUrlNoBrowser(_AFechar); });
}

void ChatWindowCommands::RefreshChat() {
    OnWindow([](TnFrmChatTarvenixClient& window) { window.RefreshChat(); });
}

void ChatWindowCommands::SetConfirmarSair(bool value) {
    OnWindow([value](TnFrmChatTarvenixClient& window) { window.SetConfirmarSair(value); });
}

platform::WindowHandle ChatWindowCommands::ChatWindowHandle() {
    platform::WindowHandle handle = 0;
    OnWindow([&](TnFrmChatTarvenixClient& window) { handle = static_cast<platform::WindowHandle>(window.winId()); });
    return handle;
}

void ChatWindowCommands::ConectarAtendenteVNC(const TStringArray& fields) {
    ::ConectarAtendenteVNC(fields, [this](const std::u16string& script) { RunScript(script); }, &dialogs_);
}

void ChatWindowCommands::CloseVNCConnection() { ::CloseVNCConnection(&dialogs_); }

void ChatWindowCommands::HideWindow() {
    OnWindow([](TnFrmChatTarvenixClient& window) { window.hide(); });
}

void ChatWindowCommands::ShowWindow() {
    OnWindow([](TnFrmChatTarvenixClient& window) { window.show(); });
}

void ChatWindowCommands::RepaintWindow() {
    OnWindow([](TnFrmChatTarvenixClient& window) { window.repaint(); });
}

void ChatWindowCommands::RepaintBrowser() {
    OnWindow([](TnFrmChatTarvenixClient& window) {
        if (window.FChromiumWindow) window.FChromiumWindow->repaint();
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
