// The simulated host's document object on the demo database: loading, the current line,
// the role operations and the host's save with its progressive posting.
#include <gtest/gtest.h>

#include <regex>

#include "support/error_of.h"
#include "support/session.h"

namespace zq::sim {
namespace {

using test::ErrorOf;

double Num(const ado::RecordsetPtr& rs, std::string_view field) {
    return rs->Get(field).ToDouble();
}

std::int32_t Line(const ado::RecordsetPtr& rs) {
    return rs->Get("DO30_PROGRIGA").ToLong();
}

class DocumentTest : public ::testing::Test {
  protected:
    test::Session session;  // the demo database; the host below has no driver on it
    std::unique_ptr<SimHost> host = session.NewHost();
    SimRegDoc& doc = *host->doc;
};

TEST_F(DocumentTest, LoadsEverySectionAndFollowsTheFirstLine) {
    EXPECT_EQ(doc.rstDocTestata()->Get("DO11_NUMREG_CO99").ToLong(), demo::kOrdine);
    EXPECT_EQ(doc.rstDocCorpo()->RecordCount(), 9);
    EXPECT_EQ(Line(doc.rstDocCorpo()), 1);
    ASSERT_TRUE(doc.rstDocTestaOrd() && doc.rstDocTestaVert());
    EXPECT_EQ(doc.rstDocCorpoOrd()->Filter().ToString(), " DO31_PROGRIGA = 1");
    EXPECT_EQ(doc.rstDocCorpoVert()->Filter().ToString(), " DO77_PROGRIGA = 1");
    EXPECT_EQ(doc.rstDocCorpoOrd()->RecordCount(), 1);
    EXPECT_EQ(doc.objRigaCorpo()->GuidRiga(), HostDbBuilder::GuidRiga(demo::kOrdine, 1));
    EXPECT_EQ(doc.objRigaCorpo()->StatoRiga(), demo::kStatoRigheIniziale);
    EXPECT_EQ(doc.objRigaCorpo()->IdFlusso(), demo::kFlussoRighe);
    EXPECT_EQ(doc.rstDocCorpoLot()->RecordCount(), 2);
    EXPECT_EQ(doc.rstDocCorpoRif()->RecordCount(), 2);
    for (auto rs : {doc.rstDocCorpoProv(), doc.rstDocCorpoRaggr(), doc.rstDocCorpoScMag(),
                    doc.rstDocCorpoCoin(), doc.rstDocCorpoRatei()}) {
        ASSERT_TRUE(rs);
        EXPECT_EQ(rs->State(), ado::adStateOpen);
    }
    // The forms show the current rows.
    EXPECT_EQ(host->body->Control("TXT_DO30_QTA1")->Text(), "10");
    EXPECT_EQ(host->header->Control("TXT_DO11_NUMREG_CO99")->Text(), "1001");
}

TEST(DocumentLoad, AMissingDocumentIsAnError) {
    test::Session session({.numreg = 4711});
    EXPECT_EQ(ErrorOf([&] { session.Load(); }), err::AdoBofEof);
}

TEST_F(DocumentTest, GridMoveFiltersTheLineSectionsAndShowsTheLine) {
    doc.MoveToLine(6);
    EXPECT_EQ(Line(doc.rstDocCorpo()), 6);
    EXPECT_EQ(doc.rstDocCorpoOrd()->Filter().ToString(), " DO31_PROGRIGA = 6");
    EXPECT_EQ(doc.rstDocCorpoVert()->Filter().ToString(), " DO77_PROGRIGA = 6");
    EXPECT_EQ(doc.rstDocCorpoOrd()->Get("DO31_PROGRIGA").ToLong(), 6);
    EXPECT_EQ(doc.rstDocCorpoVert()->Get("DO77_PROGRIGA").ToLong(), 6);
    EXPECT_EQ(doc.objRigaCorpo()->GuidRiga(), HostDbBuilder::GuidRiga(demo::kOrdine, 6));
    EXPECT_EQ(host->body->Control("TXT_DO30_CODART_MG66")->Text(), "ART-F");
    EXPECT_EQ(ErrorOf([&] { doc.MoveToLine(99); }), err::AdoBofEof);
}

TEST_F(DocumentTest, TheBodySubFormMovesToABookmark) {
    auto clone = doc.rstDocCorpo()->Clone();
    clone->Find(" DO30_PROGRIGA = 3");
    Variant bookmark = clone->Bookmark();
    ObjectPtr corpo = GetObject(host->body, "FME_DocCorpo");
    CallMethod(corpo, "MoveBookmark", {bookmark, Variant::Bool(true), Variant::Bool(true)});
    EXPECT_EQ(Line(doc.rstDocCorpo()), 3);
    EXPECT_EQ(doc.rstDocCorpoVert()->Filter().ToString(), " DO77_PROGRIGA = 3");
    CallMethod(corpo, "MoveBookmark", {Variant(), Variant::Bool(true), Variant::Bool(true)});
    EXPECT_EQ(Line(doc.rstDocCorpo()), 3);  // no row found: the grid stays
    EXPECT_EQ(GetObject(corpo, "Recordset"), ObjectPtr(doc.rstDocCorpo()));
}

TEST_F(DocumentTest, TheBodySubFormDeletesTheCurrentLine) {
    doc.MoveToLine(9);
    CallMethod(GetObject(host->body, "FME_DocCorpo"), "DeleteRow",
               {Variant::Bool(true), Variant::Bool(true), Variant::Int16(0)});
    EXPECT_EQ(doc.rstDocCorpo()->RecordCount(), 8);
    EXPECT_EQ(Line(doc.rstDocCorpo()), 8);
    EXPECT_EQ(doc.objRigaCorpo()->GuidRiga(), HostDbBuilder::GuidRiga(demo::kOrdine, 8));
    doc.MoveToLine(3);
    CallMethod(GetObject(host->body, "FME_DocCorpo"), "DeleteRow",
               {Variant::Bool(true), Variant::Bool(true), Variant::Int16(0)});
    EXPECT_EQ(Line(doc.rstDocCorpo()), 4);
    doc.Save();
    EXPECT_EQ(session.NewHost()->doc->rstDocCorpo()->RecordCount(), 7);
    EXPECT_TRUE(ProgressivesConsistent(*session.conn));
}

TEST_F(DocumentTest, AppendedLineIsCurrentWithAFreshBracedGuid) {
    doc.AggiungiRigaCorpo(0, 10, 0, VTrue);
    const std::string guid = doc.rstDocCorpo()->Get("DO30_GUID").ToString();
    EXPECT_TRUE(
        std::regex_match(guid, std::regex(R"(\{[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}\})")))
        << guid;
    EXPECT_EQ(Line(doc.rstDocCorpo()), 10);
    EXPECT_EQ(doc.objRigaCorpo()->GuidRiga(), guid);
    EXPECT_TRUE(doc.rstDocCorpoOrd()->EOF_());  // the line has no DO31 row yet
    EXPECT_EQ(host->body->Control("TXT_DO30_PROGRIGA")->Text(), "10");
    EXPECT_EQ(host->body->Control("TXT_DO77_ZQ_QTA_ORIG")->Text(), "");
    doc.AggiungiRigaCorpoOrd(0);
    doc.AggiungiRigaCorpoVert(0);
    EXPECT_EQ(doc.rstDocCorpoOrd()->Get("DO31_PROGRIGA").ToLong(), 10);
    EXPECT_EQ(doc.rstDocCorpoOrd()->Get("DO31_FLGNONPIUEV").ToLong(), 0);
    EXPECT_EQ(doc.rstDocCorpoVert()->Get("DO77_NUMREG_CO99").ToLong(), demo::kOrdine);

    doc.AggiungiRigaCorpo(0, 11, 0, VFalse);
    EXPECT_NE(doc.rstDocCorpo()->Get("DO30_GUID").ToString(), guid);
    doc.MoveToLine(10);
    doc.ImpostaArticoloOpzione(Variant("ART-A"), Variant(""), VTrue, VTrue, VTrue);
    doc.ImpostaQuantita(3, VFalse, VFalse, 0);
    doc.Save();

    auto reloaded = session.NewHost();
    reloaded->doc->MoveToLine(10);
    EXPECT_EQ(reloaded->doc->rstDocCorpo()->Get("DO30_GUID").ToString(), guid);
    EXPECT_EQ(reloaded->doc->rstDocCorpoOrd()->RecordCount(), 1);
    EXPECT_EQ(reloaded->doc->rstDocCorpoVert()->RecordCount(), 1);
    EXPECT_EQ(reloaded->doc->rstDocCorpo()->RecordCount(), 11);
    EXPECT_TRUE(ProgressivesConsistent(*session.conn));
}

TEST_F(DocumentTest, QuantityOperationRecalculatesTheAmounts) {
    // Line 1: 10 at 5.00 with a 10 % discount.
    EXPECT_DOUBLE_EQ(Num(doc.rstDocCorpo(), "DO30_IMPNETSCP"), 45);
    doc.ImpostaQuantita(4, VTrue, VTrue, 0);
    EXPECT_DOUBLE_EQ(Num(doc.rstDocCorpo(), "DO30_QTA1"), 4);
    EXPECT_DOUBLE_EQ(Num(doc.rstDocCorpo(), "DO30_IMPORTO"), 20);
    EXPECT_DOUBLE_EQ(Num(doc.rstDocCorpo(), "DO30_IMPNETSCP"), 18);
    EXPECT_EQ(host->body->Control("TXT_DO30_QTA1")->Text(), "4");
    doc.MoveToLine(3);  // 4 at 50.00, no discount
    doc.ImpostaQuantita(2.5, VTrue, VFalse, 0);
    EXPECT_DOUBLE_EQ(Num(doc.rstDocCorpo(), "DO30_IMPNETSCP"), 125);
}

TEST_F(DocumentTest, SaveWritesBackAndPostsTheProgressiveDifference) {
    doc.MoveToLine(2);
    doc.rstDocCorpoOrd()->Set("DO31_FLGNONPIUEV", Variant::Int16(1));
    doc.rstDocCorpoOrd()->Update();
    doc.MoveToLine(1);
    doc.ImpostaQuantita(4, VTrue, VTrue, 0);
    doc.rstDocTestaVert()->Set("DO76_CODCAU_ZQ63", Variant("CLI"));
    CallMethod(host->header, "SalvaDocumento");  // without a driver: the host's own save
    EXPECT_TRUE(ProgressivesConsistent(*session.conn));
    EXPECT_EQ(doc.SaveCount(), 1);

    auto reloaded = session.NewHost();
    auto& d = *reloaded->doc;
    EXPECT_EQ(d.rstDocTestaVert()->Get("DO76_CODCAU_ZQ63").ToString(), "CLI");
    EXPECT_DOUBLE_EQ(Num(d.rstDocCorpo(), "DO30_QTA1"), 4);
    EXPECT_DOUBLE_EQ(Num(d.rstDocCorpo(), "DO30_IMPNETSCP"), 18);
    d.MoveToLine(2);
    EXPECT_EQ(d.rstDocCorpoOrd()->Get("DO31_FLGNONPIUEV").ToLong(), 1);
}

TEST_F(DocumentTest, WritingWithoutTheHostSaveLeavesTheProgressivesBehind) {
    // What the plug-in's own UpdateBatch does: invisible to the progressives.
    doc.ImpostaQuantita(4, VTrue, VTrue, 0);
    doc.rstDocCorpo()->UpdateBatch(ado::adAffectAllChapters);
    EXPECT_FALSE(ProgressivesConsistent(*session.conn));
}

TEST_F(DocumentTest, ClosingTheRefreshBracketRebindsTheGridToTheCurrentRow) {
    doc.InizioAggiornaGriglia(VTrue, 0, 0, VTrue, VTrue);
    doc.InizioAggiornaGriglia(VTrue, 0, 0, VTrue, VTrue);
    doc.rstDocCorpoOrd()->SetFilter(Variant::Int32(ado::adFilterNone));
    doc.rstDocCorpo()->Find(" DO30_PROGRIGA = 4");
    doc.FineAggiornaGriglia(VTrue, 0, 0, VTrue, VTrue);
    EXPECT_EQ(doc.rstDocCorpoOrd()->RecordCount(), 9);  // still open: nothing redrawn
    doc.FineAggiornaGriglia(VTrue, 0, 0, VTrue, VTrue);
    EXPECT_EQ(doc.rstDocCorpoOrd()->Filter().ToString(), " DO31_PROGRIGA = 4");
    EXPECT_EQ(doc.objRigaCorpo()->GuidRiga(), HostDbBuilder::GuidRiga(demo::kOrdine, 4));
    EXPECT_EQ(host->body->Control("TXT_DO30_CODART_MG66")->Text(), "ART-D");
}

TEST_F(DocumentTest, TakeOversCommitTheEditOfTheirSection) {
    doc.rstDocCorpoVert()->Set("DO77_CODCAU_ZQ63", Variant("FOR"));
    EXPECT_NE(doc.rstDocCorpoVert()->EditMode(), ado::adEditNone);
    doc.AcquisisciCorpoVert();
    EXPECT_EQ(doc.rstDocCorpoVert()->EditMode(), ado::adEditNone);
    doc.rstDocTestaOrd()->Set("DO18_FLGNONPIUEV", Variant::Int16(1));
    doc.AggiornaTestata();
    EXPECT_EQ(doc.rstDocTestaOrd()->EditMode(), ado::adEditNone);
}

}  // namespace
}  // namespace zq::sim
