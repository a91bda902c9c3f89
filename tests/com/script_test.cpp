// A late-bound client: a VBScript run by cscript creates the object by ProgID, assigns
// and reads Cls_SrvLog, and meets 438 for a member the class lacks. cscript's exit code
// says nothing about the script's own failures, so the script prints a closing count and
// the test reads it.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "com_test_support.h"

namespace zq::comtest {
namespace {

constexpr const char* kScript = R"(Dim o, logger, failures
failures = 0
Sub Check(ok, what)
  If Not ok Then
    failures = failures + 1
    WScript.Echo "FAILED: " & what
  End If
End Sub
Set o = CreateObject("ZQBO_DOCPLUGIN_STATI.CLSRF_REGDOC_STATI")
Check o.Cls_SrvLog Is Nothing, "Cls_SrvLog starts as Nothing"
Set logger = CreateObject("Scripting.Dictionary")
Set o.Cls_SrvLog = logger
Check o.Cls_SrvLog Is logger, "Cls_SrvLog is the object assigned"
Set o.Cls_SrvLog = Nothing
Check o.Cls_SrvLog Is Nothing, "Cls_SrvLog can be cleared"
On Error Resume Next
o.NoSuchMember
Check Err.Number = 438, "a missing member is error 438, not " & Err.Number
On Error GoTo 0
Set o = Nothing
WScript.Echo failures & " failures"
)";

std::wstring TempFile(const wchar_t* name) {
    wchar_t dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    return std::wstring(dir) + name;
}

TEST(Script, AVBScriptClientCreatesTheObjectAndUsesClsSrvLog) {
    const std::wstring script = TempFile(L"zq_com_client.vbs");
    const std::wstring output = TempFile(L"zq_com_client.txt");
    {
        std::ofstream f(script.c_str(), std::ios::binary);
        f << kScript;
    }
    const int rc = RunProgram(L"cmd.exe /c cscript.exe //nologo \"" + script + L"\" > \"" + output +
                              L"\" 2>&1");
    std::ifstream in(output.c_str(), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(rc, 0) << text.str();
    EXPECT_NE(text.str().find("0 failures"), std::string::npos) << text.str();
    DeleteFileW(script.c_str());
    DeleteFileW(output.c_str());
}

}  // namespace
}  // namespace zq::comtest
