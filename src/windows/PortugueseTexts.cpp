#include "windows/PortugueseTexts.h"

#include "support/LocalFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QHash>
#include <QLocale>
#include <QTranslator>

namespace portuguese {

namespace {

// The engine's context menu, for a Qt that ships no Brazilian Portuguese
// translation of the engine (Debian's does not).
class EngineMenuTexts : public QTranslator {
public:
    explicit EngineMenuTexts(QObject* parent) : QTranslator(parent) {
        const char* const pairs[][2] = {
            {"Back", "Voltar"},
            {"Forward", "Avançar"},
            {"Reload", "Recarregar"},
            {"Cut", "Recortar"},
            {"Copy", "Copiar"},
            {"Paste", "Colar"},
            {"Paste and match style", "Colar com o mesmo estilo"},
            {"Undo", "Desfazer"},
            {"Redo", "Refazer"},
            {"Select all", "Selecionar tudo"},
            {"Open link in new window", "Abrir link em nova janela"},
            {"Open link in new tab", "Abrir link em nova guia"},
            {"Copy link address", "Copiar endereço do link"},
            {"Save link", "Salvar link"},
            {"Copy image", "Copiar imagem"},
            {"Copy image address", "Copiar endereço da imagem"},
            {"Save image", "Salvar imagem"},
            {"Copy media address", "Copiar endereço da mídia"},
            {"Show controls", "Mostrar controles"},
            {"Loop", "Repetir"},
            {"Save media", "Salvar mídia"},
            {"Inspect", "Inspecionar"},
            {"Exit full screen", "Sair da tela cheia"},
            {"Save page", "Salvar página"},
            {"View page source", "Exibir código-fonte da página"},
        };
        for (const auto& pair : pairs) texts_.insert(QString::fromLatin1(pair[0]), QString::fromUtf8(pair[1]));
    }
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* source, const char*, int) const override {
        if (qstrcmp(context, "RenderViewContextMenuQt") != 0 || !source) return {};
        return texts_.value(QString::fromLatin1(source));
    }

private:
    QHash<QString, QString> texts_;
};

}  // namespace

void UseBrazilianLocale() { QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil)); }

QString TranslationsFolder() {
    const std::u16string folder = TnTarvenixUtils::ProgramFolder();
    return QString::fromUtf16(folder.data(), static_cast<qsizetype>(folder.size())) + QStringLiteral("translations");
}

bool InstallTranslations(const QString& folder) {
    auto* app = QCoreApplication::instance();
    // Installed first, asked last: Qt's own translation wins where it exists.
    app->installTranslator(new EngineMenuTexts(app));
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
