#pragma once

// The readings of one user between two days (or all of them), oldest first,
// each TRIV reading with its three single readings, and the user's name: what
// a FHIR export writes.
//
//   ExportReadings source(db);
//   ExportReadings::Set set = source.load(user, ExportReadings::Window{"2013-05-01", "2013-05-31"});
//   for (const auto &item : set.readings) write(item.reading, item.singles);
//   source.load(user, std::nullopt);   // every reading of the user

#include "storage/Reading.h"

#include <optional>
#include <string>
#include <vector>

namespace tonara {

class DBHelper;

class ExportReadings {
public:
    struct Single {
        int position = 0; // 1, 2, 3
        int sys = 0;
        int dia = 0;
        int pulse = 0;
        bool operator==(const Single &) const = default;
    };
    struct Item {
        Reading reading;
        std::vector<Single> singles; // empty unless a TRIV reading with stored details
    };
    struct Set {
        bool userExists = false;
        std::string name; // the profile's name
        std::vector<Item> readings;
    };
    // First and last day, both included ("yyyy-MM-dd").
    struct Window {
        std::string from;
        std::string to;
    };

    explicit ExportReadings(DBHelper &db);

    Set load(int user, const std::optional<Window> &window);

private:
    DBHelper &db_;
};

} // namespace tonara
