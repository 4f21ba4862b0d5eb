#pragma once
// The engine's view in a browser host. Its context menu holds only what
// works in a chat and keeps it: spelling suggestions, editing, copying, and
// opening a link in the default browser. Nothing in it leaves the page.

#include <QWebEngineView>

#include <functional>

class HostView : public QWebEngineView {
public:
    // Opens a link's address outside the window, as the user asked.
    using OpenLink = std::function<void(const QUrl& address)>;

    HostView(QWidget* parent, OpenLink openLink);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    OpenLink openLink_;
};
