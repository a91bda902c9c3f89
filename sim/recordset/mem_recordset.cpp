#include "sim/recordset/mem_recordset.h"

#include "sim/recordset/recordset_impl.h"

namespace zq::sim {

ado::RecordsetPtr MakeRecordset(std::vector<FieldDef> fields, std::vector<Row> rows,
                                std::shared_ptr<BatchWriter> writer, CursorOptions cursor) {
    return std::make_shared<MemRecordset>(
        std::make_shared<RowTable>(std::move(fields), std::move(rows), std::move(writer), cursor));
}

RowsBuilder::RowsBuilder(std::vector<FieldDef> fields)
    : table_(std::make_shared<RowTable>(std::move(fields), std::vector<Row>{}, nullptr)) {}

const std::vector<FieldDef>& RowsBuilder::Fields() const {
    return table_->Fields();
}

void RowsBuilder::SetField(std::size_t column, FieldDef def) {
    table_->SetFieldDef(column, std::move(def));
}

void RowsBuilder::Add(const Row& row) {
    table_->AppendFetched(row);
}

std::size_t RowsBuilder::Size() const {
    return table_->Size();
}

void RowsBuilder::Set(std::size_t row, std::size_t column, const Variant& value) {
    table_->SetFetched(static_cast<RowId>(row + 1), static_cast<int>(column), value);
}

ado::RecordsetPtr RowsBuilder::Finish(std::shared_ptr<BatchWriter> writer, CursorOptions cursor) {
    table_->Attach(std::move(writer), cursor);
    return std::make_shared<MemRecordset>(std::move(table_));
}

void LabelRecordset(const ado::RecordsetPtr& rs, std::string label) {
    if (auto mem = std::dynamic_pointer_cast<MemRecordset>(rs);
        mem && mem->State() == ado::adStateOpen)
        mem->SetLabel(std::move(label));
}

ado::RecordsetPtr MakeClosedRecordset() {
    return std::make_shared<MemRecordset>();
}

}  // namespace zq::sim
