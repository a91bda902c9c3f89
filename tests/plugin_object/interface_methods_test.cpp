// Every method of both interfaces, called as the host calls it on a plug-in the driver
// initialised, with no form open: each returns success, and only the methods that answer
// something write their by-reference arguments; nothing else reaches the host.

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <set>

#include "two_lines.h"

namespace zq::test {
namespace {

using Calls = std::vector<std::string>;

// The arguments a host hands over, each with a recognisable starting value; the flags
// start as `start` says, so that a method clearing them is seen as well as one setting them.
struct Args {
    Args(const Session& h, const std::shared_ptr<Calls>& calls, VBool start)
        : cancel(start),
          flag(start),
          form(std::make_shared<RecordingObject>(calls, "form")),
          control(std::make_shared<RecordingObject>(calls, "control")),
          menu(std::make_shared<RecordingObject>(calls, "menu")),
          cnn(h.db->Connection()),
          doc(h.host->doc),
          programma(h.host->programma),
          ditta(h.host->ditta) {}

    VBool cancel;
    VBool flag;
    VBool result = 0x55;  // neither True nor False
    std::int16_t index = -7;
    Variant v1 = Variant("v1"), v2 = Variant::Int32(2), v3 = Variant::Null();
    std::string s1 = "s1", s2 = "s2", s3 = "s3";
    ObjectPtr form, control, menu;
    ado::ConnectionPtr cnn;
    host::RegDocPtr doc;
    host::ProgrammaPtr programma;
    host::DittaPtr ditta;

    friend void PrintTo(const Args& a, std::ostream* os) {
        *os << "cancel=" << a.cancel << " flag=" << a.flag << " result=" << a.result
            << " index=" << a.index << " v=" << a.v1.Describe() << "," << a.v2.Describe() << ","
            << a.v3.Describe() << " s=" << a.s1 << "," << a.s2 << "," << a.s3;
    }

    bool operator==(const Args& o) const {
        return cancel == o.cancel && flag == o.flag && result == o.result && index == o.index &&
               v1.SameAs(o.v1) && v2.SameAs(o.v2) && v3.SameAs(o.v3) && s1 == o.s1 && s2 == o.s2 &&
               s3 == o.s3 && form == o.form && control == o.control && menu == o.menu &&
               cnn == o.cnn && doc == o.doc && programma == o.programma && ditta == o.ditta;
    }
};

using Doc = host::ICLSMG_REGDOCVERT;
using Form = host::ICLSMG_REGDOCVERT2;

struct Case {
    const char* name;
    std::function<HResult(Doc&, Form&, Args&)> call;
    // What the method answers, applied to the arguments as they were before the call.
    std::function<void(Args&)> answer = {};
    Calls hostCalls = {};  // on the host's objects and on the arguments, in order
    std::size_t statements = 0;
    std::size_t indicatorWrites = 0;
    // A method with work of its own that this bare form cannot support: it fails at its
    // boundary, still leaving the arguments alone.
    bool fails = false;
};

// clang-format off
#define DOC(method, ...)                                                                       \
    #method, [](Doc& d, Form&, [[maybe_unused]] Args& a) { return d.method(__VA_ARGS__); }
#define FORM(method, ...)                                                                      \
    #method, [](Doc&, Form& f, [[maybe_unused]] Args& a) { return f.method(__VA_ARGS__); }
// clang-format on

std::vector<Case> AllMethods() {
    const auto falseResult = [](Args& a) { a.result = VFalse; };
    return {
        // ICLSMG_REGDOCVERT
        {DOC(Initialize, a.v1, a.cnn, a.doc, a.programma, a.ditta, 3, a.result),
         [](Args& a) { a.result = VTrue; },
         {},
         2},
        {DOC(Terminate), {}, {}, 0, 1},
        {DOC(BeginAddNewDocTestata)},
        {DOC(EndAddNewDocTestata)},
        {DOC(BeginDeleteDocTestata)},
        {DOC(EndDeleteDocTestata)},
        {DOC(BeginModifyDocTestata)},
        {DOC(EndModifyDocTestata)},
        {DOC(BeginUpdateDocTestata)},
        {DOC(EndUpdateDocTestata)},
        {DOC(BeginAddNewDocCorpo)},
        {DOC(EndAddNewDocCorpo)},
        {DOC(BeginModifyDocCorpo)},
        {DOC(EndModifyDocCorpo)},
        {DOC(BeginDeleteDocCorpo)},
        {DOC(EndDeleteDocCorpo)},
        {DOC(BeginUpdateDocCorpo)},
        {DOC(EndUpdateDocCorpo)},
        {DOC(UIBeforeUpdateDocument, a.cancel)},
        {DOC(UIAfterUpdateDocument)},
        {DOC(UIBeforeDeleteDocument, a.cancel)},
        {DOC(UIAfterDeleteDocument)},
        {DOC(UIBeforeNewDocument, a.cancel)},
        {DOC(UIAfterNewDocument)},
        {DOC(UIBeforeUpdateDocBody, a.cancel)},
        {DOC(UIAfterUpdateDocBody)},
        {DOC(UIBeforeDeleteDocBody, a.cancel)},
        {DOC(UIAfterDeleteDocBody)},
        {DOC(UIBeforeAddNewDocBody, a.cancel)},
        {DOC(UIAfterAddNewDocBody)},
        {DOC(BeforePrintDocument, a.cancel)},
        {DOC(AfterPrintDocument)},
        {DOC(BeforeApplyKit, a.v1, a.cancel)},
        {DOC(BeforeEsplodiKit, a.v1, a.cancel)},
        {DOC(AfterEsplodiKit)},
        {DOC(UIBeforeSchedaArticoli, a.cancel)},
        {DOC(UIAfterSchedaArticoli, a.v1, a.v2, a.v3)},
        {DOC(BeforeRicalcolaPrezzo, a.cancel)},
        {DOC(AfterRicalcolaPrezzo)},
        {DOC(BeforeApplyAgentiTestata, a.cancel)},
        {DOC(BeforeCalcolaPrezzoNetto, a.cancel)},
        {DOC(AfterCalcolaPrezzoNetto, a.v1, a.v2)},
        {DOC(BeginAddNewDocTestaVert)},
        {DOC(EndAddNewDocTestaVert)},
        {DOC(BeginAddNewDocCorpoVert)},
        {DOC(EndAddNewDocCorpoVert)},
        {DOC(BeginAddNewDocTotaliVert)},
        {DOC(EndAddNewDocTotaliVert)},
        {DOC(BeginUpdateDocTestaVert)},
        {DOC(EndUpdateDocTestaVert)},
        {DOC(BeginUpdateDocCorpoVert)},
        {DOC(EndUpdateDocCorpoVert)},
        {DOC(BeginUpdateDocTotaliVert)},
        {DOC(EndUpdateDocTotaliVert)},
        {DOC(ControllaDati, a.cancel)},
        {DOC(IndPlugInStd, a.index), [](Args& a) { a.index = 3; }},
        {DOC(GetGestDocTestaVert, a.v1, a.s1, a.result), falseResult},
        {DOC(GetGestDocCorpoVert, a.v1, a.s1, a.result), falseResult},
        {DOC(GetGestDocTotaliVert, a.v1, a.s1, a.result), falseResult},
        // ICLSMG_REGDOCVERT2
        {FORM(CloseForm, a.form, 2, a.cancel)},
        {FORM(ControlEventBeforeItem, a.form, a.control)},
        {FORM(ControlEventCloseLookup, a.form, a.control, a.v1)},
        {FORM(ControlEventGotFocus, a.form, a.control)},
        {FORM(ControlEventKeyButtonMenuPress, a.form, a.control, a.v1, a.v2)},
        // The reason fields are known by their bound column; the bare control has none.
        {FORM(ControlEventLostFocus, a.form, a.control), {}, {"control.DBField"}},
        {FORM(ControlEventStartDecode, a.form, a.control, a.flag, a.v1, a.v2, a.v3),
         {},
         {"control.DBField"}},
        {FORM(ControlEventStartLookup, a.form, a.control, a.flag, a.s1, a.v1, a.s2, a.s3),
         {},
         {"control.DBField"}},
        {FORM(FunzArtBeforeShowMenuPopup, a.form, 2, a.menu)},
        {FORM(FunzArtInit, a.form, 2, a.menu)},
        {FORM(FunzArtMenuItemClick, a.form, 2, a.menu, Variant("GestAnnulli"), a.v1, a.v2)},
        {FORM(FunzGenBeforeShowMenuPopup, a.form, 2, a.menu)},
        {FORM(FunzGenInit, a.form, 2, a.menu)},
        {FORM(FunzGenMenuItemClick, a.form, 2, a.menu, Variant("x"), a.v1, a.v2)},
        {FORM(GRIDDataFormat, a.v1, a.v2, a.s1, a.control)},
        {FORM(GridnavAfterButtonClick, a.form, 2, a.s1)},
        {FORM(GridnavButtonClick, a.form, 2, a.s1)},
        {FORM(GridnavInit, a.form, 2, a.control)},
        {FORM(GRIDRowChange)},
        {FORM(InternavAfterButtonClick, a.form, 2, a.s1)},
        {FORM(InternavButtonClick, a.form, 2, a.s1)},
        {FORM(InternavInit, a.form, 2, a.control)},
        // Reads the sub-forms, then the controls: the bare form has no collection.
        {FORM(OpenForm, a.form, 2),
         {},
         {"form.FME_DocCorpo", "form.FME_DocCorpoOrd", "form.FME_DocCorpoVert",
          "form.FME_DocTestata", "form.Controls"},
         0,
         0,
         true},
        {FORM(StatiTESTATAChange, a.v1, 40, 1)},
        {FORM(StatiCORPOChange, a.v1, 41, 2)},
        {FORM(UIGenericEvent, a.v1, a.v2, a.s1, a.v3)},
        {FORM(BOGenericEvent, a.v1, a.s1, a.v2)},
    };
}

#undef DOC
#undef FORM

TEST(InterfaceMethods, TheTableCoversBothInterfaces) {
    const std::vector<Case> cases = AllMethods();
    std::set<std::string> names;
    for (const Case& c : cases) names.insert(c.name);
    EXPECT_EQ(cases.size(), 59u + 27u);
    EXPECT_EQ(names.size(), cases.size());
}

TEST(InterfaceMethods, AnswerOnlyThroughTheirArgumentsAndLeaveTheRestUntouched) {
    Session h(TwoLines());  // the methods leave the database as it is: one serves every case
    for (const VBool start : {VFalse, VTrue}) {
        for (const Case& c : AllMethods()) {
            SCOPED_TRACE(::testing::Message() << c.name << " flags " << start);
            h.Reopen();  // a new plug-in object, initialised
            auto calls = std::make_shared<Calls>();
            Args args(h, calls, start);
            Args expected = args;
            if (c.answer) c.answer(expected);
            const std::size_t indicator = h.host->doc->DocUI()->IndicatoreHistory().size();

            const HResult r = c.call(h.DocEvents(), h.FormEvents(), args);
            EXPECT_EQ(r.Succeeded(), !c.fails) << r.description;
            EXPECT_EQ(args, expected);
            Calls hostCalls = h.host->log->Members();
            hostCalls.insert(hostCalls.end(), calls->begin(), calls->end());
            EXPECT_EQ(hostCalls, c.hostCalls);
            EXPECT_EQ(h.Statements().size(), c.statements);
            EXPECT_EQ(h.host->doc->DocUI()->IndicatoreHistory().size() - indicator,
                      c.indicatorWrites);
            EXPECT_TRUE(h.Messages().empty());
        }
    }
}

}  // namespace
}  // namespace zq::test
