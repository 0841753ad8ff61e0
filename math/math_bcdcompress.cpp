#include "math_bcdcompress.h"
#include "subbcd.h"

#include "common/boxtext.h"
#include "common/charlimit.h"
#include "common/controlchars.h"
#include "common/fields.h"
#include "common/formbuilder.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

struct Math_bcdcompress::Ui : Controls {
    QLineEdit* xdecimal = nullptr;
    QLineEdit* xhexadecimal = nullptr;
    QPlainTextEdit* Text1 = nullptr;
};

Math_bcdcompress::Math_bcdcompress() : ToolWindow(QStringLiteral("Math_bcdcompress"), QSize(6240, 3720)) {}

Math_bcdcompress::Ui* Math_bcdcompress::ui() const
{
    return controls<Ui>();
}

void Math_bcdcompress::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("2.5:1 BCD compression"));
    auto* u = makeControls<Ui>();
    const QFont fixed = fixedFont();
    QLabel* note = placeLabel(form,
                              QStringLiteral("This program converts back and forth between 9 byte ASCII string data "
                                             "and 4 byte (32 bit) integer data."),
                              120, 120, 6000, 510, QStringLiteral("Label3"));
    note->setWordWrap(true);
    placeLabel(form, QStringLiteral("ASCII Decimal"), 120, 780, 1800, 255, QStringLiteral("Label1"));
    placeLabel(form, QStringLiteral("32bit Hex"), 2160, 780, 1800, 255, QStringLiteral("Label2"));
    u->xdecimal = place<QLineEdit>(form, QStringLiteral("xdecimal"), 120, 1050, 1800, 315);
    u->xdecimal->setValidator(new CharLimit(9, u->xdecimal));
    u->xdecimal->setText(QStringLiteral("000000000"));
    u->xhexadecimal = place<QLineEdit>(form, QStringLiteral("xhexadecimal"), 2160, 1050, 1800, 315);
    u->xhexadecimal->setValidator(new CharLimit(8, u->xhexadecimal));
    u->xhexadecimal->setText(QStringLiteral("00000000"));
    u->Text1 = place<QPlainTextEdit>(form, QStringLiteral("Text1"), 120, 1500, 6000, 2100);
    u->Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    for (QWidget* w : {static_cast<QWidget*>(u->xdecimal), static_cast<QWidget*>(u->xhexadecimal),
                       static_cast<QWidget*>(u->Text1)})
        w->setFont(fixed);

    onFocusIn(u->xdecimal, [this] {
        m_convdirection = 1;
        ui()->Text1->setPlainText(boxtext(bcdcodesample(true)));
    });
    onFocusIn(u->xhexadecimal, [this] {
        m_convdirection = 2;
        ui()->Text1->setPlainText(boxtext(bcdcodesample(false)));
    });
    on(u->xdecimal, &QLineEdit::textChanged, [this] {
        if (m_convdirection == 1)
            decimalToHex();
    });
    on(u->xhexadecimal, &QLineEdit::textChanged, [this] {
        if (m_convdirection == 2)
            hexToDecimal();
    });
    onKeyPress(u->xdecimal, [this](int key) {
        key = keydecimal(key);
        if (key == 13) {
            padDecimal();
            decimalToHex();
            return 0;
        }
        return key;
    });
    onFocusOut(u->xdecimal, [this] {
        padDecimal();
        decimalToHex();
    });
    onKeyPress(u->xhexadecimal, [this](int key) {
        key = keyhex(key);
        if (key == 13) {
            padHex();
            hexToDecimal();
            return 0;
        }
        return key;
    });
    onFocusOut(u->xhexadecimal, [this] {
        padHex();
        hexToDecimal();
    });
}

void Math_bcdcompress::onLoad()
{
    initchars();
    m_convdirection = 0;
}

void Math_bcdcompress::onActivate()
{
    if (Ui* u = ui())
        u->xdecimal->setFocus();
}

void Math_bcdcompress::decimalToHex()
{
    if (Ui* u = ui())
        u->xhexadecimal->setText(bcddectohex(u->xdecimal->text()));
}

void Math_bcdcompress::hexToDecimal()
{
    Ui* u = ui();
    if (!u)
        return;
    const BcdHexValue v = bcdhextodec(u->xhexadecimal->text());
    if (v.limited)
        u->xhexadecimal->setText(hexpad(bcdMaximum, 8));
    u->xdecimal->setText(v.decimal);
}

void Math_bcdcompress::padDecimal()
{
    if (Ui* u = ui())
        u->xdecimal->setText(bcdpaddecimal(u->xdecimal->text()));
}

void Math_bcdcompress::padHex()
{
    if (Ui* u = ui())
        u->xhexadecimal->setText(bcdpadhex(u->xhexadecimal->text()));
}
