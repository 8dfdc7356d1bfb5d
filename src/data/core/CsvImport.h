#pragma once

// Reads a CSV file of readings (our own "data.csv" or another diary's) into
// readings for one user, with every row's fate: ready, out of the manual
// entry's bounds, a duplicate within the file, or unreadable and why.
//
//   CsvImport file(bytes);                        // a leading BOM is dropped
//   CsvImport::Options o = file.detect().options; // delimiter, header, columns, date order
//   o.order = ImportDateFormat::DayMonthYear;     // the person's choice when ambiguous
//   CsvImport::Plan plan = file.plan(o, user, clock.localNow());
//   plan.count(CsvImport::Status::Ready);
//
// Nothing here touches the database: ReadingImporter checks the plan against
// it and stores it. Readings of another diary are marked as typed in by hand
// (they did not come from the monitor) unless the file says otherwise.

#include "base/Clock.h"
#include "data/core/CsvReader.h"
#include "data/core/ImportColumns.h"
#include "data/core/ImportDateFormat.h"
#include "storage/Reading.h"

#include <string>
#include <vector>

namespace tonara {

class CsvImport {
public:
    static constexpr std::size_t kMaxCommentCharacters = 140;

    struct Options {
        char delimiter = ',';
        bool hasHeader = true;
        ImportDateFormat::Order order = ImportDateFormat::YearMonthDay;
        ImportColumns columns;
        bool ownFormat = false; // our "data.csv": flags from its PAD/TRIV/Manual columns
    };

    struct Detection {
        Options options;
        bool dateAmbiguous = false; // the person must pick the date order
        bool datesFit = true;       // some dates read in no order at all
    };

    enum class Status { Ready, OutOfBounds, DuplicateInFile, DuplicateInDatabase, Bad };

    // Why a row cannot be read, or which bound it breaks.
    enum class Problem {
        None,
        MissingField, // the row has fewer columns than the mapping needs
        NoDate,
        BadDate,
        NoTime,
        BadTime,
        NotANumber, // field tells which
        TooHigh,    // field tells which; the value is over the bound
        Negative,
        InTheFuture,
        UnclosedQuote, // a quoted field runs to the end of the file
    };

    struct Row {
        int line = 0;
        Status status = Status::Ready;
        Problem problem = Problem::None;
        ImportColumns::Kind field = ImportColumns::None; // the field the problem is about
        std::string text;                                // that field's text, for messages
        Reading reading;                                 // filled as far as it could be read
    };

    struct Plan {
        std::vector<Row> rows; // file order, header left out
        int count(Status s) const;
        // The rows of one status, file order.
        std::vector<const Row *> of(Status s) const;
    };

    explicit CsvImport(std::string_view bytes);

    const std::string &text() const { return text_; }
    // Delimiter, header, columns and date order as the file suggests.
    Detection detect() const;
    // The file split with the delimiter (for showing its first rows).
    CsvReader::Table table(char delimiter) const { return CsvReader::parse(text_, delimiter); }
    Plan plan(const Options &options, int user, const LocalDateTime &now) const;

    // Field text as a whole number (blanks around, a sign, a decimal part that is
    // dropped); false when it is not one.
    static bool number(const std::string &text, int &value);
    // Y / yes / 1 / true (and a few languages' yes) as 1, anything else 0.
    static int flag(const std::string &text);
    // At most kMaxCommentCharacters characters, cut at a character boundary.
    static std::string comment(const std::string &text);

private:
    std::string text_;
};

} // namespace tonara
