// Small stand-ins for ADO in the tests of the data conventions: a recordset over fixed
// rows with a cursor, bookmarks (row numbers) and a filter that only records its value and
// moves the cursor, as a real one does; and a connection that records what it ran.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "data/ado.h"

namespace zq::testing {

class FakeRecordset : public ado::Recordset {
  public:
    using Row = std::map<std::string, Variant>;
    std::vector<Row> rows;
    int current = 0;  // == rows.size() at EOF, -1 at BOF
    Variant filter = Variant::Int32(ado::adFilterNone);
    int filterWrites = 0;
    bool failRestore = false;  // SetFilter and SetBookmark raise

    explicit FakeRecordset(std::vector<Row> r = {}) : rows(std::move(r)) {}

    // Fields
    ado::FieldPtr FieldByName(std::string_view name) const override;
    std::int32_t FieldCount() const override { return 0; }
    ado::FieldPtr FieldAt(std::int32_t) const override { Unsupported(); }
    bool HasField(std::string_view) const override { return true; }
    void AppendField(std::string_view, std::int32_t, std::int32_t, std::int32_t) override {
        Unsupported();
    }

    // Cursor
    bool BOF() const override { return rows.empty() || current < 0; }
    bool EOF_() const override { return rows.empty() || current >= static_cast<int>(rows.size()); }
    Variant Bookmark() const override {
        if (BOF() || EOF_()) Raise(err::AdoBofEof, "FakeRecordset", "BOF or EOF");
        return Variant::Int32(current);
    }
    void SetBookmark(const Variant& b) override {
        if (failRestore) Raise(err::AdoArgumentsWrong, "FakeRecordset", "bookmark");
        current = b.ToLong();
    }
    Variant Filter() const override { return filter; }
    void SetFilter(const Variant& f) override {
        if (failRestore) Raise(err::AdoArgumentsWrong, "FakeRecordset", "filter");
        filter = f;
        ++filterWrites;
        current = 0;  // a new filter stands on the first row
    }
    void MoveFirst() override { current = 0; }
    void MoveNext() override { ++current; }
    void MoveLast() override { current = static_cast<int>(rows.size()) - 1; }
    void MovePrevious() override { --current; }
    std::int32_t RecordCount() const override { return static_cast<std::int32_t>(rows.size()); }

    // Not used by these tests.
    std::int32_t State() const override { return ado::adStateOpen; }
    void Open() override { Unsupported(); }
    void Close() override { Unsupported(); }
    std::int32_t EditMode() const override { return ado::adEditNone; }
    void Find(std::string_view, std::int32_t, std::int32_t, const Variant&) override {
        Unsupported();
    }
    ado::RecordsetPtr Clone(std::int32_t) override { Unsupported(); }
    void AddNew() override { Unsupported(); }
    void Update() override { Unsupported(); }
    void CancelUpdate() override { Unsupported(); }
    void Delete(std::int32_t) override { Unsupported(); }
    void UpdateBatch(std::int32_t) override { Unsupported(); }
    void CancelBatch(std::int32_t) override { Unsupported(); }

  private:
    [[noreturn]] static void Unsupported() {
        Raise(err::AdoNotAllowed, "FakeRecordset", "not supported by the fake");
    }
};

class FakeField : public ado::Field {
  public:
    FakeField(const FakeRecordset& rst, std::string name) : rst_(rst), name_(std::move(name)) {}
    std::string Name() const override { return name_; }
    Variant Value() const override {
        if (rst_.BOF() || rst_.EOF_()) Raise(err::AdoBofEof, name_, "BOF or EOF");
        const auto& row = rst_.rows[static_cast<std::size_t>(rst_.current)];
        auto it = row.find(name_);
        if (it == row.end()) Raise(err::AdoItemNotFound, name_, "Item not found");
        return it->second;
    }
    std::int32_t Type() const override { return ado::adVariant; }
    std::int32_t DefinedSize() const override { return 0; }
    std::int32_t Attributes() const override { return 0; }
    std::uint8_t Precision() const override { return 0; }
    std::uint8_t NumericScale() const override { return 0; }
    void SetPrecision(std::uint8_t) override {}
    void SetNumericScale(std::uint8_t) override {}
    void SetValue(const Variant&) override {}
    Variant OriginalValue() const override { return Value(); }

  private:
    const FakeRecordset& rst_;
    std::string name_;
};

inline ado::FieldPtr FakeRecordset::FieldByName(std::string_view name) const {
    return std::make_shared<FakeField>(*this, std::string(name));
}

class FakeConnection : public ado::Connection {
  public:
    struct Call {
        std::string sql;
        std::int32_t options;
    };
    std::vector<Call> calls;
    ado::RecordsetPtr result;
    bool fail = false;

    ado::RecordsetPtr Execute(std::string_view sql, Variant* recordsAffected,
                              std::int32_t options) override {
        calls.push_back({std::string(sql), options});
        if (fail) Raise(err::AdoProviderError, "FakeConnection", "statement failed");
        if (recordsAffected) *recordsAffected = Variant::Int32(0);
        return result;
    }
};

}  // namespace zq::testing
