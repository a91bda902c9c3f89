// Late-bound members of the body forms that the line-cancellation roads use, and the way
// the plug-in writes a host control.
//
// The host names these form members only by what they do; the simulated host answers to
// the same names:
//   FME_DocCorpo, FME_DocTestata: EditMode (2 = the user has unsaved edits);
//   FME_DocCorpo: MoveBookmark(bookmark, True, True) makes that row the current line,
//                 DeleteRow(True, True, 0) deletes the current line of the grid,
//                 RefreshRow(True, True) redraws the current row,
//                 Lock / Unlock pair the grid's repaint lock, LockCount its depth;
//   every sub-form: Redraw (False suspends its display, True resumes it), MsgOnUpdate
//                 (False: no host message when its row is stored), Recordset (its section).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "data/ado.h"
#include "host/object.h"
#include "host/variant.h"

namespace zq::plugin::ui {

// A typed cancelled quantity that is no number, negative, infinite or too large.
inline constexpr std::string_view kQtaNonValida =
    "La quantità annullata non è valida: indicare un numero maggiore o uguale a zero.";

// A cancelled quantity above the line's own quantity.
inline constexpr std::string_view kQtaMaggiore =
    "Non è possibile annullare una quantità maggiore della quantità dell'ordine stesso!";

inline constexpr std::string_view kEditMode = "EditMode";
inline constexpr std::int16_t kEditModeModificato = 2;
inline constexpr std::string_view kMoveBookmark = "MoveBookmark";
inline constexpr std::string_view kDeleteRow = "DeleteRow";
inline constexpr std::string_view kRefreshRow = "RefreshRow";
inline constexpr std::string_view kLock = "Lock";
inline constexpr std::string_view kUnlock = "Unlock";
inline constexpr std::string_view kLockCount = "LockCount";
inline constexpr std::string_view kRedraw = "Redraw";
inline constexpr std::string_view kMsgOnUpdate = "MsgOnUpdate";
inline constexpr std::string_view kRecordset = "Recordset";

// A section of the document the road cannot do without: error 91 when the host has not
// opened it, as a call through an unset reference gives.
ado::RecordsetPtr Richiesto(ado::RecordsetPtr rs, std::string_view member);

// Shows a value in a control: its Text, then IsChanged True, so that the host stores it.
void Mostra(const ObjectPtr& ctl, const Variant& value);
// The control's Text as the host gives it (Empty, Null or text).
Variant Testo(const ObjectPtr& ctl);
// A quantity the user typed into a control, as the host reads it (the Italian locale of
// Variant's conversion: "1,5" and "1.5" alike; blank is 0). Nothing when the text is no
// number, or is negative or too large: the plug-in refuses such a quantity.
std::optional<double> QuantitaDigitata(const ObjectPtr& ctl);
// The control's Text as a text ("" for Empty or Null) and as a quantity (0 for Empty or
// Null).
std::string TestoDi(const ObjectPtr& ctl);
double QtaDi(const ObjectPtr& ctl);

// A GUID without its braces: every "{" and "}" removed.
std::string SenzaGraffe(std::string_view guid);
// The braced form DO30_GUID holds, from a GUID with or without braces.
std::string ConGraffe(std::string_view guid);
// The body form's go-to-bookmark: the row with that bookmark becomes the current line.
void VaiABookmark(const ObjectPtr& frmDocCorpo, const Variant& bookmark);

}  // namespace zq::plugin::ui

namespace zq::plugin {

// Quantities are decimal numbers held in binary doubles: 0.3 - 0.1 is not 0.2. They are
// compared with a tolerance far below any quantity a document shows.
bool QtaUguale(double a, double b);
inline bool QtaZero(double a) {
    return QtaUguale(a, 0);
}
// a is above b by more than the tolerance.
inline bool QtaMaggiore(double a, double b) {
    return a > b && !QtaUguale(a, b);
}
// Whether nothing is left open on a line (delivered in full, or beyond). Such a line is
// cancelled for its whole quantity on every road: a cancelled quantity of 0 would read, when
// the order is taken back, as a line that was never cancelled.
inline bool NullaAperto(double residuo) {
    return !QtaMaggiore(residuo, 0);
}

}  // namespace zq::plugin
