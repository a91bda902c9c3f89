// How the plug-in's roads grow with the order: the rows its filters read (RowsExamined) on
// orders of two sizes ten times apart. A road that filters once per line on a field without
// an index reads lines × rows, a hundred times more on the larger order; an indexed one
// reads about ten times more.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "large_order.h"
#include "sim/recordset/mem_recordset.h"

namespace zq::testing {
namespace {

constexpr std::int32_t kSmall = 100;
constexpr std::int32_t kLarge = 1000;
// Linear growth gives at most 10 (less, since part of the work does not grow with the
// order); anything quadratic gives far more.
constexpr double kMostGrowth = 15;

constexpr std::int32_t kMiddle(std::int32_t lines) {
    return lines / 2 + 1;  // a generated line of a size family, partly delivered or not
}

// Rows read while `road` runs on an order of `lines` lines; `check` sees the order after it.
std::uint64_t RowsRead(std::int32_t lines, const std::function<void(LargeOrder&)>& road,
                       const std::function<void(LargeOrder&)>& check) {
    LargeOrder order(lines);
    const std::uint64_t before = sim::RowsExamined();
    road(order);
    const std::uint64_t read = sim::RowsExamined() - before;
    check(order);
    return read;
}

void ExpectLinear(const char* road, std::uint64_t small, std::uint64_t large) {
    EXPECT_LE(static_cast<double>(large), kMostGrowth * static_cast<double>(small))
        << road << ": " << small << " rows read on " << kSmall << " lines, " << large << " on "
        << kLarge;
}

TEST(Scaling, WholeOrderCancelReadsRowsInProportionToTheOrder) {
    auto cancel = [](LargeOrder& o) { o.Driver().SetHeaderState(sim::demo::kStatoTestaAnnullato); };
    auto flagged = [](std::int32_t lines) {
        return [lines](LargeOrder& o) {
            // Every line of a line group is flagged: all but the demo's first six.
            const auto n = o.Db().QueryRows(
                "SELECT COUNT(*) FROM DO31_DOCCORPOORD WHERE DO31_NUMREG_CO99 = ? AND "
                "DO31_FLGNONPIUEV = 1",
                {Variant::Int32(sim::demo::kOrdine)});
            EXPECT_EQ(n.rows.at(0).at(0).ToLong(), lines - 6);
        };
    };
    ExpectLinear("whole-order cancel", RowsRead(kSmall, cancel, flagged(kSmall)),
                 RowsRead(kLarge, cancel, flagged(kLarge)));
}

TEST(Scaling, PartialCancellationAndItsDeletionReadRowsInProportionToTheOrder) {
    auto partial = [](std::int32_t lines) {
        return [lines](LargeOrder& o) {
            o.Driver().OpenForm(2);
            o.Driver().MoveToLine(kMiddle(lines));
            o.Driver().EditLineField("DO77_ZQ_QTA_ANNULLO", "3");
            o.Driver().SetLineState(sim::demo::kStatoRigheAnnullato);
            o.Driver().MoveToLine(lines + 1);
            o.Driver().DeleteLine();
        };
    };
    auto restored = [](std::int32_t lines) {
        return [lines](LargeOrder& o) {
            // The cancellation line came and went: the master has its quantity back.
            EXPECT_EQ(o.Lines().size(), static_cast<std::size_t>(lines));
            EXPECT_FALSE(o.Driver().Last("UIAfterDeleteDocBody")->result.Failed());
        };
    };
    ExpectLinear("partial cancellation and deletion",
                 RowsRead(kSmall, partial(kSmall), restored(kSmall)),
                 RowsRead(kLarge, partial(kLarge), restored(kLarge)));
}

// A cursor that refuses Optimize (a server cursor, another provider) leaves the plug-in
// scanning: slower, and to the same order after every step (the refusal is an answer, not
// a failure that would undo the step).
TEST(Scaling, ACursorWithoutOptimizeGivesTheSameOrder) {
    auto play = [](LargeOrder& o) {
        std::vector<std::vector<std::string>> after;
        o.Driver().SetHeaderState(sim::demo::kStatoTestaAnnullato);
        after.push_back(o.Lines());
        o.Driver().SetHeaderState(sim::demo::kStatoTestaIniziale);
        after.push_back(o.Lines());
        o.Driver().OpenForm(2);
        o.Driver().MoveToLine(kMiddle(60));
        o.Driver().EditLineField("DO77_ZQ_QTA_ANNULLO", "2");
        o.Driver().SetLineState(sim::demo::kStatoRigheAnnullato);
        after.push_back(o.Lines());
        return after;
    };
    LargeOrder indexed(60);
    LargeOrder scanning(60, {.offersOptimize = false});
    const auto withIndex = play(indexed);
    EXPECT_NE(withIndex.at(0), withIndex.at(1));  // the cancel flagged the lines
    EXPECT_EQ(withIndex.at(2).size(), 61u);
    EXPECT_EQ(play(scanning), withIndex);
    for (const auto& e : scanning.Driver().Events())
        EXPECT_FALSE(e.result.Failed()) << e.name << ": " << e.result.description;
}

}  // namespace
}  // namespace zq::testing
