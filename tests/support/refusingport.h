#pragma once
// A serial window meeting a port that refuses, one failure mode at a time,
// from one table: failure mode -> the alert the window gives. Built on the
// fake ports (support/fakeport.h).
//
//   FakePorts fakes;
//   auto bad = fakes.line("fake-bad");         // listed in the window's ports
//   RefusalWindow win;
//   win.choose = [&] { ...select "fake-bad"... };
//   win.provoke = [&](Refusal r) { ...write, or switch the line... };
//   win.noPort = [&] { ...portopen 0, selector on "Select"... };
//   win.usable = [&] { ...the window works on with a good port... };
//   runRefusals(*bad, 9600, refusalTable(), win);
//
// Each row arms one failure on the line, chooses the port (and, for a
// failure met in use, then arms it and provokes it), expects exactly the
// row's alert or none, checks the window's state and the line, and finally
// clears the failure and calls usable().

#include "support/fakeport.h"

#include <QList>
#include <QString>
#include <functional>

enum class Refusal {
    Missing, // the device is not there
    Io,      // it is there and free, but opening fails with an I/O error
    Rate,    // opening at the window's rate is refused
    Slow,    // it opens, but runs slower than the window's rate
    Dtr,     // switching DTR fails
    Rts,     // switching RTS fails
    Write,   // writes fail
};

struct RefusalCase {
    QString name;
    Refusal mode;
    // Met once the port is open, through the window's own action (a write,
    // a line switched by the user), rather than while opening.
    bool inUse = false;
    // The one alert expected; empty for none.
    QString title;
    // Text the alert's message holds; empty for no check.
    QString mentions;
    // The port stays open and serves: the window never asks what failed.
    bool staysOpen = false;
};

// The cases every serial window meets the same way: a failure while opening
// gives one "Com port open error" naming the reason, a failed write one
// "Com port error". A window whose Part asks otherwise amends its copy
// (refusalCase) or appends its own rows.
QList<RefusalCase> refusalTable();
// The row of the table named name, for amending, and its place, for
// inserting a row before it; qFatal when there is none.
RefusalCase& refusalCase(QList<RefusalCase>& table, const QString& name);
qsizetype refusalIndex(const QList<RefusalCase>& table, const QString& name);

// Makes the line show the failure (the window's rate for Rate and Slow),
// and takes every failure back.
void arm(FakeLine& line, Refusal mode, int rate);
void disarm(FakeLine& line);

struct RefusalWindow {
    // Chooses the refusing port in the window's selector.
    std::function<void()> choose;
    // Meets a failure in use (inUse rows): sends something, switches a line.
    std::function<void(Refusal)> provoke;
    // Checks the window's no-port state after a failure.
    std::function<void()> noPort;
    // Checks the window open on the refusing port (staysOpen rows); optional.
    std::function<void()> open;
    // After the row, optional: checks of the window's own.
    std::function<void(const RefusalCase&)> after;
    // Shows that the window goes on working with a good port, and leaves
    // it with no port chosen.
    std::function<void()> usable;
};

// Runs every row in order; stops at the first failed check.
void runRefusals(FakeLine& line, int rate, const QList<RefusalCase>& table, const RefusalWindow& window);
