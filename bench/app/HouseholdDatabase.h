#pragma once

// A household's TonaraDock.sqlite for benchmarks: five users (user 2 active),
// ten years of readings, about one in ten a TRIV series with its three
// readings, day averages filled the way the app fills them.
//
//   HouseholdDatabase::Shape shape;                 // 5 users, 10 years, 100,000 readings
//   HouseholdDatabase::write("/tmp/household", shape);
//
// Built through the storage layer (schema, users, settings) and bound SQL in
// one transaction, so 100,000 readings take a second or two, not minutes.

#include <string>

namespace tonara {

class HouseholdDatabase {
public:
    struct Shape {
        int users = 5;
        int years = 10;
        int readings = 100000;
    };

    // Writes the file into the folder (made if missing), replacing any database
    // there. Returns false with a reason in *error when it could not.
    static bool write(const std::string &folder, const Shape &shape, std::string *error = nullptr);
};

} // namespace tonara
