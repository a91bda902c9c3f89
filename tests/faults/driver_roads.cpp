// The roads of the field drivers and the navigator keys. The user's typing is done before
// the road (the host writes it into the control and its field, and decodes it); the road
// is the host's report that the user left the field, or pressed the key.
#include "faults/roads.h"
#include "line_cancel/seven_lines.h"

namespace zq::test {

namespace {

using Nav = sim::HostDriver::Navigator;

// Line 1 (10 pieces) wholly cancelled and saved; the body form stays on it.
void Line1Cancelled(Session& s) {
    s.CancelQuantity(10);
    s.driver->Save();
}

// Line 1 split into a master of 7 and the cancellation line 8 of 3, saved.
void Line1Split(Session& s) {
    Line1Cancelled(s);
    s.driver->TypeAndLeave(2, "TXT_DO77_ZQ_QTA_ANNULLO", "3");
}

// The user types into a body control (it takes the focus); leaving it is the road.
std::function<void(Session&)> TypeInto(std::function<void(Session&)> before, std::string control,
                                       std::string text) {
    return [=](Session& s) {
        before(s);
        s.driver->MoveFocus(2, control);
        s.driver->Type(2, control, text);
    };
}

void LeaveForTheLineState(Session& s) {
    s.driver->MoveFocus(2, "TXT_DO30_STATO");
}

// A line of a pair: the user moves to it and into one of its controls. The typing is part of
// the road (TypeAndLeave): an undone re-alignment takes the typed quantity back too, so the
// order before the road is the one without it.
std::function<void(Session&)> FocusOnLine(std::function<void(Session&)> before, std::int32_t line,
                                          std::string control) {
    return [=](Session& s) {
        before(s);
        s.driver->MoveToLine(line);
        s.driver->MoveFocus(2, control);
    };
}

std::function<void(Session&)> TypeAndLeave(std::string control, std::string text) {
    return [=](Session& s) {
        s.driver->Type(2, control, text);
        LeaveForTheLineState(s);
    };
}

// The demo order cancelled as a whole with its default reason and saved, the header
// reason typed over.
std::function<void(Session&)> HeaderReasonTyped(std::string text) {
    return [=](Session& s) {
        s.driver->SetHeaderState(kStatoTestaAnnullato);
        s.driver->MoveFocus(1, "TXT_DO76_CODCAU_ZQ63");
        s.driver->Type(1, "TXT_DO76_CODCAU_ZQ63", text);
    };
}

void LeaveTheHeaderForm(Session& s) {
    s.driver->MoveFocus(1, "");
}

Road Unchanged(Road road) {
    road.unchanged = true;
    return road;
}

Road Reaction(Road road) {
    road.reaction = true;
    return road;
}

}  // namespace

std::vector<Road> DriverRoads() {
    using roads::HeaderRoad;
    using roads::LineRoad;
    return {
        Unchanged(HeaderRoad("leave a changed header reason", HeaderReasonTyped("FOR"),
                             LeaveTheHeaderForm, kStatoTestaIniziale, 0)),
        Unchanged(HeaderRoad("leave the header reason blank", HeaderReasonTyped(""),
                             LeaveTheHeaderForm, kStatoTestaIniziale, 0)),
        LineRoad("leave a typed cancelled quantity",
                 TypeInto(Line1Cancelled, "TXT_DO77_ZQ_QTA_ANNULLO", "3"), LeaveForTheLineState),
        Unchanged(LineRoad("leave a line reason",
                           TypeInto(Line1Cancelled, "TXT_DO77_CODCAU_ZQ63", "FOR"),
                           LeaveForTheLineState)),
        // The blank reason takes the cancelled quantity with it.
        LineRoad("leave the line reason blank",
                 TypeInto(Line1Cancelled, "TXT_DO77_CODCAU_ZQ63", ""), LeaveForTheLineState),
        LineRoad("leave a master's quantity", FocusOnLine(Line1Split, 1, "TXT_DO30_QTA1"),
                 TypeAndLeave("TXT_DO30_QTA1", "8")),
        LineRoad("leave a cancellation line's quantity",
                 FocusOnLine(Line1Split, 8, "TXT_DO30_QTA1"), TypeAndLeave("TXT_DO30_QTA1", "2")),
        LineRoad(
            "confirm a pending line change",
            [](Session& s) {
                Line1Cancelled(s);
                s.driver->EditLineField("DO77_ZQ_QTA_ANNULLO", "3");
                s.driver->MoveFocus(2, "TXT_DO30_STATO");
            },
            [](Session& s) { s.driver->PressNavigatorButton(Nav::Inner, "conferma"); }),
        Reaction(LineRoad(
            "undo the line's edits",
            [](Session& s) {
                Line1Split(s);
                s.driver->MoveToLine(3);
                s.driver->EditLineField("DO77_ZQ_QTA_ANNULLO", "2");
            },
            [](Session& s) { s.driver->PressNavigatorButton(Nav::Grid, "annulla"); })),
    };
}

}  // namespace zq::test
