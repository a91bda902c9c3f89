// The user's roads played by the simulated host through the registered library's vtables:
// the same driver, documents and database as on Linux, the plug-in on the far side of
// the COM boundary.
#include <gtest/gtest.h>

#include <set>

#include "com_plugin.h"
#include "com_test_support.h"
#include "sim/db/fixture.h"
#include "tools/check.h"
#include "tools/session.h"

namespace zq::comtest {
namespace {

using sim::demo::kStatoRigheAnnullato;
using sim::demo::kStatoTestaAnnullato;

Variant Cell(tool::Session& s, const std::string& sql) {
    auto r = s.Db().QueryRows(sql);
    return r.rows.empty() ? Variant() : r.rows[0][0];
}

std::set<std::string> RulesFound(tool::Session& s) {
    std::set<std::string> rules;
    for (const auto& f : tool::CheckDatabase(s.Db(), sim::demo::kOrdine)) rules.insert(f.rule);
    return rules;
}

const ComPlugin& Plugin(tool::Session& s) {
    return dynamic_cast<const ComPlugin&>(*s.Driver().Plugin().object);
}

TEST(Roads, PartialLineThenWholeOrderCancellationAcrossTheBoundary) {
    {
        tool::Session s{tool::SessionSetup{}};
        auto& d = s.Driver();
        ASSERT_TRUE(d.Initialize());  // the [out, retval] Boolean arrived
        d.OpenForm(1);
        d.OpenForm(2);
        ASSERT_NE(dynamic_cast<const ComPlugin*>(d.Plugin().object.get()), nullptr);

        // Cancel 3 of line 1's 10 pieces: line 1 keeps 7, line 10 carries the 3.
        d.MoveToLine(1);
        d.EditLineField("DO77_ZQ_QTA_ANNULLO", "3");
        d.SetLineState(kStatoRigheAnnullato);
        ASSERT_TRUE(d.Save());
        EXPECT_EQ(Cell(s, "SELECT DO30_QTA1 FROM DO30_DOCCORPO WHERE DO30_PROGRIGA = 1").ToDouble(),
                  7);
        EXPECT_EQ(
            Cell(s, "SELECT DO30_QTA1 FROM DO30_DOCCORPO WHERE DO30_PROGRIGA = 10").ToDouble(), 3);
        EXPECT_EQ(Cell(s, "SELECT DO31_FLGNONPIUEV FROM DO31_DOCCORPOORD WHERE DO31_PROGRIGA = 10")
                      .ToLong(),
                  1);
        EXPECT_EQ(Cell(s,
                       "SELECT COUNT(*) FROM DO77_DOCCORPOVERT WHERE DO77_PROGRIGA IN (1, 10) "
                       "AND DO77_ZQGUID_MASTER_DO30 IS NOT NULL")
                      .ToLong(),
                  2);

        // Back on the header form, cancel the whole order: the plug-in fills the reason,
        // flags the header and asks the form to save, which validates through ControllaDati.
        d.OpenForm(1);
        d.SetHeaderState(kStatoTestaAnnullato);
        // The split saved, the user saved, the whole-order cancellation saved.
        EXPECT_EQ(d.SaveCount(), 3);
        // Every call the roads made through the host's objects (the fields' dynamic
        // properties among them) answered: none was put back with the failure message.
        for (const sim::ShownMessage& m : s.Host().messaggi->Shown())
            EXPECT_NE(m.stile, 48) << m.testo;
        const sim::RaisedEvent* check = d.Last("ControllaDati");
        ASSERT_NE(check, nullptr);
        EXPECT_TRUE(check->result.Succeeded());
        ASSERT_EQ(check->results.size(), 1u);
        EXPECT_EQ(check->results[0].ToLong(), 0);  // not refused
        EXPECT_EQ(Cell(s, "SELECT DO18_FLGNONPIUEV FROM DO18_DOCTESORD").ToLong(), 1);
        EXPECT_EQ(Cell(s, "SELECT DO76_CODCAU_ZQ63 FROM DO76_DOCTESTAVERT").ToString(), "CLI");

        // A refused save answers through the by-reference Cancel: the reason emptied.
        d.TypeAndLeave(1, "TXT_DO76_CODCAU_ZQ63", "");
        EXPECT_FALSE(d.Save());
        EXPECT_EQ(d.Last("ControllaDati")->results[0].ToLong(), -1);

        std::int16_t index = 0;
        EXPECT_TRUE(const_cast<ComPlugin&>(Plugin(s)).IndPlugInStd(index).Succeeded());
        EXPECT_EQ(index, 1);

        d.Terminate();
        d.Release();
        // Flags, links, quantities and progressives are consistent.
        EXPECT_EQ(RulesFound(s), std::set<std::string>{});
    }
    EXPECT_EQ(LibraryCanUnloadNow(), S_OK);
}

TEST(Roads, HandlersThatDoNothingLeaveByReferenceArgumentsUntouched) {
    tool::Session s{tool::SessionSetup{}};
    ASSERT_TRUE(s.Driver().Initialize());
    auto& p = const_cast<ComPlugin&>(Plugin(s));
    VBool cancel = VTrue;
    EXPECT_TRUE(p.UIBeforeUpdateDocument(cancel).Succeeded());
    EXPECT_EQ(cancel, VTrue);
    Variant documento = Variant::Int32(7);
    std::string sezione = "DO77";
    VBool result = VTrue;
    EXPECT_TRUE(p.GetGestDocCorpoVert(documento, sezione, result).Succeeded());
    EXPECT_EQ(result, VFalse);  // the plug-in manages no vertical section
    EXPECT_TRUE(documento.SameAs(Variant::Int32(7)));
    EXPECT_EQ(sezione, "DO77");
    s.Driver().Terminate();
}

TEST(Roads, AMemberTheHostLacksIs438InsideAndAFailedHresultOutside) {
    tool::Session s{tool::SessionSetup{}};
    auto& d = s.Driver();
    ASSERT_TRUE(d.Initialize());
    d.OpenForm(2);
    // A body form without the document window: the row change, which traps nothing,
    // meets 438 when it reads the grid mode, and the host gets the failure as an HRESULT
    // with its error object.
    s.Host().body->RemoveMember("FrmDocumenti");
    SetErrorInfo(0, nullptr);
    const HRESULT hr = Plugin(s).Vert2()->GRIDRowChange();
    EXPECT_EQ(hr, MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 438));
    com::ComPtr<IErrorInfo> info;
    ASSERT_EQ(GetErrorInfo(0, info.Put()), S_OK);
    com::Bstr description, source;
    info->GetDescription(description.Put());
    info->GetSource(source.Put());
    EXPECT_EQ(com::Narrow(description.Get()), "Object doesn't support this property or method");
    EXPECT_EQ(com::Narrow(source.Get()), "FrmDocumenti");
    GUID iid;
    info->GetGUID(&iid);
    EXPECT_TRUE(IsEqualIID(iid, IID_ICLSMG_REGDOCVERT2));
    d.Terminate();
}

TEST(Roads, AHostObjectThatRaisesGivesThePluginsDefinedBehaviour) {
    // The parameter table is gone: the host's connection raises the provider's error on
    // the parameter query; the plug-in reads no cancelled state, still initialises, and
    // warns when the header form opens.
    tool::SessionSetup setup;
    setup.scripts = {"DROP TABLE ZQ00_PARAMETRI"};
    tool::Session s{setup};
    auto& d = s.Driver();
    EXPECT_TRUE(d.Initialize());
    d.OpenForm(1);
    const auto& shown = s.Host().messaggi->Shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].testo.find("[ZQ00_IDSTATO_ANNULLO_TESTA_CO4C]"), std::string::npos);
    EXPECT_EQ(shown[0].titolo, "Stato documento");
    d.Terminate();
}

}  // namespace
}  // namespace zq::comtest
