// A Field of the in-memory recordset: a column number bound to its recordset. Reading
// Value after the cursor moved gives the new current row's value, as ADO's fields do.
#pragma once

#include <memory>

#include "data/ado.h"

namespace zq::sim {

class MemRecordset;

class MemField final : public ado::Field {
  public:
    MemField(std::weak_ptr<Object> owner, int column);

    std::string Name() const override;
    std::int32_t Type() const override;
    std::int32_t DefinedSize() const override;
    std::int32_t Attributes() const override;
    std::uint8_t Precision() const override;
    std::uint8_t NumericScale() const override;
    void SetPrecision(std::uint8_t p) override;
    void SetNumericScale(std::uint8_t s) override;
    Variant Value() const override;
    void SetValue(const Variant& v) override;
    Variant OriginalValue() const override;
    ado::PropertyPtr Properties(std::string_view name) const override;

    std::string TypeName() const override { return "Field"; }

  private:
    // The recordset, or error 3704 when it no longer exists.
    std::shared_ptr<MemRecordset> Owner() const;
    // The recordset for a read that calls nothing back: checked, not locked (a picture of
    // a whole document reads every value of every row through its fields).
    const MemRecordset& Reader() const;

    std::weak_ptr<Object> owner_;
    const MemRecordset* recordset_;
    int column_;
};

// The field's Optimize property: whether the rows keep an index on the column.
class OptimizeProperty final : public ado::Property {
  public:
    OptimizeProperty(std::weak_ptr<Object> owner, int column)
        : owner_(std::move(owner)), column_(column) {}

    std::string Name() const override { return "Optimize"; }
    Variant Value() const override;
    void SetValue(const Variant& v) override;

  private:
    std::shared_ptr<MemRecordset> Owner() const;

    std::weak_ptr<Object> owner_;
    int column_;
};

}  // namespace zq::sim
