#pragma once

// Splits CSV text into rows of fields, each row with the line it starts on.
//
//   std::string text = CsvReader::withoutBom(fileBytes);
//   char sep = CsvReader::detectDelimiter(text);        // ',' or ';'
//   CsvReader::Table t = CsvReader::parse(text, sep);
//   for (const auto &row : t.rows) use(row.line, row.fields);
//   if (t.unterminatedQuoteLine) tell("a quote opened on line %d is never closed");
//
// Fields may be quoted with double quotes; inside quotes the delimiter, line
// breaks and doubled quotes ("") are part of the field. Lines may end with LF
// or CRLF. Blank lines are skipped. Blanks around unquoted fields are kept
// (callers trim what they read as numbers).

#include <string>
#include <string_view>
#include <vector>

namespace tonara {

class CsvReader {
public:
    struct Row {
        int line = 0; // 1-based line of the file on which the row starts
        std::vector<std::string> fields;
    };
    struct Table {
        std::vector<Row> rows;
        // The line of a quoted field that runs to the end of the text (0 when none);
        // the text from there on is not in rows.
        int unterminatedQuoteLine = 0;
    };

    // The text without a leading UTF-8 byte order mark.
    static std::string withoutBom(std::string_view text);
    // ';' when the first rows split into more fields at semicolons than at
    // commas (quoted parts not counted), else ','.
    static char detectDelimiter(std::string_view text);
    static Table parse(std::string_view text, char delimiter);
};

} // namespace tonara
