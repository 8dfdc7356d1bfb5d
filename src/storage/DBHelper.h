#pragma once

// The one SQLite connection to TonaraDock.sqlite in the app's data folder.
//
//   DBHelper::configure(dataDir, &alertPresenter);  // once, at start-up
//   DBHelper &db = DBHelper::newInstance();         // opens the file on the first call
//   SqlStatement st = db.executeQuery("SELECT * FROM day_average WHERE user_id = ?");
//   st.bind(1, user);
//   while (st.next()) { ... }
//   db.closeDatabase();                             // ends this use; the connection stays open
//
// The first open makes the file from the built-in schema when there is none.
// A file at the path that is not a SQLite database, or that cannot be opened,
// is left exactly as it is: the person is told once (naming the file) and
// every statement then fails to prepare, so saves show the "database is full"
// alert and reads come back empty.
//
// Tests and tools may construct a private DBHelper on a folder of their own.

#include "storage/SqlConnection.h"
#include "storage/SqlStatement.h"

#include <sqlite3.h>

#include <string>
#include <string_view>

namespace tonara {

class AlertSink;

class DBHelper {
public:
    static constexpr const char *kBaseName = "TonaraDock";
    static constexpr const char *kExtension = ".sqlite";

    // Where the shared instance keeps its file, and where it reports an unusable
    // file. Takes effect only before the first newInstance(); returns false after.
    static bool configure(std::string documentsFolder, AlertSink *alerts);
    // The process's instance; created and opened by the first call, never destroyed.
    static DBHelper &newInstance();

    explicit DBHelper(std::string documentsFolder, AlertSink *alerts = nullptr);
    DBHelper(const DBHelper &) = delete;
    DBHelper &operator=(const DBHelper &) = delete;

    // Opens the file once; later calls return at once, even after a failure.
    void openDatabase();
    // Puts the file at replacement in place of the database in one step (a
    // rename, so never a partly copied file) and opens it; everyone holding
    // this object works on the new file from their next statement on. Refused
    // while a transaction is open on the connection. On failure the old file
    // stays and is open again, and *error says why.
    bool replaceDatabaseFile(const std::string &replacement, std::string *error);
    // Logs "Database file found at path ..." or makes the file and, once it is
    // there, logs "Database file copied from bundle to ...".
    void copyDatabaseIfNeeded();
    // Makes the file from the schema when nothing is at the path; never touches
    // an existing file. True when something is at the path afterwards.
    bool ensureDatabaseFileExists();
    std::string getDatabaseFullPath() const;
    // True when path names the database file or one of SQLite's files beside it
    // (journal, WAL, shared memory), or the running app's lock file: something a
    // save must never be written over.
    bool holdsFile(const std::string &path) const;

    // Prepares the text on the shared connection; empty when that fails.
    SqlStatement executeQuery(std::string_view sql);
    // The connection, or null when the file could not be opened.
    sqlite3 *database() const { return connection_.get(); }
    // Ends one operation's use of the connection. The connection stays open and
    // the handle valid; it closes when the object does (the shared one never).
    void closeDatabase() {}

    // True when openDatabase found the file unusable (and said so).
    bool unusable() const { return unusable_; }
    const std::string &documentsFolder() const { return documentsFolder_; }

    // How many times this object has opened its file (once, and once more per replacement).
    int openCount() const { return openCount_; }

private:
    // Makes the file from the schema; false (and a log line) when it could not.
    bool makeDatabaseFile();
    void reportUnusable(const std::string &why);

    std::string documentsFolder_;
    AlertSink *alerts_ = nullptr;
    SqlConnection connection_;
    bool openAttempted_ = false;
    bool unusable_ = false;
    int openCount_ = 0;
};

} // namespace tonara
