#pragma once

// Which column of an imported file holds what, guessed from the header's
// words (a few languages) or picked by hand.
//
//   ImportColumns c = ImportColumns::fromHeader({"Datum", "Uhrzeit", "Sys", "Dia", "Puls"});
//   c.date == 0 && c.pulse == 4;
//   if (!c.complete()) askThePerson();
//
// Our own "data.csv" header gives the PAD, TRIV and Manual columns as well.

#include <string>
#include <string_view>
#include <vector>

namespace tonara {

struct ImportColumns {
    enum Kind { None = -1, Date, Time, Systolic, Diastolic, Pulse, Comment, Pad, Triv, Manual, KindCount };

    // Column index per kind, -1 when the file has none.
    int date = -1;
    int time = -1;
    int sys = -1;
    int dia = -1;
    int pulse = -1;
    int comment = -1;
    int pad = -1;
    int triv = -1;
    int manual = -1;

    int &of(Kind kind);
    int of(Kind kind) const;
    // Date, systolic, diastolic and pulse are known (time may sit in the date).
    bool complete() const { return date >= 0 && sys >= 0 && dia >= 0 && pulse >= 0; }
    bool operator==(const ImportColumns &) const = default;

    // What a header cell names; None for words we do not know.
    static Kind classify(std::string_view cell);
    // The first column of each kind; later columns of a kind already taken are left out.
    static ImportColumns fromHeader(const std::vector<std::string> &header);
    // At least two cells name known kinds.
    static bool looksLikeHeader(const std::vector<std::string> &row);
    // The header of our own export: Date, Time, Systolic, Diastolic, Pulse, PAD, TRIV, Manual.
    static bool isOwnHeader(const std::vector<std::string> &row);
};

} // namespace tonara
