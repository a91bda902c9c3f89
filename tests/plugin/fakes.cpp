#include "fakes.h"

namespace zq::test {

namespace {

// A column of the current row of a FakeRows.
class FakeField : public ado::Field {
  public:
    FakeField(const FakeRows& rows, std::int32_t column) : rows_(rows), column_(column) {}
    std::string Name() const override { return rows_.ColumnName(column_); }
    std::int32_t Type() const override { return ado::adVariant; }
    std::int32_t DefinedSize() const override { return 0; }
    std::int32_t Attributes() const override { return 0; }
    std::uint8_t Precision() const override { return 0; }
    std::uint8_t NumericScale() const override { return 0; }
    void SetPrecision(std::uint8_t) override {}
    void SetNumericScale(std::uint8_t) override {}
    Variant Value() const override { return rows_.ValueAt(column_); }
    void SetValue(const Variant&) override {
        Raise(err::AdoNotAllowed, "FakeField", "read-only result");
    }
    Variant OriginalValue() const override { return Value(); }

  private:
    const FakeRows& rows_;
    std::int32_t column_;
};

std::string Bool(VBool v) {
    return IsTrue(v) ? "True" : "False";
}

}  // namespace

ado::FieldPtr FakeRows::FieldAt(std::int32_t i) const {
    if (i < 0 || i >= FieldCount()) Raise(err::AdoItemNotFound, "FakeRows", "item not found");
    return std::make_shared<FakeField>(*this, i);
}

ado::FieldPtr FakeRows::FieldByName(std::string_view name) const {
    const std::int32_t i = Column(name);
    if (i < 0) Raise(err::AdoItemNotFound, "FakeRows", "item not found");
    return std::make_shared<FakeField>(*this, i);
}

ado::RecordsetPtr FakeConnection::Execute(std::string_view text, Variant*, std::int32_t options) {
    statements.push_back({std::string(text), options});
    if (failAll) Raise(err::AdoProviderError, "Microsoft OLE DB Provider for SQL Server", "down");
    for (const Scripted& s : script_)
        if (text.find(s.key) != std::string_view::npos)
            return std::make_shared<FakeRows>(s.columns, s.rows);
    return std::make_shared<FakeRows>(std::vector<std::string>{},
                                      std::vector<std::vector<Variant>>{});
}

std::int16_t FakeDocUI::IndicatoreAttesa() const {
    if (faultOnRead) throw std::logic_error("busy indicator unreadable");
    log_.push_back("IndicatoreAttesa");
    return indicatore;
}

void FakeDocUI::SetIndicatoreAttesa(std::int16_t v) {
    log_.push_back("SetIndicatoreAttesa(" + std::to_string(v) + ")");
    indicatore = v;
}

void FakeDocUI::SetGestCorpoVert(VBool v) {
    log_.push_back("SetGestCorpoVert(" + Bool(v) + ")");
    gestCorpoVert = v;
}

void FakeDocUI::SetGestCorpoOrd(VBool v) {
    log_.push_back("SetGestCorpoOrd(" + Bool(v) + ")");
    gestCorpoOrd = v;
}

FakeRegDoc::FakeRegDoc(CallLog& log, bool withSections)
    : docUI(std::make_shared<FakeDocUI>(log)),
      rigaCorpo(std::make_shared<FakeRigaCorpo>()),
      log_(log) {
    if (withSections) {
        corpoOrd =
            std::make_shared<FakeRows>(std::vector<std::string>{"DO31_PROGRIGA"},
                                       std::vector<std::vector<Variant>>{{Variant::Int32(1)}});
        corpoVert =
            std::make_shared<FakeRows>(std::vector<std::string>{"DO77_PROGRIGA"},
                                       std::vector<std::vector<Variant>>{{Variant::Int32(1)}});
    }
}

void FakeRegDoc::ApriRstDocCorpoVert(std::string_view condizione) {
    Note("ApriRstDocCorpoVert(" + std::string(condizione) + ")");
    corpoVert = std::make_shared<FakeRows>(std::vector<std::string>{"DO77_PROGRIGA"},
                                           std::vector<std::vector<Variant>>{});
}

void FakeRegDoc::ApriRstDocCorpoOrd(std::string_view condizione) {
    Note("ApriRstDocCorpoOrd(" + std::string(condizione) + ")");
    corpoOrd = std::make_shared<FakeRows>(std::vector<std::string>{"DO31_PROGRIGA"},
                                          std::vector<std::vector<Variant>>{});
}

Variant LoggingObject::Invoke(std::string_view member, CallKind kind, std::span<Variant> args) {
    std::string call = name_ + "." + std::string(member);
    if (kind == CallKind::Set) call += "=" + args.back().Describe();
    log_.push_back(call);
    return Variant();
}

FakeHost::FakeHost(bool withSections)
    : doc(std::make_shared<FakeRegDoc>(log, withSections)),
      funzioni_(std::string(host::kProgIdFunzioniGlobali),
                [] { return std::make_shared<FakeFunzioniGlobali>(); }) {
    auto ambiente = std::make_shared<FakeAmbiente>();
    ambiente->ditta = std::make_shared<FakeDitta>(Variant::Int32(1));
    ambiente->messaggi = std::make_shared<FakeMessaggi>();
    programma->ambiente = ambiente;
}

VBool FakeHost::Initialize(std::int16_t index) {
    ado::ConnectionPtr c = cnn;
    host::RegDocPtr d = doc;
    host::ProgrammaPtr p = programma;
    host::DittaPtr t = ditta;
    VBool result = 0x55;  // neither True nor False: shows that an answer was written
    lastResult = plugin->Initialize(param, c, d, p, t, index, result);
    return result;
}

}  // namespace zq::test
