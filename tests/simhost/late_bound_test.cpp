// The host's forms, sub-forms and controls as the plug-in reaches them: by member name.
#include <gtest/gtest.h>

#include "host/error_of.h"
#include "host/object.h"
#include "sim/host/default_forms.h"
#include "sim/host/sim_form.h"

namespace zq::sim {
namespace {

using testing::ErrorOf;

struct Window {
    CallLogPtr log = std::make_shared<CallLog>();
    std::shared_ptr<DocumentWindow> window = std::make_shared<DocumentWindow>();
    SimFormPtr body;
    int saves = 0;

    Window() {
        using K = SimSubForm::Kind;
        window->docTestata =
            std::make_shared<SimSubForm>("FME_DocTestata", K::Testata, log, nullptr);
        window->docCorpo = std::make_shared<SimSubForm>("FME_DocCorpo", K::Corpo, log, nullptr);
        window->docCorpoOrd =
            std::make_shared<SimSubForm>("FME_DocCorpoOrd", K::CorpoOrd, log, nullptr);
        window->docCorpoVert =
            std::make_shared<SimSubForm>("FME_DocCorpoVert", K::CorpoVert, log, nullptr);
        window->frmDocumenti = std::make_shared<SimFrmDocumenti>();
        window->grid = std::make_shared<SimGrid>(log);
        window->salvaDocumento = [this] { ++saves; };
        body = std::make_shared<SimForm>("frmCorpo", DefaultBodyControls(), window, log);
    }
    ObjectPtr Form() const { return body; }
};

// The DBField of every control, walking Controls as the plug-in does; "" when it has none.
std::vector<std::string> WalkDBFields(const ObjectPtr& form) {
    std::vector<std::string> out;
    ObjectPtr controls = GetObject(form, "Controls");
    const std::int32_t n = GetProp(controls, "Count").ToLong();
    for (std::int32_t i = 0; i < n; ++i) {
        ObjectPtr c = CallMethod(controls, "Item", {Variant::Int32(i)}).ToObject();
        try {
            out.push_back(GetProp(c, "DBField").ToString());
        } catch (const HostError&) {
            out.push_back("");
        }
    }
    return out;
}

TEST(SimControlTest, TextKeepsTheTextFormOfWhatIsWritten) {
    ObjectPtr o =
        std::make_shared<SimControl>(Bound("TXT_DO77_ZQ_QTA_ANNULLO", "DO77_ZQ_QTA_ANNULLO"));
    SetProp(o, "Text", Variant(2.5));
    EXPECT_EQ(GetProp(o, "text").ToString(), "2.5");
    SetProp(o, "Text", Variant::Null());
    EXPECT_EQ(GetProp(o, "Text").ToString(), "");
    EXPECT_FALSE(GetProp(o, "IsChanged").ToBool());
    SetProp(o, "IsChanged", Variant::Bool(true));
    SetProp(o, "Enabled", Variant::Bool(false));
    SetProp(o, "IsValid", Variant::Bool(false));
    SetProp(o, "IDLookup", Variant::Int32(7));
    auto& sc = static_cast<SimControl&>(*o);
    EXPECT_TRUE(sc.IsChanged());
    EXPECT_FALSE(sc.Enabled());
    EXPECT_FALSE(sc.IsValid());
    EXPECT_EQ(sc.IDLookup().ToLong(), 7);
}

TEST(SimControlTest, MissingMembersRaise438AndMethodsCannotBeAssigned) {
    ObjectPtr unbound = std::make_shared<SimControl>(Bound("TXT_DO77_ZQ_QTA_ANNPROGPADRE"));
    EXPECT_EQ(ErrorOf([&] { GetProp(unbound, "DBField"); }), err::MemberNotFound);
    EXPECT_EQ(ErrorOf([&] { GetProp(unbound, "BoStati"); }), err::MemberNotFound);
    EXPECT_EQ(ErrorOf([&] { SetProp(unbound, "Refresh", Variant::Int32(1)); }),
              kInvalidPropertyAssignment);
    EXPECT_EQ(ErrorOf([&] { SetProp(unbound, "Name", Variant("X")); }), kInvalidPropertyAssignment);
    CallMethod(unbound, "Refresh");
    EXPECT_EQ(static_cast<SimControl&>(*unbound).RefreshCount(), 1);
}

TEST(SimFormTest, ControlsWalkInFormOrderAndByName) {
    Window w;
    auto fields = WalkDBFields(w.Form());
    ASSERT_EQ(fields.size(), DefaultBodyControls().size());
    EXPECT_EQ(fields.front(), "DO30_PROGRIGA");
    EXPECT_EQ(fields.back(), "DO31_FLGNONPIUEV");
    EXPECT_NE(std::find(fields.begin(), fields.end(), ""), fields.end());  // the sibling total
    ObjectPtr flag = GetObject(w.Form(), "TXT_DO31_FLGNONPIUEV");
    ASSERT_TRUE(flag);
    EXPECT_EQ(GetProp(flag, "DBField").ToString(), "DO31_FLGNONPIUEV");
    ObjectPtr controls = GetObject(w.Form(), "Controls");
    EXPECT_EQ(ErrorOf([&] { CallMethod(controls, "Item", {Variant::Int32(99)}); }),
              err::SubscriptOutOfRange);
}

TEST(SimFormTest, RemovedOrRenamedControlsAreGoneFromBothRoads) {
    Window w;
    const auto before = WalkDBFields(w.Form()).size();
    w.body->RemoveControl("TXT_DO31_FLGNONPIUEV");
    EXPECT_EQ(ErrorOf([&] { GetProp(w.Form(), "TXT_DO31_FLGNONPIUEV"); }), err::MemberNotFound);
    EXPECT_EQ(WalkDBFields(w.Form()).size(), before - 1);

    w.body->RenameControl("TXT_DO77_CODCAU_ZQ63", "TXT_CAUSALE");
    EXPECT_EQ(ErrorOf([&] { GetProp(w.Form(), "TXT_DO77_CODCAU_ZQ63"); }), err::MemberNotFound);
    EXPECT_EQ(GetProp(GetObject(w.Form(), "TXT_CAUSALE"), "DBField").ToString(),
              "DO77_CODCAU_ZQ63");
}

TEST(SimFormTest, ActiveControlIsNothingUntilAControlHasTheFocus) {
    Window w;
    EXPECT_FALSE(GetObject(w.Form(), "ActiveControl"));
    w.body->SetActiveControl("TXT_DO30_QTA1");
    EXPECT_EQ(GetProp(GetObject(w.Form(), "ActiveControl"), "Name").ToString(), "TXT_DO30_QTA1");
    w.body->RemoveControl("TXT_DO30_QTA1");
    EXPECT_FALSE(GetObject(w.Form(), "ActiveControl"));
}

TEST(SimFormTest, WindowPartsAndSaveAreSharedMembers) {
    Window w;
    w.window->frmDocumenti->gridMode = 2;
    EXPECT_EQ(GetProp(GetObject(w.Form(), "FrmDocumenti"), "Gint_ModalitaGriglia").ToLong(), 2);
    CallMethod(w.Form(), "SalvaDocumento");
    EXPECT_EQ(w.saves, 1);
    ObjectPtr grid = GetObject(w.Form(), "GRD_CORPO");
    CallMethod(grid, "BeginDataSourceSuspend");
    CallMethod(grid, "RefreshSummaryFooters");
    CallMethod(grid, "EndDataSourceSuspend");
    EXPECT_EQ(w.log->Members(),
              (std::vector<std::string>{
                  "frmCorpo.SalvaDocumento", "GRD_CORPO.BeginDataSourceSuspend",
                  "GRD_CORPO.RefreshSummaryFooters", "GRD_CORPO.EndDataSourceSuspend"}));
    w.window->frmDocumenti = nullptr;
    EXPECT_FALSE(GetObject(w.Form(), "FrmDocumenti"));
}

TEST(SimSubFormTest, OnlyTheBodySubFormMovesLocksAndDeletes) {
    Window w;
    ObjectPtr corpo = GetObject(w.Form(), "FME_DocCorpo");
    ObjectPtr ord = GetObject(w.Form(), "FME_DocCorpoOrd");
    ObjectPtr testata = GetObject(w.Form(), "FME_DocTestata");
    Variant moved;
    w.window->docCorpo->onMoveBookmark = [&](const Variant& b) { moved = b; };
    CallMethod(corpo, "MoveBookmark", {Variant(3.0), Variant::Bool(true), Variant::Bool(true)});
    EXPECT_EQ(moved.ToLong(), 3);
    EXPECT_EQ(ErrorOf([&] { CallMethod(ord, "MoveBookmark", {Variant(3.0)}); }),
              err::MemberNotFound);
    EXPECT_EQ(ErrorOf([&] { GetProp(ord, "EditMode"); }), err::MemberNotFound);
    EXPECT_EQ(ErrorOf([&] { CallMethod(corpo, "MoveBookmark"); }), kInvalidPropertyAssignment);

    CallMethod(corpo, "Lock");
    EXPECT_EQ(GetProp(corpo, "LockCount").ToLong(), 1);
    CallMethod(corpo, "Unlock");
    EXPECT_EQ(GetProp(corpo, "LockCount").ToLong(), 0);

    w.window->docTestata->SetEditMode(2);
    EXPECT_EQ(GetProp(testata, "EditMode").ToLong(), 2);
    for (const char* name : {"FME_DocCorpo", "FME_DocCorpoVert", "FME_DocCorpoOrd"})
        SetProp(GetObject(w.Form(), name), "MsgOnUpdate", Variant::Bool(false));
    EXPECT_FALSE(w.window->docCorpoOrd->MsgOnUpdate());
    EXPECT_EQ(w.log->Count("FME_DocCorpoVert.MsgOnUpdate"), 1u);
}

TEST(SimMenuTest, AddMenuItemKeepsItsArguments) {
    auto log = std::make_shared<CallLog>();
    ObjectPtr menu = std::make_shared<SimMenu>(log);
    CallMethod(menu, "AddMenuItem",
               {Variant("Gestione annulli"), Variant("GestAnnulli"), Variant::Bool(true),
                Variant::Bool(true)});
    auto calls = log->CallsTo("objMenuFunzGen.AddMenuItem");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].args[0].ToString(), "Gestione annulli");
    EXPECT_EQ(calls[0].args[1].ToString(), "GestAnnulli");
    EXPECT_EQ(ErrorOf([&] { CallMethod(menu, "RemoveMenuItem"); }), err::MemberNotFound);
}

}  // namespace
}  // namespace zq::sim
