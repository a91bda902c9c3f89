// The ADO interfaces of data/ado.h over the host's ADO objects, reached by name through
// their dual interfaces (Connection, Recordset, Fields, Field, Command, Parameters,
// Parameter), so that the host's provider does the work. Each adapter also answers
// late-bound calls by forwarding them by name.
#pragma once

#include "com/dispatch_client.h"
#include "data/ado.h"

namespace zq::com {

class DispProperty : public ado::Property, public ByName {
  public:
    using ByName::ByName;
    Variant Invoke(std::string_view m, CallKind k, std::span<Variant> a) override {
        return InvokeByName(m, k, a);
    }
    std::string Name() const override;
    Variant Value() const override;
    void SetValue(const Variant& v) override;
};

class DispField : public ado::Field, public ByName {
  public:
    using ByName::ByName;
    Variant Invoke(std::string_view m, CallKind k, std::span<Variant> a) override {
        return InvokeByName(m, k, a);
    }
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
};

class DispRecordset : public ado::Recordset, public ByName {
  public:
    using ByName::ByName;
    Variant Invoke(std::string_view m, CallKind k, std::span<Variant> a) override {
        return InvokeByName(m, k, a);
    }
    std::int32_t FieldCount() const override;
    ado::FieldPtr FieldAt(std::int32_t index) const override;
    ado::FieldPtr FieldByName(std::string_view name) const override;
    bool HasField(std::string_view name) const override;
    void AppendField(std::string_view name, std::int32_t type, std::int32_t definedSize,
                     std::int32_t attributes) override;
    std::int32_t State() const override;
    void Open() override;
    void Close() override;
    std::int32_t EditMode() const override;
    std::int32_t Status() const override;
    bool BOF() const override;
    bool EOF_() const override;
    std::int32_t RecordCount() const override;
    void MoveFirst() override;
    void MoveLast() override;
    void MoveNext() override;
    void MovePrevious() override;
    Variant Bookmark() const override;
    void SetBookmark(const Variant& bookmark) override;
    void Find(std::string_view criteria, std::int32_t skipRecords, std::int32_t searchDirection,
              const Variant& start) override;
    Variant Filter() const override;
    void SetFilter(const Variant& filter) override;
    ado::RecordsetPtr Clone(std::int32_t lockType) override;
    void AddNew() override;
    void Update() override;
    void CancelUpdate() override;
    void Delete(std::int32_t affectRecords) override;
    void UpdateBatch(std::int32_t affectRecords) override;
    void CancelBatch(std::int32_t affectRecords) override;

  private:
    ObjectPtr Fields() const;
};

class DispConnection : public ado::Connection, public ByName {
  public:
    using ByName::ByName;
    Variant Invoke(std::string_view m, CallKind k, std::span<Variant> a) override {
        return InvokeByName(m, k, a);
    }
    ado::RecordsetPtr Execute(std::string_view commandText, Variant* recordsAffected,
                              std::int32_t options) override;
};

class DispParameter : public ado::Parameter, public ByName {
  public:
    using ByName::ByName;
    Variant Invoke(std::string_view m, CallKind k, std::span<Variant> a) override {
        return InvokeByName(m, k, a);
    }
    std::string Name() const override;
    std::int32_t Type() const override;
    std::int32_t Direction() const override;
    std::int32_t Size() const override;
    std::uint8_t Precision() const override;
    std::uint8_t NumericScale() const override;
    void SetPrecision(std::uint8_t p) override;
    void SetNumericScale(std::uint8_t s) override;
    Variant Value() const override;
    void SetValue(const Variant& v) override;
};

class DispCommand : public ado::Command, public ByName {
  public:
    using ByName::ByName;
    Variant Invoke(std::string_view m, CallKind k, std::span<Variant> a) override {
        return InvokeByName(m, k, a);
    }
    void SetActiveConnection(const ado::ConnectionPtr& c) override;
    ado::ConnectionPtr ActiveConnection() const override;
    void SetCommandText(std::string_view text) override;
    std::string CommandText() const override;
    void SetCommandType(std::int32_t type) override;
    std::int32_t CommandType() const override;
    void SetCommandTimeout(std::int32_t seconds) override;
    void SetNamedParameters(bool named) override;
    ado::ParameterPtr CreateParameter(std::string_view name, std::int32_t type,
                                      std::int32_t direction, std::int32_t size,
                                      const Variant& value) override;
    void AppendParameter(const ado::ParameterPtr& p) override;
    std::int32_t ParameterCount() const override;
    ado::ParameterPtr ParameterAt(std::int32_t index) const override;
    ado::ParameterPtr ParameterByName(std::string_view name) const override;
    ado::RecordsetPtr Execute(Variant* recordsAffected, std::int32_t options) override;

  private:
    ObjectPtr Parameters() const;
};

// A late-bound value as the typed interface `I`: an Object that already is one stays as
// it is, another module's object gets the adapter `A` over its IDispatch, null stays
// null; anything else is error 13.
template <class I, class A>
std::shared_ptr<I> Typed(const Variant& v) {
    const ObjectPtr o = v.ToObject();
    if (!o) return nullptr;
    if (auto t = std::dynamic_pointer_cast<I>(o)) return t;
    if (auto* holder = dynamic_cast<DispatchHolder*>(o.get()))
        return std::make_shared<A>(ComPtr<IDispatch>(holder->Dispatch()));
    Raise(err::TypeMismatch, o->TypeName(), "Type mismatch");
}

}  // namespace zq::com
