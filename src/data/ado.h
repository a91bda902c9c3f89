// ADO-shaped interfaces: the part of ADO the plug-in uses, with ADO's numbers.
//
// The plug-in sees only these abstract classes. Tests and tools bind them to the
// in-memory recordset engine and the SQLite connection under sim/; a Windows build binds
// them to real ADO. Every method may raise HostError with ADO's error numbers.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "host/object.h"
#include "host/variant.h"

namespace zq::ado {

// CommandTypeEnum / ExecuteOptionEnum
inline constexpr std::int32_t adOptionUnspecified = -1;
inline constexpr std::int32_t adCmdText = 1;
inline constexpr std::int32_t adCmdTable = 2;
inline constexpr std::int32_t adCmdStoredProc = 4;
inline constexpr std::int32_t adCmdUnknown = 8;
inline constexpr std::int32_t adExecuteNoRecords = 128;
// FilterGroupEnum
inline constexpr std::int32_t adFilterNone = 0;
inline constexpr std::int32_t adFilterPendingRecords = 1;
// AffectEnum
inline constexpr std::int32_t adAffectCurrent = 1;
inline constexpr std::int32_t adAffectGroup = 2;
inline constexpr std::int32_t adAffectAll = 3;
inline constexpr std::int32_t adAffectAllChapters = 4;
// SearchDirectionEnum
inline constexpr std::int32_t adSearchForward = 1;
inline constexpr std::int32_t adSearchBackward = -1;
// BookmarkEnum (Find's start)
inline constexpr std::int32_t adBookmarkCurrent = 0;
inline constexpr std::int32_t adBookmarkFirst = 1;
inline constexpr std::int32_t adBookmarkLast = 2;
// LockTypeEnum
inline constexpr std::int32_t adLockUnspecified = -1;
inline constexpr std::int32_t adLockReadOnly = 1;
inline constexpr std::int32_t adLockPessimistic = 2;
inline constexpr std::int32_t adLockOptimistic = 3;
inline constexpr std::int32_t adLockBatchOptimistic = 4;
// CursorTypeEnum
inline constexpr std::int32_t adOpenUnspecified = -1;
inline constexpr std::int32_t adOpenForwardOnly = 0;
inline constexpr std::int32_t adOpenKeyset = 1;
inline constexpr std::int32_t adOpenDynamic = 2;
inline constexpr std::int32_t adOpenStatic = 3;
// ObjectStateEnum
inline constexpr std::int32_t adStateClosed = 0;
inline constexpr std::int32_t adStateOpen = 1;
// EditModeEnum
inline constexpr std::int32_t adEditNone = 0;
inline constexpr std::int32_t adEditInProgress = 1;
inline constexpr std::int32_t adEditAdd = 2;
inline constexpr std::int32_t adEditDelete = 4;
// RecordStatusEnum (the pending state of the current row)
inline constexpr std::int32_t adRecOK = 0;
inline constexpr std::int32_t adRecNew = 1;
inline constexpr std::int32_t adRecModified = 2;
inline constexpr std::int32_t adRecDeleted = 4;
inline constexpr std::int32_t adRecUnmodified = 8;
// DataTypeEnum
inline constexpr std::int32_t adEmpty = 0;
inline constexpr std::int32_t adSmallInt = 2;
inline constexpr std::int32_t adInteger = 3;
inline constexpr std::int32_t adSingle = 4;
inline constexpr std::int32_t adDouble = 5;
inline constexpr std::int32_t adCurrency = 6;
inline constexpr std::int32_t adDate = 7;
inline constexpr std::int32_t adBoolean = 11;
inline constexpr std::int32_t adVariant = 12;
inline constexpr std::int32_t adDecimal = 14;
inline constexpr std::int32_t adTinyInt = 16;
inline constexpr std::int32_t adBigInt = 20;
inline constexpr std::int32_t adGUID = 72;
inline constexpr std::int32_t adDBTimeStamp = 135;
inline constexpr std::int32_t adNumeric = 131;
inline constexpr std::int32_t adChar = 129;
inline constexpr std::int32_t adVarChar = 200;
inline constexpr std::int32_t adLongVarChar = 201;
inline constexpr std::int32_t adVarWChar = 202;
inline constexpr std::int32_t adLongVarWChar = 203;
// ParameterDirectionEnum
inline constexpr std::int32_t adParamUnknown = 0;
inline constexpr std::int32_t adParamInput = 1;
inline constexpr std::int32_t adParamOutput = 2;
inline constexpr std::int32_t adParamInputOutput = 3;
inline constexpr std::int32_t adParamReturnValue = 4;
// FieldAttributeEnum
inline constexpr std::int32_t adFldUnspecified = -1;
inline constexpr std::int32_t adFldUpdatable = 0x4;
inline constexpr std::int32_t adFldIsNullable = 0x20;
inline constexpr std::int32_t adFldMayBeNull = 0x40;
inline constexpr std::int32_t adFldKeyColumn = 0x8000;

class Field;
class Recordset;
class Connection;
class Command;
class Parameter;
class Property;
using PropertyPtr = std::shared_ptr<Property>;
using FieldPtr = std::shared_ptr<Field>;
using RecordsetPtr = std::shared_ptr<Recordset>;
using ConnectionPtr = std::shared_ptr<Connection>;
using CommandPtr = std::shared_ptr<Command>;
using ParameterPtr = std::shared_ptr<Parameter>;

// One dynamic property of a field, as Field.Properties("name") gives it.
class Property : public Object {
  public:
    virtual std::string Name() const = 0;
    virtual Variant Value() const = 0;
    virtual void SetValue(const Variant& v) = 0;
    std::string TypeName() const override { return "Property"; }
};

// One column of the current row. A Field object stays bound to its recordset: reading
// Value after the cursor moved gives the new current row's value.
class Field : public Object {
  public:
    virtual std::string Name() const = 0;
    virtual std::int32_t Type() const = 0;
    virtual std::int32_t DefinedSize() const = 0;
    virtual std::int32_t Attributes() const = 0;
    virtual std::uint8_t Precision() const = 0;
    virtual std::uint8_t NumericScale() const = 0;
    virtual void SetPrecision(std::uint8_t p) = 0;  // only on a closed, appended field
    virtual void SetNumericScale(std::uint8_t s) = 0;
    // Value of the current row: 3021 when BOF or EOF.
    virtual Variant Value() const = 0;
    // Writes the current row; starts an edit when none is pending.
    virtual void SetValue(const Variant& v) = 0;
    // Value as the row was fetched (before pending changes).
    virtual Variant OriginalValue() const = 0;
    // Properties("name"): a dynamic property of the field, 3265 when the cursor offers none
    // of that name. A client cursor offers "Optimize": True builds an index on the field
    // that Filter and Find then use instead of reading every row, False drops it.
    virtual PropertyPtr Properties(std::string_view name) const = 0;
};

class Recordset : public Object {
  public:
    // Fields
    virtual std::int32_t FieldCount() const = 0;
    virtual FieldPtr FieldAt(std::int32_t index) const = 0;         // 3265 outside 0..Count-1
    virtual FieldPtr FieldByName(std::string_view name) const = 0;  // 3265 when unknown
    virtual bool HasField(std::string_view name) const = 0;
    // Fields.Append while the recordset is closed (disconnected recordsets).
    virtual void AppendField(std::string_view name, std::int32_t type, std::int32_t definedSize,
                             std::int32_t attributes) = 0;

    // Shorthands for rst("X") and rst("X") = v.
    virtual Variant Get(std::string_view name) const { return FieldByName(name)->Value(); }
    virtual void Set(std::string_view name, const Variant& v) { FieldByName(name)->SetValue(v); }

    // State
    virtual std::int32_t State() const = 0;
    virtual void Open() = 0;  // no source, no connection: a disconnected recordset
    virtual void Close() = 0;
    virtual std::int32_t EditMode() const = 0;
    // RecordStatusEnum of the current row: adRecNew, adRecModified, adRecDeleted for a
    // change waiting for UpdateBatch, adRecUnmodified otherwise. 3021 when BOF or EOF.
    virtual std::int32_t Status() const = 0;

    // Cursor
    virtual bool BOF() const = 0;
    virtual bool EOF_() const = 0;                 // EOF is a macro in <cstdio>
    virtual std::int32_t RecordCount() const = 0;  // follows the filter
    virtual void MoveFirst() = 0;
    virtual void MoveLast() = 0;
    virtual void MoveNext() = 0;
    virtual void MovePrevious() = 0;
    virtual Variant Bookmark() const = 0;
    virtual void SetBookmark(const Variant& bookmark) = 0;
    virtual void Find(std::string_view criteria, std::int32_t skipRecords = 0,
                      std::int32_t searchDirection = adSearchForward,
                      const Variant& start = Variant()) = 0;

    // Filter: a criteria text, or a number (adFilterNone 0 removes it).
    virtual Variant Filter() const = 0;
    virtual void SetFilter(const Variant& filter) = 0;

    virtual RecordsetPtr Clone(std::int32_t lockType = adLockUnspecified) = 0;

    // Editing
    virtual void AddNew() = 0;
    virtual void Update() = 0;
    virtual void CancelUpdate() = 0;
    virtual void Delete(std::int32_t affectRecords = adAffectCurrent) = 0;
    virtual void UpdateBatch(std::int32_t affectRecords = adAffectAll) = 0;
    virtual void CancelBatch(std::int32_t affectRecords = adAffectAll) = 0;

    std::string TypeName() const override { return "Recordset"; }
};

class Connection : public Object {
  public:
    // Runs a statement. Returns the rows of a query (a recordset that may be empty), or
    // a closed/null recordset for a statement without rows. `recordsAffected` may be null.
    virtual RecordsetPtr Execute(std::string_view commandText, Variant* recordsAffected,
                                 std::int32_t options) = 0;
    std::string TypeName() const override { return "Connection"; }
};

class Parameter : public Object {
  public:
    virtual std::string Name() const = 0;
    virtual std::int32_t Type() const = 0;
    virtual std::int32_t Direction() const = 0;
    virtual std::int32_t Size() const = 0;
    virtual std::uint8_t Precision() const = 0;
    virtual std::uint8_t NumericScale() const = 0;
    virtual void SetPrecision(std::uint8_t p) = 0;
    virtual void SetNumericScale(std::uint8_t s) = 0;
    virtual Variant Value() const = 0;
    virtual void SetValue(const Variant& v) = 0;
    std::string TypeName() const override { return "Parameter"; }
};

// Created with CreateObject("ADODB.Command"), then bound to a connection.
class Command : public Object {
  public:
    virtual void SetActiveConnection(const ConnectionPtr& c) = 0;
    virtual ConnectionPtr ActiveConnection() const = 0;
    virtual void SetCommandText(std::string_view text) = 0;
    virtual std::string CommandText() const = 0;
    virtual void SetCommandType(std::int32_t type) = 0;
    virtual std::int32_t CommandType() const = 0;
    virtual void SetCommandTimeout(std::int32_t seconds) = 0;
    virtual void SetNamedParameters(bool named) = 0;
    virtual ParameterPtr CreateParameter(std::string_view name, std::int32_t type,
                                         std::int32_t direction, std::int32_t size,
                                         const Variant& value = Variant()) = 0;
    // Parameters collection
    virtual void AppendParameter(const ParameterPtr& p) = 0;
    virtual std::int32_t ParameterCount() const = 0;
    virtual ParameterPtr ParameterAt(std::int32_t index) const = 0;
    virtual ParameterPtr ParameterByName(std::string_view name) const = 0;  // 3265 when unknown
    virtual RecordsetPtr Execute(Variant* recordsAffected, std::int32_t options) = 0;
    std::string TypeName() const override { return "Command"; }
};

// ProgIDs under which the wiring registers the ADO objects the plug-in creates itself.
inline constexpr std::string_view kProgIdCommand = "ADODB.Command";
inline constexpr std::string_view kProgIdRecordset = "ADODB.Recordset";

}  // namespace zq::ado
