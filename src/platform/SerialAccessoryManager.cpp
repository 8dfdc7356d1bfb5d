#include "platform/SerialAccessoryManager.h"

#include "base/NotificationCenter.h"
#include "platform/SerialAccessorySession.h"
#include "platform/SerialDevicePath.h"

#include <QFileInfo>
#include <QSerialPortInfo>
#include <QTimer>

#include <algorithm>

namespace tonara {

namespace {

std::vector<std::string> identifiers(const std::vector<AccessoryInfo> &accessories)
{
    std::vector<std::string> ids;
    ids.reserve(accessories.size());
    for (const auto &a : accessories)
        ids.push_back(a.identifier);
    return ids;
}

bool contains(const std::vector<std::string> &list, const std::string &s)
{
    return std::find(list.begin(), list.end(), s) != list.end();
}

} // namespace

SerialAccessoryManager::SerialAccessoryManager(NotificationCenter &center, Options options)
    : center_(center), options_(std::move(options)), known_(identifiers(connectedAccessories()))
{}

SerialAccessoryManager::~SerialAccessoryManager() = default;

std::vector<AccessoryInfo> SerialAccessoryManager::connectedAccessories() const
{
    std::vector<AccessoryInfo> found;
    QString configuredCanonical;
    if (!options_.configuredPath.isEmpty() && SerialDevicePath::isCharacterDevice(options_.configuredPath)) {
        found.push_back({options_.configuredPath.toStdString(), {kTonaraProtocolString}});
        configuredCanonical = QFileInfo(options_.configuredPath).canonicalFilePath();
    }
    if (options_.matchUsbIds) {
        for (const QSerialPortInfo &port : QSerialPortInfo::availablePorts()) {
            if (!port.hasVendorIdentifier() || !port.hasProductIdentifier())
                continue;
            const bool listed =
                std::any_of(kMonitorUsbIds.begin(), kMonitorUsbIds.end(), [&](const UsbId &id) {
                    return id.vendor == port.vendorIdentifier() && id.product == port.productIdentifier();
                });
            if (!listed)
                continue;
            const QString location = port.systemLocation();
            if (!configuredCanonical.isEmpty() &&
                QFileInfo(location).canonicalFilePath() == configuredCanonical)
                continue; // the configured path names this very port
            found.push_back({location.toStdString(), {kTonaraProtocolString}});
        }
    }
    return found;
}

std::unique_ptr<AccessorySession> SerialAccessoryManager::openSession(const AccessoryInfo &accessory,
                                                                      const std::string &protocol)
{
    if (!contains(accessory.protocolStrings, protocol)) {
        lastError_ = QStringLiteral("%1 does not offer the protocol %2")
                         .arg(QString::fromStdString(accessory.identifier), QString::fromStdString(protocol));
        return nullptr;
    }
    QString error;
    auto session = SerialAccessorySession::openPort(QString::fromStdString(accessory.identifier), &error);
    lastError_ = session ? QString() : error;
    if (session) {
        auto &flags = opened_[accessory.identifier];
        // Sessions closed without a hang-up leave nothing to remember.
        std::erase_if(flags, [](const auto &f) { return f.use_count() == 1 && !*f; });
        flags.push_back(session->hangUpFlag());
    }
    return session;
}

void SerialAccessoryManager::registerForLocalNotifications()
{
    if (registered_)
        return;
    registered_ = true;
    watch_ = std::make_unique<QTimer>();
    watch_->setInterval(static_cast<int>(options_.watchInterval.count()));
    QObject::connect(watch_.get(), &QTimer::timeout, [this] { checkNow(); });
    watch_->start();
}

void SerialAccessoryManager::checkNow()
{
    std::vector<std::string> now = identifiers(connectedAccessories());
    std::vector<std::string> gone;
    std::vector<std::string> came;
    for (const auto &id : known_)
        if (!contains(now, id))
            gone.push_back(id);
    for (const auto &id : now)
        if (!contains(known_, id))
            came.push_back(id);
    for (const auto &id : now) {
        auto it = opened_.find(id);
        if (it == opened_.end() || contains(came, id))
            continue;
        if (std::any_of(it->second.begin(), it->second.end(), [](const auto &f) { return *f; })) {
            gone.push_back(id);
            came.push_back(id);
        }
    }
    for (const auto &id : gone)
        opened_.erase(id); // each hang-up is reported once
    known_ = std::move(now);
    if (!registered_)
        return;
    // Observers may open sessions from inside the post, so the list above is
    // already current when they look.
    const void *sender = static_cast<const AccessoryManager *>(this);
    for (std::size_t i = 0; i < gone.size(); ++i)
        center_.post(kAccessoryDidDisconnectNotification, sender);
    for (std::size_t i = 0; i < came.size(); ++i)
        center_.post(kAccessoryDidConnectNotification, sender);
}

} // namespace tonara
