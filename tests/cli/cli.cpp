#include "cli.h"

#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace zq::cli {

namespace {

std::string Slurp(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

Outcome Zqstati(const std::string& args) {
    // The program is built into the same folder as this test program.
    const auto exe = std::filesystem::read_symlink("/proc/self/exe").parent_path() / "zqstati";
    if (!std::filesystem::exists(exe)) throw std::runtime_error(exe.string() + " is not built");
    TempDir io;
    const auto out = io.Path() / "out", err = io.Path() / "err";
    const std::string command =
        "'" + exe.string() + "' " + args + " >'" + out.string() + "' 2>'" + err.string() + "'";
    const int raw = std::system(command.c_str());
    Outcome o;
    o.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    o.out = Slurp(out);
    o.err = Slurp(err);
    return o;
}

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zqstati-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string TempDir::Write(const std::string& name, const std::string& text) const {
    const auto p = path_ / name;
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << text;
    return p.string();
}

std::filesystem::path SourceDir() {
    return ZQ_SOURCE_DIR;
}

}  // namespace zq::cli
