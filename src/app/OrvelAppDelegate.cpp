#include "app/OrvelAppDelegate.h"

#include "app/PlaceholderScreen.h"
#include "app/QtLogRouter.h"
#include "app/SimulatorMenu.h"
#include "app/TonaraTabBarController.h"
#include "base/Log.h"
#include "charts/HorizontalView.h"
#include "data/AutoBackupSafetyNet.h"
#include "data/BackupAndDataPanel.h"
#include "data/FhirExportFlow.h"
#include "data/ImportFlow.h"
#include "data/ImportPreview.h"
#include "history/Historyandreports.h"
#include "platform/AlertPresenter.h"
#include "platform/AppLifecycle.h"
#include "platform/Artwork.h"
#include "platform/CallCenter.h"
#include "platform/DeviceFrame.h"
#include "platform/MailComposer.h"
#include "platform/NavigationController.h"
#include "platform/QtScheduler.h"
#include "platform/ScreenLockInhibitor.h"
#include "platform/SerialAccessoryManager.h"
#include "platform/StatusBar.h"
#include "platform/TabBar.h"
// The simulator names a member emit(), which Qt defines as a keyword.
#pragma push_macro("emit")
#undef emit
#include "simulator/SimulatedAccessoryManager.h"
#include "simulator/TonaraSimulator.h"
#pragma pop_macro("emit")
#include "storage/DBHelper.h"
#include "storage/DataBaseforCD.h"
#include "storage/DataFolderLock.h"
#include "users/Users.h"
#include "users/setting.h"

#if __has_include("measurement/instruction_screen.h")
#include "measurement/HomeWeekPanel.h"
#include "measurement/ManualEntryController.h"
#include "measurement/Oscilloscope.h"
#include "measurement/instruction_screen.h"
#define TONARA_HAVE_INSTRUCTION_SCREEN 1
#endif

#include <QCommandLineParser>
#include <QDir>
#include <QLoggingCategory>
#include <QMainWindow>
#include <QMenuBar>
#include <QMetaObject>
#include <QPainter>
#include <QScreen>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace tonara {

Q_LOGGING_CATEGORY(lcApp, "tonara.app")

namespace {

// The desk the device lies on: a dark surface around the frame. Painted, not
// set in the palette, so the screens inside keep the ordinary colours.
class Desk : public QWidget {
public:
    explicit Desk(QWidget *parent) : QWidget(parent) { setObjectName(QStringLiteral("desk")); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        QLinearGradient g(0, 0, 0, height());
        g.setColorAt(0, QColor(0x3d, 0x44, 0x4f));
        g.setColorAt(1, QColor(0x22, 0x26, 0x2d));
        p.fillRect(rect(), g);
    }
};

} // namespace

OrvelAppDelegate::OrvelAppDelegate(AppOptions options, QObject *parent)
    : QObject(parent), options_(std::move(options))
{}

OrvelAppDelegate::~OrvelAppDelegate()
{
    // The screens hold the engine, which holds its session: they go before the
    // accessory backend, the simulator and the scheduler they use.
    delete window_.data();
    accessories_.reset();
    simulator_.reset();
}

bool OrvelAppDelegate::parseOptions(const QStringList &args, AppOptions *out, QString *error, bool *helpAsked)
{
    if (helpAsked)
        *helpAsked = false;
    QCommandLineParser p;
    p.setApplicationDescription(tr("Companion application of the Tonara+ blood-pressure monitor."));
    const QCommandLineOption help = p.addHelpOption();
    const QCommandLineOption device(QStringLiteral("device"),
                                    tr("Serial device of a real monitor (default: the built-in simulator)."),
                                    QStringLiteral("path"));
    const QCommandLineOption dataDir(QStringLiteral("data-dir"),
                                     tr("Folder for the database and the users' photos."),
                                     QStringLiteral("dir"));
    const QCommandLineOption formFactor(
        QStringLiteral("form-factor"), tr("Screen to show: phone480, phone568 or tablet (default phone480)."),
        QStringLiteral("name"), QStringLiteral("phone480"));
    const QCommandLineOption scale(QStringLiteral("scale"), tr("Pixels per point, 0.5 to 4 (default 1)."),
                                   QStringLiteral("N"), QStringLiteral("1"));
    p.addOptions({device, dataDir, formFactor, scale});
    if (!p.parse(args)) {
        *error = p.errorText();
        return false;
    }
    if (p.isSet(help)) {
        if (helpAsked)
            *helpAsked = true;
        // Read before the application exists, so the program name is filled in here.
        *error = p.helpText().replace(QStringLiteral("<executable_name>"), QStringLiteral("tonara"));
        return false;
    }
    if (!p.positionalArguments().isEmpty()) {
        *error = tr("Unexpected argument \"%1\".").arg(p.positionalArguments().constFirst());
        return false;
    }
    AppOptions parsed = *out;
    parsed.device = p.value(device);
    if (p.isSet(device) && parsed.device.isEmpty()) {
        *error = tr("--device needs the path of the monitor's serial device.");
        return false;
    }
    parsed.dataDir = p.value(dataDir);
    if (p.isSet(dataDir) && parsed.dataDir.isEmpty()) {
        *error = tr("--data-dir needs a folder.");
        return false;
    }
    if (!parseFormFactor(p.value(formFactor), &parsed.formFactor)) {
        *error = tr("Unknown form factor \"%1\": use phone480, phone568 or tablet.").arg(p.value(formFactor));
        return false;
    }
    bool ok = false;
    parsed.scale = p.value(scale).toDouble(&ok);
    if (!ok || !(parsed.scale >= 0.5 && parsed.scale <= 4)) {
        *error = tr("The scale must be a number from 0.5 to 4, not \"%1\".").arg(p.value(scale));
        return false;
    }
    *out = parsed;
    return true;
}

void OrvelAppDelegate::createAccessories()
{
    if (options_.device.isEmpty()) {
        simulator_ = std::make_unique<TonaraSimulator>(*scheduler_);
        accessories_ = std::make_unique<SimulatedAccessoryManager>(*simulator_, *scheduler_, center_);
    } else {
        SerialAccessoryManager::Options o;
        o.configuredPath = options_.device;
        accessories_ = std::make_unique<SerialAccessoryManager>(center_, o);
    }
}

#ifdef TONARA_HAVE_INSTRUCTION_SCREEN
MeasurementTab OrvelAppDelegate::measurementTabFor(instruction_screen *screen)
{
    MeasurementTab tab;
    tab.screen = screen;
    tab.hardwareButton = [screen] { return screen->HardwareButton(); };
    tab.setHardwareButton = [screen](int v) { screen->setHardwareButton(v); };
    tab.forceDisconnect = [screen] { screen->ForceDisconnect(); };
    tab.measurementRunning = [screen] { return screen->session().measurementRunning(); };
    tab.enterBackground = [screen] { screen->enterBackground(); };
    return tab;
}
#endif

MeasurementTab OrvelAppDelegate::createMeasurementTab(const MeasurementContext &context)
{
    MeasurementTab tab;
    if (options_.measurementScreen) {
        tab = options_.measurementScreen(context);
    } else {
#ifdef TONARA_HAVE_INSTRUCTION_SCREEN
        auto *screen = new instruction_screen(context, nullptr);
        tab = measurementTabFor(screen);
        // The mode choice's manual button opens the wizard over the screen.
        manualEntry_ = ManualEntryController::attach(screen, context);
        // The home-monitoring week's card on the mode choice and its panel.
        homeWeek_ = HomeWeekPanel::attach(screen, context);
#else
        tab.screen = new PlaceholderScreen(QStringLiteral("instruction_screen"), tr("Measurement"),
                                           QStringLiteral("Tab_Bar_icon_cronometer_30x30.png"));
        tab.hardwareButton = [] { return 0; };
        tab.setHardwareButton = [](int) {};
        tab.forceDisconnect = [] {};
#endif
    }
    // The screen names its own tab; these stand where it does not.
    if (tab.screen->windowTitle().isEmpty())
        tab.screen->setWindowTitle(tr("Measurement"));
    if (tab.screen->windowIcon().isNull())
        tab.screen->setWindowIcon(Artwork::icon(QStringLiteral("Tab_Bar_icon_cronometer_30x30.png")));
    return tab;
}

bool OrvelAppDelegate::didFinishLaunching()
{
    QtLogRouter::install();

    dataDir_ = options_.dataDir.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                                          : options_.dataDir;
    if (!QDir().mkpath(dataDir_))
        qCWarning(lcApp) << "cannot create the data folder" << dataDir_;

    scheduler_ = std::make_unique<QtScheduler>();
    alerts_ = new AlertPresenter(this);
    alerts_->setAnimationsEnabled(options_.animations);
    calls_ = new CallCenter(this);
    calls_->watchSystemModems();
    screenLock_ = new ScreenLockInhibitor(this);
    lifecycle_ = new AppLifecycle(this);
    connect(lifecycle_, &AppLifecycle::didEnterBackground, this,
            &OrvelAppDelegate::applicationDidEnterBackground);
    createAccessories();
    // The shared connection goes to the data folder before any screen can
    // reach for it.
    db_ = options_.database;
    if (!db_) {
        if (!DBHelper::configure(QDir::toNativeSeparators(dataDir_).toStdString(), alerts_))
            qCWarning(lcApp) << "the database was opened before start-up and stays where it is";
        db_ = &DBHelper::newInstance();
    }
    db_->openDatabase();
    // While it runs, a command-line restore leaves the folder alone.
    folderLock_ = std::make_unique<DataFolderLock>();
    if (!folderLock_->hold(db_->documentsFolder()))
        qCWarning(lcApp) << "the data folder is in use by another Tonara+ or cannot be marked as in use";

    // 1. The main window: the device lying on the desk.
    auto *window = new QMainWindow;
    window_ = window;
    window->setWindowTitle(tr("Tonara+"));
    window->setObjectName(QStringLiteral("window"));
    auto *desk = new Desk(window);
    auto *deskLayout = new QVBoxLayout(desk);
    deskLayout->setContentsMargins(28, 28, 28, 28);
    deskLayout->setSizeConstraint(QLayout::SetFixedSize);
    frame_ = new DeviceFrame(options_.formFactor, desk);
    deskLayout->addWidget(frame_, 0, Qt::AlignCenter);
    window->setCentralWidget(desk);
    // The window is as big as the device on the desk, turned or not.
    window->layout()->setSizeConstraint(QLayout::SetFixedSize);
    if (!options_.statusBarTime.isEmpty())
        frame_->statusBar()->setTimeText(options_.statusBarTime);
    alerts_->setHost(frame_->display());

    // 2. The four screens, the users screen inside a navigation controller.
    context_.accessories = accessories_.get();
    context_.scheduler = scheduler_.get();
    context_.clock = &clock_;
    context_.center = &center_;
    context_.alerts = alerts_;
    context_.db = db_;
    context_.calls = calls_;
    context_.screenLock = screenLock_;
    context_.formFactor = options_.formFactor;
    context_.animations = options_.animations;
    measurement_ = createMeasurementTab(context_);

    auto *history = new Historyandreports(
        HistoryContext{db_, alerts_, &clock_, scheduler_.get(), options_.formFactor, options_.animations});
    UsersContext users;
    users.db = db_;
    users.alerts = alerts_;
    users.clock = &clock_;
    users.documentsFolder = dataDir_;
    users.formFactor = options_.formFactor;
    users.animations = options_.animations;
    safetyNet_ = new AutoBackupSafetyNet(*db_, clock_, this);
    users.safetyNet = safetyNet_;
    auto *settings = new setting(users);
    backupPanel_ = new BackupAndDataPanel({db_, alerts_, &clock_, options_.formFactor});
    settings->setBackupAndDataPanel(backupPanel_);
    // After a restore or an undo every screen shows the data now in place:
    // the lists read it when they are shown, these two are on screen already.
    auto dataReplaced = [this, settings] {
        settings->reloadData();
        readStore();
    };
    connect(backupPanel_, &BackupAndDataPanel::dataRestored, this, dataReplaced);
    connect(safetyNet_, &AutoBackupSafetyNet::dataRestored, this, dataReplaced);
    // Import and export always concern the person whose diary is open now.
    connect(backupPanel_, &BackupAndDataPanel::importRequested, this, [this, dataReplaced] {
        const int user = DataBaseforCD(*db_, *alerts_).activeUser();
        if (ImportPreview *preview = ImportFlow::run(frame_->display(), *db_, user, *alerts_, &clock_))
            connect(preview, &ImportPreview::finished, this, [dataReplaced](int imported) {
                if (imported > 0)
                    dataReplaced();
            });
    });
    connect(backupPanel_, &BackupAndDataPanel::fhirExportRequested, this, [this] {
        const int user = DataBaseforCD(*db_, *alerts_).activeUser();
        FhirExportFlow::run(frame_->display(), *db_, user, {dataDir_, alerts_}, &clock_);
    });
    usersScreen_ = new Users(users);
    auto *usersNavigation = new NavigationController(usersScreen_);
    usersNavigation->setAnimationsEnabled(options_.animations);

    tabBarController_ = new TonaraTabBarController(options_.formFactor);
    tabBarController_->setViewControllers({measurement_.screen, history, settings, usersNavigation});
    connect(history, &Historyandreports::selectTabRequested, tabBarController_,
            &TonaraTabBarController::setSelectedIndex);
    connect(history, &Historyandreports::statusBarHiddenRequested, tabBarController_,
            &TonaraTabBarController::setStatusBarHidden);
    history->setComposerFactory([this, history](const Historyandreports::Mail &mail) {
        auto *composer = new MailComposer({dataDir_, alerts_}, frame_->display());
        composer->setSubject(mail.subject);
        composer->setToRecipients({mail.recipient});
        composer->setMessageBody(mail.body);
        composer->addAttachmentData(mail.attachment, mail.mimeType, mail.fileName);
        connect(composer, &MailComposer::didFinish, history,
                [history, composer](int result, const QString &error) {
                    history->mailComposeController_didFinishWithResult(result, error);
                    composer->deleteLater();
                });
        composer->present();
        return true;
    });
    // Landscape on the Report tab: the charts, whose mail composer covers them.
    tabBarController_->setChartViewFactory([this, history](TonaraTabBarController *tabs, QWidget *parent) {
        auto *view = new HorizontalView(
            ChartContext{db_, alerts_, &clock_, scheduler_.get(), options_.formFactor, options_.animations},
            parent);
        view->setReportController(tabs);
        connect(view, &HorizontalView::statusBarHiddenRequested, tabs,
                &TonaraTabBarController::setStatusBarHidden);
        QPointer<HorizontalView> chart(view);
        view->setComposerFactory([this, history, chart](const Historyandreports::Mail &mail) {
            auto *composer = new MailComposer({dataDir_, alerts_}, frame_->display());
            composer->setSubject(mail.subject);
            composer->setToRecipients({mail.recipient});
            composer->setMessageBody(mail.body);
            composer->addAttachmentData(mail.attachment, mail.mimeType, mail.fileName);
            connect(composer, &MailComposer::didFinish, this,
                    [history, chart, composer](int result, const QString &error) {
                        // Turned back to portrait meanwhile: the Report tab ends it alike.
                        if (chart)
                            chart->mailComposeController_didFinishWithResult(result, error);
                        else
                            history->mailComposeController_didFinishWithResult(result, error);
                        composer->deleteLater();
                    });
            composer->present();
            return true;
        });
        return view;
    });
    // A start request from the device brings the measurement tab forward.
    if (measurement_.screen->metaObject()->indexOfSignal("selectTabRequested(int)") >= 0)
        connect(measurement_.screen, SIGNAL(selectTabRequested(int)), tabBarController_,
                SLOT(setSelectedIndex(int)));
#ifdef TONARA_HAVE_INSTRUCTION_SCREEN
    // The week's result leads to its report on the Report tab.
    if (homeWeek_)
        connect(homeWeek_, &HomeWeekPanel::reportRequested, this, [this, history] {
            tabBarController_->setSelectedIndex(kHistoryTab);
            history->openReport(ReportRequest::Kind::LatestWeek);
        });
    if (manualEntry_) {
        connect(manualEntry_, &ManualEntryController::selectTabRequested, tabBarController_,
                &TonaraTabBarController::setSelectedIndex);
        // The date and time step has the whole height of the screen.
        connect(manualEntry_, &ManualEntryController::tabBarHiddenRequested, tabBarController_,
                &TonaraTabBarController::setTabBarHidden);
    }
#endif
    if (Artwork::exists(QStringLiteral("Tab_Bar_background.png")))
        tabBarController_->tabBar()->setBackgroundImage(
            Artwork::pixmap(QStringLiteral("Tab_Bar_background.png"),
                            QSize(portraitPoints(options_.formFactor).width(), TabBar::kHeight),
                            window->devicePixelRatioF()));

    // 3. The tab bar controller is the root; show the window.
    frame_->setRootWidget(tabBarController_);
    tabBarController_->setDeviceFrame(frame_);
    connect(frame_, &DeviceFrame::interfaceOrientationChanged, window, [window] { window->adjustSize(); });
    lifecycle_->watchWindow(window);
    buildMenus();
    window->adjustSize();
    window->show();
    if (const QScreen *screen = window->screen();
        screen && !screen->availableSize().isEmpty() && window->height() > screen->availableSize().height())
        qCInfo(lcApp) << "the device is taller than the screen; a smaller --scale (0.75, say) shows it whole";

    // 4.–5. The store: schema, settings, users, and the active user's name.
    readStore();
    return true;
}

void OrvelAppDelegate::readStore()
{
    store_ = std::make_unique<DataBaseforCD>(*db_, *alerts_);
    store_->check_database();
    store_->ReadDataBase_setting_table();
    store_->ReadDataBase_user_table();
    if (store_->aArray_user_id_setting.empty())
        return; // no settings row: the users screen keeps its own title
    const int active = store_->aArray_user_id_setting.back();
    const int count = int(store_->aArray_lastname_user.size());
    const int row = count - 1 - active;
    // The names run from the highest number down to 0, so the active user's
    // row counts back from the end. A settings row naming a user that has no
    // profile must not reach outside the list.
    if (row < 0 || row >= count) {
        qCWarning(lcApp) << "active user" << active << "has no profile among" << count
                         << "users; the users tab keeps its title";
        return;
    }
    usersScreen_->setWindowTitle(QString::fromStdString(store_->aArray_lastname_user.at(std::size_t(row))));
}

int OrvelAppDelegate::UserNumber()
{
    return Users::UserNumber;
}

void OrvelAppDelegate::applicationDidEnterBackground()
{
    // The background task stays open until the stop has gone out; its expiry
    // handler only reports that it took too long.
    const AppLifecycle::TaskId task =
        lifecycle_->beginBackgroundTask([] { Log::write("app", "task takes too much time"); });
    if (task == AppLifecycle::kInvalidTask) {
        Log::write("app", "create task error");
        return;
    }
    // Outside the current call, on the main loop where the screens live.
    QMetaObject::invokeMethod(
        this,
        [this, task] {
            stopMeasurementInBackground();
            lifecycle_->endBackgroundTask(task);
        },
        Qt::QueuedConnection);
}

void OrvelAppDelegate::stopMeasurementInBackground()
{
    if (!measurement_.screen)
        return;
    const bool running = measurement_.measurementRunning
                             ? measurement_.measurementRunning()
                             : (measurement_.hardwareButton && measurement_.hardwareButton() == 2);
    if (!running)
        return; // no measurement running: nothing to stop
    if (measurement_.enterBackground) {
        measurement_.enterBackground();
    } else {
        measurement_.forceDisconnect();
        alerts_->alert(tr("Measurement Stop"),
                       tr("Measurement stopped.You have\neither pressed the Stop button or\n disconnect the "
                          "Tonara+ during\nmeasurement."),
                       {tr("OK")});
        if (auto *start = measurement_.screen->findChild<QWidget *>(QStringLiteral("start_tonaradock"))) {
            start->show();
            start->raise();
        }
        for (const char *name : {"measuring_window_result", "measuring_window", "triv3_measuring_window",
                                 "triv3_measuring_window_result"})
            if (auto *w = measurement_.screen->findChild<QWidget *>(QLatin1String(name)))
                w->hide();
        measurement_.setHardwareButton(0);
    }
    // The measurement is over, so the screen may lock again, whoever stopped it.
    screenLock_->release();
}

void OrvelAppDelegate::buildMenus()
{
    QMenuBar *bar = window_->menuBar();
    QMenu *device = bar->addMenu(tr("&Device"));
    device->setObjectName(QStringLiteral("deviceMenu"));
    QAction *left = device->addAction(tr("Turn Left\tCtrl+Left"));
    connect(left, &QAction::triggered, frame_, &DeviceFrame::turnLeft);
    QAction *right = device->addAction(tr("Turn Right\tCtrl+Right"));
    connect(right, &QAction::triggered, frame_, &DeviceFrame::turnRight);
    device->addSeparator();
    QAction *background = device->addAction(tr("Go to Background"));
    connect(background, &QAction::triggered, window_, &QWidget::showMinimized);

    if (simulator_) {
        auto *menu = new SimulatorMenu(*simulator_, calls_, window_);
        bar->addMenu(menu);
    }
}

} // namespace tonara
