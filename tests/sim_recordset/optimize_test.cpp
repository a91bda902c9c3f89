// The client cursor's cost model: Filter and Find read every row unless the fields they
// compare carry Optimize = True, whose index then answers them; and whatever answers, the
// rows shown are the same.
#include <gtest/gtest.h>

#include <random>

#include "rs_fixture.h"

namespace zq::sim::testing {
namespace {

Variant Optimize(const ado::Recordset& rs, std::string_view field) {
    return rs.FieldByName(field)->Properties("Optimize")->Value();
}

void SetOptimize(const ado::Recordset& rs, std::string_view field, bool on) {
    rs.FieldByName(field)->Properties("Optimize")->SetValue(Variant::Bool(on));
}

// Rows read by one call, as RowsExamined counts them.
std::uint64_t RowsRead(const std::function<void()>& call) {
    const std::uint64_t before = RowsExamined();
    call();
    return RowsExamined() - before;
}

// `n` lines numbered 1..n, in groups of four, with a text key.
ado::RecordsetPtr ManyLines(std::int32_t n, CursorOptions cursor = {}) {
    std::vector<FieldDef> fields = {{"ID", ado::adInteger, 4},
                                    {"DO77_PROGRIGA", ado::adInteger, 4},
                                    {"DO30_PROGPADRE", ado::adInteger, 4},
                                    {"CODE", ado::adVarChar, 20}};
    std::vector<Row> rows;
    for (std::int32_t i = 1; i <= n; ++i)
        rows.push_back({Variant::Int32(i), Variant::Int32(i), Variant::Int32((i + 3) / 4),
                        Variant("K" + std::to_string(i % 10))});
    return MakeRecordset(std::move(fields), std::move(rows), nullptr, cursor);
}

TEST(Optimize, IsADynamicPropertyOfEveryFieldSharedByTheClones) {
    auto rs = MakeLines();
    EXPECT_FALSE(Optimize(*rs, "DO30_PROGRIGA").ToBool());
    EXPECT_EQ(Optimize(*rs, "do30_progriga").Type(), VarType::Boolean);
    auto before = rs->Clone();
    SetOptimize(*rs, "DO30_PROGRIGA", true);
    auto after = rs->Clone();
    // The index belongs to the rows: clones made before and after see it, and one clone
    // clearing it clears it for all.
    EXPECT_TRUE(Optimize(*before, "DO30_PROGRIGA").ToBool());
    EXPECT_TRUE(Optimize(*after, "DO30_PROGRIGA").ToBool());
    EXPECT_FALSE(Optimize(*after, "CODE").ToBool());
    SetOptimize(*after, "DO30_PROGRIGA", false);
    EXPECT_FALSE(Optimize(*rs, "DO30_PROGRIGA").ToBool());

    EXPECT_EQ(ErrorOf([&] { rs->FieldByName("ID")->Properties("BASECOLUMNNAME"); }), 3265);
    auto server = MakeRecordset(LineFields(), LineRows(), nullptr, {.offersOptimize = false});
    EXPECT_EQ(ErrorOf([&] { server->FieldByName("ID")->Properties("Optimize"); }), 3265);
    const auto field = rs->FieldByName("ID");
    const auto property = field->Properties("Optimize");
    rs->Close();
    EXPECT_EQ(ErrorOf([&] { property->Value(); }), 3704);
    EXPECT_EQ(ErrorOf([&] { field->Properties("Optimize"); }), 3704);
}

TEST(Optimize, FilterAndFindReadEveryRowUnlessTheFieldIsOptimised) {
    auto rs = ManyLines(1000);
    auto filterOn = [&](const std::string& criteria) {
        return RowsRead([&] { rs->SetFilter(Variant(criteria)); });
    };
    EXPECT_EQ(filterOn(" DO77_PROGRIGA = 500"), 1000u);
    // Find reads the rows of the view from its start to the first match.
    EXPECT_EQ(RowsRead([&] { rs->Find("DO77_PROGRIGA = 500", 0, 1, Variant::Int32(1)); }), 1u);
    rs->SetFilter(Variant::Int32(0));
    EXPECT_EQ(RowsRead([&] { rs->Find("DO77_PROGRIGA = 10", 0, 1, Variant::Int32(1)); }), 10u);
    EXPECT_EQ(RowsRead([&] { rs->Find("DO77_PROGRIGA = 0", 0, 1, Variant::Int32(1)); }), 1000u);

    // Building the index reads every row once; from then on a filter reads its bucket.
    EXPECT_EQ(RowsRead([&] { SetOptimize(*rs, "DO77_PROGRIGA", true); }), 1000u);
    EXPECT_EQ(filterOn(" DO77_PROGRIGA = 500"), 1u);
    EXPECT_EQ(CurrentId(*rs), 500);
    EXPECT_EQ(filterOn("DO77_PROGRIGA = 500 AND CODE = 'K0'"), 1u);
    EXPECT_EQ(rs->RecordCount(), 1);
    EXPECT_EQ(filterOn("DO77_PROGRIGA = 500 OR DO77_PROGRIGA = 7"), 2u);
    EXPECT_EQ(rs->RecordCount(), 2);
    // A branch of the OR without an indexed equality could match any row.
    EXPECT_EQ(filterOn("DO77_PROGRIGA = 500 OR CODE = 'K1'"), 1000u);
    EXPECT_EQ(filterOn("DO77_PROGRIGA > 990"), 1000u);
    EXPECT_EQ(filterOn("DO30_PROGPADRE = 3"), 1000u);
    rs->SetFilter(Variant::Int32(0));
    EXPECT_EQ(RowsRead([&] { rs->Find("DO77_PROGRIGA = 900"); }), 1u);
    EXPECT_EQ(CurrentId(*rs), 900);

    // A clone filters through the same index; clearing Optimize makes it scan again.
    auto clone = rs->Clone();
    EXPECT_EQ(RowsRead([&] { clone->SetFilter(Variant("DO77_PROGRIGA = 3")); }), 1u);
    SetOptimize(*clone, "DO77_PROGRIGA", false);
    EXPECT_EQ(RowsRead([&] { clone->SetFilter(Variant("DO77_PROGRIGA = 3")); }), 1000u);
    EXPECT_EQ(CurrentId(*clone), 3);
}

// Two recordsets over the same rows, one with every field optimised, take the same edits,
// additions, deletions and batch cancellations; after each, every filter and every Find
// must show the same rows in both. The index must follow each change of its column.
class SameRowsEitherWay : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const auto& f : LineFields()) SetOptimize(*indexed_, f.name, true);
    }

    template <class Change>
    void Both(Change&& change) {
        change(*scanned_);
        change(*indexed_);
    }

    void ExpectSameFilters(const std::string& when) {
        for (const char* criteria :
             {"DO30_PROGRIGA = 5", "DO30_PROGRIGA = '5'", "DO30_PROGRIGA = 7", "CODE = 'abc'",
              "CODE = 5", "CODE = 'Z'", "DO30_GUID = {cccc-3}", "DATA = #1/15/2024#", "FLAG = TRUE",
              "FLAG = 0 AND CODE = 'abd'", "DO30_PROGRIGA = 5 OR ID = 2", "NOTE = ''",
              "DO30_PROGPADRE = 9999 AND QTA < 1", "DO30_PROGRIGA = NULL"}) {
            Both([&](ado::Recordset& rs) { rs.SetFilter(Variant(criteria)); });
            EXPECT_EQ(VisibleIds(*indexed_), VisibleIds(*scanned_)) << when << ": " << criteria;
            ExpectSameFinds(when + ", filtered on " + criteria);
            Both([](ado::Recordset& rs) { rs.SetFilter(Variant::Int32(0)); });
        }
        ExpectSameFinds(when);
    }

    void ExpectSameFinds(const std::string& when) {
        for (const char* criteria : {"DO30_PROGRIGA = 5", "CODE = 'ABC'", "FLAG = 1", "ID = 6"}) {
            for (int direction : {ado::adSearchForward, ado::adSearchBackward}) {
                for (int skip : {0, 1}) {
                    std::vector<std::string> seen[2];
                    int which = 0;
                    for (auto* rs : {scanned_.get(), indexed_.get()}) {
                        if (rs->BOF() && rs->EOF_()) continue;
                        rs->MoveFirst();
                        const Variant start = direction > 0 ? Variant::Int32(ado::adBookmarkFirst)
                                                            : Variant::Int32(ado::adBookmarkLast);
                        rs->Find(criteria, 0, direction, start);
                        // Then step on from each row found, as a loop over Find does.
                        for (int steps = 0; steps < 8 && !rs->EOF_() && !rs->BOF(); ++steps) {
                            seen[which].push_back(rs->Get("ID").Describe());
                            rs->Find(criteria, skip == 0 ? 1 : 2, direction);
                        }
                        seen[which].push_back(rs->EOF_() ? "EOF" : "BOF");
                        ++which;
                    }
                    EXPECT_EQ(seen[0], seen[1])
                        << when << ": Find " << criteria << " direction " << direction;
                }
            }
        }
    }

    ado::RecordsetPtr scanned_ = MakeLines();
    ado::RecordsetPtr indexed_ = MakeLines();
};

TEST_F(SameRowsEitherWay, AfterEveryKindOfChange) {
    ExpectSameFilters("fresh");
    Both([](ado::Recordset& rs) {
        rs.MoveFirst();
        rs.Set("DO30_PROGRIGA", Variant::Int32(5));
        rs.Set("CODE", Variant("Z"));
        rs.Update();
        rs.MoveNext();
        rs.Set("CODE", Variant::Null());
        rs.Set("FLAG", Variant::Int16(-1));
        rs.Update();
    });
    ExpectSameFilters("after updates");
    Both([](ado::Recordset& rs) {
        rs.AddNew();
        rs.Set("ID", Variant::Int32(6));
        rs.Set("DO30_PROGRIGA", Variant(7.0));
        rs.Set("CODE", Variant("abc"));
        rs.Update();
    });
    ExpectSameFilters("after an addition");
    Both([](ado::Recordset& rs) {
        rs.SetBookmark(Variant(4.0));
        rs.Delete();
        rs.MoveFirst();
    });
    ExpectSameFilters("after a deletion");
    Both([](ado::Recordset& rs) { rs.CancelBatch(ado::adAffectAll); });
    ExpectSameFilters("after cancelling the batch");
}

// The same, on many rows with random changes: values move between buckets, rows come and
// go, and an index built on a changed table must match one kept up to date.
TEST(Optimize, RandomChangesKeepTheIndexInStepWithTheRows) {
    auto scanned = ManyLines(300);
    auto indexed = ManyLines(300);
    SetOptimize(*indexed, "DO30_PROGPADRE", true);
    std::mt19937 random(17);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    for (int round = 0; round < 200; ++round) {
        const int action = pick(10);
        const Variant group = pick(5) == 0 ? Variant::Null() : Variant::Int32(pick(80));
        scanned->SetFilter(Variant::Int32(0));
        const int row = pick(scanned->RecordCount());
        for (auto* rs : {scanned.get(), indexed.get()}) {
            rs->SetFilter(Variant::Int32(0));
            rs->MoveFirst();
            for (int i = 0; i < row; ++i) rs->MoveNext();
            if (action < 6) {
                rs->Set("DO30_PROGPADRE", group);
                rs->Update();
            } else if (action < 8) {
                rs->AddNew();
                rs->Set("ID", Variant::Int32(1000 + round));
                rs->Set("DO30_PROGPADRE", group);
                rs->Update();
            } else if (action == 8) {
                rs->Delete();
            } else {
                rs->CancelBatch(ado::adAffectAll);
            }
        }
        if (round == 100) {
            // Rebuilt from the rows as they are now.
            SetOptimize(*indexed, "DO30_PROGPADRE", false);
            SetOptimize(*indexed, "DO30_PROGPADRE", true);
        }
        const std::string criteria = "DO30_PROGPADRE = " + std::to_string(pick(80));
        scanned->SetFilter(Variant(criteria));
        indexed->SetFilter(Variant(criteria));
        ASSERT_EQ(VisibleIds(*indexed), VisibleIds(*scanned))
            << "round " << round << " " << criteria;
    }
}

}  // namespace
}  // namespace zq::sim::testing
