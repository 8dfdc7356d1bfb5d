#include "platform/CallCenter.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QLoggingCategory>

namespace tonara {

Q_LOGGING_CATEGORY(lcCalls, "tonara.platform.calls")

namespace {

const QString kService = QStringLiteral("org.freedesktop.ModemManager1");
const QString kVoiceInterface = QStringLiteral("org.freedesktop.ModemManager1.Modem.Voice");
const QString kCallInterface = QStringLiteral("org.freedesktop.ModemManager1.Call");
constexpr int kDirectionIncoming = 1; // MM_CALL_DIRECTION_INCOMING

} // namespace

CallCenter::CallCenter(QObject *parent) : QObject(parent) {}

CallCenter::~CallCenter() = default;

bool CallCenter::watchSystemModems()
{
    if (watching_)
        return true;
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) {
        qCInfo(lcCalls) << "no system bus; phone calls are not watched";
        return false;
    }
    // Any modem's voice interface, including modems that appear later.
    watching_ = bus.connect(kService, QString(), kVoiceInterface, QStringLiteral("CallAdded"), this,
                            SLOT(modemCallAdded(QDBusObjectPath)));
    if (!watching_)
        qCInfo(lcCalls) << "could not watch ModemManager:" << bus.lastError().message();
    return watching_;
}

void CallCenter::modemCallAdded(const QDBusObjectPath &call)
{
    // Only a call coming in matters; our own outgoing calls do not interrupt.
    QDBusMessage get = QDBusMessage::createMethodCall(
        kService, call.path(), QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << kCallInterface << QStringLiteral("Direction");
    auto *watcher = new QDBusPendingCallWatcher(QDBusConnection::systemBus().asyncCall(get), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *w) {
        w->deleteLater();
        QDBusPendingReply<QDBusVariant> reply = *w;
        if (reply.isError()) {
            qCInfo(lcCalls) << "call direction unknown:" << reply.error().message();
            return;
        }
        if (reply.value().variant().toInt() == kDirectionIncoming)
            emit incomingCall();
    });
}

} // namespace tonara
