// Finding, creating and checking the registry database file.
#include "platform/registry/RegistrySchema.h"
#include "platform/registry/SqliteRegistry.h"

#include <sqlite3.h>

#include <cerrno>
#include <cstdlib>
#include <chrono>
#include <cstring>
#include <thread>
#include <ctime>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using registry_schema::Check;

// Long enough for a sibling program's import of a large file to finish.
constexpr int kBusyTimeoutMs = 10000;

bool Exists(const std::string& path)
{
    struct stat info {};
    return lstat(path.c_str(), &info) == 0;
}

// Creates every missing folder of the path, private to the user.
bool MakeFolders(const std::string& folder, std::string& error)
{
    if (folder.empty() || Exists(folder))
        return true;
    auto slash = folder.find_last_of('/');
    if (slash != std::string::npos && slash > 0 && !MakeFolders(folder.substr(0, slash), error))
        return false;
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        error = "cannot create folder " + folder + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

std::string ParentFolder(const std::string& path)
{
    auto slash = path.find_last_of('/');
    return slash == std::string::npos || slash == 0 ? std::string() : path.substr(0, slash);
}

enum class FileState { Usable, Unreadable, Failed };

// Makes sure the file exists with mode 0600 before SQLite opens it (SQLite
// gives its -wal and -shm files the same mode); it holds recorder passwords.
FileState PrepareFile(const std::string& path, std::string& error)
{
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        error = "cannot open " + path + ": " + std::strerror(errno);
        return errno == EACCES && Exists(path) ? FileState::Unreadable : FileState::Failed;
    }
    struct stat info {};
    if (fstat(fd, &info) == 0 && (info.st_mode & 0077) != 0)
        fchmod(fd, 0600);
    close(fd);
    return FileState::Usable;
}

struct Attempt {
    Check check = Check::Failed;
    sqlite3* db = nullptr;
    std::string error;
};

Check Classify(int rc)
{
    return rc == SQLITE_NOTADB || rc == SQLITE_CORRUPT ? Check::Damaged : Check::Failed;
}

Check Configure(sqlite3* db, std::string& error)
{
    for (const char* sql : {"PRAGMA journal_mode=WAL", "PRAGMA synchronous=NORMAL", "PRAGMA foreign_keys=ON"}) {
        int rc = sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) {
            error = sqlite3_errmsg(db);
            return Classify(rc);
        }
    }
    return registry_schema::Prepare(db, error);
}

// Looks at the file through a read-only connection first: unlike a writing
// one, it neither checkpoints nor removes the log when it closes, so a
// damaged database and its log are moved aside exactly as they were.
Check Inspect(const std::string& path, std::string& error)
{
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    Check check = Check::Failed;
    if (rc == SQLITE_OK) {
        sqlite3_busy_timeout(db, kBusyTimeoutMs);
        check = registry_schema::Verify(db, error);
    } else {
        error = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
        check = Classify(rc);
    }
    sqlite3_close_v2(db);
    return check;
}

Attempt TryOpen(const std::string& path)
{
    Attempt attempt;
    attempt.check = Inspect(path, attempt.error);
    if (attempt.check != Check::Ready)
        return attempt;
    int rc = sqlite3_open_v2(path.c_str(), &attempt.db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_busy_timeout(attempt.db, kBusyTimeoutMs);
        attempt.check = Configure(attempt.db, attempt.error);
    } else {
        attempt.error = attempt.db ? sqlite3_errmsg(attempt.db) : sqlite3_errstr(rc);
        attempt.check = Classify(rc);
    }
    if (attempt.check != Check::Ready) {
        sqlite3_close_v2(attempt.db);
        attempt.db = nullptr;
    }
    return attempt;
}

std::string LocalStamp()
{
    std::time_t now = std::time(nullptr);
    std::tm local {};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    return stamp;
}

// Moves the database and its log files beside the original, under a name
// no earlier damaged copy uses.
bool MoveAside(const std::string& path, std::string& moved, std::string& error)
{
    std::string base = path + ".damaged-" + LocalStamp();
    moved = base;
    for (int n = 2; Exists(moved) || Exists(moved + "-wal"); ++n)
        moved = base + "-" + std::to_string(n);
    if (std::rename(path.c_str(), moved.c_str()) != 0) {
        error = "cannot move damaged " + path + " aside: " + std::strerror(errno);
        moved.clear();
        return false;
    }
    for (const char* suffix : {"-wal", "-shm", "-journal"})
        if (Exists(path + suffix))
            std::rename((path + suffix).c_str(), (moved + suffix).c_str());
    return true;
}

RegistryOpenResult Opened(sqlite3* db)
{
    RegistryOpenResult result;
    result.backend = std::make_shared<SqliteRegistry>(db);
    return result;
}

RegistryOpenResult StartFresh(const std::string& path, std::string why)
{
    RegistryOpenResult result;
    if (!MoveAside(path, result.movedAsidePath, result.error))
        return result;
    std::string error;
    Attempt fresh;
    if (PrepareFile(path, error) == FileState::Usable)
        fresh = TryOpen(path);
    else
        fresh.error = error;
    if (fresh.check != Check::Ready) {
        result.error = "cannot create a new registry at " + path + ": " + fresh.error + " (old one was damaged: "
            + why + ")";
        return result;
    }
    result.backend = std::make_shared<SqliteRegistry>(fresh.db);
    return result;
}

} // namespace

std::string UserRegistryPath()
{
    if (const char* overridden = std::getenv("DVR_REGISTRY"); overridden && *overridden)
        return overridden;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && config[0] == '/')
        return std::string(config) + "/DVR/registry.db";
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
        const passwd* user = getpwuid(getuid());
        home = user ? user->pw_dir : nullptr;
    }
    return home && *home ? std::string(home) + "/.config/DVR/registry.db" : std::string();
}

RegistryOpenResult OpenUserRegistry()
{
    std::string path = UserRegistryPath();
    if (path.empty()) {
        RegistryOpenResult result;
        result.error = "no home folder to keep the registry in";
        return result;
    }
    return OpenRegistryAt(path);
}

RegistryOpenResult OpenRegistryAt(const std::string& path)
{
    RegistryOpenResult result;
    if (path.empty()) {
        result.error = "no registry path given";
        return result;
    }
    if (!MakeFolders(ParentFolder(path), result.error))
        return result;
    switch (PrepareFile(path, result.error)) {
    case FileState::Failed:
        return result;
    case FileState::Unreadable:
        return StartFresh(path, result.error);
    case FileState::Usable:
        break;
    }
    // Another program making or converting the same database holds a lock
    // that SQLite's busy wait does not cover (switching a new file to WAL):
    // wait for it as for any other writer instead of failing the start.
    Attempt attempt = TryOpen(path);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kBusyTimeoutMs);
    while (attempt.check == Check::Failed && attempt.error.find("locked") != std::string::npos
           && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        attempt = TryOpen(path);
    }
    switch (attempt.check) {
    case Check::Ready:
        return Opened(attempt.db);
    case Check::Damaged:
        return StartFresh(path, attempt.error);
    case Check::Failed:
        break;
    }
    result.error = "cannot open registry " + path + ": " + attempt.error;
    return result;
}

std::shared_ptr<RegistryBackend> OpenInMemoryRegistry()
{
    sqlite3* db = nullptr;
    std::string error;
    if (sqlite3_open(":memory:", &db) != SQLITE_OK
        || sqlite3_exec(db, "PRAGMA foreign_keys=ON", nullptr, nullptr, nullptr) != SQLITE_OK
        || registry_schema::Prepare(db, error) != Check::Ready) {
        sqlite3_close_v2(db);
        return nullptr;
    }
    return std::make_shared<SqliteRegistry>(db);
}
