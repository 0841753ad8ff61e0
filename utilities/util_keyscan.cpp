#include "util_keyscan.h"
#include "keynames.h"

#include "common/formbuilder.h"

#include <QEvent>
#include <QInputMethodQueryEvent>
#include <QLineEdit>

Util_keyscan::Util_keyscan() : ToolWindow(QStringLiteral("Util_keyscan"), QSize(3720, 1080))
{
}

void Util_keyscan::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("Keyscan"));
    auto* ui = makeControls<Ui>();
    placeLabel(form, QStringLiteral("Shift"), 120, 120, 1050, 255, QStringLiteral("Label1"));
    placeLabel(form, QStringLiteral("Keycode"), 1320, 120, 1050, 255, QStringLiteral("Label2"));
    placeLabel(form, QStringLiteral("Char"), 2520, 120, 1050, 255, QStringLiteral("Label3"));
    for (int i = 0; i < 2; ++i)
        ui->ccode[size_t(i)] = place<QLineEdit>(form, arrayName(QStringLiteral("ccode"), i), 120 + 1200 * i, 420, 1050, 375);
    ui->Text1 = place<QLineEdit>(form, QStringLiteral("Text1"), 2520, 420, 1050, 375);

    // Key preview: the form and every box report their keys to the window.
    QList<QWidget*> targets{form};
    for (QLineEdit* box : {ui->ccode[0], ui->ccode[1], ui->Text1})
        targets << box;
    for (QWidget* w : targets) {
        onKeyDown(w, [this](int keycode, int shift) { keyDown(keycode, shift); });
        onKeyUp(w, [this](int, int) { keyUp(); });
    }
}

bool Util_keyscan::eventFilter(QObject* watched, QEvent* event)
{
    const bool handled = ToolWindow::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // Ask for the key itself, not the shortcut it might trigger.
        event->accept();
        return true;
    case QEvent::InputMethodQuery: {
        // A box open to the input method would have the platform keep dead
        // keys and compose sequences for it and hand over only the text
        // they make: they would show no code. Closed to it, every key comes
        // as a key. The platform asks whenever a box takes the focus.
        auto* query = static_cast<QInputMethodQueryEvent*>(event);
        if (!(query->queries() & Qt::ImEnabled))
            return handled;
        query->setValue(Qt::ImEnabled, false);
        query->accept();
        return true;
    }
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::InputMethod:
        // Every key ends here (its code set to 0): none edits a box, moves
        // the focus or presses a default; nor does any input method's text.
        return true;
    default:
        return handled;
    }
}

void Util_keyscan::keyDown(int keycode, int shift)
{
    auto* ui = controls<Ui>();
    ui->Text1->clear();
    keydisplay(keycode, keyShiftState(keycode, shift));
    setBackColor(ui->Text1, colors::white);
}

void Util_keyscan::keyUp()
{
    setBackColor(controls<Ui>()->Text1, colors::red);
}

void Util_keyscan::keydisplay(int keycode, int shift)
{
    auto* ui = controls<Ui>();
    if (!ui)
        return;
    if (shift != 0) {
        ui->ccode[0]->setText(QString::number(shift));
        ui->ccode[1]->setText(QString::number(keycode));
        return;
    }
    ui->ccode[0]->setText(QStringLiteral("0"));
    ui->ccode[1]->setText(QString::number(keycode));
    ui->Text1->setText(keyName(keycode));
}
