#pragma once

// Stores the ready rows of an import plan for its user in ONE transaction,
// with the day average of every day they touch, or nothing at all.
//
//   ReadingImporter importer(db);
//   importer.markDuplicates(plan);          // rows already in the database, for the preview
//   ReadingImporter::Result r = importer.import(plan);
//   if (!r.stored) tell(r.error);           // the database is as it was
//
// A duplicate is a reading of the same user with the same date, time,
// systolic, diastolic and pulse; they are looked for again inside the
// transaction, so a reading saved between preview and import is not doubled.
// A TRIV reading gets a series number of its own (the file does not carry its
// three single readings). Rows go in oldest first; readings of the same moment
// keep the order that our own export gives them, so exporting again gives the
// same file.

#include "data/core/CsvImport.h"

#include <string>

namespace tonara {

class DBHelper;

class ReadingImporter {
public:
    struct Result {
        bool stored = false; // the transaction went in (also with nothing to import)
        int imported = 0;
        int duplicatesInDatabase = 0;
        int failedLine = 0; // the file line whose reading could not be written
        std::string error;  // SQLite's words when stored is false
    };

    explicit ReadingImporter(DBHelper &db);

    // Ready rows that the database already holds become DuplicateInDatabase
    // (and such rows that it no longer holds become Ready again).
    void markDuplicates(CsvImport::Plan &plan);
    // The plan's rows are marked as markDuplicates does, seen from inside the transaction.
    Result import(CsvImport::Plan &plan, bool ownFormat);

private:
    bool inDatabase(const Reading &r);

    DBHelper &db_;
};

} // namespace tonara
