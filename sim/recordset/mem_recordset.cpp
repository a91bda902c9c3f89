#include "sim/recordset/mem_recordset.h"

#include "sim/recordset/recordset_impl.h"

namespace zq::sim {

ado::RecordsetPtr MakeRecordset(std::vector<FieldDef> fields, std::vector<Row> rows,
                                std::shared_ptr<BatchWriter> writer, CursorOptions cursor) {
    return std::make_shared<MemRecordset>(
        std::make_shared<RowTable>(std::move(fields), std::move(rows), std::move(writer), cursor));
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
