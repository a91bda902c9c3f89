#include "data/query.h"

#include "host/nvl.h"

namespace zq {

namespace {

ado::RecordsetPtr Execute(ado::Connection& cnn, std::string_view sql, std::int32_t options) {
    Variant recordsAffected;
    return cnn.Execute(sql, &recordsAffected, options);
}

Variant ReadField(const ado::RecordsetPtr& rst, std::string_view field, const Variant& dflt) {
    if (!rst) RaiseObjectNotSet(field);
    return NvlVar(rst->Get(field), dflt);
}

}  // namespace

ado::RecordsetPtr OpenQuery(ado::Connection& cnn, std::string_view sql) {
    return Execute(cnn, sql, ado::adCmdText);
}

void ExecNoRecords(ado::Connection& cnn, std::string_view sql) {
    Execute(cnn, sql, ado::adCmdText | ado::adExecuteNoRecords);
}

void ExecUnspecified(ado::Connection& cnn, std::string_view sql) {
    Execute(cnn, sql, ado::adOptionUnspecified);
}

bool HasRow(const ado::RecordsetPtr& rst) {
    return rst && !(rst->BOF() && rst->EOF_());
}

std::int32_t ReadLong(const ado::RecordsetPtr& rst, std::string_view field) {
    return ReadField(rst, field, Variant::Int32(0)).ToLong();
}

std::string ReadText(const ado::RecordsetPtr& rst, std::string_view field) {
    return ReadField(rst, field, Variant("")).ToString();
}

double ReadDouble(const ado::RecordsetPtr& rst, std::string_view field) {
    return ReadField(rst, field, Variant(0.0)).ToDouble();
}

}  // namespace zq
