#include "windows/PortugueseTexts.h"

#include "support/LocalFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <QTranslator>

namespace portuguese {

void UseBrazilianLocale() { QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil)); }

QString TranslationsFolder() {
    const std::u16string folder = TnTarvenixUtils::ProgramFolder();
    return QString::fromUtf16(folder.data(), static_cast<qsizetype>(folder.size())) + QStringLiteral("translations");
}

bool InstallTranslations(const QString& folder) {
    auto* app = QCoreApplication::instance();
    auto* engine = new QTranslator(app);
    if (engine->load(QStringLiteral("qtwebengine_pt_BR"), folder))
        app->installTranslator(engine);
    else
        delete engine;
    auto* base = new QTranslator(app);
    if (!base->load(QStringLiteral("qtbase_pt_BR"), folder)) {
        delete base;
        return false;
    }
    app->installTranslator(base);
    return true;
}

}  // namespace portuguese
