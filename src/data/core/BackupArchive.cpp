#include "data/core/BackupArchive.h"

#include "base/Log.h"
#include "data/core/DiskSync.h"

#include <archive.h>
#include <archive_entry.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace tonara {

namespace fs = std::filesystem;

namespace {

struct ReadDeleter {
    void operator()(archive *a) const { archive_read_free(a); }
};
struct WriteDeleter {
    void operator()(archive *a) const { archive_write_free(a); }
};
struct EntryDeleter {
    void operator()(archive_entry *e) const { archive_entry_free(e); }
};

std::string archiveError(archive *a)
{
    const char *text = archive_error_string(a);
    return text ? text : "unknown archive error";
}

bool fail(std::string *error, std::string why)
{
    if (error)
        *error = std::move(why);
    return false;
}

} // namespace

bool BackupArchive::write(const std::string &path, const std::vector<Member> &members, std::string *error)
{
    // Beside the target, so the final rename stays on one file system.
    const std::string temp = path + ".part";
    std::unique_ptr<archive, WriteDeleter> a(archive_write_new());
    archive_write_add_filter_gzip(a.get());
    archive_write_set_format_pax_restricted(a.get());
    // No padding to whole 10 KiB blocks: the file ends where the data does.
    archive_write_set_bytes_in_last_block(a.get(), 1);
    // A whole diary of health readings: only its owner may read the file.
    // Made here first, so the archive is written into it with these rights.
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return fail(error, std::strerror(errno));
    ::fchmod(fd, 0600); // an earlier .part keeps its rights through O_CREAT
    ::close(fd);
    if (archive_write_open_filename(a.get(), temp.c_str()) != ARCHIVE_OK) {
        const std::string why = archiveError(a.get());
        std::error_code ec;
        fs::remove(temp, ec);
        return fail(error, why);
    }
    auto abandon = [&](std::string why) {
        a.reset();
        std::error_code ec;
        fs::remove(temp, ec);
        return fail(error, std::move(why));
    };
    const std::time_t now = std::time(nullptr);
    for (const Member &m : members) {
        std::unique_ptr<archive_entry, EntryDeleter> entry(archive_entry_new());
        archive_entry_set_pathname(entry.get(), m.name.c_str());
        archive_entry_set_size(entry.get(), la_int64_t(m.data.size()));
        archive_entry_set_filetype(entry.get(), AE_IFREG);
        archive_entry_set_perm(entry.get(), 0600);
        archive_entry_set_mtime(entry.get(), now, 0);
        if (archive_write_header(a.get(), entry.get()) != ARCHIVE_OK)
            return abandon(archiveError(a.get()));
        if (archive_write_data(a.get(), m.data.data(), m.data.size()) != la_ssize_t(m.data.size()))
            return abandon(archiveError(a.get()));
    }
    if (archive_write_close(a.get()) != ARCHIVE_OK)
        return abandon(archiveError(a.get()));
    a.reset();
    // On disk before it takes its name: the operation it is taken for may
    // delete the data right after, and a crash must not leave an empty backup.
    std::string why;
    if (!DiskSync::file(temp, &why))
        return abandon(why);
    if (std::rename(temp.c_str(), path.c_str()) != 0)
        return abandon(std::strerror(errno));
    if (!DiskSync::folder(fs::path(path).parent_path().string(), &why))
        Log::write("data", "the folder of " + path + " could not be synced: " + why);
    return true;
}

bool BackupArchive::read(const std::string &path, std::vector<Member> *members, std::string *error)
{
    members->clear();
    std::error_code ec;
    const auto size = fs::file_size(path, ec);
    if (ec)
        return fail(error, ec.message());
    if (std::int64_t(size) > kMaxSize)
        return fail(error, "the file is far larger than any backup");

    std::unique_ptr<archive, ReadDeleter> a(archive_read_new());
    archive_read_support_filter_gzip(a.get());
    archive_read_support_format_tar(a.get());
    if (archive_read_open_filename(a.get(), path.c_str(), 64 * 1024) != ARCHIVE_OK)
        return fail(error, archiveError(a.get()));
    std::int64_t total = 0;
    auto refuse = [&](std::string why) {
        members->clear();
        return fail(error, std::move(why));
    };
    for (;;) {
        archive_entry *entry = nullptr;
        const int rc = archive_read_next_header(a.get(), &entry);
        if (rc == ARCHIVE_EOF)
            break;
        if (rc != ARCHIVE_OK)
            return refuse(archiveError(a.get()));
        if (archive_entry_filetype(entry) != AE_IFREG)
            return refuse("the archive holds something other than files");
        Member m;
        const char *name = archive_entry_pathname(entry);
        m.name = name ? name : "";
        const la_int64_t length = archive_entry_size(entry);
        total += length;
        if (length < 0 || total > kMaxSize)
            return refuse("a member's size is impossible");
        m.data.resize(std::size_t(length));
        std::size_t got = 0;
        while (got < m.data.size()) {
            const la_ssize_t n = archive_read_data(a.get(), m.data.data() + got, m.data.size() - got);
            if (n < 0)
                return refuse(archiveError(a.get()));
            if (n == 0)
                break;
            got += std::size_t(n);
        }
        if (got != m.data.size())
            return refuse("the archive ends in the middle of " + m.name);
        members->push_back(std::move(m));
    }
    if (archive_read_close(a.get()) != ARCHIVE_OK)
        return refuse(archiveError(a.get()));
    return true;
}

} // namespace tonara
