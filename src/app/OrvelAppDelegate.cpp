#include "app/OrvelAppDelegate.h"

#include <QCommandLineParser>
#include <QLabel>
#include <QTabWidget>
#include <QVBoxLayout>

namespace tonara {

OrvelAppDelegate::OrvelAppDelegate(AppOptions options, QObject *parent)
    : QObject(parent), options_(std::move(options))
{
}

OrvelAppDelegate::~OrvelAppDelegate() { delete window_; }

bool OrvelAppDelegate::parseOptions(const QStringList &args, AppOptions *out, QString *error)
{
    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral("Companion application of the Tonara+ blood-pressure monitor."));
    p.addHelpOption();
    p.addOption({QStringLiteral("device"), QStringLiteral("Serial device of a real monitor (default: built-in simulator)."),
                 QStringLiteral("path")});
    p.addOption({QStringLiteral("data-dir"), QStringLiteral("Folder for the database and photos."), QStringLiteral("dir")});
    p.addOption({QStringLiteral("form-factor"), QStringLiteral("phone480, phone568 or tablet."), QStringLiteral("name"),
                 QStringLiteral("phone480")});
    p.addOption({QStringLiteral("scale"), QStringLiteral("Pixels per point."), QStringLiteral("N"), QStringLiteral("1")});
    if (!p.parse(args)) {
        *error = p.errorText();
        return false;
    }
    if (p.isSet(QStringLiteral("help"))) {
        *error = p.helpText();
        return false;
    }
    out->device = p.value(QStringLiteral("device"));
    out->dataDir = p.value(QStringLiteral("data-dir"));
    out->formFactor = p.value(QStringLiteral("form-factor"));
    if (out->formFactor != QLatin1String("phone480") && out->formFactor != QLatin1String("phone568") &&
        out->formFactor != QLatin1String("tablet")) {
        *error = QStringLiteral("Unknown form factor \"%1\": use phone480, phone568 or tablet.").arg(out->formFactor);
        return false;
    }
    bool ok = false;
    out->scale = p.value(QStringLiteral("scale")).toDouble(&ok);
    if (!ok || out->scale < 0.5 || out->scale > 4) {
        *error = QStringLiteral("The scale must be a number from 0.5 to 4.");
        return false;
    }
    return true;
}

void OrvelAppDelegate::didFinishLaunching()
{
    window_ = new QWidget;
    window_->setWindowTitle(QStringLiteral("Tonara+"));
    auto *layout = new QVBoxLayout(window_);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *tabs = new QTabWidget(window_);
    tabs->setTabPosition(QTabWidget::South);
    const char *titles[] = {QT_TR_NOOP("Measurement"), QT_TR_NOOP("History"), QT_TR_NOOP("Settings"),
                            QT_TR_NOOP("Users")};
    for (const char *t : titles)
        tabs->addTab(new QWidget(tabs), tr(t));
    layout->addWidget(tabs);
    const int height = options_.formFactor == QLatin1String("tablet")    ? 1024
                       : options_.formFactor == QLatin1String("phone568") ? 568
                                                                          : 480;
    const int width = options_.formFactor == QLatin1String("tablet") ? 768 : 320;
    window_->resize(int(width * options_.scale), int(height * options_.scale));
    window_->show();
}

} // namespace tonara
