#include "sim/recordset/ado_errors.h"
#include "sim/recordset/criteria.h"
#include "sim/recordset/field_impl.h"
#include "sim/recordset/recordset_impl.h"

namespace zq::sim {

namespace {

std::shared_ptr<MemRecordset> Lock(const std::weak_ptr<Object>& owner) {
    auto o = owner.lock();
    if (!o) RaiseClosed();
    return std::static_pointer_cast<MemRecordset>(o);
}

}  // namespace

MemField::MemField(std::weak_ptr<Object> owner, int column)
    : owner_(std::move(owner)),
      recordset_(static_cast<const MemRecordset*>(owner_.lock().get())),
      column_(column) {}

std::shared_ptr<MemRecordset> MemField::Owner() const {
    return Lock(owner_);
}

std::string MemField::Name() const {
    return Owner()->Def(column_).name;
}
std::int32_t MemField::Type() const {
    return Owner()->Def(column_).type;
}
std::int32_t MemField::DefinedSize() const {
    return Owner()->Def(column_).definedSize;
}
std::int32_t MemField::Attributes() const {
    return Owner()->Def(column_).attributes;
}
std::uint8_t MemField::Precision() const {
    return Owner()->Def(column_).precision;
}
std::uint8_t MemField::NumericScale() const {
    return Owner()->Def(column_).numericScale;
}

// Precision and scale are set on the fields of a closed recordset, between Fields.Append
// and Open; ADO reads them only for decimal and numeric fields.
void MemField::SetPrecision(std::uint8_t p) {
    Owner()->MutableDef(column_).precision = p;
}
void MemField::SetNumericScale(std::uint8_t s) {
    Owner()->MutableDef(column_).numericScale = s;
}

const MemRecordset& MemField::Reader() const {
    if (owner_.expired()) RaiseClosed();
    return *recordset_;
}

Variant MemField::Value() const {
    return Reader().ValueAt(column_);
}
void MemField::SetValue(const Variant& v) {
    Owner()->SetValueAt(column_, v);
}
Variant MemField::OriginalValue() const {
    return Reader().OriginalValueAt(column_);
}

// A field offers only the dynamic property Optimize, and only on a cursor that offers it.
ado::PropertyPtr MemField::Properties(std::string_view name) const {
    const auto owner = Owner();
    if (CompareText(name, "Optimize") != 0) RaiseItemNotFound(name);
    owner->RequireOptimizeOffered();
    owner->Def(column_);
    return std::make_shared<OptimizeProperty>(owner_, column_);
}

std::shared_ptr<MemRecordset> OptimizeProperty::Owner() const {
    return Lock(owner_);
}

Variant OptimizeProperty::Value() const {
    return Variant::Bool(Owner()->OptimizeAt(column_));
}

void OptimizeProperty::SetValue(const Variant& v) {
    Owner()->SetOptimizeAt(column_, v.ToBool());
}

}  // namespace zq::sim
