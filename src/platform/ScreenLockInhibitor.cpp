#include "platform/ScreenLockInhibitor.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QLoggingCategory>

namespace tonara {

Q_LOGGING_CATEGORY(lcScreenLock, "tonara.platform.screenlock")

namespace {

const QString kService = QStringLiteral("org.freedesktop.ScreenSaver");
const QString kPath = QStringLiteral("/org/freedesktop/ScreenSaver");
const QString kInterface = QStringLiteral("org.freedesktop.ScreenSaver");

} // namespace

ScreenLockInhibitor::ScreenLockInhibitor(QObject *parent) : QObject(parent) {}

ScreenLockInhibitor::~ScreenLockInhibitor()
{
    if (haveCookie_)
        unInhibit(cookie_);
}

void ScreenLockInhibitor::inhibit()
{
    if (inhibited_)
        return;
    inhibited_ = true;
    const unsigned generation = ++generation_;
    emit inhibitedChanged(true);

    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Inhibit"));
    const QString app = QCoreApplication::applicationName().isEmpty() ? QStringLiteral("tonara")
                                                                      : QCoreApplication::applicationName();
    call << app << QStringLiteral("Blood-pressure measurement in progress");
    // Asynchronous: a missing or slow screen saver must not hold up the measurement.
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, generation](QDBusPendingCallWatcher *w) {
                w->deleteLater();
                QDBusPendingReply<unsigned> reply = *w;
                if (reply.isError()) {
                    qCInfo(lcScreenLock) << "screen lock stays as it is:" << reply.error().message();
                    return;
                }
                if (inhibited_ && generation == generation_) {
                    cookie_ = reply.value();
                    haveCookie_ = true;
                } else {
                    // Released (or re-inhibited) before the answer came: give this one back.
                    unInhibit(reply.value());
                }
            });
}

void ScreenLockInhibitor::release()
{
    if (!inhibited_)
        return;
    inhibited_ = false;
    if (haveCookie_) {
        haveCookie_ = false;
        unInhibit(cookie_);
    }
    emit inhibitedChanged(false);
}

void ScreenLockInhibitor::unInhibit(unsigned cookie)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("UnInhibit"));
    call << cookie;
    bus.send(call);
}

} // namespace tonara
