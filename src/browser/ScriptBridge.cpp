#include "browser/ScriptBridge.h"

#include <QFile>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>

namespace engine {

namespace {

QString ReadResource(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

}  // namespace

QString BridgeScriptSource() {
    const QString channel = ReadResource(QStringLiteral(":/qtwebchannel/qwebchannel.js"));
    const QString bridge = ReadResource(QStringLiteral(":/tarvenix/external.js"));
    if (channel.isEmpty() || bridge.isEmpty()) return {};
    return QStringLiteral("(function () {\n") + channel + QStringLiteral("\n") + bridge + QStringLiteral("\n})();\n");
}

void InstallBridgeScript(QWebEngineProfile& profile, const QString& source) {
    QWebEngineScript script;
    script.setName(QStringLiteral("external"));
    script.setSourceCode(source);
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(QWebEngineScript::MainWorld);
    script.setRunsOnSubFrames(true);
    profile.scripts()->insert(script);
}

BridgeEndpoint::BridgeEndpoint(Deliver deliver, Admit admit, Refused refused, QObject* parent)
    : QObject(parent), deliver_(std::move(deliver)), admit_(std::move(admit)), refused_(std::move(refused)) {}

BridgeEndpoint::~BridgeEndpoint() {
    if (alive_) *alive_ = false;
}

void BridgeEndpoint::Notificar(const QVariant& text) {
    if (text.typeId() != QMetaType::QString) return;
    Accept(nullptr, text.toString());
}

void BridgeEndpoint::FrameNotificar(const QVariant& origin, const QVariant& text) {
    if (origin.typeId() != QMetaType::QString || text.typeId() != QMetaType::QString) return;
    const QString sender = origin.toString();
    Accept(&sender, text.toString());
}

void BridgeEndpoint::FrameRefused(const QVariant& origin, const QVariant& text) {
    if (refused_) refused_(origin.toString(), text.toString());
}

void BridgeEndpoint::SetSites(const QVariantList& sites) {
    if (sites == sites_) return;
    sites_ = sites;
    emit SitesChanged();
}

void BridgeEndpoint::Accept(const QString* frameOrigin, const QString& text) {
    // Judged now: by the time a queued call is delivered the top frame may
    // show another page.
    if (!admit_ || !admit_(frameOrigin, text)) return;
    queue_.push_back(BridgeMessage{u"Notificar", true, {text.toStdU16String()}});
    if (!delivering_) Drain();
}

void BridgeEndpoint::Discard() { queue_.clear(); }

void BridgeEndpoint::Drain() {
    bool alive = true;
    alive_ = &alive;
    delivering_ = true;
    while (!queue_.empty()) {
        const BridgeMessage message = std::move(queue_.front());
        queue_.pop_front();
        try {
            if (deliver_) deliver_(message);
        } catch (...) {
            // The reception reports its own failures; one that slips through
            // must not stop the messages behind it.
        }
        if (!alive) return;
    }
    delivering_ = false;
    alive_ = nullptr;
}

}  // namespace engine
