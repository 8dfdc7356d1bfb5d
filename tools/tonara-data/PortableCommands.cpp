// tonara-data export csv|fhir and import: a user's readings out to a file as
// "data.csv" or a FHIR bundle, and a CSV file's readings in.

#include "DataCommand.h"

#include "base/AlertSink.h"
#include "base/Clock.h"
#include "base/Log.h"
#include "data/core/CsvImport.h"
#include "data/core/ExportReadings.h"
#include "data/core/FhirBundle.h"
#include "data/core/ReadingImporter.h"
#include "history/core/CsvExport.h"
#include "storage/DBHelper.h"
#include "storage/DataBaseforCD.h"

#include <QUuid>

#include <charconv>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>

namespace tonara::datatool {

namespace {

namespace fs = std::filesystem;

// A message the storage layer would show is a failure to report here.
class ErrAlerts final : public AlertSink {
public:
    explicit ErrAlerts(std::ostream &err) : err_(err) {}
    void showAlert(const std::string &title, const std::string &message, const std::vector<std::string> &,
                   Completion done) override
    {
        err_ << "tonara-data: " << title << (title.empty() || message.empty() ? "" : ": ") << message << "\n";
        if (done)
            done(0);
    }

private:
    std::ostream &err_;
};

struct Args {
    std::optional<int> user;
    std::optional<std::string> from, to, dateOrder;
    std::vector<std::string> positional;
    std::string error;
};

Args parse(const std::vector<std::string> &args)
{
    Args a;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        const bool takesValue = arg == "--user" || arg == "--from" || arg == "--to" || arg == "--date-order";
        if (!takesValue) {
            if (arg.rfind("--", 0) == 0) {
                a.error = "unknown option " + arg;
                return a;
            }
            a.positional.push_back(arg);
            continue;
        }
        if (i + 1 >= args.size()) {
            a.error = arg + " needs a value";
            return a;
        }
        const std::string &value = args[++i];
        if (arg == "--user") {
            int n = -1;
            const auto r = std::from_chars(value.data(), value.data() + value.size(), n);
            if (r.ec != std::errc() || r.ptr != value.data() + value.size() || n < 0) {
                a.error = "--user needs a user number (0, 1, ...), not \"" + value + "\"";
                return a;
            }
            a.user = n;
        } else if (arg == "--from") {
            a.from = value;
        } else if (arg == "--to") {
            a.to = value;
        } else {
            a.dateOrder = value;
        }
    }
    return a;
}

std::string counted(int n, const std::string &one, const std::string &many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

// The storage layer's step-by-step lines are for the app's log, not a script's
// console; failures come back in the results and are reported from there.
void quietLog()
{
    Log::setSink([](const std::string &, const std::string &) {});
}

int fail(DataCommandContext &c, const std::string &message)
{
    c.err << "tonara-data: " << message << std::endl;
    return 1;
}

fs::path databaseFile(const std::string &dataDir)
{
    return fs::path(dataDir) / (std::string(DBHelper::kBaseName) + DBHelper::kExtension);
}

// The user asked for, or the active one; an error text when there is no such user.
std::optional<int> chooseUser(DBHelper &db, AlertSink &alerts, const Args &a, std::string &error)
{
    DataBaseforCD store(db, alerts);
    store.check_database();
    const int user = a.user ? *a.user : store.activeUser();
    store.ReadDataBase_user_table();
    const bool known = user == 0 || std::find(store.aArray_user_user.begin(), store.aArray_user_user.end(),
                                              user) != store.aArray_user_user.end();
    if (!known) {
        error = "there is no user " + std::to_string(user) + " in this data folder";
        return std::nullopt;
    }
    return user;
}

// Written beside the target and renamed over it, so a failure leaves no half file.
bool writeFile(const std::string &path, const std::string &bytes, std::string &error)
{
    const fs::path target(path);
    const fs::path temporary = target.string() + ".part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::error_code ec;
            fs::remove(temporary, ec);
            error = "cannot write " + path;
            return false;
        }
    }
    std::error_code ec;
    fs::rename(temporary, target, ec);
    if (ec) {
        fs::remove(temporary, ec);
        error = "cannot write " + path + ": " + ec.message();
        return false;
    }
    return true;
}

bool isDay(const std::string &text)
{
    return ImportDateFormat::toStored(text, ImportDateFormat::YearMonthDay) == text;
}

int runExport(DataCommandContext &c)
{
    quietLog();
    const Args a = parse(c.args);
    if (!a.error.empty())
        return fail(c, a.error);
    if (a.positional.size() != 2 || (a.positional[0] != "csv" && a.positional[0] != "fhir"))
        return fail(c, "usage: export csv|fhir [--user N] [--from yyyy-MM-dd --to yyyy-MM-dd] FILE");
    const bool fhir = a.positional[0] == "fhir";
    if (!fhir && (a.from || a.to))
        return fail(c, "--from and --to are for the FHIR export; data.csv holds all readings");
    if (a.from.has_value() != a.to.has_value() || (a.from && (!isDay(*a.from) || !isDay(*a.to))))
        return fail(c, "give the period as --from yyyy-MM-dd --to yyyy-MM-dd (both days included)");
    // An empty bundle written for a period the wrong way round would pass for a real one.
    if (a.from && *a.to < *a.from)
        return fail(c, "--to " + *a.to + " lies before --from " + *a.from);
    if (!fs::exists(databaseFile(c.dataDir)))
        return fail(c, "there is no database in " + c.dataDir);

    ErrAlerts alerts(c.err);
    DBHelper db(c.dataDir, &alerts);
    db.openDatabase();
    if (db.unusable())
        return fail(c, "the database in " + c.dataDir + " cannot be read");
    std::string error;
    const std::optional<int> user = chooseUser(db, alerts, a, error);
    if (!user)
        return fail(c, error);

    std::string bytes;
    int count = 0;
    if (fhir) {
        const std::optional<ExportReadings::Window> window =
            a.from ? std::optional(ExportReadings::Window{*a.from, *a.to}) : std::nullopt;
        const ExportReadings::Set set = ExportReadings(db).load(*user, window);
        count = static_cast<int>(set.readings.size());
        FhirBundle bundle(FhirBundle::systemUtcOffset,
                          [] { return QUuid::createUuid().toString(QUuid::WithoutBraces).toStdString(); });
        bytes = bundle.write(set, SystemClock().localNow());
    } else {
        CsvExport csv(db, alerts);
        const CsvExport::Result r = csv.Mail_csv_format(CsvExport::kAllData, 0, 0, false, *user);
        count = r.count;
        bytes = r.text;
    }
    if (db.holdsFile(a.positional[1]))
        return fail(c, a.positional[1] + " is the diary's own database; choose another file");
    if (!writeFile(a.positional[1], bytes, error))
        return fail(c, error);
    c.out << "Exported " << counted(count, "reading", "readings") << " of user " << *user << " to "
          << a.positional[1] << "." << std::endl;
    return 0;
}

std::optional<ImportDateFormat::Order> orderNamed(const std::string &name)
{
    if (name == "ymd")
        return ImportDateFormat::YearMonthDay;
    if (name == "mdy")
        return ImportDateFormat::MonthDayYear;
    if (name == "dmy")
        return ImportDateFormat::DayMonthYear;
    return std::nullopt;
}

std::string why(const CsvImport::Row &row)
{
    using P = CsvImport::Problem;
    const std::string quoted = row.text.empty() ? std::string() : " \"" + row.text + "\"";
    switch (row.problem) {
    case P::MissingField:
        return "the row has too few columns";
    case P::NoDate:
        return "no date";
    case P::BadDate:
        return "the date" + quoted + " is not a day of the calendar in the file's date order";
    case P::NoTime:
        return "no time";
    case P::BadTime:
        return "the time" + quoted + " cannot be read";
    case P::NotANumber:
        return quoted.empty() ? "a value is not a number" : quoted.substr(1) + " is not a number";
    case P::TooHigh:
    case P::Negative:
        return "outside what can be entered by hand (systolic and diastolic 0 to 300, pulse 0 to 200)";
    case P::InTheFuture:
        return "its date and time lie in the future";
    case P::UnclosedQuote:
        return "a quote opened here is never closed";
    case P::ColumnsNotChosen:
        return "the columns are not known";
    case P::None:
        break;
    }
    return "cannot be read";
}

void listSkipped(DataCommandContext &c, const CsvImport::Plan &plan)
{
    for (const CsvImport::Row &row : plan.rows)
        if (row.status == CsvImport::Status::OutOfBounds || row.status == CsvImport::Status::Bad)
            c.out << "  line " << row.line << ": skipped, " << why(row) << "\n";
}

int runImport(DataCommandContext &c)
{
    quietLog();
    const Args a = parse(c.args);
    if (!a.error.empty())
        return fail(c, a.error);
    if (a.positional.size() != 1 || a.from || a.to)
        return fail(c, "usage: import FILE [--user N] [--date-order ymd|mdy|dmy]");
    std::optional<ImportDateFormat::Order> order;
    if (a.dateOrder && !(order = orderNamed(*a.dateOrder)))
        return fail(c, "--date-order is ymd (2013-05-31), mdy (05/31/2013) or dmy (31.05.2013)");
    if (!fs::is_directory(c.dataDir))
        return fail(c, "there is no folder " + c.dataDir);

    std::ifstream in(a.positional[0], std::ios::binary);
    if (!in)
        return fail(c, "cannot read " + a.positional[0]);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    const CsvImport file(bytes.str());
    const CsvImport::Detection detected = file.detect();
    CsvImport::Options options = detected.options;
    if (!options.columns.complete())
        return fail(c, "the file's header does not say which columns hold the date, systolic, diastolic and "
                       "pulse; import it in the app, where the columns can be picked by hand");
    if (order)
        options.order = *order;
    else if (detected.dateAmbiguous)
        return fail(c, std::string("every date reads both as month first and as day first; say which with "
                                   "--date-order mdy or --date-order dmy"));

    ErrAlerts alerts(c.err);
    DBHelper db(c.dataDir, &alerts);
    db.openDatabase();
    if (db.unusable())
        return fail(c, "the database in " + c.dataDir + " cannot be read");
    std::string error;
    const std::optional<int> user = chooseUser(db, alerts, a, error);
    if (!user)
        return fail(c, error);

    CsvImport::Plan plan = file.plan(options, *user, SystemClock().localNow());
    const ReadingImporter::Result r = ReadingImporter(db).import(plan, options.ownFormat);
    if (!r.stored)
        return fail(c, "nothing was imported: " +
                           (r.failedLine ? "the reading on line " + std::to_string(r.failedLine) +
                                               " could not be stored: "
                                         : std::string()) +
                           r.error);
    using S = CsvImport::Status;
    c.out << "Imported " << counted(r.imported, "reading", "readings") << " for user " << *user
          << "; skipped "
          << counted(plan.count(S::DuplicateInFile) + plan.count(S::DuplicateInDatabase), "duplicate",
                     "duplicates")
          << ", " << plan.count(S::OutOfBounds) << " out of bounds, " << plan.count(S::Bad) << " unreadable."
          << std::endl;
    listSkipped(c, plan);
    // A file none of whose rows could be taken is not what the person meant to import.
    const bool nothingUsable = !plan.rows.empty() && r.imported == 0 && plan.count(S::DuplicateInFile) == 0 &&
                               plan.count(S::DuplicateInDatabase) == 0;
    if (nothingUsable)
        return fail(c, "no reading in " + a.positional[0] + " could be imported");
    return 0;
}

const DataCommandRegistration exportCommand{
    {"export", "export csv|fhir [--user N] [--from yyyy-MM-dd --to yyyy-MM-dd] FILE", runExport}};
const DataCommandRegistration importCommand{
    {"import", "import FILE [--user N] [--date-order ymd|mdy|dmy]", runImport}};

} // namespace

} // namespace tonara::datatool
