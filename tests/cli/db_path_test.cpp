// The commands that make a database (demo, statements) never lose what is at --db: a
// file, a folder or a link is left as it was unless the user says --force, and --force
// replaces only a database of this program. Paths the program cannot use end with a clear
// message and status 2, never with an abort.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "cli.h"
#include "sim/db/sqlite_connection.h"

namespace zq::cli {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::Not;

std::string Bytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The command's refusal: status 2, the reason on stderr, no trace of a crash.
void ExpectRefused(const Outcome& o, const std::string& reason) {
    EXPECT_EQ(o.status, 2) << o.out << o.err;
    EXPECT_THAT(o.err, HasSubstr(reason));
    EXPECT_THAT(o.err, Not(HasSubstr("terminate")));
    EXPECT_THAT(o.out, Not(HasSubstr("== 1.")));  // no step was played
}

std::string Quoted(const fs::path& p) {
    return "'" + p.string() + "'";
}

void RunSql(const fs::path& db, const std::string& sql) {
    sim::SqliteConnection::Open(db.string())->RunScript(sql);
}

TEST(DatabasePath, WhatIsThereStaysUnlessForcedOnADatabaseOfThisProgram) {
    TempDir dir;
    const std::string text = "a user's notes, not a database\n";
    const fs::path notes = dir.Write("notes.txt", text);
    const fs::path folder = dir.Path() / "empty";
    fs::create_directory(folder);
    const fs::path sqlite = dir.Path() / "other.db";
    RunSql(sqlite, "CREATE TABLE T (A)");
    const std::string other = Bytes(sqlite);
    for (const char* command : {"demo", "statements"}) {
        SCOPED_TRACE(command);
        const std::string cmd = std::string(command) + " --db ";
        ExpectRefused(Zqstati(cmd + Quoted(notes)), "already exists; it was left as it is");
        ExpectRefused(Zqstati(cmd + Quoted(notes) + " --force"), "is not a host database");
        ExpectRefused(Zqstati(cmd + Quoted(folder)), "is a folder");
        ExpectRefused(Zqstati(cmd + Quoted(folder) + " --force"), "is a folder");
        ExpectRefused(Zqstati(cmd + Quoted(sqlite) + " --force"), "is not a host database");
        EXPECT_EQ(Bytes(notes), text);
        EXPECT_TRUE(fs::is_directory(folder));
        EXPECT_TRUE(fs::is_empty(folder));
        EXPECT_EQ(Bytes(sqlite), other);
    }
}

TEST(DatabasePath, ADatabaseOfThisProgramIsKeptAndReplacedOnlyWithForce) {
    TempDir dir;
    const fs::path db = dir.Path() / "demo.db";
    ASSERT_EQ(Zqstati("statements --db " + Quoted(db)).status, 0);
    // The user's own row shows whether the file was replaced.
    RunSql(db, "UPDATE DO30_DOCCORPO SET DO30_CODART_MG66 = 'MINE'");
    const std::string mine = Bytes(db);
    ExpectRefused(Zqstati("demo --db " + Quoted(db)), "already exists");
    ExpectRefused(Zqstati("statements --db " + Quoted(db)), "already exists");
    EXPECT_EQ(Bytes(db), mine);

    const Outcome demo = Zqstati("demo --db " + Quoted(db) + " --force");
    EXPECT_EQ(demo.status, 0) << demo.err;
    EXPECT_THAT(Bytes(db), Not(HasSubstr("MINE")));
    EXPECT_THAT(Zqstati("check --db " + Quoted(db)).out, HasSubstr("4 documents checked"));
}

TEST(DatabasePath, LinksAndPathsThatCannotHoldADatabaseAreRefused) {
    TempDir dir;
    const fs::path db = dir.Path() / "demo.db";
    ASSERT_EQ(Zqstati("statements --db " + Quoted(db)).status, 0);
    const fs::path link = dir.Path() / "link.db";
    fs::create_symlink(db, link);
    const std::string before = Bytes(db);
    const fs::path notes = dir.Write("notes.txt", "x");
    const struct {
        std::string args, reason;
    } cases[] = {
        {"demo --db " + Quoted(link) + " --force", "is a symbolic link"},
        {"demo --db ''", "the database file name is empty"},
        {"demo --db " + Quoted(dir.Path() / "missing" / "x.db"), "/missing does not exist"},
        {"demo --db " + Quoted(notes / "x.db"), "notes.txt/x.db: Not a directory"},
        {"statements --db ''", "the database file name is empty"},
        {"demo --db " + Quoted(dir.Path().string() + "/new/"), "names a folder"},
        // Not writable even for the superuser.
        {"demo --db /proc/zqstati-test.db", "the database cannot be made"},
        {"statements --db /proc/zqstati-test.db", "the database cannot be made"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        ExpectRefused(Zqstati(c.args), c.reason);
    }
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Bytes(db), before);
    EXPECT_FALSE(fs::exists(dir.Path() / "missing"));
    EXPECT_FALSE(fs::exists(dir.Path() / "new"));
}

TEST(DatabasePath, CheckReadsWithoutWritingAndRefusesWhatIsNoFile) {
    TempDir dir;
    const fs::path db = dir.Path() / "demo.db";
    ASSERT_EQ(Zqstati("statements --db " + Quoted(db)).status, 0);
    const std::string before = Bytes(db);
    const auto stamp = fs::last_write_time(db);
    EXPECT_THAT(Zqstati("check --db " + Quoted(db)).out, HasSubstr("4 documents checked"));
    EXPECT_EQ(Bytes(db), before);
    EXPECT_EQ(fs::last_write_time(db), stamp);
    EXPECT_FALSE(fs::exists(db.string() + "-journal"));

    ExpectRefused(Zqstati("check --db " + Quoted(dir.Path())), "is a folder, not a database");
    ExpectRefused(Zqstati("check --db ''"), "give the database file to audit");
    // Numbers the program cannot take are usage errors, not a wrapped registration number.
    ExpectRefused(Zqstati("check --db " + Quoted(db) + " --doc 4294968297"), "--doc");
    ExpectRefused(Zqstati("check --db " + Quoted(db) + " --doc abc"), "--doc");
    ExpectRefused(Zqstati("demo --bogus"), "bogus");
}

}  // namespace
}  // namespace zq::cli
