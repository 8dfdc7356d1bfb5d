#include "AppTestSupport.h"

#include "measurement/instruction_screen.h"
#include "platform/AlertPresenter.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QImage>
#include <QMainWindow>

namespace tonara::test {

StandInMeasurementScreen::StandInMeasurementScreen()
{
    setObjectName(QStringLiteral("instruction_screen"));
    setWindowTitle(QStringLiteral("Measurement"));
    for (const char *name : {"start_tonaradock", "measuring_window", "measuring_window_result",
                             "triv3_measuring_window", "triv3_measuring_window_result"}) {
        auto *w = new QWidget(this);
        w->setObjectName(QLatin1String(name));
    }
}

QWidget *StandInMeasurementScreen::panel(const char *name) const
{
    return findChild<QWidget *>(QLatin1String(name));
}

MeasurementTab StandInMeasurementScreen::tab()
{
    MeasurementTab t;
    t.screen = this;
    t.hardwareButton = [this] { return hardwareButton; };
    t.setHardwareButton = [this](int v) { hardwareButton = v; };
    t.forceDisconnect = [this] { ++forceDisconnects; };
    return t; // showModeChoice left empty: the shell finds the panels by name
}

MeasurementTab VirtualMeasurement::tab(const MeasurementContext &shell)
{
    MeasurementContext ctx = shell;
    ctx.scheduler = &sched;
    ctx.clock = &clock;
    ctx.center = &center;
    ctx.accessories = &manager;
    screen = new instruction_screen(ctx, nullptr);
    return OrvelAppDelegate::measurementTabFor(screen);
}

bool VirtualMeasurement::until(const std::function<bool()> &pred, std::chrono::milliseconds limit)
{
    const bool ok = sched.advanceUntil(pred, limit, std::chrono::milliseconds(2));
    QCoreApplication::processEvents();
    return ok;
}

void VirtualMeasurement::settle(std::chrono::milliseconds d)
{
    sched.advance(d);
    QCoreApplication::processEvents();
}

ShellHarness::ShellHarness(Setup setup)
{
    db_ = std::make_unique<DBHelper>(dir_.path().toStdString());
    db_->openDatabase();
    if (setup.seed)
        setup.seed(*db_);
    AppOptions options;
    options.dataDir = dir_.path();
    options.formFactor = setup.formFactor;
    options.device = setup.device;
    options.animations = false;
    options.database = db_.get();
    options.statusBarTime = QStringLiteral("9:41");
    if (setup.virtualTime) {
        virtual_ = std::make_unique<VirtualMeasurement>();
        options.measurementScreen = [this](const MeasurementContext &ctx) { return virtual_->tab(ctx); };
    } else if (setup.standInScreen) {
        standIn_ = new StandInMeasurementScreen;
        options.measurementScreen = [this](const MeasurementContext &) { return standIn_->tab(); };
    }
    app_ = std::make_unique<OrvelAppDelegate>(options);
    app_->didFinishLaunching();
    settle();
}

ShellHarness::~ShellHarness()
{
    // The screen goes with the application, before the monitor it talks to.
    app_.reset();
    settle();
    virtual_.reset();
}

void ShellHarness::settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

QString formName(FormFactor f)
{
    switch (f) {
    case FormFactor::Phone480:
        return QStringLiteral("phone480");
    case FormFactor::Phone568:
        return QStringLiteral("phone568");
    case FormFactor::Tablet:
        return QStringLiteral("tablet");
    }
    return QStringLiteral("unknown");
}

void saveScreenshot(ShellHarness &h, const QString &name)
{
    const QString dir = qEnvironmentVariable("TONARA_SCREENSHOT_DIR", QStringLiteral("screenshots"));
    QDir().mkpath(dir);
    h.app().window()->adjustSize();
    ShellHarness::settle();
    const QImage image = h.app().window()->grab().toImage();
    ASSERT_FALSE(image.isNull()) << name.toStdString();
    const QString path = dir + QLatin1Char('/') + name + QStringLiteral(".png");
    ASSERT_TRUE(image.save(path)) << path.toStdString();
    const QRgb middle = image.pixel(image.width() / 2, image.height() / 2);
    bool varied = false;
    for (int y = 0; y < image.height() && !varied; y += 7)
        for (int x = 0; x < image.width() && !varied; x += 7)
            varied = image.pixel(x, y) != middle;
    EXPECT_TRUE(varied) << name.toStdString() << " is a single colour";
}

} // namespace tonara::test
