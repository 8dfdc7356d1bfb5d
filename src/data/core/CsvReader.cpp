#include "data/core/CsvReader.h"

namespace tonara {

std::string CsvReader::withoutBom(std::string_view text)
{
    if (text.size() >= 3 && static_cast<unsigned char>(text[0]) == 0xEF &&
        static_cast<unsigned char>(text[1]) == 0xBB && static_cast<unsigned char>(text[2]) == 0xBF)
        text.remove_prefix(3);
    return std::string(text);
}

char CsvReader::detectDelimiter(std::string_view text)
{
    // The first few lines decide; a comment field full of commas further down
    // must not turn a semicolon file into a comma one.
    int commas = 0, semicolons = 0, lines = 0;
    bool quoted = false;
    for (char c : text) {
        if (c == '"')
            quoted = !quoted;
        else if (quoted)
            continue;
        else if (c == ',')
            ++commas;
        else if (c == ';')
            ++semicolons;
        else if (c == '\n' && ++lines == 5)
            break;
    }
    return semicolons > commas ? ';' : ',';
}

CsvReader::Table CsvReader::parse(std::string_view text, char delimiter)
{
    Table out;
    Row row;
    std::string field;
    int line = 1;
    bool quoted = false;      // inside a quoted field
    bool fieldQuoted = false; // the current field began with a quote
    bool rowHasContent = false;
    int quoteLine = 0;

    const auto endField = [&] {
        row.fields.push_back(field);
        field.clear();
        fieldQuoted = false;
    };
    const auto endRow = [&] {
        endField();
        const bool blank = !rowHasContent && row.fields.size() == 1 && row.fields[0].empty();
        if (!blank)
            out.rows.push_back(std::move(row));
        row = Row{};
        rowHasContent = false;
    };

    row.line = line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"') {
                if (i + 1 < text.size() && text[i + 1] == '"') {
                    field += '"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == '\n')
                    ++line;
                field += c;
            }
            continue;
        }
        if (c == '"' && field.find_first_not_of(" \t") == std::string::npos && !fieldQuoted) {
            // A quote opening the field (blanks before it are dropped).
            field.clear();
            quoted = true;
            fieldQuoted = true;
            rowHasContent = true;
            quoteLine = line;
        } else if (c == delimiter) {
            rowHasContent = true;
            endField();
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            continue; // the LF ends the row
        } else if (c == '\n') {
            endRow();
            ++line;
            row.line = line;
        } else {
            if (!fieldQuoted || (c != ' ' && c != '\t'))
                field += c;
            if (c != ' ' && c != '\t' && c != '\r')
                rowHasContent = true;
        }
    }
    if (quoted) {
        out.unterminatedQuoteLine = quoteLine;
        return out;
    }
    if (rowHasContent || !field.empty() || !row.fields.empty())
        endRow();
    return out;
}

} // namespace tonara
