#include "sim/db/command.h"

#include <vector>

#include "host/error.h"
#include "sim/db/sqlite_connection.h"
#include "sim/fault/fault_plan.h"
#include "sim/recordset/mem_recordset.h"

namespace zq::sim {
namespace {

class SqliteParameter : public ado::Parameter {
  public:
    SqliteParameter(std::string name, std::int32_t type, std::int32_t direction, std::int32_t size,
                    Variant value)
        : name_(std::move(name)),
          type_(type),
          direction_(direction),
          size_(size),
          value_(std::move(value)) {}

    std::string Name() const override { return name_; }
    std::int32_t Type() const override { return type_; }
    std::int32_t Direction() const override { return direction_; }
    std::int32_t Size() const override { return size_; }
    std::uint8_t Precision() const override { return precision_; }
    std::uint8_t NumericScale() const override { return scale_; }
    void SetPrecision(std::uint8_t p) override { precision_ = p; }
    void SetNumericScale(std::uint8_t s) override { scale_ = s; }
    Variant Value() const override { return value_; }
    void SetValue(const Variant& v) override {
        FaultPoint point(FaultKind::Set, "Parameter.Value");
        value_ = v;
    }

  private:
    std::string name_;
    std::int32_t type_;
    std::int32_t direction_;
    std::int32_t size_;
    std::uint8_t precision_ = 0;
    std::uint8_t scale_ = 0;
    Variant value_;
};

class SqliteCommand : public ado::Command {
  public:
    void SetActiveConnection(const ado::ConnectionPtr& c) override {
        FaultPoint point(FaultKind::Set, "Command.ActiveConnection");
        connection_ = c;
    }
    ado::ConnectionPtr ActiveConnection() const override { return connection_; }
    void SetCommandText(std::string_view text) override {
        FaultPoint point(FaultKind::Set, "Command.CommandText");
        text_ = text;
    }
    std::string CommandText() const override { return text_; }
    void SetCommandType(std::int32_t type) override {
        FaultPoint point(FaultKind::Set, "Command.CommandType");
        type_ = type;
    }
    std::int32_t CommandType() const override { return type_; }
    void SetCommandTimeout(std::int32_t seconds) override {
        FaultPoint point(FaultKind::Set, "Command.CommandTimeout");
        timeout_ = seconds;
    }
    void SetNamedParameters(bool named) override {
        FaultPoint point(FaultKind::Set, "Command.NamedParameters");
        named_ = named;
    }

    ado::ParameterPtr CreateParameter(std::string_view name, std::int32_t type,
                                      std::int32_t direction, std::int32_t size,
                                      const Variant& value) override {
        FaultPoint point(FaultKind::Method, "Command.CreateParameter");
        return std::make_shared<SqliteParameter>(std::string(name), type, direction, size, value);
    }
    void AppendParameter(const ado::ParameterPtr& p) override {
        FaultPoint point(FaultKind::Method, "Command.Parameters.Append");
        if (!p) RaiseObjectNotSet("Append");
        params_.push_back(p);
    }
    std::int32_t ParameterCount() const override {
        return static_cast<std::int32_t>(params_.size());
    }
    ado::ParameterPtr ParameterAt(std::int32_t index) const override {
        if (index < 0 || index >= ParameterCount())
            Raise(err::AdoItemNotFound, "ADODB.Parameters",
                  "Item cannot be found in the collection corresponding to the requested name "
                  "or ordinal.");
        return params_[static_cast<size_t>(index)];
    }
    ado::ParameterPtr ParameterByName(std::string_view name) const override {
        FaultPoint point(FaultKind::Method, "Command.Parameters.Item");
        for (const auto& p : params_)
            if (SameName(p->Name(), name)) return p;
        Raise(err::AdoItemNotFound, "ADODB.Parameters",
              "Item cannot be found in the collection corresponding to the requested name or "
              "ordinal.");
    }

    ado::RecordsetPtr Execute(Variant* recordsAffected, std::int32_t options) override {
        FaultPoint point(
            type_ == ado::adCmdStoredProc ? FaultKind::Procedure : FaultKind::Statement, text_);
        auto conn = std::dynamic_pointer_cast<SqliteConnection>(connection_);
        if (!conn)
            Raise(err::AdoClosed, "ADODB.Command",
                  "Operation is not allowed when the object is closed.");
        if (type_ != ado::adCmdStoredProc) {
            std::int32_t opts = options == ado::adOptionUnspecified
                                    ? ado::adOptionUnspecified
                                    : (options & ado::adExecuteNoRecords) | ado::adCmdText;
            return conn->Execute(text_, recordsAffected, opts);
        }
        conn->NoteStatement(text_, ado::adCmdStoredProc);
        ProcCall call{text_, {}};
        ado::ParameterPtr returnValue;
        for (const auto& p : params_) {
            if (p->Direction() == ado::adParamReturnValue) {
                returnValue = p;
                continue;
            }
            call.args.push_back({named_ ? p->Name() : std::string(), p->Value()});
        }
        std::int32_t rc = conn->CallProcedure(call);
        if (returnValue) returnValue->SetValue(Variant::Int32(rc));
        if (recordsAffected) *recordsAffected = Variant::Int32(-1);
        return nullptr;
    }

  private:
    ado::ConnectionPtr connection_;
    std::string text_;
    std::int32_t type_ = ado::adCmdUnknown;
    std::int32_t timeout_ = 30;
    bool named_ = false;
    std::vector<ado::ParameterPtr> params_;
};

}  // namespace

ado::CommandPtr MakeCommand() {
    return std::make_shared<SqliteCommand>();
}

}  // namespace zq::sim
