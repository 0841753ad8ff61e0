#pragma once
// A window's sign that long work is under way: the wait cursor over its
// form. The window's other controls stay usable (Stop, the close box).
//
//   BusySign busy(form());   // shown until busy goes out of scope
//   BusySign sign;  sign.show(form());  ...  sign.clear();
//
// The form may be destroyed meanwhile (the window was closed): the sign
// then has nothing to restore.

#include <QPointer>
#include <QWidget>

class BusySign {
public:
    BusySign() = default;
    explicit BusySign(QWidget* form) { show(form); }
    ~BusySign() { clear(); }
    BusySign(const BusySign&) = delete;
    BusySign& operator=(const BusySign&) = delete;

    void show(QWidget* form);
    void clear();
    bool shown() const { return m_form != nullptr; }

private:
    QPointer<QWidget> m_form;
};
