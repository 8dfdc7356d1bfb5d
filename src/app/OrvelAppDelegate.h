#pragma once

#include <QObject>
#include <QStringList>

class QTabWidget;

namespace tonara {

// What the command line chose.
struct AppOptions {
    QString device;     // empty: the built-in simulated monitor
    QString dataDir;    // empty: the platform's application data folder
    QString formFactor = QStringLiteral("phone480");
    double scale = 1.0;
};

// Builds the window and its four tabs.
class OrvelAppDelegate : public QObject {
    Q_OBJECT
public:
    explicit OrvelAppDelegate(AppOptions options, QObject *parent = nullptr);
    ~OrvelAppDelegate() override;

    // Parses the arguments; returns false (with the message in *error) on bad input.
    static bool parseOptions(const QStringList &args, AppOptions *out, QString *error);

    void didFinishLaunching();
    QWidget *window() const { return window_; }

private:
    AppOptions options_;
    QWidget *window_ = nullptr;
};

} // namespace tonara
