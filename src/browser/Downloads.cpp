#include "browser/Downloads.h"

#include "platform/Platform.h"
#include "support/SafeFileName.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QStandardPaths>
#include <QWebEngineDownloadRequest>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <vector>

namespace engine {

namespace {

using Request = QWebEngineDownloadRequest;

struct Saving {
    QPointer<Request> request;
    QString part;
    QString target;
    bool abandoned = false;
};

bool asking = false;  // window thread only

std::vector<std::shared_ptr<Saving>>& UnderWay() {
    static std::vector<std::shared_ptr<Saving>> savings;
    return savings;
}

// Beside the target, so that the last step is a rename on the same disk.
QString PartFor(const QString& target) {
    QString part = target + QStringLiteral(".part");
    for (int n = 1; QFileInfo::exists(part); ++n)
        part = target + QLatin1Char('.') + QString::number(n) + QStringLiteral(".part");
    return part;
}

QString WhyItFailed(const Request& download) {
    switch (download.interruptReason()) {
        case Request::FileAccessDenied: return QStringLiteral("Não há permissão para gravar na pasta escolhida.");
        case Request::FileNoSpace: return QStringLiteral("Não há espaço suficiente no disco.");
        case Request::FileNameTooLong:
            return QStringLiteral("O nome do arquivo é longo demais para a pasta escolhida.");
        case Request::FileTooLarge: return QStringLiteral("O arquivo é grande demais para o disco escolhido.");
        case Request::FileVirusInfected:
        case Request::FileBlocked:
        case Request::FileSecurityCheckFailed: return QStringLiteral("O sistema bloqueou o arquivo.");
        case Request::NetworkFailed:
        case Request::NetworkTimeout:
        case Request::NetworkDisconnected:
        case Request::NetworkServerDown:
        case Request::NetworkInvalidRequest: return QStringLiteral("A conexão com o servidor foi interrompida.");
        case Request::ServerFailed:
        case Request::ServerBadContent:
        case Request::ServerUnauthorized:
        case Request::ServerCertProblem:
        case Request::ServerForbidden:
        case Request::ServerUnreachable: return QStringLiteral("O servidor não entregou o arquivo.");
        case Request::UserCanceled: return QStringLiteral("O download foi cancelado.");
        default: break;
    }
    return download.state() == Request::DownloadCancelled ? QStringLiteral("O download foi cancelado.")
                                                          : QStringLiteral("Ocorreu uma falha durante o download.");
}

// A notice that leaves the chat free to go on.
QMessageBox* Tell(QWidget* window, QMessageBox::Icon icon, const QString& title, const QString& text) {
    auto* box = new QMessageBox(icon, title, text, QMessageBox::NoButton, window);
    box->setTextFormat(Qt::PlainText);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    return box;
}

void Forget(const std::shared_ptr<Saving>& saving) {
    auto& all = UnderWay();
    all.erase(std::remove(all.begin(), all.end(), saving), all.end());
}

void Finished(const std::shared_ptr<Saving>& saving, Request& download, QPointer<QWidget> window) {
    Forget(saving);
    // Nothing refers to a finished request any more.
    download.deleteLater();
    if (saving->abandoned) return;
    const QString name = QFileInfo(saving->target).fileName();
    if (download.state() == Request::DownloadCompleted) {
        std::error_code failed;
        std::filesystem::rename(std::filesystem::path(saving->part.toStdU16String()),
                                std::filesystem::path(saving->target.toStdU16String()), failed);
        if (!failed) {
            // A file from outside is never made a program.
            QFile::setPermissions(saving->target,
                                  QFile::permissions(saving->target) &
                                      ~(QFile::ExeOwner | QFile::ExeUser | QFile::ExeGroup | QFile::ExeOther));
            QMessageBox* box =
                Tell(window, QMessageBox::Information, QStringLiteral("Download concluído"),
                     QStringLiteral("O arquivo foi salvo em:\n") + QDir::toNativeSeparators(saving->target));
            QPushButton* openFolder = box->addButton(QStringLiteral("Abrir pasta"), QMessageBox::ActionRole);
            box->setDefaultButton(box->addButton(QStringLiteral("OK"), QMessageBox::AcceptRole));
            const QString folder = QDir::toNativeSeparators(QFileInfo(saving->target).absolutePath());
            QObject::connect(openFolder, &QPushButton::clicked, [folder] {
                platform::Current().shell->OpenFolder(folder.toStdU16String());
            });
            box->show();
            return;
        }
    }
    QFile::remove(saving->part);
    const QString why = download.state() == Request::DownloadCompleted
                            ? QStringLiteral("Não foi possível dar ao arquivo o nome escolhido.")
                            : WhyItFailed(download);
    QMessageBox* box =
        Tell(window, QMessageBox::Warning, QStringLiteral("Download não concluído"),
             QStringLiteral("Não foi possível salvar o arquivo \"") + name + QStringLiteral("\". ") + why);
    box->addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box->show();
}

}  // namespace

void SaveDownload(Request& download, QWidget* window) {
    // One question at a time; and a page is never saved as a whole.
    if (asking || download.isSavePageDownload()) {
        download.cancel();
        return;
    }
    const QString offered = QString::fromStdU16String(SafeFileName(download.downloadFileName().toStdU16String()));
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    asking = true;
    const QString chosen =
        QFileDialog::getSaveFileName(window, QStringLiteral("Salvar arquivo"), QDir(folder).filePath(offered));
    asking = false;
    if (chosen.isEmpty() || download.state() != Request::DownloadRequested) {
        download.cancel();
        return;
    }
    auto saving = std::make_shared<Saving>();
    saving->request = &download;
    saving->target = QFileInfo(chosen).absoluteFilePath();
    saving->part = PartFor(saving->target);
    download.setDownloadDirectory(QFileInfo(saving->part).absolutePath());
    download.setDownloadFileName(QFileInfo(saving->part).fileName());
    UnderWay().push_back(saving);
    QObject::connect(&download, &Request::isFinishedChanged, &download,
                     [saving, &download, window = QPointer<QWidget>(window)] {
                         if (download.isFinished()) Finished(saving, download, window);
                     });
    download.accept();
}

void AbandonDownloads() {
    for (const auto& saving : std::vector(UnderWay())) {
        saving->abandoned = true;
        if (saving->request) saving->request->cancel();
        QFile::remove(saving->part);
    }
    UnderWay().clear();
}

}  // namespace engine
