#pragma once
// The page-to-launcher half of the script bridge: the script that gives every
// frame `external.Notificar`, and the object on the launcher's side of the web
// channel that turns each call into one bridge message.

#include "browser/ChromiumHost.h"

#include <QObject>
#include <QString>
#include <QVariant>

#include <deque>
#include <functional>

class QWebEngineProfile;

namespace engine {

// The web channel library followed by the bridge script, wrapped so that
// neither leaves names of its own in the page; empty when Qt's copy of the
// library cannot be read.
QString BridgeScriptSource();

// Runs `source` at document creation in the page's own world, in every frame.
void InstallBridgeScript(QWebEngineProfile& profile, const QString& source);

// The name under which pages find the endpoint on their web channel.
inline constexpr const char* kBridgeObjectName = "tarvenixBridge";

// Receives the page's calls and hands them on one at a time, in arrival
// order. A message that arrives while a handler runs (a modal dialog spins
// its own event loop) waits until that handler has returned.
class BridgeEndpoint : public QObject {
    Q_OBJECT
public:
    using Deliver = std::function<void(const BridgeMessage&)>;
    explicit BridgeEndpoint(Deliver deliver, QObject* parent = nullptr);
    ~BridgeEndpoint() override;

    // The page's entry. Anything but a text is dropped, whatever reached the
    // channel.
    Q_INVOKABLE void Notificar(const QVariant& text);

    // Drops what has not been delivered yet (the browser is going away).
    void Discard();

private:
    void Drain();

    Deliver deliver_;
    std::deque<BridgeMessage> queue_;
    bool delivering_ = false;
    // Cleared by the destructor, so a drain loop whose endpoint was destroyed
    // from inside a handler stops at once.
    bool* alive_ = nullptr;
};

}  // namespace engine
