// Numbering of new lines and of the cancellation group.

#include <gtest/gtest.h>

#include <limits>

#include "seven_lines.h"
#include "sim/recordset/mem_recordset.h"
#include "support/error_of.h"

namespace zq::test {
namespace {

using plugin::CLSRF_REGDOC_STATI;
using plugin::ClsrfTestAccess;

ado::RecordsetPtr Lines(const char* column, std::vector<Variant> values) {
    std::vector<sim::Row> rows;
    for (auto& v : values) rows.push_back({v});
    return sim::MakeRecordset({{column, ado::adVariant}}, rows);
}

Variant I(std::int32_t v) {
    return Variant::Int32(v);
}

TEST(Numbering, NextLineNumberIsOneAboveTheHighestAndAtLeastTwo) {
    CLSRF_REGDOC_STATI p;
    EXPECT_EQ(ClsrfTestAccess::GetMaxDO30_PROGRIGA(p, nullptr), 1);
    EXPECT_EQ(ClsrfTestAccess::GetMaxDO30_PROGRIGA(p, Lines("DO30_PROGRIGA", {})), 1);
    EXPECT_EQ(ClsrfTestAccess::GetMaxDO30_PROGRIGA(p, Lines("DO30_PROGRIGA", {I(0)})), 2);
    auto rs = Lines("DO30_PROGRIGA", {I(3), Variant::Null(), I(7), I(5)});
    rs->MoveNext();  // the walk is over every row, wherever the cursor stands
    EXPECT_EQ(ClsrfTestAccess::GetMaxDO30_PROGRIGA(p, rs), 8);
    EXPECT_EQ(rs->Get("DO30_PROGRIGA").IsNull(), true);  // cursor left where it was
    rs->MoveLast();
    rs->MoveNext();
    EXPECT_EQ(ClsrfTestAccess::GetMaxDO30_PROGRIGA(p, rs), 1);  // standing at EOF
    EXPECT_EQ(ErrorOf([&] {
                  ClsrfTestAccess::GetMaxDO30_PROGRIGA(
                      p, Lines("DO30_PROGRIGA", {I(std::numeric_limits<std::int32_t>::max())}));
              }),
              err::Overflow);
}

TEST(Numbering, TheGroupIsFixedOnceForTheDocument) {
    CLSRF_REGDOC_STATI p;
    EXPECT_EQ(ClsrfTestAccess::GetMaxDO30_PROGPADRE(p, nullptr), 1);  // nothing kept
    EXPECT_EQ(ClsrfTestAccess::GetMaxDO30_PROGPADRE(
                  p, Lines("DO30_PROGPADRE", {Variant::Null(), I(0), I(4)})),
              5);
    EXPECT_EQ(ClsrfTestAccess::GetMaxDO30_PROGPADRE(p, Lines("DO30_PROGPADRE", {I(40)})), 5);
}

TEST(Numbering, TheGroupOfTheFirstLinkWins) {
    CLSRF_REGDOC_STATI p;
    ClsrfTestAccess::AddLinkAnnullo(p, "{D1}", "{M1}", Variant::Int32(6));
    ClsrfTestAccess::AddLinkAnnullo(p, "{D2}", "{M2}", Variant::Int32(9));
    EXPECT_EQ(ClsrfTestAccess::GetMaxDO30_PROGPADRE(p, Lines("DO30_PROGPADRE", {I(40)})), 6);
}

TEST(Numbering, AFailureIsReportedUnderTheGroupNumbering) {
    CLSRF_REGDOC_STATI p;
    try {
        ClsrfTestAccess::GetMaxDO30_PROGPADRE(p, Lines("DO30_PROGPADRE", {Variant("x")}));
        FAIL() << "no error";
    } catch (const HostError& e) {
        EXPECT_EQ(e.Number(), err::TypeMismatch);
        EXPECT_EQ(e.Source(), "errore GetMaxDO30_PROGPADRE");
    }
}

}  // namespace
}  // namespace zq::test
