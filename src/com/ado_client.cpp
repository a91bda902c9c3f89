#include "com/ado_client.h"

#include "host/error.h"

namespace zq::com {

namespace {

std::uint8_t Byte(const Variant& v) {
    return static_cast<std::uint8_t>(v.ToLong());
}

// Bit of an argument sent as omitted.
constexpr std::uint32_t Omit(int index) {
    return 1u << index;
}

}  // namespace

// ---- Property ----

std::string DispProperty::Name() const {
    return Read("Name").ToString();
}
Variant DispProperty::Value() const {
    return Read("Value");
}
void DispProperty::SetValue(const Variant& v) {
    Write("Value", v);
}

// ---- Field ----

std::string DispField::Name() const {
    return Read("Name").ToString();
}
std::int32_t DispField::Type() const {
    return Read("Type").ToLong();
}
std::int32_t DispField::DefinedSize() const {
    return Read("DefinedSize").ToLong();
}
std::int32_t DispField::Attributes() const {
    return Read("Attributes").ToLong();
}
std::uint8_t DispField::Precision() const {
    return Byte(Read("Precision"));
}
std::uint8_t DispField::NumericScale() const {
    return Byte(Read("NumericScale"));
}
void DispField::SetPrecision(std::uint8_t p) {
    Write("Precision", Variant::Int16(p));
}
void DispField::SetNumericScale(std::uint8_t s) {
    Write("NumericScale", Variant::Int16(s));
}
Variant DispField::Value() const {
    return Read("Value");
}
void DispField::SetValue(const Variant& v) {
    Write("Value", v);
}
Variant DispField::OriginalValue() const {
    return Read("OriginalValue");
}
// Field.Properties("Optimize"): the provider's Properties collection, item by name.
ado::PropertyPtr DispField::Properties(std::string_view name) const {
    ObjectPtr properties = Read("Properties").ToObject();
    if (!properties) RaiseObjectNotSet("Properties");
    return Typed<ado::Property, DispProperty>(GetProp(properties, "Item", {Variant(name)}));
}

// ---- Recordset ----

ObjectPtr DispRecordset::Fields() const {
    ObjectPtr f = Read("Fields").ToObject();
    if (!f) RaiseObjectNotSet("Fields");
    return f;
}

std::int32_t DispRecordset::FieldCount() const {
    return GetProp(Fields(), "Count").ToLong();
}

ado::FieldPtr DispRecordset::FieldAt(std::int32_t index) const {
    return Typed<ado::Field, DispField>(GetProp(Fields(), "Item", {Variant::Int32(index)}));
}

ado::FieldPtr DispRecordset::FieldByName(std::string_view name) const {
    return Typed<ado::Field, DispField>(GetProp(Fields(), "Item", {Variant(name)}));
}

bool DispRecordset::HasField(std::string_view name) const {
    try {
        return FieldByName(name) != nullptr;
    } catch (const HostError& e) {
        if (e.Number() == err::AdoItemNotFound) return false;
        throw;
    }
}

void DispRecordset::AppendField(std::string_view name, std::int32_t type, std::int32_t definedSize,
                                std::int32_t attributes) {
    CallMethod(Fields(), "Append",
               {Variant(name), Variant::Int32(type), Variant::Int32(definedSize),
                Variant::Int32(attributes)});
}

std::int32_t DispRecordset::State() const {
    return Read("State").ToLong();
}
void DispRecordset::Open() {
    Call("Open");
}
void DispRecordset::Close() {
    Call("Close");
}
std::int32_t DispRecordset::EditMode() const {
    return Read("EditMode").ToLong();
}
std::int32_t DispRecordset::Status() const {
    return Read("Status").ToLong();
}
bool DispRecordset::BOF() const {
    return Read("BOF").ToBool();
}
bool DispRecordset::EOF_() const {
    return Read("EOF").ToBool();
}
std::int32_t DispRecordset::RecordCount() const {
    return Read("RecordCount").ToLong();
}
void DispRecordset::MoveFirst() {
    Call("MoveFirst");
}
void DispRecordset::MoveLast() {
    Call("MoveLast");
}
void DispRecordset::MoveNext() {
    Call("MoveNext");
}
void DispRecordset::MovePrevious() {
    Call("MovePrevious");
}
Variant DispRecordset::Bookmark() const {
    return Read("Bookmark");
}
void DispRecordset::SetBookmark(const Variant& bookmark) {
    Write("Bookmark", bookmark);
}

void DispRecordset::Find(std::string_view criteria, std::int32_t skipRecords,
                         std::int32_t searchDirection, const Variant& start) {
    Variant args[4] = {Variant(criteria), Variant::Int32(skipRecords),
                       Variant::Int32(searchDirection), start};
    CallRef("Find", args, start.IsEmpty() ? Omit(3) : 0);
}

Variant DispRecordset::Filter() const {
    return Read("Filter");
}
void DispRecordset::SetFilter(const Variant& filter) {
    Write("Filter", filter);
}

ado::RecordsetPtr DispRecordset::Clone(std::int32_t lockType) {
    return Typed<ado::Recordset, DispRecordset>(Call("Clone", {Variant::Int32(lockType)}));
}

void DispRecordset::AddNew() {
    Call("AddNew");
}
void DispRecordset::Update() {
    Call("Update");
}
void DispRecordset::CancelUpdate() {
    Call("CancelUpdate");
}
void DispRecordset::Delete(std::int32_t affectRecords) {
    Call("Delete", {Variant::Int32(affectRecords)});
}
void DispRecordset::UpdateBatch(std::int32_t affectRecords) {
    Call("UpdateBatch", {Variant::Int32(affectRecords)});
}
void DispRecordset::CancelBatch(std::int32_t affectRecords) {
    Call("CancelBatch", {Variant::Int32(affectRecords)});
}

// ---- Connection ----

ado::RecordsetPtr DispConnection::Execute(std::string_view commandText, Variant* recordsAffected,
                                          std::int32_t options) {
    Variant args[3] = {Variant(commandText), Variant(), Variant::Int32(options)};
    const Variant rs = CallRef("Execute", args, recordsAffected ? 0 : Omit(1));
    if (recordsAffected) *recordsAffected = args[1];
    return Typed<ado::Recordset, DispRecordset>(rs);
}

// ---- Parameter ----

std::string DispParameter::Name() const {
    return Read("Name").ToString();
}
std::int32_t DispParameter::Type() const {
    return Read("Type").ToLong();
}
std::int32_t DispParameter::Direction() const {
    return Read("Direction").ToLong();
}
std::int32_t DispParameter::Size() const {
    return Read("Size").ToLong();
}
std::uint8_t DispParameter::Precision() const {
    return Byte(Read("Precision"));
}
std::uint8_t DispParameter::NumericScale() const {
    return Byte(Read("NumericScale"));
}
void DispParameter::SetPrecision(std::uint8_t p) {
    Write("Precision", Variant::Int16(p));
}
void DispParameter::SetNumericScale(std::uint8_t s) {
    Write("NumericScale", Variant::Int16(s));
}
Variant DispParameter::Value() const {
    return Read("Value");
}
void DispParameter::SetValue(const Variant& v) {
    Write("Value", v);
}

// ---- Command ----

ObjectPtr DispCommand::Parameters() const {
    ObjectPtr p = Read("Parameters").ToObject();
    if (!p) RaiseObjectNotSet("Parameters");
    return p;
}

void DispCommand::SetActiveConnection(const ado::ConnectionPtr& c) {
    // An object assignment: the host's own connection object, by reference.
    Write("ActiveConnection", Variant(ObjectPtr(c)));
}

ado::ConnectionPtr DispCommand::ActiveConnection() const {
    return Typed<ado::Connection, DispConnection>(Read("ActiveConnection"));
}

void DispCommand::SetCommandText(std::string_view text) {
    Write("CommandText", Variant(text));
}
std::string DispCommand::CommandText() const {
    return Read("CommandText").ToString();
}
void DispCommand::SetCommandType(std::int32_t type) {
    Write("CommandType", Variant::Int32(type));
}
std::int32_t DispCommand::CommandType() const {
    return Read("CommandType").ToLong();
}
void DispCommand::SetCommandTimeout(std::int32_t seconds) {
    Write("CommandTimeout", Variant::Int32(seconds));
}
void DispCommand::SetNamedParameters(bool named) {
    Write("NamedParameters", Variant::Bool(named));
}

ado::ParameterPtr DispCommand::CreateParameter(std::string_view name, std::int32_t type,
                                               std::int32_t direction, std::int32_t size,
                                               const Variant& value) {
    Variant args[5] = {Variant(name), Variant::Int32(type), Variant::Int32(direction),
                       Variant::Int32(size), value};
    return Typed<ado::Parameter, DispParameter>(
        CallRef("CreateParameter", args, value.IsEmpty() ? Omit(4) : 0));
}

void DispCommand::AppendParameter(const ado::ParameterPtr& p) {
    CallMethod(Parameters(), "Append", {Variant(ObjectPtr(p))});
}

std::int32_t DispCommand::ParameterCount() const {
    return GetProp(Parameters(), "Count").ToLong();
}

ado::ParameterPtr DispCommand::ParameterAt(std::int32_t index) const {
    return Typed<ado::Parameter, DispParameter>(
        GetProp(Parameters(), "Item", {Variant::Int32(index)}));
}

ado::ParameterPtr DispCommand::ParameterByName(std::string_view name) const {
    return Typed<ado::Parameter, DispParameter>(GetProp(Parameters(), "Item", {Variant(name)}));
}

ado::RecordsetPtr DispCommand::Execute(Variant* recordsAffected, std::int32_t options) {
    // Execute(RecordsAffected, Parameters, Options): the parameters are already appended.
    Variant args[3] = {Variant(), Variant(), Variant::Int32(options)};
    const Variant rs = CallRef("Execute", args, Omit(1) | (recordsAffected ? 0 : Omit(0)));
    if (recordsAffected) *recordsAffected = args[0];
    return Typed<ado::Recordset, DispRecordset>(rs);
}

}  // namespace zq::com
