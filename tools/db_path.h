// Where a command that creates a database puts it. A user's file is never lost: an
// existing path is refused unless the user says --force, and even then only a database of
// this program's schema is replaced; folders, links and special files never are.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

namespace zq::tool {

// A path the program will not use, with the reason in words; the commands print it and
// exit with 2.
class PathError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Makes `path` ready to receive a new database: checks that its folder exists and that
// nothing is there, or, with `force`, that what is there is a database of this schema, and
// then removes that database (with its journal files). Raises PathError otherwise, having
// changed nothing.
void ClaimNewDatabase(const std::string& path, bool force);

// A private folder under the system's temporary folder, removed with what it holds.
class TemporaryFolder {
  public:
    explicit TemporaryFolder(const std::string& prefix);  // raises PathError
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    const std::filesystem::path& Path() const { return path_; }

  private:
    std::filesystem::path path_;
};

}  // namespace zq::tool
