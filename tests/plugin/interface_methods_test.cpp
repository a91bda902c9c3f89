// Every method of both interfaces, called as the host calls it on an initialised plug-in
// with no form open: each returns success, and only the methods that answer something
// write their by-reference arguments; nothing else reaches the host.

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <set>

#include "fakes.h"

namespace zq::test {
namespace {

using plugin::CLSRF_REGDOC_STATI;

// The arguments a host hands over, each with a recognisable starting value.
struct Args {
    explicit Args(FakeHost& host)
        : form(std::make_shared<LoggingObject>(host.log, "form")),
          control(std::make_shared<LoggingObject>(host.log, "control")),
          menu(std::make_shared<LoggingObject>(host.log, "menu")),
          cnn(host.cnn),
          doc(host.doc),
          programma(host.programma),
          ditta(host.ditta) {}

    VBool cancel = VFalse;
    VBool flag = VFalse;
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

struct Case {
    const char* name;
    std::function<HResult(CLSRF_REGDOC_STATI&, Args&)> call;
    // What the method answers, applied to the arguments as they were before the call.
    std::function<void(Args&)> answer = {};
    CallLog hostCalls = {};
    std::size_t statements = 0;
    // A method with work of its own that this bare form cannot support: it fails at its
    // boundary, still leaving the arguments alone.
    bool fails = false;
};

// clang-format off
#define CALL(method, ...)                                                                \
    #method, []([[maybe_unused]] CLSRF_REGDOC_STATI& p, [[maybe_unused]] Args& a) {     \
        return p.method(__VA_ARGS__);                                                    \
    }
// clang-format on

std::vector<Case> AllMethods() {
    const auto falseResult = [](Args& a) { a.result = VFalse; };
    return {
        // ICLSMG_REGDOCVERT
        {CALL(Initialize, a.v1, a.cnn, a.doc, a.programma, a.ditta, 3, a.result),
         [](Args& a) { a.result = VTrue; },
         {"IndicatoreAttesa"},
         2},
        {CALL(Terminate), {}, {"SetIndicatoreAttesa(0)"}},
        {CALL(BeginAddNewDocTestata)},
        {CALL(EndAddNewDocTestata)},
        {CALL(BeginDeleteDocTestata)},
        {CALL(EndDeleteDocTestata)},
        {CALL(BeginModifyDocTestata)},
        {CALL(EndModifyDocTestata)},
        {CALL(BeginUpdateDocTestata)},
        {CALL(EndUpdateDocTestata)},
        {CALL(BeginAddNewDocCorpo)},
        {CALL(EndAddNewDocCorpo)},
        {CALL(BeginModifyDocCorpo)},
        {CALL(EndModifyDocCorpo)},
        {CALL(BeginDeleteDocCorpo)},
        {CALL(EndDeleteDocCorpo)},
        {CALL(BeginUpdateDocCorpo)},
        {CALL(EndUpdateDocCorpo)},
        {CALL(UIBeforeUpdateDocument, a.cancel)},
        {CALL(UIAfterUpdateDocument)},
        {CALL(UIBeforeDeleteDocument, a.cancel)},
        {CALL(UIAfterDeleteDocument)},
        {CALL(UIBeforeNewDocument, a.cancel)},
        {CALL(UIAfterNewDocument)},
        {CALL(UIBeforeUpdateDocBody, a.cancel), {}, {}, 0, true},
        {CALL(UIAfterUpdateDocBody)},
        {CALL(UIBeforeDeleteDocBody, a.cancel)},
        {CALL(UIAfterDeleteDocBody)},
        {CALL(UIBeforeAddNewDocBody, a.cancel)},
        {CALL(UIAfterAddNewDocBody)},
        {CALL(BeforePrintDocument, a.cancel)},
        {CALL(AfterPrintDocument)},
        {CALL(BeforeApplyKit, a.v1, a.cancel)},
        {CALL(BeforeEsplodiKit, a.v1, a.cancel)},
        {CALL(AfterEsplodiKit)},
        {CALL(UIBeforeSchedaArticoli, a.cancel)},
        {CALL(UIAfterSchedaArticoli, a.v1, a.v2, a.v3)},
        {CALL(BeforeRicalcolaPrezzo, a.cancel)},
        {CALL(AfterRicalcolaPrezzo)},
        {CALL(BeforeApplyAgentiTestata, a.cancel)},
        {CALL(BeforeCalcolaPrezzoNetto, a.cancel)},
        {CALL(AfterCalcolaPrezzoNetto, a.v1, a.v2)},
        {CALL(BeginAddNewDocTestaVert)},
        {CALL(EndAddNewDocTestaVert)},
        {CALL(BeginAddNewDocCorpoVert)},
        {CALL(EndAddNewDocCorpoVert)},
        {CALL(BeginAddNewDocTotaliVert)},
        {CALL(EndAddNewDocTotaliVert)},
        {CALL(BeginUpdateDocTestaVert)},
        {CALL(EndUpdateDocTestaVert)},
        {CALL(BeginUpdateDocCorpoVert)},
        {CALL(EndUpdateDocCorpoVert)},
        {CALL(BeginUpdateDocTotaliVert)},
        {CALL(EndUpdateDocTotaliVert)},
        {CALL(ControllaDati, a.cancel)},
        {CALL(IndPlugInStd, a.index), [](Args& a) { a.index = 3; }},
        {CALL(GetGestDocTestaVert, a.v1, a.s1, a.result), falseResult},
        {CALL(GetGestDocCorpoVert, a.v1, a.s1, a.result), falseResult},
        {CALL(GetGestDocTotaliVert, a.v1, a.s1, a.result), falseResult},
        // ICLSMG_REGDOCVERT2
        {CALL(CloseForm, a.form, 2, a.cancel)},
        {CALL(ControlEventBeforeItem, a.form, a.control)},
        {CALL(ControlEventCloseLookup, a.form, a.control, a.v1)},
        {CALL(ControlEventGotFocus, a.form, a.control)},
        {CALL(ControlEventKeyButtonMenuPress, a.form, a.control, a.v1, a.v2)},
        {CALL(ControlEventLostFocus, a.form, a.control)},
        // The reason fields are known by their bound column; the bare control has none.
        {CALL(ControlEventStartDecode, a.form, a.control, a.flag, a.v1, a.v2, a.v3),
         {},
         {"control.DBField"}},
        {CALL(ControlEventStartLookup, a.form, a.control, a.flag, a.s1, a.v1, a.s2, a.s3),
         {},
         {"control.DBField"}},
        {CALL(FunzArtBeforeShowMenuPopup, a.form, 2, a.menu)},
        {CALL(FunzArtInit, a.form, 2, a.menu)},
        {CALL(FunzArtMenuItemClick, a.form, 2, a.menu, Variant("GestAnnulli"), a.v1, a.v2)},
        {CALL(FunzGenBeforeShowMenuPopup, a.form, 2, a.menu)},
        {CALL(FunzGenInit, a.form, 2, a.menu)},
        {CALL(FunzGenMenuItemClick, a.form, 2, a.menu, Variant("x"), a.v1, a.v2)},
        {CALL(GRIDDataFormat, a.v1, a.v2, a.s1, a.control)},
        {CALL(GridnavAfterButtonClick, a.form, 2, a.s1)},
        {CALL(GridnavButtonClick, a.form, 2, a.s1)},
        {CALL(GridnavInit, a.form, 2, a.control)},
        {CALL(GRIDRowChange)},
        {CALL(InternavAfterButtonClick, a.form, 2, a.s1)},
        {CALL(InternavButtonClick, a.form, 2, a.s1)},
        {CALL(InternavInit, a.form, 2, a.control)},
        // Reads the sub-forms, then the controls: the bare form has no collection.
        {CALL(OpenForm, a.form, 2),
         {},
         {"form.FME_DocCorpo", "form.FME_DocCorpoOrd", "form.FME_DocCorpoVert",
          "form.FME_DocTestata", "form.Controls"},
         0,
         true},
        {CALL(StatiTESTATAChange, a.v1, 40, 1)},
        {CALL(StatiCORPOChange, a.v1, 41, 2)},
        {CALL(UIGenericEvent, a.v1, a.v2, a.s1, a.v3)},
        {CALL(BOGenericEvent, a.v1, a.s1, a.v2)},
    };
}

#undef CALL

TEST(InterfaceMethods, TheTableCoversBothInterfaces) {
    const std::vector<Case> cases = AllMethods();
    std::set<std::string> names;
    for (const Case& c : cases) names.insert(c.name);
    EXPECT_EQ(cases.size(), 59u + 27u);
    EXPECT_EQ(names.size(), cases.size());
}

TEST(InterfaceMethods, AnswerOnlyThroughTheirArgumentsAndLeaveTheRestUntouched) {
    for (const Case& c : AllMethods()) {
        SCOPED_TRACE(c.name);
        FakeHost host(/*withSections=*/true);
        ASSERT_EQ(host.Initialize(), VTrue);
        host.log.clear();
        host.cnn->statements.clear();

        Args args(host);
        Args expected = args;
        if (c.answer) c.answer(expected);

        const HResult r = c.call(*host.plugin, args);
        EXPECT_EQ(r.Succeeded(), !c.fails) << r.description;
        EXPECT_EQ(args, expected);
        EXPECT_EQ(host.log, c.hostCalls);
        EXPECT_EQ(host.cnn->statements.size(), c.statements);
        EXPECT_TRUE(host.programma->ambiente->messaggi->shown.empty());
    }
}

}  // namespace
}  // namespace zq::test
