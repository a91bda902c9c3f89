#include "tools/db_path.h"

#include <cstdio>
#include <random>

#include "host/error.h"
#include "sim/audit/audit.h"
#include "sim/db/sqlite_connection.h"

namespace zq::tool {

namespace {

namespace fs = std::filesystem;

[[noreturn]] void Refuse(const std::string& path, const std::string& why) {
    throw PathError(path + ": " + why);
}

// What is at an existing path may be replaced only when it is a database of this schema.
void RequireReplaceable(const std::string& path) {
    try {
        auto conn = sim::SqliteConnection::Open(path, sim::OpenMode::ReadOnly);
        sim::audit::RequireHostSchema(*conn);
    } catch (const HostError& e) {
        Refuse(path, "is not a host database of this program (" + e.Description() +
                         "); it was left as it is");
    }
}

}  // namespace

void ClaimNewDatabase(const std::string& path, bool force) {
    if (path.empty()) throw PathError("the database file name is empty");
    const fs::path p(path);
    if (!p.has_filename()) Refuse(path, "names a folder; give the name of a database file");
    std::error_code ec;
    const fs::file_status st = fs::symlink_status(p, ec);
    if (ec && ec != std::errc::no_such_file_or_directory) Refuse(path, ec.message());
    if (fs::exists(st)) {
        if (fs::is_symlink(st)) Refuse(path, "is a symbolic link; give the file itself");
        if (fs::is_directory(st)) Refuse(path, "is a folder; it was left as it is");
        if (!fs::is_regular_file(st)) Refuse(path, "is not a regular file; it was left as it is");
        if (!force)
            Refuse(path,
                   "already exists; it was left as it is (--force replaces a database of this "
                   "program)");
        RequireReplaceable(path);
        for (const char* suffix : {"", "-journal", "-wal", "-shm"}) {
            fs::remove(path + suffix, ec);
            if (ec) Refuse(path + suffix, "cannot be removed: " + ec.message());
        }
        return;
    }
    const fs::path folder = p.has_parent_path() ? p.parent_path() : fs::path(".");
    const fs::file_status fst = fs::status(folder, ec);
    if (!fs::exists(fst)) Refuse(path, "the folder " + folder.string() + " does not exist");
    if (!fs::is_directory(fst)) Refuse(path, folder.string() + " is not a folder");
}

TemporaryFolder::TemporaryFolder(const std::string& prefix) {
    std::error_code ec;
    const fs::path base = fs::temp_directory_path(ec);
    if (ec) throw PathError("no temporary folder: " + ec.message());
    // A name nobody else holds: create_directory refuses one that exists, so two programs
    // never share a folder (the portable form of mkdtemp).
    std::random_device seed;
    std::mt19937_64 pick(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        char name[17];
        std::snprintf(name, sizeof name, "%016llx", static_cast<unsigned long long>(pick()));
        const fs::path candidate = base / (prefix + "-" + name);
        if (fs::create_directory(candidate, ec)) {
            path_ = candidate.string();
            return;
        }
        if (ec) break;
    }
    throw PathError("cannot make a temporary folder in " + base.string() +
                    (ec ? ": " + ec.message() : std::string()));
}

TemporaryFolder::~TemporaryFolder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

}  // namespace zq::tool
