// The test host itself: what the plug-in creates by ProgID or class id is served by the
// simulated host's factories while a session is open, through the system's class registry.
#include <gtest/gtest.h>

#include "com/com_types.h"
#include "com/dispatch_client.h"
#include "grid/grid_members.h"
#include "tools/session.h"

namespace zq::comtest {
namespace {

TEST(TestHost, ServesTheObjectsThePluginCreatesByProgId) {
    tool::Session s{tool::SessionSetup{}};
    for (const wchar_t* progId : {L"ADODB.Command", L"ADODB.Recordset",
                                  L"HostFunzioni.FunzioniGlobali", L"HostRuntime.Screen"}) {
        CLSID clsid;
        ASSERT_EQ(CLSIDFromProgID(progId, &clsid), S_OK) << com::Narrow(progId, wcslen(progId));
        com::ComPtr<IDispatch> d;
        ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_SERVER, IID_IDispatch,
                                   reinterpret_cast<void**>(d.Put())),
                  S_OK)
            << com::Narrow(progId, wcslen(progId));
    }
    CLSID clsid;
    ASSERT_EQ(CLSIDFromProgID(L"HostFunzioni.FunzioniGlobali", &clsid), S_OK);
    com::ComPtr<IDispatch> f;
    ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_SERVER, IID_IDispatch,
                               reinterpret_cast<void**>(f.Put())),
              S_OK);
    Variant args[1] = {Variant::Int32(1001)};
    EXPECT_EQ(com::CallByName(f.Get(), "ValoreTesto", CallKind::Method, args).ToString(), "1001");
}

// The size-grid components are the session's own: what is written to the object created
// by class id is what the scenario's expectations read from the session. Without a
// session the class cannot be created.
TEST(TestHost, ServesTheSessionsGridComponentsByClassId) {
    namespace g = plugin::grid;
    const auto create = [](std::string_view text, com::ComPtr<IDispatch>& d) {
        CLSID clsid;
        const std::wstring wide = com::Widen(text);
        EXPECT_EQ(CLSIDFromString(wide.c_str(), &clsid), NOERROR);
        return CoCreateInstance(clsid, nullptr, CLSCTX_SERVER, IID_IDispatch,
                                reinterpret_cast<void**>(d.Put()));
    };
    {
        tool::Session s{tool::SessionSetup{}};
        com::ComPtr<IDispatch> grid, posting;
        ASSERT_EQ(create(g::kClsidGriglia, grid), S_OK);
        ASSERT_EQ(create(g::kClsidRegistraGriglia, posting), S_OK);
        Variant ditta[1] = {Variant::Int32(7)};
        com::CallByName(grid.Get(), g::kGrigliaDitta, CallKind::Set, ditta);
        ASSERT_EQ(s.Host().sizeGrid->Grids().size(), 1u);
        EXPECT_EQ(s.Host().sizeGrid->Grids()[0]->Passed(g::kGrigliaDitta).ToLong(), 7);
        EXPECT_EQ(s.Host().sizeGrid->Postings().size(), 1u);
    }
    com::ComPtr<IDispatch> none;
    EXPECT_EQ(create(g::kClsidGriglia, none), REGDB_E_CLASSNOTREG);
}

}  // namespace
}  // namespace zq::comtest
