#pragma once
// The page-to-launcher half of the script bridge: the script that gives every
// frame `external.Notificar`, and the object on the launcher's side of the web
// channel that turns each call into one bridge message.

#include "browser/ChromiumHost.h"

#include <QObject>
#include <QString>
#include <QVariant>
#include <QVariantList>

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
//
// Every call is judged when it arrives, before it is queued: `admit` is
// asked with the calling frame's origin (null for the top frame's own
// calls) and refuses, and reports, what may not reach the launcher.
class BridgeEndpoint : public QObject {
    Q_OBJECT
    // The trusted sites, for the top frame's own check of its sub-frames:
    // {scheme, domain} for a registrable domain, {origin} for an exact one.
    Q_PROPERTY(QVariantList sites READ Sites NOTIFY SitesChanged)
public:
    using Deliver = std::function<void(const BridgeMessage&)>;
    using Admit = std::function<bool(const QString* frameOrigin, const QString& text)>;
    // Told of a call that the top frame refused on its own.
    using Refused = std::function<void(const QString& frameOrigin, const QString& text)>;
    BridgeEndpoint(Deliver deliver, Admit admit, Refused refused, QObject* parent = nullptr);
    ~BridgeEndpoint() override;

    // The top frame's own calls. Anything but a text is dropped, whatever
    // reached the channel.
    Q_INVOKABLE void Notificar(const QVariant& text);
    // A sub-frame's call, forwarded by the top frame with the sender's
    // origin as the browser gave it (event.origin).
    Q_INVOKABLE void FrameNotificar(const QVariant& origin, const QVariant& text);
    // A sub-frame's call that the top frame did not forward.
    Q_INVOKABLE void FrameRefused(const QVariant& origin, const QVariant& text);

    QVariantList Sites() const { return sites_; }
    void SetSites(const QVariantList& sites);

    // Drops what has not been delivered yet (the browser is going away).
    void Discard();

signals:
    void SitesChanged();

private:
    void Accept(const QString* frameOrigin, const QString& text);
    void Drain();

    Deliver deliver_;
    Admit admit_;
    Refused refused_;
    QVariantList sites_;
    std::deque<BridgeMessage> queue_;
    bool delivering_ = false;
    // Cleared by the destructor, so a drain loop whose endpoint was destroyed
    // from inside a handler stops at once.
    bool* alive_ = nullptr;
};

}  // namespace engine
