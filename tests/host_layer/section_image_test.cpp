// A section's image and its restoration: after whatever a road did to a section (fields
// changed, rows appended and deleted, some of it written with UpdateBatch), the section
// holds again what the image holds, the database behind it too, and the user's own pending
// edits wait for the next save as they did. Run on the table recordsets of the SQLite
// connection, as the simulated host loads a document's sections.
#include "data/section_image.h"

#include <gtest/gtest.h>

#include "sim/db/sqlite_connection.h"
#include "sim/db/table_recordset.h"

namespace zq {
namespace {

std::string Str(const Variant& v) {
    return v.IsNull() || v.IsEmpty() ? std::string() : v.ToString();
}

class SectionImageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        conn = sim::SqliteConnection::Open(":memory:");
        conn->RunSqlite(
            "CREATE TABLE T (K INTEGER NOT NULL PRIMARY KEY, A VARCHAR(10), N FLOAT);"
            "INSERT INTO T VALUES (1, 'uno', 1), (2, 'due', 2), (3, 'tre', 3), (4, 'quattro', 4);");
        rs = sim::OpenTable(conn, "T", "1=1");
    }

    // The table as the database holds it: "K:A:N" per row, by key.
    std::string Database() const {
        std::string out;
        for (const auto& r : conn->QueryRows("SELECT K, A, N FROM T ORDER BY K").rows)
            out += Str(r[0]) + ":" + Str(r[1]) + ":" + Str(r[2]) + " ";
        return out;
    }
    // The rows the recordset shows, by key, with their pending state.
    std::string Memory() const {
        std::map<std::int32_t, std::string> rows;
        auto c = rs->Clone();
        for (c->MoveFirst(); !c->EOF_(); c->MoveNext()) {
            const char* st = c->Status() == ado::adRecModified ? "*"
                             : c->Status() == ado::adRecNew    ? "+"
                                                               : "";
            rows[c->Get("K").ToLong()] =
                Str(c->Get("K")) + ":" + Str(c->Get("A")) + ":" + Str(c->Get("N")) + st;
        }
        std::string out;
        for (const auto& [k, s] : rows) out += s + " ";
        return out;
    }
    void GoTo(std::int32_t k) {
        rs->SetFilter(Variant::Int32(ado::adFilterNone));
        rs->Find("K = " + std::to_string(k), 0, ado::adSearchForward,
                 Variant::Int32(ado::adBookmarkFirst));
        ASSERT_FALSE(rs->EOF_());
    }

    sim::SqliteConnectionPtr conn;
    ado::RecordsetPtr rs;
};

// The user's own pending edit of row 2 and deletion of row 4 stand before the road; the
// road changes row 1, deletes row 3, appends row 5, edits row 2 further and writes part of
// it. Restored, the database holds what it held and the section waits to write exactly the
// user's edits.
TEST_F(SectionImageTest, WrittenChangesGoBackAndTheUsersPendingEditsStay) {
    GoTo(2);
    rs->Set("A", Variant("DUE"));
    rs->Update();
    GoTo(4);
    rs->Delete(ado::adAffectCurrent);
    rs->SetFilter(Variant("K <= 2"));
    rs->MoveLast();
    const SectionImage image = TakeSectionImage(rs);
    const std::string memoryBefore = Memory(), databaseBefore = Database();
    EXPECT_EQ(memoryBefore, "1:uno:1 2:DUE:2* 3:tre:3 ");

    // The road.
    GoTo(1);
    rs->Set("N", Variant(10.0));
    rs->Update();
    GoTo(3);
    rs->Delete(ado::adAffectCurrent);
    rs->AddNew();
    rs->Set("K", Variant::Int32(5));
    rs->Set("A", Variant("cinque"));
    rs->Update();
    rs->UpdateBatch(ado::adAffectAllChapters);  // row 4's deletion is written too
    GoTo(2);
    rs->Set("N", Variant(20.0));  // left in the recordset's edit buffer
    ASSERT_NE(Database(), databaseBefore);

    const RestoreResult r = RestoreSection(rs, image);
    EXPECT_TRUE(r.wroteDatabase);
    EXPECT_EQ(Database(), databaseBefore);
    EXPECT_EQ(Memory(), memoryBefore);
    // The filter and the current row are back.
    EXPECT_EQ(rs->Filter().ToString(), "K <= 2");
    EXPECT_EQ(rs->Get("K").ToLong(), 2);
    EXPECT_EQ(rs->RecordCount(), 2);
    // Row 4 came back with its deletion still pending; rows 3 and 4 had been removed from
    // the database and were added again, row 3 under a new bookmark.
    EXPECT_EQ(r.moved.size(), 2u);
    // The next save writes the user's edits and nothing else.
    rs->UpdateBatch(ado::adAffectAllChapters);
    EXPECT_EQ(Database(), "1:uno:1 2:DUE:2 3:tre:3 ");
}

// Nothing was written: the section is put back in memory only, without a write, and rows
// the road touched lose the pending mark they did not have.
TEST_F(SectionImageTest, ChangesOnlyInMemoryAreCancelledWithoutAWrite) {
    GoTo(1);
    const SectionImage image = TakeSectionImage(rs);
    rs->Set("A", Variant("UNO"));
    rs->Update();
    GoTo(2);
    rs->Delete(ado::adAffectCurrent);
    rs->AddNew();
    rs->Set("K", Variant::Int32(9));
    rs->Update();
    conn->RunSqlite("DROP TABLE T");  // a write would fail now

    const RestoreResult r = RestoreSection(rs, image);
    EXPECT_FALSE(r.wroteDatabase);
    EXPECT_TRUE(r.moved.empty());
    EXPECT_EQ(Memory(), "1:uno:1 2:due:2 3:tre:3 4:quattro:4 ");
    EXPECT_EQ(rs->Get("K").ToLong(), 1);
}

// A row the user appended and had not saved yet is still to be inserted after the road
// wrote it; an override puts back a value the road's own start had already changed.
TEST_F(SectionImageTest, NewRowsStayNewAndOverridesWin) {
    rs->AddNew();
    rs->Set("K", Variant::Int32(7));
    rs->Set("A", Variant("sette"));
    rs->Update();
    GoTo(3);
    rs->Set("A", Variant("scelta"));  // the host's part of the user's action, not updated
    SectionImage image = TakeSectionImage(rs);
    image.Override(static_cast<std::size_t>(image.RowAt(image.bookmark)),
                   static_cast<std::size_t>(image.FieldIndex("a")), Variant("tre"));

    rs->UpdateBatch(ado::adAffectAllChapters);
    ASSERT_EQ(conn->QueryRows("SELECT K FROM T WHERE K IN (3, 7) AND A <> 'tre'").rows.size(), 2u);

    RestoreSection(rs, image);
    EXPECT_EQ(Database(), "1:uno:1 2:due:2 3:tre:3 4:quattro:4 ");
    EXPECT_EQ(Memory(), "1:uno:1 2:due:2 3:tre:3 4:quattro:4 7:sette:+ ");
}

}  // namespace
}  // namespace zq
