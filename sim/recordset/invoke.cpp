// Late-bound access to the recordset and its fields by member name, for code that holds
// them as plain objects (the plug-in itself uses the early-bound interface).
#include "sim/recordset/ado_errors.h"
#include "sim/recordset/field_impl.h"
#include "sim/recordset/recordset_impl.h"

namespace zq::sim {

namespace {

const Variant& Arg(std::span<Variant> args, std::size_t i) {
    static const Variant kMissing;
    return i < args.size() ? args[i] : kMissing;
}

std::int32_t ArgLong(std::span<Variant> args, std::size_t i, std::int32_t missing) {
    return i < args.size() && !args[i].IsEmpty() ? args[i].ToLong() : missing;
}

void NeedArgs(std::span<Variant> args, std::size_t n, std::string_view member) {
    if (args.size() < n) {
        Raise(err::InvalidArgument, "ADODB.Recordset",
              "Wrong number of arguments for " + std::string(member));
    }
}

}  // namespace

Variant MemRecordset::Invoke(std::string_view member, CallKind kind, std::span<Variant> args) {
    auto is = [&](std::string_view name) { return SameName(member, name); };
    auto field = [&](const Variant& which) {
        return which.IsString() ? FieldByName(which.RawString()) : FieldAt(which.ToLong());
    };
    if (kind == CallKind::Set) {
        NeedArgs(args, 1, member);
        const Variant& value = args.back();
        if (is("Filter")) return SetFilter(value), Variant();
        if (is("Bookmark")) return SetBookmark(value), Variant();
        if (is("Collect")) {
            NeedArgs(args, 2, member);
            field(args[0])->SetValue(value);
            return Variant();
        }
        RaiseMemberNotFound(*this, member);
    }
    if (is("Fields")) {
        NeedArgs(args, 1, member);
        return Variant(ObjectPtr(field(args[0])));
    }
    if (is("Collect")) {
        NeedArgs(args, 1, member);
        return field(args[0])->Value();
    }
    if (is("Filter")) return Filter();
    if (is("Bookmark")) return Bookmark();
    if (is("EOF")) return Variant::Bool(EOF_());
    if (is("BOF")) return Variant::Bool(BOF());
    if (is("RecordCount")) return Variant::Int32(RecordCount());
    if (is("EditMode")) return Variant::Int32(EditMode());
    if (is("State")) return Variant::Int32(State());
    if (is("MoveFirst")) return MoveFirst(), Variant();
    if (is("MoveLast")) return MoveLast(), Variant();
    if (is("MoveNext")) return MoveNext(), Variant();
    if (is("MovePrevious")) return MovePrevious(), Variant();
    if (is("AddNew")) return AddNew(), Variant();
    if (is("Update")) return Update(), Variant();
    if (is("CancelUpdate")) return CancelUpdate(), Variant();
    if (is("Delete")) return Delete(ArgLong(args, 0, ado::adAffectCurrent)), Variant();
    if (is("UpdateBatch")) return UpdateBatch(ArgLong(args, 0, ado::adAffectAll)), Variant();
    if (is("CancelBatch")) return CancelBatch(ArgLong(args, 0, ado::adAffectAll)), Variant();
    if (is("Open")) return Open(), Variant();
    if (is("Close")) return Close(), Variant();
    if (is("Clone")) return Variant(ObjectPtr(Clone(ArgLong(args, 0, ado::adLockUnspecified))));
    if (is("Find")) {
        NeedArgs(args, 1, member);
        Find(args[0].ToString(), ArgLong(args, 1, 0), ArgLong(args, 2, ado::adSearchForward),
             Arg(args, 3));
        return Variant();
    }
    RaiseMemberNotFound(*this, member);
}

Variant MemField::Invoke(std::string_view member, CallKind kind, std::span<Variant> args) {
    auto is = [&](std::string_view name) { return member.empty() || SameName(member, name); };
    if (kind == CallKind::Set) {
        NeedArgs(args, 1, member);
        const Variant& value = args.back();
        if (is("Value")) return SetValue(value), Variant();
        if (SameName(member, "Precision")) {
            return SetPrecision(static_cast<std::uint8_t>(value.ToInt())), Variant();
        }
        if (SameName(member, "NumericScale")) {
            return SetNumericScale(static_cast<std::uint8_t>(value.ToInt())), Variant();
        }
        RaiseMemberNotFound(*this, member);
    }
    if (is("Value")) return Value();
    if (SameName(member, "Name")) return Variant(Name());
    if (SameName(member, "Type")) return Variant::Int32(Type());
    if (SameName(member, "DefinedSize")) return Variant::Int32(DefinedSize());
    if (SameName(member, "Attributes")) return Variant::Int32(Attributes());
    if (SameName(member, "Precision")) return Variant::Int16(Precision());
    if (SameName(member, "NumericScale")) return Variant::Int16(NumericScale());
    if (SameName(member, "OriginalValue")) return OriginalValue();
    RaiseMemberNotFound(*this, member);
}

}  // namespace zq::sim
