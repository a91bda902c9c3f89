// The links between master and cancellation lines, and the look-ups of a line by GUID or
// line number.
#include <gtest/gtest.h>

#include "support/session.h"
#include "support/test_access.h"

namespace zq::test {
namespace {

using A = ClsrfTestAccess;

void TwoMastersWithTheirCancellationLines(sim::HostDbBuilder& b) {
    b.Riga(1, "ART-1", 10, 1)
        .Riga(2, "ART-1", 4, 1)
        .Padre(7)
        .Riga(3, "ART-3", 5, 1)
        .Riga(4, "ART-3", 1, 1)
        .Padre(7)
        .Riga(5, "ART-5", 2, 1);
}

TEST(LinkCollection, RebuiltFromTheLineExtensionsEachTimeTheBodyFormOpens) {
    Session s({.lines = TwoMastersWithTheirCancellationLines});
    // A master names itself on both sides; a row with only a master is no link.
    for (auto [riga, master, detail] : {std::tuple{1, 1, 1}, {2, 1, 2}, {3, 3, 3}, {4, 3, 4}}) {
        s.WriteLine(riga, "DO77_ZQGUID_MASTER_DO30", Variant(Bare(master)));
        s.WriteLine(riga, "DO77_ZQGUID_DETAIL_DO30", Variant(Bare(detail)));
    }
    s.WriteLine(5, "DO77_ZQGUID_MASTER_DO30", Variant(Bare(1)));
    ASSERT_TRUE(s.Initialize());
    auto& p = s.Plugin();
    A::AddLinkAnnullo(p, Guid(9), Guid(8), Variant::Int32(1));
    A::ProgPadreAnnulli(p) = 7;

    s.driver->OpenForm(2);
    auto links = A::Links(p);
    ASSERT_EQ(links.size(), 2u);
    // The DO77 columns hold the bare GUID; the links hold the braced DO30_GUID that every
    // look-up is asked with.
    EXPECT_EQ(links[0].Key, Guid(2));
    EXPECT_EQ(links[0].DO77_ZQGUID_DETAIL_DO30, Guid(2));
    EXPECT_EQ(links[0].DO77_ZQGUID_MASTER_DO30, Guid(1));
    EXPECT_TRUE(VarEq(links[0].DO30_PROGPADRE, Variant::Int32(7)));
    EXPECT_EQ(links[1].Key, Guid(4));
    EXPECT_EQ(links[1].DO77_ZQGUID_MASTER_DO30, Guid(3));
    EXPECT_EQ(A::ProgPadreAnnulli(p), 0);

    Variant master, detail;
    EXPECT_TRUE(IsTrue(A::FindMasterGuid(p, Guid(4), master)));
    EXPECT_EQ(master.ToString(), Guid(3));
    EXPECT_TRUE(IsTrue(A::FindDetailGuid(p, Guid(1), detail)));
    EXPECT_EQ(detail.ToString(), Guid(2));
    EXPECT_FALSE(IsTrue(A::FindMasterGuid(p, Bare(4), master)));
    EXPECT_TRUE(master.SameAs(Variant::Int16(0)));

    // Line 4 is no longer tied to its master in the host's copy: the next opening sees it.
    const auto vert = s.host->doc->rstDocCorpoVert()->Clone();
    vert->SetFilter(Variant("DO77_PROGRIGA = 4"));
    vert->Set("DO77_ZQGUID_DETAIL_DO30", Variant::Null());
    vert->Update();
    s.driver->OpenForm(2);
    links = A::Links(p);
    ASSERT_EQ(links.size(), 1u);
    EXPECT_EQ(links[0].Key, Guid(2));
}

TEST(LinkCollection, FirstMatchWinsAndOnlyTheFirstIsRemoved) {
    plugin::CLSRF_REGDOC_STATI p;
    Variant out("as passed");
    EXPECT_FALSE(IsTrue(A::FindDetailGuid(p, "{M}", out)));
    EXPECT_TRUE(out.SameAs(Variant("as passed")));
    EXPECT_FALSE(IsTrue(A::FindMasterGuid(p, "{D1}", out)));
    EXPECT_TRUE(out.SameAs(Variant::Int16(0)));

    A::AddLinkAnnullo(p, "{D1}", "{M}", Variant::Int32(3));
    A::AddLinkAnnullo(p, "{D2}", "{M}", Variant::Int32(3));
    A::AddLinkAnnullo(p, "{D1}", "{M2}", Variant::Null());
    EXPECT_TRUE(IsTrue(A::FindDetailGuid(p, "{M}", out)));
    EXPECT_EQ(out.ToString(), "{D1}");
    EXPECT_FALSE(IsTrue(A::FindDetailGuid(p, "{m}", out)));  // case counts
    EXPECT_TRUE(IsTrue(A::FindMasterGuid(p, "{D1}", out)));
    EXPECT_EQ(out.ToString(), "{M}");

    A::RemoveLinkAnnullo(p, "{D1}");
    EXPECT_TRUE(IsTrue(A::FindDetailGuid(p, "{M}", out)));
    EXPECT_EQ(out.ToString(), "{D2}");
    EXPECT_TRUE(IsTrue(A::FindMasterGuid(p, "{D1}", out)));
    EXPECT_EQ(out.ToString(), "{M2}");
    A::RemoveLinkAnnullo(p, "{nobody}");
    EXPECT_EQ(A::Links(p).size(), 2u);
}

std::int32_t RigaDi(const ado::RecordsetPtr& rs) {
    return rs->Get("DO30_PROGRIGA").ToLong();
}

TEST(LineLookup, AnswersFromTheMatchingRowAndLeavesTheCursorWhereItWas) {
    Session s({.lines = [](sim::HostDbBuilder& b) {
        for (std::int32_t n = 1; n <= 6; ++n) {
            b.Riga(n, "ART-" + std::to_string(n), n, 1);
            if (n % 2 == 0) b.Padre(1);
        }
    }});
    ASSERT_TRUE(s.Initialize());
    s.driver->OpenForm(2);
    s.driver->MoveToLine(5);
    auto& p = s.Plugin();
    const auto corpo = s.host->doc->rstDocCorpo();
    s.host->log->Clear();

    EXPECT_EQ(A::GetProgRigaByGuid(p, corpo, Guid(3)).ToLong(), 3);
    EXPECT_EQ(A::GetCampoByProgRiga(p, corpo, 2, "DO30_CODART_MG66").ToString(), "ART-2");
    EXPECT_EQ(s.host->log->Count("FME_DocCorpo.Lock"), 0u);
    const Variant bookmark = A::GetBookmarkByGuid(p, corpo, Guid(4), VTrue);
    EXPECT_EQ(s.host->log->Members(),
              (std::vector<std::string>{"FME_DocCorpo.Lock", "FME_DocCorpo.Unlock"}));
    EXPECT_EQ(s.host->window->docCorpo->LockCount(), 0);
    EXPECT_EQ(RigaDi(corpo), 5);

    // Nothing found is the 16-bit 0: another GUID form, a line or a field that is not there.
    for (const Variant& v :
         {A::GetProgRigaByGuid(p, corpo, Bare(3)), A::GetCampoByProgRiga(p, corpo, 99, "DO30_QTA1"),
          A::GetCampoByProgRiga(p, corpo, 2, "DO30_NESSUNO"),
          A::GetProgRigaByGuid(p, nullptr, Guid(1))})
        EXPECT_TRUE(v.SameAs(Variant::Int16(0))) << v.Describe();
    EXPECT_EQ(RigaDi(corpo), 5);
    corpo->SetBookmark(bookmark);
    EXPECT_EQ(RigaDi(corpo), 4);

    // On a filtered recordset the scan sees the filtered rows only, and keeps the filter.
    const auto gruppo = corpo->Clone();
    gruppo->SetFilter(Variant(" DO30_PROGPADRE = 1"));
    gruppo->MoveNext();
    EXPECT_EQ(A::GetProgRigaByGuid(p, gruppo, Guid(6), VTrue).ToLong(), 6);
    EXPECT_TRUE(A::GetProgRigaByGuid(p, gruppo, Guid(3)).SameAs(Variant::Int16(0)));
    EXPECT_EQ(RigaDi(gruppo), 4);
    EXPECT_EQ(gruppo->Filter().ToString(), " DO30_PROGPADRE = 1");
    EXPECT_EQ(gruppo->RecordCount(), 3);
}

}  // namespace
}  // namespace zq::test
