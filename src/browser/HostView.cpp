#include "browser/HostView.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QWebEngineContextMenuRequest>

namespace {

using Edit = QWebEngineContextMenuRequest;

void AddAction(QMenu& menu, QWebEnginePage& page, const char* text, QWebEnginePage::WebAction action,
               bool enabled = true) {
    QAction* item = menu.addAction(QString::fromUtf8(text), &page, [&page, action] { page.triggerAction(action); });
    item->setEnabled(enabled);
}

}  // namespace

HostView::HostView(QWidget* parent, OpenLink openLink) : QWebEngineView(parent), openLink_(std::move(openLink)) {}

void HostView::contextMenuEvent(QContextMenuEvent* event) {
    const QWebEngineContextMenuRequest* request = lastContextMenuRequest();
    QWebEnginePage* shown = page();
    if (!request || !shown) return;
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const auto flags = request->editFlags();

    if (!request->misspelledWord().isEmpty()) {
        const QStringList suggestions = request->spellCheckerSuggestions();
        for (const QString& word : suggestions)
            menu->addAction(word, shown, [shown, word] { shown->replaceMisspelledWord(word); });
        if (suggestions.isEmpty()) menu->addAction(QStringLiteral("Nenhuma sugestão de ortografia"))->setEnabled(false);
        menu->addSeparator();
    }
    if (request->isContentEditable()) {
        AddAction(*menu, *shown, "Desfazer", QWebEnginePage::Undo, flags.testFlag(Edit::CanUndo));
        menu->addSeparator();
        AddAction(*menu, *shown, "Recortar", QWebEnginePage::Cut, flags.testFlag(Edit::CanCut));
        AddAction(*menu, *shown, "Copiar", QWebEnginePage::Copy, flags.testFlag(Edit::CanCopy));
        AddAction(*menu, *shown, "Colar", QWebEnginePage::Paste, flags.testFlag(Edit::CanPaste));
        menu->addSeparator();
        AddAction(*menu, *shown, "Selecionar tudo", QWebEnginePage::SelectAll, flags.testFlag(Edit::CanSelectAll));
    } else if (!request->selectedText().isEmpty()) {
        AddAction(*menu, *shown, "Copiar", QWebEnginePage::Copy);
    }
    if (request->linkUrl().isValid()) {
        menu->addSeparator();
        const QUrl link = request->linkUrl();
        menu->addAction(QStringLiteral("Abrir link no navegador padrão"), this, [this, link] {
            if (openLink_) openLink_(link);
        });
        AddAction(*menu, *shown, "Copiar endereço do link", QWebEnginePage::CopyLinkToClipboard);
    }
    if (request->mediaType() == QWebEngineContextMenuRequest::MediaTypeImage) {
        menu->addSeparator();
        AddAction(*menu, *shown, "Copiar imagem", QWebEnginePage::CopyImageToClipboard);
    }

    // Separators alone make no menu.
    bool anything = false;
    for (const QAction* item : menu->actions()) anything = anything || !item->isSeparator();
    if (!anything) {
        delete menu;
        return;
    }
    menu->popup(event->globalPos());
}
