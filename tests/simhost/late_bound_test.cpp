// The host's forms, sub-forms and controls as the plug-in reaches them: by member name.
#include <gtest/gtest.h>

#include "host/object.h"
#include "sim/host/default_forms.h"
#include "sim/host/sim_form.h"
#include "support/error_of.h"

namespace zq::sim {
namespace {

using test::ErrorOf;

struct Window {
    CallLogPtr log = std::make_shared<CallLog>();
    std::shared_ptr<DocumentWindow> window = std::make_shared<DocumentWindow>();
    SimFormPtr body;

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
        body = std::make_shared<SimForm>("frmCorpo", DefaultBodyControls(), window, log);
    }
    ObjectPtr Form() const { return body; }
};

TEST(SimControl, TextKeepsTheTextFormOfWhatIsWritten) {
    ObjectPtr o =
        std::make_shared<SimControl>(Bound("TXT_DO77_ZQ_QTA_ANNULLO", "DO77_ZQ_QTA_ANNULLO"));
    SetProp(o, "Text", Variant(2.5));
    EXPECT_EQ(GetProp(o, "text").ToString(), "2.5");
    SetProp(o, "Text", Variant::Null());
    EXPECT_EQ(GetProp(o, "Text").ToString(), "");
}

TEST(SimControl, MissingMembersRaise438AndMethodsCannotBeAssigned) {
    ObjectPtr unbound = std::make_shared<SimControl>(Bound("TXT_DO77_ZQ_QTA_ANNPROGPADRE"));
    EXPECT_EQ(ErrorOf([&] { GetProp(unbound, "DBField"); }), err::MemberNotFound);
    EXPECT_EQ(ErrorOf([&] { GetProp(unbound, "BoStati"); }), err::MemberNotFound);
    EXPECT_EQ(ErrorOf([&] { SetProp(unbound, "Refresh", Variant::Int32(1)); }),
              kInvalidPropertyAssignment);
    EXPECT_EQ(ErrorOf([&] { SetProp(unbound, "Name", Variant("X")); }), kInvalidPropertyAssignment);
    CallMethod(unbound, "Refresh");
    EXPECT_EQ(static_cast<SimControl&>(*unbound).RefreshCount(), 1);
}

TEST(SimForm, ActiveControlIsNothingUntilAControlHasTheFocus) {
    Window w;
    EXPECT_FALSE(GetObject(w.Form(), "ActiveControl"));
    w.body->SetActiveControl("TXT_DO30_QTA1");
    EXPECT_EQ(GetProp(GetObject(w.Form(), "ActiveControl"), "Name").ToString(), "TXT_DO30_QTA1");
    w.body->RemoveControl("TXT_DO30_QTA1");
    EXPECT_FALSE(GetObject(w.Form(), "ActiveControl"));
}

TEST(SimForm, WindowPartsAreSharedMembersAndNothingWhenAbsent) {
    Window w;
    w.window->frmDocumenti->gridMode = 2;
    EXPECT_EQ(GetProp(GetObject(w.Form(), "FrmDocumenti"), "Gint_ModalitaGriglia").ToLong(), 2);
    w.window->frmDocumenti = nullptr;
    EXPECT_FALSE(GetObject(w.Form(), "FrmDocumenti"));
}

TEST(SimSubForm, OnlyTheBodySubFormMovesToABookmark) {
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

    w.window->docTestata->SetEditMode(2);
    EXPECT_EQ(GetProp(testata, "EditMode").ToLong(), 2);
}

}  // namespace
}  // namespace zq::sim
