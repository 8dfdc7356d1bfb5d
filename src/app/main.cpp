#include "app/OrvelAppDelegate.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tonara"));
    QApplication::setOrganizationName(QStringLiteral("Tonara"));
    tonara::AppOptions options;
    QString error;
    if (!tonara::OrvelAppDelegate::parseOptions(QApplication::arguments(), &options, &error)) {
        const bool help = QApplication::arguments().contains(QStringLiteral("--help")) ||
                          QApplication::arguments().contains(QStringLiteral("-h"));
        std::fprintf(help ? stdout : stderr, "%s\n", qPrintable(error));
        return help ? 0 : 2;
    }
    tonara::OrvelAppDelegate delegate(options);
    delegate.didFinishLaunching();
    return QApplication::exec();
}
