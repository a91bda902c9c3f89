// The COM tests under Wine (or Windows): one single-threaded apartment, as the host's user
// interface thread is; the library registered with regsvr32 for the run and unregistered
// at its end; the simulated host's objects exposed by name and its creatable objects
// served as class objects.
#include <gtest/gtest.h>

#include <cstdio>

#include "com_test_support.h"
#include "host_class_objects.h"
#include "host_facades.h"

namespace {

class RegisteredLibrary : public ::testing::Environment {
  public:
    void SetUp() override {
        ASSERT_EQ(zq::comtest::Regsvr32(false), 0) << "regsvr32 could not register the library";
        objects_ = std::make_unique<zq::comtest::HostClassObjects>();
    }
    void TearDown() override {
        objects_.reset();
        CoFreeUnusedLibraries();
        EXPECT_EQ(zq::comtest::Regsvr32(true), 0) << "regsvr32 could not unregister the library";
        CLSID clsid;
        EXPECT_FALSE(SUCCEEDED(CLSIDFromProgID(L"ZQBO_DOCPLUGIN_STATI.CLSRF_REGDOC_STATI", &clsid)))
            << "the ProgID is still registered";
    }

  private:
    std::unique_ptr<zq::comtest::HostClassObjects> objects_;
};

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        std::puts("COM could not be initialised");
        return 2;
    }
    zq::comtest::InstallHostExposers();
    ::testing::AddGlobalTestEnvironment(new RegisteredLibrary);
    const int rc = RUN_ALL_TESTS();
    CoUninitialize();
    std::printf("COM tests (%d-bit): %s\n", static_cast<int>(sizeof(void*) * 8),
                rc == 0 ? "passed" : "FAILED");
    return rc;
}
