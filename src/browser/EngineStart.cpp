#include "browser/EngineStart.h"

#include "browser/ClosedPages.h"
#include "browser/ScriptBridge.h"
#include "platform/Registry.h"
#include "support/LocalFiles.h"

#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QWebEngineProfile>
#include <QtWebEngineCore/qtwebenginecoreglobal.h>
#include <QtWebEngineCore/qtwebenginecoreversion.h>

namespace engine {

namespace {

QWebEngineProfile* profile = nullptr;

// Files an installed copy carries in the engine folder; the engine cannot
// draw pages or its own texts without them.
const char* const kRequiredFiles[] = {
    "qtwebengine_resources.pak",
    "qtwebengine_resources_100p.pak",
    "qtwebengine_resources_200p.pak",
    "locales/en-US.pak",
};

// Beside the program, as the engine expects it; read only.
const char* const kDictionariesFolder = "qtwebengine_dictionaries";
const char* const kSpellingLanguage = "pt_BR";

void AppendFlags(const char* variable, const QByteArray& flags) {
    QByteArray value = qgetenv(variable);
    if (!value.isEmpty()) value += ' ';
    qputenv(variable, value + flags);
}

QString ToQString(const std::u16string& text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QString EngineFolder() { return ToQString(TnTarvenixUtils::ProgramFolder()) + "engine_chrome" + QDir::separator(); }

QString EngineDataFolder() {
    return ToQString(TnTarvenixUtils::WritableFolder()) + "engine_chrome" + QDir::separator();
}

void PrepareEngineEnvironment(const QString& engineFolder) {
    qputenv("QTWEBENGINE_RESOURCES_PATH", QDir::toNativeSeparators(engineFolder).toLocal8Bit());
    qputenv("QTWEBENGINE_LOCALES_PATH", QDir::toNativeSeparators(engineFolder + "locales").toLocal8Bit());
    qputenv("QTWEBENGINE_DICTIONARIES_PATH",
            QDir::toNativeSeparators(ToQString(TnTarvenixUtils::ProgramFolder()) + kDictionariesFolder).toLocal8Bit());
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // The GPU stays on: no --disable-gpu and no --disable-gpu-compositing.
    // Pages see Brazilian Portuguese (navigator.language) whatever the
    // system's language.
    AppendFlags("QTWEBENGINE_CHROMIUM_FLAGS", "--single-process --no-sandbox --lang=pt-BR");
    // Qt WebEngine shares its GL context with the widgets.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

QString CheckEngineFiles(const QString& engineFolder) {
    const QString runtime = QString::fromLatin1(qWebEngineVersion());
    const QString built = QStringLiteral(QTWEBENGINECORE_VERSION_STR);
    if (runtime != built)
        return QStringLiteral("A versão do componente de navegação (%1) difere da esperada (%2).").arg(runtime, built);
    for (const char* file : kRequiredFiles) {
        const QString path = engineFolder + QString::fromLatin1(file);
        if (!QFileInfo(path).isFile())
            return QStringLiteral("Arquivo do componente de navegação não encontrado: %1").arg(QDir::toNativeSeparators(path));
    }
    return {};
}

bool StartEngine(const QString& engineFolder, const QString& dataFolder) {
    if (profile) return true;
    const QString problem = CheckEngineFiles(engineFolder);
    if (!problem.isEmpty()) {
        QMessageBox::critical(nullptr, QStringLiteral("TarveNix"), problem);
        return false;
    }
    const QString bridgeScript = BridgeScriptSource();
    if (bridgeScript.isEmpty()) {
        QMessageBox::critical(nullptr, QStringLiteral("TarveNix"),
                              QStringLiteral("Não foi possível preparar a ponte de script do navegador."));
        return false;
    }

    // A named profile keeps its data on disk; Qt's default one keeps nothing.
    auto* created = new QWebEngineProfile(QStringLiteral("Default"), qApp);
    created->setCachePath(dataFolder + "cache");
    // Cookies are kept by the engine inside the user data folder.
    created->setPersistentStoragePath(dataFolder + "User Data");
    created->setPersistentCookiesPolicy(QWebEngineProfile::AllowPersistentCookies);
    created->setHttpAcceptLanguage(QStringLiteral("pt-BR,pt;q=0.9"));
    created->setSpellCheckEnabled(true);
    created->setSpellCheckLanguages({QString::fromLatin1(kSpellingLanguage)});
    InstallBridgeScript(*created, bridgeScript);
    WatchRequests(*created);
    profile = created;

    // On a system without the legacy browser component, the service pages
    // are shown by this engine, so its version is the one the gate checks.
    platform::SetEmbeddedEngineVersion(QString::fromLatin1(qWebEngineChromiumVersion()).toStdU16String());
    return true;
}

bool EngineStarted() { return profile != nullptr; }

QWebEngineProfile* EngineProfile() { return profile; }

}  // namespace engine
