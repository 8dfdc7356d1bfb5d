#include "users/core/UserProfiles.h"

#include "base/Log.h"
#include "storage/DBHelper.h"
#include "storage/DataBaseforCD.h"
#include "storage/SqlStatement.h"
#include "storage/SqlTransaction.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>
#include <utility>
#include <vector>

namespace tonara {

namespace fs = std::filesystem;

namespace {

constexpr const char *kLogCategory = "users";

void log(const std::string &line)
{
    Log::write(kLogCategory, line);
}

std::string normal(const std::string &path)
{
    return fs::path(path).lexically_normal().string();
}

struct Profile {
    int number = 0;
    std::string name;
    std::string photo;
};

std::vector<Profile> readProfiles(DataBaseforCD &store)
{
    store.ReadDataBase_user_table();
    std::vector<Profile> out;
    for (std::size_t i = 0; i < store.aArray_user_user.size(); ++i)
        out.push_back({store.aArray_user_user[i], store.aArray_lastname_user[i], store.aArray_photo_user[i]});
    return out;
}

std::string freePath(const std::string &folder, int user, const std::set<std::string> &named)
{
    const std::string base = "no" + std::to_string(user);
    std::string path = normal((fs::path(folder) / (base + ".png")).string());
    for (int n = 1; named.count(path); ++n)
        path = normal((fs::path(folder) / (base + "-" + std::to_string(n) + ".png")).string());
    return path;
}

bool isFile(const std::string &path)
{
    std::error_code ec;
    return !path.empty() && fs::is_regular_file(path, ec);
}

} // namespace

UserProfiles::UserProfiles(DataBaseforCD &store, DBHelper &db, std::string documentsFolder)
    : store_(store), db_(db), documentsFolder_(std::move(documentsFolder))
{}

std::string UserProfiles::photoPathFor(int user)
{
    std::set<std::string> named;
    for (const Profile &p : readProfiles(store_))
        if (p.number != user && !p.photo.empty())
            named.insert(normal(p.photo));
    return freePath(documentsFolder_, user, named);
}

bool UserProfiles::deleteProfile(int user)
{
    lastError_.clear();
    const std::vector<Profile> profiles = readProfiles(store_);
    const auto gone =
        std::find_if(profiles.begin(), profiles.end(), [&](const Profile &p) { return p.number == user; });
    if (gone == profiles.end()) {
        lastError_ = "there is no profile " + std::to_string(user);
        return false;
    }
    std::vector<Profile> moving;
    std::set<std::string> named; // photo files of the profiles that stay
    for (const Profile &p : profiles) {
        if (p.number > user)
            moving.push_back(p);
        if (&p != &*gone && !p.photo.empty())
            named.insert(normal(p.photo));
    }
    std::sort(moving.begin(), moving.end(),
              [](const Profile &a, const Profile &b) { return a.number < b.number; });

    sqlite3 *conn = db_.database();
    SqlTransaction tx(conn);
    if (!tx.begun()) {
        lastError_ = tx.status().message;
        log(lastError_);
        return false;
    }

    std::vector<std::pair<std::string, std::string>> moves; // done so far, from → to
    auto move = [&](const std::string &from, const std::string &to) {
        std::error_code ec;
        fs::rename(from, to, ec);
        if (ec) {
            lastError_ = "cannot move " + from + " to " + to + ": " + ec.message();
            log(lastError_);
            return false;
        }
        moves.emplace_back(from, to);
        return true;
    };

    bool done = store_.Delete_User_table(user) && store_.User_table_sort_by(user);
    if (!done)
        lastError_ = sqlite3_errmsg(conn);

    // The deleted profile's photo waits aside until the change is kept, so a
    // failure can put it back. A file another profile also names stays.
    std::string aside;
    if (done && isFile(gone->photo) && !named.count(normal(gone->photo))) {
        aside = (fs::path(documentsFolder_) / (".deleted-no" + std::to_string(user) + ".png")).string();
        done = move(gone->photo, aside);
    }
    // Lowest first: each profile moves into the name the one below it has just left.
    for (const Profile &p : moving) {
        if (!done)
            break;
        const int number = p.number - 1;
        std::string path = p.photo;
        if (isFile(p.photo)) {
            named.erase(normal(p.photo));
            path = freePath(documentsFolder_, number, named);
            named.insert(path);
            if (path != normal(p.photo))
                done = move(p.photo, path);
            else
                path = p.photo;
        }
        if (done && path != p.photo) {
            done = store_.updataDataBase_forUser_table(number, p.name, path);
            if (!done)
                lastError_ = sqlite3_errmsg(conn);
        }
    }
    if (done) {
        const SqlStatus commit = tx.commit();
        if (!commit.ok()) {
            lastError_ = commit.message;
            log(lastError_);
            done = false;
        }
    }
    if (!done) {
        for (auto it = moves.rbegin(); it != moves.rend(); ++it) {
            std::error_code ec;
            fs::rename(it->second, it->first, ec);
            if (ec)
                log("cannot move " + it->second + " back to " + it->first + ": " + ec.message());
        }
        tx.rollback();
        db_.closeDatabase();
        return false;
    }
    if (!aside.empty()) {
        std::error_code ec;
        fs::remove(aside, ec);
        if (ec)
            log("cannot remove " + aside + ": " + ec.message());
    }
    db_.closeDatabase();
    return true;
}

} // namespace tonara
