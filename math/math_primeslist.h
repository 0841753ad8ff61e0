#pragma once
// The prime number lister: finds the first N primes, reports how long the
// search took, and lists the last of them, or all 16-bit primes as a
// decimal, hexadecimal and binary table; the whole list can go to a file.

#include "common/toolwindow.h"

#include <QList>
#include <cstdint>

class TimeSlicer;

class Math_primeslist : public ToolWindow {
    Q_OBJECT
public:
    Math_primeslist();

    // The last search's list: element i the i-th prime, element N + 1 zero.
    const QList<int32_t>& primeArray() const { return PrimeArray; }
    bool computing() const { return m_running; }
    // Caps the memory a prime list may take (bytes; below 0, no cap but
    // the system's): a longer list is one that cannot be allocated.
    static void setListMemoryCap(qint64 bytes);

protected:
    void build(QWidget* form) override;
    void onLoad() override;

private:
    struct Ui;
    Ui* ui() const;
    void Command1_Click();
    void compute();
    void showTable(int n, TimeSlicer& slicer);
    void showList(int n, TimeSlicer& slicer);
    // Rewrites a count box as the number it holds.
    void asNumber(int box);
    void opfile_DblClick();
    void limitReached();

    QList<int32_t> PrimeArray;
    bool m_running = false;
};
