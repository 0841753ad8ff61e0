#pragma once
// The Lumatile window on fresh program and work folders, with a simulated
// socket on a pseudo-terminal and the ways a user drives it.

#include "lumatileboard.h"

#include "support/ptypair.h"
#include "support/quitting.h"
#include "support/tempfolders.h"
#include "support/typing.h"

#include "common/formbuilder.h"
#include "common/rs232_comportscanner.h"
#include "displays/ctrl_9693_lumatile.h"
#include "displays/ctrl_9693_lumatilehelp.h"
#include "displays/linestroke.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>

struct LumatileBench {
    static inline const QColor unlit{192, 192, 192};

    explicit LumatileBench(bool connect = true)
    {
        w.load();
        w.show();
        w.uploadPacing = 0;
        if (connect)
            choosePort(pty.path());
    }
    ~LumatileBench()
    {
        w.unload();
        FormSlots::get<Ctrl_9693_lumatilehelp>().unload();
        FormSlots::get<RS232_comportscanner>().unload();
    }
    template <class T>
    T* box(const QString& name) const
    {
        return w.form()->findChild<T*>(name);
    }
    QLineEdit* edit(const QString& name) const { return box<QLineEdit>(name); }
    QString text(const QString& name) const { return edit(name)->text(); }
    QCheckBox* mode(int i) const { return box<QCheckBox>(arrayName("enabler", i)); }
    void choosePort(const QString& path) const
    {
        auto* ports = box<QComboBox>("portselect");
        ports->setCurrentIndex(ports->findText(path));
    }
    void click(int i) const { QTest::mouseClick(box<QPushButton>(arrayName("Command2", i)), Qt::LeftButton); }
    void clickStroke(int k) const { QTest::mouseClick(box<QLabel>(arrayName("segment", k)), Qt::LeftButton); }
    QColor stroke(int k) const { return box<LineStroke>(arrayName("Line1", k))->color(); }
    QString litStrokes() const
    {
        QString s;
        for (int k = 0; k < 15; ++k)
            s += stroke(k) == unlit ? u'0' : u'1';
        return s;
    }
    void enter(const QString& name, const QString& keys) const
    {
        retype(edit(name), keys);
        pressEnter(edit(name));
    }
    void enterAcc(const QString& value) const { enter(QStringLiteral("acc"), value); }
    QStringList sent() const { return sim.commands(); }
    // The messages sent so far, without "$B7M".
    QStringList messages() const
    {
        QStringList out;
        for (const QString& c : sim.commands())
            if (c.startsWith(QLatin1String("$B7M")))
                out << c.mid(4);
        return out;
    }
    void close() const { closeOrQuit(w, false); }

    TempFolders tf;
    PtyPair pty;
    LumatileBoard sim{pty};
    Ctrl_9693_lumatile& w = FormSlots::get<Ctrl_9693_lumatile>();
};

inline QString cmd(const QString& text)
{
    return QStringLiteral("$B7") + text;
}
