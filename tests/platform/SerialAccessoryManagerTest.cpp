#include "platform/SerialAccessoryManager.h"
#include "base/NotificationCenter.h"
#include "platform/PseudoTerminal.h"
#include "platform/QtTestApp.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <string>
#include <vector>

namespace tonara {
namespace {

using namespace std::chrono_literals;
using test::PseudoTerminal;
using test::spinFor;
using test::spinUntil;

// Records the accessory notifications the manager posts, with their sender.
class AccessoryEvents {
public:
    explicit AccessoryEvents(NotificationCenter &center) : center_(center)
    {
        for (const char *name : {kAccessoryDidConnectNotification, kAccessoryDidDisconnectNotification})
            tokens_.push_back(center_.addObserver(name, [this](const std::string &n, const void *sender) {
                names.push_back(n);
                senders.push_back(sender);
            }));
    }
    ~AccessoryEvents()
    {
        for (auto t : tokens_)
            center_.removeObserver(t);
    }
    std::vector<std::string> names;
    std::vector<const void *> senders;

private:
    NotificationCenter &center_;
    std::vector<NotificationCenter::Token> tokens_;
};

SerialAccessoryManager::Options configured(const QString &path)
{
    SerialAccessoryManager::Options o;
    o.configuredPath = path;
    o.matchUsbIds = false; // the machine's own USB adapters must not disturb the test
    o.watchInterval = 50ms;
    return o;
}

TEST(SerialAccessoryManager, OffersTheConfiguredPtyForOurProtocolAndOpensIt)
{
    test::qtApp();
    PseudoTerminal pty;
    ASSERT_TRUE(pty.ok());
    NotificationCenter center;
    SerialAccessoryManager manager(center, configured(pty.path()));

    const auto list = manager.connectedAccessories();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].identifier, pty.path().toStdString());
    EXPECT_EQ(list[0].protocolStrings, std::vector<std::string>{kTonaraProtocolString});

    auto session = manager.openSession(list[0], kTonaraProtocolString);
    ASSERT_NE(session, nullptr) << manager.lastError().toStdString();
    EXPECT_TRUE(session->isConnected());
    EXPECT_TRUE(manager.lastError().isEmpty());

    EXPECT_EQ(manager.openSession(list[0], "com.example.other"), nullptr);
    EXPECT_TRUE(manager.lastError().contains("com.example.other"));
}

TEST(SerialAccessoryManager, ANonDevicePathIsNeverOfferedAndCannotBeOpened)
{
    test::qtApp();
    QTemporaryDir dir;
    const QString file = dir.filePath("ttyFake");
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    NotificationCenter center;
    SerialAccessoryManager manager(center, configured(file));
    EXPECT_TRUE(manager.connectedAccessories().empty());

    // Asked directly (as a tool given --device would), it says why.
    EXPECT_EQ(manager.openSession({file.toStdString(), {kTonaraProtocolString}}, kTonaraProtocolString),
              nullptr);
    EXPECT_TRUE(manager.lastError().contains("is not a serial device")) << manager.lastError().toStdString();
}

TEST(SerialAccessoryManager, PostsConnectAndDisconnectAsTheConfiguredPathComesAndGoes)
{
    test::qtApp();
    PseudoTerminal pty;
    ASSERT_TRUE(pty.ok());
    QTemporaryDir dir;
    // A stable name for the port, like /dev/serial/by-id: it appears when
    // the device is plugged in and goes away when it is pulled.
    const QString link = dir.filePath("tonara-monitor");
    NotificationCenter center;
    AccessoryEvents events(center);
    SerialAccessoryManager manager(center, configured(link));
    const void *self = static_cast<const AccessoryManager *>(&manager);

    // Changes before registering are not announced.
    ASSERT_TRUE(QFile::link(pty.path(), link));
    manager.checkNow();
    EXPECT_TRUE(events.names.empty());
    ASSERT_TRUE(QFile::remove(link));
    manager.checkNow();

    manager.registerForLocalNotifications();
    spinFor(150ms);
    EXPECT_TRUE(events.names.empty()) << "nothing changed, nothing posted";

    ASSERT_TRUE(QFile::link(pty.path(), link));
    ASSERT_TRUE(spinUntil([&] { return !events.names.empty(); }));
    spinFor(150ms);
    ASSERT_EQ(events.names, std::vector<std::string>{kAccessoryDidConnectNotification}) << "posted once";
    EXPECT_EQ(events.senders.back(), self);
    EXPECT_EQ(manager.connectedAccessories().size(), 1u);

    ASSERT_TRUE(QFile::remove(link));
    ASSERT_TRUE(spinUntil([&] { return events.names.size() == 2; }));
    EXPECT_EQ(events.names.back(), kAccessoryDidDisconnectNotification);
    EXPECT_EQ(events.senders.back(), self);
    EXPECT_TRUE(manager.connectedAccessories().empty());
}

TEST(SerialAccessoryManager, APtyThatHangsUpIsADisconnect)
{
    test::qtApp();
    auto pty = std::make_unique<PseudoTerminal>();
    ASSERT_TRUE(pty->ok());
    const QString path = pty->path();
    NotificationCenter center;
    AccessoryEvents events(center);
    SerialAccessoryManager manager(center, configured(path));
    manager.registerForLocalNotifications();
    ASSERT_EQ(manager.connectedAccessories().size(), 1u);

    // Observers see a current list when they are told, as the engine looks
    // for the device again from inside the notification.
    std::size_t listedAtDisconnect = 99;
    const auto token =
        center.addObserver(kAccessoryDidDisconnectNotification, [&](const std::string &, const void *) {
            listedAtDisconnect = manager.connectedAccessories().size();
        });
    pty.reset();
    ASSERT_TRUE(spinUntil([&] { return !events.names.empty(); })) << path.toStdString() << " still there";
    EXPECT_EQ(events.names, std::vector<std::string>{kAccessoryDidDisconnectNotification});
    EXPECT_EQ(listedAtDisconnect, 0u);
    center.removeObserver(token);
}

TEST(SerialAccessoryManager, APortReplacedBetweenTwoLooksIsADisconnectAndAConnect)
{
    test::qtApp();
    auto first = std::make_unique<PseudoTerminal>();
    PseudoTerminal second;
    ASSERT_TRUE(first->ok() && second.ok());
    QTemporaryDir dir;
    const QString link = dir.filePath("tonara-monitor");
    ASSERT_TRUE(QFile::link(first->path(), link));
    NotificationCenter center;
    AccessoryEvents events(center);
    auto options = configured(link);
    options.watchInterval = std::chrono::hours(1); // looks only when the test says so
    SerialAccessoryManager manager(center, options);
    manager.registerForLocalNotifications();

    auto session = manager.openSession(manager.connectedAccessories().at(0), kTonaraProtocolString);
    ASSERT_NE(session, nullptr);
    manager.checkNow();
    EXPECT_TRUE(events.names.empty()) << "an open, healthy port is no change";

    // The device behind the name hangs up and another takes the name before
    // the next look (a simulator restarted on the same pty number).
    first.reset();
    ASSERT_TRUE(spinUntil([&] { return !session->isConnected(); }));
    ASSERT_TRUE(QFile::remove(link));
    ASSERT_TRUE(QFile::link(second.path(), link));
    manager.checkNow();
    EXPECT_EQ(events.names, (std::vector<std::string>{kAccessoryDidDisconnectNotification,
                                                      kAccessoryDidConnectNotification}));
    manager.checkNow();
    EXPECT_EQ(events.names.size(), 2u) << "the hang-up is reported once";

    // The new device can be opened and used at once.
    auto fresh = manager.openSession(manager.connectedAccessories().at(0), kTonaraProtocolString);
    ASSERT_NE(fresh, nullptr) << manager.lastError().toStdString();
    EXPECT_TRUE(fresh->isConnected());
}

} // namespace
} // namespace tonara
