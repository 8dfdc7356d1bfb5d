#pragma once

#include "app/MeasurementTab.h"
#include "base/Clock.h"
#include "base/NotificationCenter.h"
#include "measurement/MeasurementContext.h"
#include "platform/FormFactor.h"

#include <QMainWindow>
#include <QObject>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <memory>

namespace tonara {

class AccessoryManager;
class AlertPresenter;
class AutoBackupSafetyNet;
class BackupAndDataPanel;
class AppLifecycle;
class CallCenter;
class DBHelper;
class DataBaseforCD;
class DeviceFrame;
class DataFolderLock;
class HomeWeekPanel;
class ManualEntryController;
class QtScheduler;
class ScreenLockInhibitor;
class TonaraSimulator;
class TonaraTabBarController;
class instruction_screen;

// What the command line chose, and what tests put in place.
struct AppOptions {
    QString device;  // empty: the built-in simulated monitor
    QString dataDir; // empty: the platform's application data folder
    FormFactor formFactor = FormFactor::Phone480;
    double scale = 1.0;     // pixels per point (applied process-wide by main)
    bool animations = true; // push transitions and sliding sheets; off under test

    // Tests: a private database connection instead of the shared one, a
    // stand-in measurement screen, and a fixed status-bar time.
    DBHelper *database = nullptr;
    std::function<MeasurementTab(const MeasurementContext &)> measurementScreen;
    QString statusBarTime;
};

// Starts the application: the window with the device frame, the four tabs,
// the store's schema check and reads, the active user's name on the users tab,
// and the stop of a running measurement when the application leaves the front.
class OrvelAppDelegate : public QObject {
    Q_OBJECT
public:
    static constexpr int kMeasurementTab = 0;
    static constexpr int kHistoryTab = 1;
    static constexpr int kSettingTab = 2;
    static constexpr int kUsersTab = 3;

    explicit OrvelAppDelegate(AppOptions options, QObject *parent = nullptr);
    ~OrvelAppDelegate() override;

    // Parses the arguments (the first is the program); returns false with the
    // message in *error on bad input, and with the help text for --help.
    static bool parseOptions(const QStringList &args, AppOptions *out, QString *error,
                             bool *helpAsked = nullptr);

    // What the shell asks of the measurement screen, wired to a real one.
    static MeasurementTab measurementTabFor(instruction_screen *screen);

    // Builds everything and shows the window; true when it could.
    bool didFinishLaunching();
    // Stops a measurement that is running when the application goes to the back.
    void applicationDidEnterBackground();

    QMainWindow *window() const { return window_; }
    TonaraTabBarController *tabBarController() const { return tabBarController_; }
    DeviceFrame *deviceFrame() const { return frame_; }
    AlertPresenter *alerts() const { return alerts_; }
    AppLifecycle *lifecycle() const { return lifecycle_; }
    CallCenter *callCenter() const { return calls_; }
    ScreenLockInhibitor *screenLock() const { return screenLock_; }
    NotificationCenter &notificationCenter() { return center_; }
    // The built-in monitor, or nullptr with a serial device.
    TonaraSimulator *simulator() const { return simulator_.get(); }
    const MeasurementTab &measurementTab() const { return measurement_; }
    // The manual entry wizard on the measurement tab; nullptr with a stand-in screen.
    ManualEntryController *manualEntry() const { return manualEntry_; }
    HomeWeekPanel *homeWeek() const { return homeWeek_; }
    // The users screen (root of the users tab's navigation).
    QWidget *usersScreen() const { return usersScreen_; }
    // The users-list row last touched since start (0 until one is).
    static int UserNumber();
    QString dataDir() const { return dataDir_; }
    DBHelper *database() const { return db_; }
    // The settings screen's "Backup and data" panel (its import and FHIR
    // export buttons only ask), and the backups taken before deletions.
    BackupAndDataPanel *backupAndDataPanel() const { return backupPanel_; }
    AutoBackupSafetyNet *safetyNet() const { return safetyNet_; }

private:
    void createAccessories();
    MeasurementTab createMeasurementTab(const MeasurementContext &context);
    void readStore();
    void stopMeasurementInBackground();
    void buildMenus();

    AppOptions options_;
    QString dataDir_;
    std::unique_ptr<QtScheduler> scheduler_;
    SystemClock clock_;
    NotificationCenter center_;
    std::unique_ptr<TonaraSimulator> simulator_;
    std::unique_ptr<AccessoryManager> accessories_;
    DBHelper *db_ = nullptr; // the shared connection, or the one the tests gave
    std::unique_ptr<DataBaseforCD> store_;
    std::unique_ptr<DataFolderLock> folderLock_;
    AlertPresenter *alerts_ = nullptr;
    CallCenter *calls_ = nullptr;
    ScreenLockInhibitor *screenLock_ = nullptr;
    AppLifecycle *lifecycle_ = nullptr;
    MeasurementContext context_;
    MeasurementTab measurement_;
    ManualEntryController *manualEntry_ = nullptr;
    HomeWeekPanel *homeWeek_ = nullptr;

    QPointer<QMainWindow> window_;
    TonaraTabBarController *tabBarController_ = nullptr;
    DeviceFrame *frame_ = nullptr;
    QWidget *usersScreen_ = nullptr;
    AutoBackupSafetyNet *safetyNet_ = nullptr;
    BackupAndDataPanel *backupPanel_ = nullptr;
};

} // namespace tonara
