// tonara-link: drives a Tonara+ monitor (or tonara-sim) over a serial port
// and prints every engine notification as one JSON object per line.

#include "LinkDriver.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cmath>
#include <iostream>

using tonara::LinkDriver;

namespace {

constexpr const char *kDescription =
    "Drives a Tonara+ monitor over a serial port (a USB serial port or the pseudo-terminal of\n"
    "tonara-sim) and prints one JSON object per line for every notification of the engine:\n"
    "\"event\" holds its name, the values it brings follow under the engine's names.\n"
    "\n"
    "Commands:\n"
    "  probe           connect and report the connection\n"
    "  battery         connect and report the first battery reading\n"
    "  measure single  take one reading\n"
    "  measure triv    take a TRIV series of three readings (continued after --pause)\n"
    "\n"
    "Exit status: 0 a reading (or the connection/battery asked for), 2 the monitor reported\n"
    "an error code, 1 a link failure (not a serial device, no answer within --timeout,\n"
    "disconnected) or a bad command line. Failures are explained on stderr.";

bool parseSeconds(const QString &text, double min, std::chrono::milliseconds *out)
{
    bool ok = false;
    const double s = text.toDouble(&ok);
    if (!ok || !std::isfinite(s) || s < min || s > 86400.0)
        return false;
    *out = std::chrono::milliseconds(static_cast<long long>(std::llround(s * 1000.0)));
    return true;
}

int usageError(const std::string &message)
{
    std::cerr << "tonara-link: " << message << "\n(see tonara-link --help)" << std::endl;
    return LinkDriver::kExitLinkFailure;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("tonara-link");

    QCommandLineParser parser;
    parser.setApplicationDescription(kDescription);
    parser.addHelpOption();
    const QCommandLineOption deviceOption(
        "device", "Serial device of the monitor, e.g. /dev/ttyUSB0 or /dev/pts/5.", "PATH");
    const QCommandLineOption pauseOption("pause", "Pause between the readings of a TRIV series (default 17).",
                                         "SECONDS", "17");
    const QCommandLineOption timeoutOption(
        "timeout", "Longest wait for the monitor to answer before giving up (default 10).", "SECONDS", "10");
    parser.addOption(deviceOption);
    parser.addOption(pauseOption);
    parser.addOption(timeoutOption);
    parser.addPositionalArgument("command", "probe | battery | measure single | measure triv");

    if (!parser.parse(QCoreApplication::arguments()))
        return usageError(parser.errorText().toStdString());
    if (parser.isSet("help")) {
        std::cout << parser.helpText().toStdString();
        return 0;
    }

    LinkDriver::Options options;
    options.device = parser.value(deviceOption);
    if (options.device.isEmpty())
        return usageError("--device PATH is required");
    if (!parseSeconds(parser.value(pauseOption), 0.0, &options.pause))
        return usageError("--pause needs a number of seconds, 0 or more");
    if (!parseSeconds(parser.value(timeoutOption), 0.001, &options.timeout))
        return usageError("--timeout needs a number of seconds above 0");

    const QStringList args = parser.positionalArguments();
    const QString command = args.join(' ');
    if (command == "probe")
        options.command = LinkDriver::Command::Probe;
    else if (command == "battery")
        options.command = LinkDriver::Command::Battery;
    else if (command == "measure single")
        options.command = LinkDriver::Command::MeasureSingle;
    else if (command == "measure triv")
        options.command = LinkDriver::Command::MeasureTriv;
    else if (command.isEmpty())
        return usageError("no command given");
    else
        return usageError("unknown command: " + command.toStdString());

    LinkDriver driver(options, std::cout, std::cerr);
    return driver.run();
}
