#include "ReportCommand.h"

#include "base/AlertSink.h"
#include "base/Clock.h"
#include "base/Log.h"
#include "charts/core/PeriodQueries.h"
#include "reports/ReportPdf.h"
#include "reports/core/HomeThreshold.h"
#include "reports/core/ReportContent.h"
#include "storage/DBHelper.h"
#include "storage/DataBaseforCD.h"

#include <filesystem>
#include <map>
#include <optional>

namespace tonara {

namespace {

// Alerts the storage layer raises (an unusable file) become lines on stderr.
class StreamAlerts final : public AlertSink {
public:
    explicit StreamAlerts(std::ostream &err) : err_(err) {}
    void showAlert(const std::string &title, const std::string &message, const std::vector<std::string> &,
                   Completion done) override
    {
        err_ << "tonara-report: " << title << (message.empty() ? "" : ": " + message) << "\n";
        if (done)
            done(0);
    }

private:
    std::ostream &err_;
};

struct Options {
    std::string dataDir;
    std::optional<int> user;
    std::optional<CivilDate> from, to, weekFrom;
    std::optional<int> period;
    bool week = false;
    std::string out;
    int forms = 0;
};

std::optional<int> periodCode(const std::string &text)
{
    static const std::map<std::string, int> names = {
        {"day", PeriodQueries::kDay},     {"week", PeriodQueries::kWeek},
        {"month", PeriodQueries::kMonth}, {"3months", PeriodQueries::kThreeMonths},
        {"year", PeriodQueries::kYear},   {"all", PeriodQueries::kAll}};
    if (auto it = names.find(text); it != names.end())
        return it->second;
    if (text.size() == 1 && text[0] >= '1' && text[0] <= '6')
        return text[0] - '0';
    return std::nullopt;
}

std::optional<int> number(const std::string &text)
{
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    return std::stoi(text);
}

// Reads the options; an empty text when they make sense, else why not.
std::string parse(const std::vector<std::string> &args, Options &o)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &a = args[i];
        auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= args.size())
                return std::nullopt;
            return args[++i];
        };
        auto date = [&](std::optional<CivilDate> &into) -> std::string {
            const auto v = value();
            if (!v)
                return a + " needs a date (yyyy-MM-dd)";
            into = CivilDate::parse(*v);
            return into ? "" : a + ": \"" + *v + "\" is not a date of the form yyyy-MM-dd";
        };
        std::string why;
        if (a == "--data-dir") {
            const auto v = value();
            if (!v)
                return "--data-dir needs a folder";
            o.dataDir = *v;
        } else if (a == "--out") {
            const auto v = value();
            if (!v)
                return "--out needs a file name";
            o.out = *v;
        } else if (a == "--user") {
            const auto v = value();
            o.user = v ? number(*v) : std::nullopt;
            if (!o.user)
                return "--user needs a user number (0, 1, 2, ...)";
        } else if (a == "--from") {
            why = date(o.from);
            ++o.forms;
        } else if (a == "--to") {
            why = date(o.to);
        } else if (a == "--period") {
            const auto v = value();
            o.period = v ? periodCode(*v) : std::nullopt;
            if (!o.period)
                return "--period needs a code 1..6 (or day, week, month, 3months, year, all)";
            ++o.forms;
        } else if (a == "--week") {
            o.week = true;
            ++o.forms;
        } else if (a == "--week-from") {
            why = date(o.weekFrom);
            ++o.forms;
        } else {
            return "unknown option " + a;
        }
        if (!why.empty())
            return why;
    }
    if (o.dataDir.empty())
        return "--data-dir DIR is required";
    if (o.out.empty())
        return "--out FILE.pdf is required";
    if (o.forms > 1)
        return "choose one of --from/--to, --period, --week and --week-from";
    if (o.from.has_value() != o.to.has_value())
        return "--from and --to go together";
    if (o.from && o.from->daysTo(*o.to) < 0)
        return "--to " + o.to->text() + " lies before --from " + o.from->text();
    return {};
}

} // namespace

std::string ReportCommand::usage()
{
    return "usage: tonara-report --data-dir DIR [--user N]\n"
           "                     [--from DATE --to DATE | --period CODE | --week | --week-from DATE]\n"
           "                     --out FILE.pdf\n\n"
           "Writes the doctor's report of the user (default: the active user) as PDF:\n"
           "  --from, --to      the readings of these dates (yyyy-MM-dd, both included)\n"
           "  --period CODE     1 day, 2 week, 3 month, 4 three months, 5 year, 6 all (the default)\n"
           "  --week            the latest home-monitoring week started in the app\n"
           "  --week-from DATE  the seven days from DATE, evaluated as a home-monitoring week\n\n"
           "Exit status: 0 the report was written (a period without readings gives a report\n"
           "that says so), 1 nothing to report in that form, 2 wrong options, 3 the file\n"
           "could not be written.\n";
}

int ReportCommand::run(const std::vector<std::string> &args, std::ostream &out, std::ostream &err) const
{
    for (const std::string &a : args)
        if (a == "--help" || a == "-h") {
            out << usage();
            return kWritten;
        }
    Options o;
    if (const std::string why = parse(args, o); !why.empty()) {
        err << "tonara-report: " << why << "\n(see tonara-report --help)\n";
        return kUsage;
    }

    const std::filesystem::path file =
        std::filesystem::path(o.dataDir) / (std::string(DBHelper::kBaseName) + DBHelper::kExtension);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) {
        err << "tonara-report: there are no readings in " << o.dataDir << " (no " << file.filename().string()
            << " there).\n";
        return kNothingToReport;
    }

    Log::setSink([](const std::string &, const std::string &) {});
    StreamAlerts alerts(err);
    DBHelper db(o.dataDir, &alerts);
    db.openDatabase();
    if (db.unusable())
        return kNothingToReport;
    const int user = o.user ? *o.user : DataBaseforCD(db, alerts).activeUser();
    if (!ReportContent::userExists(db, alerts, user) &&
        PeriodStatistics::compute(db, user, ReportPeriod::allReadings()).count == 0) {
        err << "tonara-report: there is no user " << user << " in " << o.dataDir << ".\n";
        return kNothingToReport;
    }

    std::optional<ReportContent> content;
    if (o.week) {
        const std::optional<WeekEvaluation> w = evaluateLatestWeek(db, user, clock_);
        if (!w) {
            err << "tonara-report: user " << user << " has not started a home-monitoring week in the app "
                << "(--week-from DATE reports seven days measured without one).\n";
            return kNothingToReport;
        }
        content = ReportContent::forWeek(db, alerts, user, *w, clock_);
    } else if (o.weekFrom) {
        const WeekEvaluation w = evaluateWeek(db, user, *o.weekFrom, HomeThreshold::standard(), clock_);
        content = ReportContent::forWeek(db, alerts, user, w, clock_);
        if (content->isEmpty()) {
            err << "tonara-report: user " << user << " has no readings from " << w.start.text() << " to "
                << w.lastDate().text() << ", so there is no week to evaluate.\n";
            return kNothingToReport;
        }
    } else {
        const ReportPeriod period = o.from ? *ReportPeriod::between(*o.from, *o.to)
                                           : ReportPeriod::ofCode(o.period.value_or(PeriodQueries::kAll),
                                                                  CivilDate::of(clock_.localNow()));
        content = ReportContent::gather(db, alerts, user, period, clock_);
    }

    const bool empty = content->isEmpty();
    ReportPdf pdf(std::move(*content));
    QString why;
    if (db.holdsFile(o.out)) {
        err << "tonara-report: " << o.out << " is the diary's own database; choose another file\n";
        return kNotWritten;
    }
    if (!pdf.writeFile(QString::fromStdString(o.out), &why)) {
        err << "tonara-report: could not write " << o.out << ": " << why.toStdString() << "\n";
        return kNotWritten;
    }
    if (empty)
        err << "tonara-report: no readings in this period; the report says so.\n";
    out << o.out << ": " << pdf.pageCount() << (pdf.pageCount() == 1 ? " page" : " pages") << "\n";
    return kWritten;
}

} // namespace tonara
