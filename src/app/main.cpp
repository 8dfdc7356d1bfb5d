#include "app/OrvelAppDelegate.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication::setApplicationName(QStringLiteral("tonara"));
    QCoreApplication::setOrganizationName(QStringLiteral("Tonara"));

    // The options are read before the application exists: --help and errors
    // need no display, and the scale must be known before the first window.
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    tonara::AppOptions options;
    QString message;
    bool help = false;
    if (!tonara::OrvelAppDelegate::parseOptions(args, &options, &message, &help)) {
        std::fprintf(help ? stdout : stderr, "%s\n", qPrintable(message));
        return help ? 0 : 2;
    }
    if (options.scale != 1.0) {
        // Points become options.scale pixels each, everywhere in the window.
        const double outer = qEnvironmentVariableIsSet("QT_SCALE_FACTOR")
                                 ? qEnvironmentVariable("QT_SCALE_FACTOR").toDouble()
                                 : 1.0;
        qputenv("QT_SCALE_FACTOR", QByteArray::number(options.scale * (outer > 0 ? outer : 1.0)));
    }
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);

    QApplication app(argc, argv);
    tonara::OrvelAppDelegate delegate(options);
    if (!delegate.didFinishLaunching())
        return 1;
    return QApplication::exec();
}
