#include "windows/ChatWindowCommands.h"

#include "remote/RemoteAttendant.h"
#include "support/Failure.h"
#include "windows/nFrmChatTarvenixClient_U.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QThread>

#include <cstring>

void ChatWindowCommands::Fechar() { window_.Fechar(); }

void ChatWindowCommands::AbrirUrlNoBrowser(bool _AFechar) { window_.AbrirUrlNoBrowser(_AFechar); }

void ChatWindowCommands::RefreshChat() { window_.RefreshChat(); }

void ChatWindowCommands::SetConfirmarSair(bool value) { window_.SetConfirmarSair(value); }

void ChatWindowCommands::RunScript(const std::u16string& script) {
    if (window_.FChromiumWindow) TnTarvenixUtils::ExecCommandJS(*window_.FChromiumWindow, script);
}

platform::WindowHandle ChatWindowCommands::ChatWindowHandle() {
    return static_cast<platform::WindowHandle>(window_.winId());
}

void ChatWindowCommands::ConectarAtendenteVNC(const TStringArray& fields) {
    ::ConectarAtendenteVNC(fields, [this](const std::u16string& script) { RunScript(script); });
}

void ChatWindowCommands::CloseVNCConnection() { ::CloseVNCConnection(); }

void ChatWindowCommands::HideWindow() {
    window_.hide();
    // The window system must take the window off the screen before the
    // capture; user input waits for the command to end.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void ChatWindowCommands::ShowWindow() { window_.show(); }

void ChatWindowCommands::RepaintWindow() { window_.repaint(); }

void ChatWindowCommands::RepaintBrowser() {
    if (window_.FChromiumWindow) window_.FChromiumWindow->repaint();
}

RgbPicture ChatWindowCommands::CaptureScreen() {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) throw Failure(u"Nenhuma tela disponível para a captura.");
    // The whole primary screen from (0, 0), at its full size.
    const QImage image = screen->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB888);
    if (image.isNull()) throw Failure(u"Não foi possível capturar a tela.");
    RgbPicture picture{image.width(), image.height(), {}};
    const size_t stride = static_cast<size_t>(image.width()) * 3;
    picture.pixels.resize(stride * static_cast<size_t>(image.height()));
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(picture.pixels.data() + stride * static_cast<size_t>(y), image.constScanLine(y), stride);
    return picture;
}

std::u16string ChatWindowCommands::GetUrlRoot() { return TnFrmChatTarvenixClient::GetUrlRoot(); }

void ChatWindowCommands::RunOnWindowThread(const std::function<void()>& work) {
    if (QThread::currentThread() == window_.thread()) {
        work();
        return;
    }
    // The upload thread waits until the window thread has run the work.
    QMetaObject::invokeMethod(&window_, [&work] { work(); }, Qt::BlockingQueuedConnection);
}
