// Runs the zqstati program built next to this test program, as a user runs it, and
// gives its exit status and output; a private temporary folder for the files it reads.
#pragma once

#include <filesystem>
#include <string>

namespace zq::cli {

struct Outcome {
    int status = -1;  // exit status; -1 when the program did not end normally
    std::string out, err;
};

// `args` is passed to the shell as written after the program's path.
Outcome Zqstati(const std::string& args);

// A folder removed with its contents at the end of the test.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& Path() const { return path_; }
    // Writes `text` to a file of the folder and gives its path.
    std::string Write(const std::string& name, const std::string& text) const;

  private:
    std::filesystem::path path_;
};

// A scenario file's text around the given steps (and further top-level keys, each ending
// with a comma).
inline std::string Scenario(const std::string& steps, const std::string& more = "") {
    return R"({"description": "a scenario", )" + more + R"("steps": [)" + steps + "]}";
}

// The folder of the project's sources (scenarios/, docs/).
std::filesystem::path SourceDir();

}  // namespace zq::cli
