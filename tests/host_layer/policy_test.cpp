// The three error policies of the procedures and the boundary of the interface methods.
#include "host/policy.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace zq {
namespace {

void FailingHostCall() {
    Raise(err::AdoProviderError, "Connection", "deadlock");
}

TEST(IgnoreErrors, EachFailingStatementIsSkipped) {
    std::vector<int> done;
    EXPECT_TRUE(IgnoreErrors([&] { done.push_back(1); }));
    EXPECT_FALSE(IgnoreErrors([&] {
        FailingHostCall();
        done.push_back(2);  // the rest of a failed statement does not run
    }));
    EXPECT_TRUE(IgnoreErrors([&] { done.push_back(3); }));
    EXPECT_EQ(done, (std::vector<int>{1, 3}));
    // Program faults are no host errors: neither policy hides them.
    EXPECT_THROW(IgnoreErrors([] { throw std::logic_error("bug"); }), std::logic_error);
    EXPECT_THROW(EndQuietly([] { throw std::logic_error("bug"); }), std::logic_error);
}

TEST(EndQuietly, KeepsWhatWasSetBeforeTheError) {
    std::int32_t first = 0, second = 0;
    EXPECT_FALSE(EndQuietly([&] {
        first = 5;
        FailingHostCall();
        second = 6;
    }));
    EXPECT_EQ(first, 5);
    EXPECT_EQ(second, 0);
    EXPECT_TRUE(EndQuietly([&] { second = 7; }));
    EXPECT_EQ(second, 7);
}

TEST(ComBoundary, NothingEscapes) {
    EXPECT_TRUE(ComBoundary([] {}).Succeeded());

    ComResult host = ComBoundary([] { Raise(err::ObjectNotSet, "frmCorrente", "not set"); });
    EXPECT_TRUE(host.Failed());
    EXPECT_EQ(host.number, err::ObjectNotSet);
    EXPECT_EQ(host.source, "frmCorrente");
    EXPECT_EQ(host.description, "not set");

    ComResult fault = ComBoundary([] { throw std::out_of_range("index 7"); });
    EXPECT_TRUE(fault.Failed());
    EXPECT_EQ(fault.description, "index 7");
    EXPECT_EQ(fault.HResult(), ComResult::kEFail);

    EXPECT_EQ(ComBoundary([] { throw 42; }).HResult(), ComResult::kEFail);
}

TEST(ComResult, HResultsAsTheHostRunTimeMapsThem) {
    EXPECT_EQ(ComResult::Success().HResult(), 0);
    EXPECT_EQ(ComResult::Failure(91, "", "").HResult(), static_cast<std::int32_t>(0x800A005Bu));
    EXPECT_EQ(ComResult::Failure(err::AdoBofEof, "", "").HResult(),
              static_cast<std::int32_t>(0x800A0BCDu));
    EXPECT_EQ(ComResult::Failure(err::AdoProviderError, "", "").HResult(), err::AdoProviderError);
}

TEST(ScopeExit, RunsOnEveryExitAndSwallowsItsOwnErrors) {
    bool busy = true;
    EXPECT_FALSE(EndQuietly([&] {
        ScopeExit clear([&] { busy = false; });
        FailingHostCall();
    }));
    EXPECT_FALSE(busy);

    int undone = 0;
    {
        ScopeExit first([&] { ++undone; });
        ScopeExit failing([] { FailingHostCall(); });
    }
    EXPECT_EQ(undone, 1);
}

}  // namespace
}  // namespace zq
