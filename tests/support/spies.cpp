#include "support/spies.h"

#include "host/error.h"
#include "sim/db/command.h"
#include "sim/fault/fault_plan.h"

namespace zq::test {

ado::RecordsetPtr RecordingConnection::Execute(std::string_view text, Variant* recordsAffected,
                                               std::int32_t options) {
    statements.push_back({std::string(text), options});
    if (failWhen && failWhen(text)) {
        ++refused;
        Raise(err::AdoProviderError, "RecordingConnection", "statement refused by the test");
    }
    return db_->Execute(text, recordsAffected, options);
}

std::vector<std::string> RecordingConnection::Texts() const {
    std::vector<std::string> out;
    for (const auto& s : statements) out.push_back(s.text);
    return out;
}

Variant RecordingObject::Invoke(std::string_view member, CallKind kind, std::span<Variant> args) {
    std::string call = name_ + "." + std::string(member);
    if (kind == CallKind::Set) call += "=" + args.back().Describe();
    calls_->push_back(call);
    return Variant();
}

const NotedParameter* CommandLog::Param(std::string_view name) const {
    for (const auto& p : parameters)
        if (p->name == name) return p.get();
    return nullptr;
}

namespace {

class SpyParameter : public ado::Parameter {
  public:
    explicit SpyParameter(std::shared_ptr<NotedParameter> p) : p_(std::move(p)) {}
    std::string Name() const override { return p_->name; }
    std::int32_t Type() const override { return p_->type; }
    std::int32_t Direction() const override { return p_->direction; }
    std::int32_t Size() const override { return p_->size; }
    std::uint8_t Precision() const override { return p_->precision; }
    std::uint8_t NumericScale() const override { return p_->scale; }
    void SetPrecision(std::uint8_t v) override { p_->precision = v; }
    void SetNumericScale(std::uint8_t v) override { p_->scale = v; }
    Variant Value() const override { return p_->values.empty() ? Variant() : p_->values.back(); }
    void SetValue(const Variant& v) override {
        sim::FaultPoint point(sim::FaultKind::Set, "Parameter.Value");
        p_->values.push_back(v);
    }
    const std::shared_ptr<NotedParameter>& Noted() const { return p_; }

  private:
    std::shared_ptr<NotedParameter> p_;
};

class SpyCommand : public ado::Command {
  public:
    SpyCommand(std::shared_ptr<CommandLog> log, sim::SqliteConnectionPtr db)
        : log_(std::move(log)), db_(std::move(db)) {}

    void SetActiveConnection(const ado::ConnectionPtr& c) override {
        sim::FaultPoint point(sim::FaultKind::Set, "Command.ActiveConnection");
        Note("ActiveConnection");
        connection_ = c;
        log_->activeConnectionSet = c != nullptr;
    }
    ado::ConnectionPtr ActiveConnection() const override { return connection_; }
    void SetCommandText(std::string_view text) override {
        sim::FaultPoint point(sim::FaultKind::Set, "Command.CommandText");
        Note("CommandText");
        log_->text = text;
    }
    std::string CommandText() const override { return log_->text; }
    void SetCommandType(std::int32_t type) override {
        sim::FaultPoint point(sim::FaultKind::Set, "Command.CommandType");
        Note("CommandType");
        log_->type = type;
    }
    std::int32_t CommandType() const override { return log_->type; }
    void SetCommandTimeout(std::int32_t seconds) override {
        sim::FaultPoint point(sim::FaultKind::Set, "Command.CommandTimeout");
        Note("CommandTimeout");
        log_->timeout = seconds;
    }
    void SetNamedParameters(bool named) override {
        sim::FaultPoint point(sim::FaultKind::Set, "Command.NamedParameters");
        Note("NamedParameters");
        log_->named = named;
    }
    ado::ParameterPtr CreateParameter(std::string_view name, std::int32_t type,
                                      std::int32_t direction, std::int32_t size,
                                      const Variant& value) override {
        sim::FaultPoint point(sim::FaultKind::Method, "Command.CreateParameter");
        Note("CreateParameter");
        auto p = std::make_shared<NotedParameter>();
        p->name = name;
        p->type = type;
        p->direction = direction;
        p->size = size;
        if (!value.IsEmpty()) p->values.push_back(value);
        log_->parameters.push_back(p);
        return std::make_shared<SpyParameter>(p);
    }
    void AppendParameter(const ado::ParameterPtr& p) override {
        sim::FaultPoint point(sim::FaultKind::Method, "Command.Parameters.Append");
        Note("Append");
        auto spy = std::dynamic_pointer_cast<SpyParameter>(p);
        if (!spy) RaiseObjectNotSet("Append");
        spy->Noted()->appended = true;
        appended_.push_back(spy);
    }
    std::int32_t ParameterCount() const override {
        return static_cast<std::int32_t>(appended_.size());
    }
    ado::ParameterPtr ParameterAt(std::int32_t i) const override {
        if (i < 0 || i >= ParameterCount()) Raise(err::AdoItemNotFound, "Parameters", "index");
        return appended_[static_cast<std::size_t>(i)];
    }
    ado::ParameterPtr ParameterByName(std::string_view name) const override {
        sim::FaultPoint point(sim::FaultKind::Method, "Command.Parameters.Item");
        for (const auto& p : appended_)
            if (SameName(p->Name(), name)) return p;
        Raise(err::AdoItemNotFound, "Parameters", std::string(name));
    }

    // Runs the command as built on the database behind the connection.
    ado::RecordsetPtr Execute(Variant* recordsAffected, std::int32_t options) override {
        sim::FaultPoint point(log_->type == ado::adCmdStoredProc ? sim::FaultKind::Procedure
                                                                 : sim::FaultKind::Statement,
                              log_->text);
        Note("Execute");
        log_->executeOptions = options;
        ++log_->executed;
        log_->executedTexts.push_back(log_->text);
        if (log_->failExecute != 0) Raise(log_->failExecute, "SpyCommand", "procedure failed");
        if (!connection_) RaiseObjectNotSet("Execute");
        ado::CommandPtr real = sim::MakeCommand();
        real->SetActiveConnection(db_);
        real->SetCommandText(log_->text);
        real->SetCommandType(log_->type);
        real->SetCommandTimeout(log_->timeout);
        real->SetNamedParameters(log_->named);
        for (const auto& p : appended_) {
            auto q =
                real->CreateParameter(p->Name(), p->Type(), p->Direction(), p->Size(), p->Value());
            q->SetPrecision(p->Precision());
            q->SetNumericScale(p->NumericScale());
            real->AppendParameter(q);
        }
        return real->Execute(recordsAffected, options);
    }

  private:
    void Note(const char* member) { log_->calls.emplace_back(member); }

    std::shared_ptr<CommandLog> log_;
    sim::SqliteConnectionPtr db_;
    ado::ConnectionPtr connection_;
    std::vector<std::shared_ptr<SpyParameter>> appended_;
};

}  // namespace

ObjectFactory SpyCommandFactory(std::shared_ptr<CommandLog> log, sim::SqliteConnectionPtr db) {
    return [log, db]() -> ObjectPtr {
        ++log->created;
        return std::make_shared<SpyCommand>(log, db);
    };
}

}  // namespace zq::test
