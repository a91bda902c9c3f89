// The engine keeps its rows as compact cells (host/cell_store.h): every kind of value a
// field can hold comes back as it went in, texts of every length included, through edits,
// the batch and the filters.
#include <gtest/gtest.h>

#include <string>

#include "rs_fixture.h"

namespace zq::sim {
namespace {

// A text of `n` characters that differs from its neighbours in every position class.
std::string TextOf(std::size_t n, int seed) {
    std::string s;
    for (std::size_t i = 0; i < n; ++i) s += static_cast<char>('A' + (seed * 7 + i) % 26);
    return s;
}

// A distinct GUID-like text of 38 characters for each number.
std::string Guid(int i) {
    const std::string digits = std::to_string(i);
    return "{" + std::string(8 - digits.size(), '0') + digits + "-" + TextOf(27, i) + "}";
}

std::vector<Variant> EveryKind() {
    auto object = MakeClosedRecordset();
    return {Variant::Null(),
            Variant::Int16(-32768),
            Variant::Int32(2147483647),
            Variant(-0.125),
            Variant(1e300),
            Variant::Date(45306.75),
            Variant::Bool(true),
            Variant::Bool(false),
            Variant(""),
            Variant("12345678"),              // fills a cell
            Variant("123456789"),             // one past it
            Variant(std::string("a\0b", 3)),  // a NUL inside
            Variant(TextOf(300, 1)),
            Variant(TextOf(70000, 2)),  // larger than a chunk of texts
            Variant(std::static_pointer_cast<Object>(object))};
}

ado::RecordsetPtr OneFieldPerKind(std::size_t kinds, std::shared_ptr<BatchWriter> writer = {}) {
    std::vector<FieldDef> fields{{"ID", ado::adInteger, 4}};
    for (std::size_t i = 0; i < kinds; ++i) fields.push_back({"V" + std::to_string(i)});
    Row row(kinds + 1, Variant::Null());
    row[0] = Variant::Int32(1);
    return MakeRecordset(std::move(fields), {row}, std::move(writer));
}

TEST(Cells, EveryKindComesBackAsWrittenThroughFieldsAndByName) {
    const auto values = EveryKind();
    auto rs = OneFieldPerKind(values.size());
    for (std::size_t i = 0; i < values.size(); ++i)
        rs->FieldAt(static_cast<std::int32_t>(i + 1))->SetValue(values[i]);
    rs->Update();
    rs->MoveFirst();
    for (std::size_t i = 0; i < values.size(); ++i) {
        const Variant byField = rs->FieldAt(static_cast<std::int32_t>(i + 1))->Value();
        const Variant byName = rs->Get("V" + std::to_string(i));
        EXPECT_TRUE(byField.SameAs(values[i])) << i << ": " << byField.Describe();
        EXPECT_TRUE(byName.SameAs(values[i])) << i;
        EXPECT_EQ(byField.Type(), values[i].Type()) << i;
    }
}

TEST(Cells, OriginalValuesSurviveEditsAndComeBackOnCancelBatch) {
    const auto values = EveryKind();
    auto writer = std::make_shared<RecordingWriter>();
    auto rs = OneFieldPerKind(values.size(), writer);
    for (std::size_t i = 0; i < values.size(); ++i)
        rs->FieldAt(static_cast<std::int32_t>(i + 1))->SetValue(values[i]);
    rs->Update();
    rs->UpdateBatch(ado::adAffectAll);  // the values above are now the fetched ones
    // Every field changed twice over, long texts into short ones and back.
    for (std::size_t i = 0; i < values.size(); ++i) {
        const auto f = rs->FieldAt(static_cast<std::int32_t>(i + 1));
        f->SetValue(Variant(TextOf(40, static_cast<int>(i))));
        f->SetValue(Variant("x"));
    }
    rs->Update();
    for (std::size_t i = 0; i < values.size(); ++i) {
        const auto f = rs->FieldAt(static_cast<std::int32_t>(i + 1));
        EXPECT_TRUE(f->OriginalValue().SameAs(values[i])) << i;
        EXPECT_EQ(f->Value().ToString(), "x") << i;
    }
    rs->CancelBatch(ado::adAffectAll);
    rs->MoveFirst();
    for (std::size_t i = 0; i < values.size(); ++i)
        EXPECT_TRUE(rs->FieldAt(static_cast<std::int32_t>(i + 1))->Value().SameAs(values[i])) << i;
    EXPECT_EQ(rs->Status(), ado::adRecUnmodified);
}

// The writer receives the row as fetched and as changed, long texts included.
TEST(Cells, TheBatchHandsOverOriginalAndCurrentTexts) {
    auto writer = std::make_shared<RecordingWriter>();
    auto rs = MakeLines(writer);
    rs->SetBookmark(Variant(2.0));
    const std::string longNote = TextOf(500, 3);
    rs->Set("NOTE", Variant(longNote));
    rs->Update();
    rs->UpdateBatch(ado::adAffectAll);
    rs->SetBookmark(Variant(2.0));
    rs->Set("NOTE", Variant("short"));
    rs->Update();
    rs->UpdateBatch(ado::adAffectAll);
    ASSERT_EQ(writer->log.size(), 2u);
    EXPECT_EQ(writer->log[0], "U 2 NOTE Null->\"" + longNote + "\"");
    EXPECT_EQ(writer->log[1], "U 2 NOTE \"" + longNote + "\"->\"short\"");
}

// Thousands of distinct long texts span many chunks; each is still found by a filter, with
// the field's index and without it, and a changed one is found by its new text only.
TEST(Cells, LongTextsAcrossChunksAreFoundByFiltersScanningAndIndexed) {
    const int n = 5000;
    std::vector<Row> rows;
    for (int i = 0; i < n; ++i) rows.push_back({Variant::Int32(i + 1), Variant(Guid(i))});
    auto rs = MakeRecordset({{"ID", ado::adInteger, 4}, {"DO30_GUID", ado::adVarChar, 38}},
                            std::move(rows));
    for (const bool indexed : {false, true}) {
        rs->FieldByName("DO30_GUID")->Properties("Optimize")->SetValue(Variant::Bool(indexed));
        for (int i : {0, 1777, n - 1}) {
            rs->SetFilter(Variant("DO30_GUID = '" + Guid(i) + "'"));
            ASSERT_EQ(rs->RecordCount(), 1) << i << (indexed ? " indexed" : " scanning");
            EXPECT_EQ(CurrentId(*rs), i + 1);
        }
    }
    rs->SetFilter(Variant::Int32(ado::adFilterNone));
    rs->SetBookmark(Variant(100.0));
    rs->Set("DO30_GUID", Variant("{changed}"));
    rs->Update();
    rs->SetFilter(Variant("DO30_GUID = '" + Guid(99) + "'"));
    EXPECT_EQ(rs->RecordCount(), 0);
    rs->SetFilter(Variant("DO30_GUID = '{CHANGED}'"));
    ASSERT_EQ(rs->RecordCount(), 1);
    EXPECT_EQ(CurrentId(*rs), 100);
}

// LIKE reads numbers, dates and Booleans as their text, as before the cells.
TEST(Cells, LikeReadsNonTextsByTheirText) {
    auto rs = MakeLines();
    rs->SetFilter(Variant("QTA LIKE '2.*'"));
    EXPECT_EQ(VisibleIds(*rs), (std::vector<int>{2}));
    rs->SetFilter(Variant("DO30_PROGPADRE LIKE '*99*'"));
    EXPECT_EQ(VisibleIds(*rs), (std::vector<int>{2, 3}));
}

}  // namespace
}  // namespace zq::sim
