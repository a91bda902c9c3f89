// Shared data and helpers of the recordset engine tests.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "host/error.h"
#include "sim/recordset/mem_recordset.h"
#include "support/error_of.h"

namespace zq::sim {

using test::ErrorOf;

// Records what UpdateBatch hands over, one line per row, naming the row by its first
// field: "I 6", "U 2 QTA 2.5->3", "D 4". It can be told to raise on its n-th call.
class RecordingWriter : public BatchWriter {
  public:
    std::vector<std::string> log;
    int failOnCall = -1;

    void Insert(const std::vector<FieldDef>&, const Row& row) override {
        Count();
        log.push_back("I " + row[0].Describe());
    }
    void Update(const std::vector<FieldDef>& fields, const Row& original,
                const Row& current) override {
        Count();
        std::string line = "U " + original[0].Describe();
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (!original[i].SameAs(current[i])) {
                line += " " + fields[i].name + " " + original[i].Describe() + "->" +
                        current[i].Describe();
            }
        }
        log.push_back(line);
    }
    void Delete(const std::vector<FieldDef>&, const Row& original) override {
        Count();
        log.push_back("D " + original[0].Describe());
    }

  private:
    void Count() {
        if (calls_++ == failOnCall) Raise(-2147217900, "test writer", "write refused");
    }
    int calls_ = 0;
};

// OLE dates of the fixture rows.
inline constexpr double kJan15_2024 = 45306;
inline constexpr double kFeb01_2024 = 45323;
inline constexpr double kDec31_2023 = 45291;

// Five body lines with the kinds of values the document recordsets hold:
//  ID  DO30_PROGRIGA  DO30_PROGPADRE  CODE   QTA   DATA        DO30_GUID   NOTE       FLAG
//  1   1              0               ABC    10    2024-01-15  {AAAA-1}    O'Malley   0
//  2   2              9999            abc    2.5   2024-02-01  {BBBB-2}    Null       1
//  3   3              9999            Abd    0     Null        {cccc-3}    ""         0
//  4   5              7               X'Y    -1    2023-12-31  {DDDD-4}    note       Null
//  5   5              0               "5"    5     2024-01-15  {EEEE-5}    "5"        1
inline std::vector<FieldDef> LineFields() {
    return {
        {"ID", 3, 4},           {"DO30_PROGRIGA", 3, 4}, {"DO30_PROGPADRE", 3, 4},
        {"CODE", 200, 20},      {"QTA", 5, 8},           {"DATA", 7, 8},
        {"DO30_GUID", 200, 38}, {"NOTE", 200, 50},       {"FLAG", 2, 2},
    };
}

inline std::vector<Row> LineRows() {
    auto L = [](std::int32_t i) { return Variant::Int32(i); };
    auto D = [](double d) { return Variant::Date(d); };
    auto F = [](std::int16_t i) { return Variant::Int16(i); };
    const Variant null = Variant::Null();
    return {
        {L(1), L(1), L(0), "ABC", 10.0, D(kJan15_2024), "{AAAA-1}", "O'Malley", F(0)},
        {L(2), L(2), L(9999), "abc", 2.5, D(kFeb01_2024), "{BBBB-2}", null, F(1)},
        {L(3), L(3), L(9999), "Abd", 0.0, null, "{cccc-3}", "", F(0)},
        {L(4), L(5), L(7), "X'Y", -1.0, D(kDec31_2023), "{DDDD-4}", "note", null},
        {L(5), L(5), L(0), "5", 5.0, D(kJan15_2024), "{EEEE-5}", "5", F(1)},
    };
}

inline ado::RecordsetPtr MakeLines(std::shared_ptr<BatchWriter> writer = nullptr) {
    return MakeRecordset(LineFields(), LineRows(), std::move(writer));
}

inline int CurrentId(const ado::Recordset& rs) {
    return rs.Get("ID").ToLong();
}

// The IDs the recordset shows, walked from its first row; leaves the cursor at EOF.
inline std::vector<int> VisibleIds(ado::Recordset& rs) {
    std::vector<int> ids;
    if (rs.BOF() && rs.EOF_()) return ids;
    rs.MoveFirst();
    while (!rs.EOF_()) {
        ids.push_back(CurrentId(rs));
        rs.MoveNext();
    }
    return ids;
}

}  // namespace zq::sim
