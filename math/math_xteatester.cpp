#include "math_xteatester.h"
#include "hexentry.h"
#include "testvectors.h"

#include "common/alert.h"
#include "common/charlimit.h"
#include "common/fields.h"
#include "common/formbuilder.h"
#include "common/xtea.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include <array>

struct Math_xteatester::Ui : Controls {
    QLineEdit* encryptkey = nullptr;
    QLineEdit* plaintext = nullptr;
    QLineEdit* cyphertext = nullptr;
    QLineEdit* expectedtext = nullptr;
    QComboBox* testvector = nullptr;
    std::array<QPushButton*, 2> doit{};
};

Math_xteatester::Math_xteatester() : ToolWindow("Math_xteatester", QSize(7500, 2700)) {}

namespace {
int lengthOf(const QLineEdit* box)
{
    return charLimit(box);
}
void padBox(QLineEdit* box)
{
    box->setText(zeroLeft(box->text(), lengthOf(box)));
}
} // namespace

void Math_xteatester::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("XTEA Encypher / Decypher"));
    auto* ui = makeControls<Ui>();
    const QFont font = uiFont(8.25);
    const QFont fixed = fixedFont(9);

    auto label = [&](const char* text, double left, double top, double width) {
        placeLabel(form, QString::fromLatin1(text), left, top, width)->setFont(font);
    };
    auto box = [&](const char* name, int length, double left, double top, double width) {
        auto* b = place<QLineEdit>(form, QString::fromLatin1(name), left, top, width, 345);
        b->setFont(fixed);
        b->setValidator(new CharLimit(length, b));
        return b;
    };

    label("Key", 120, 165, 1100);
    ui->encryptkey = box("encryptkey", 32, 1350, 120, 4500);
    label("PT", 120, 645, 1100);
    ui->plaintext = box("plaintext", 16, 1350, 600, 2400);
    label("CT", 120, 1125, 1100);
    ui->cyphertext = box("cyphertext", 16, 1350, 1080, 2400);
    label("Expected Cypher Text", 3975, 645, 2400);
    ui->expectedtext = box("expectedtext", 16, 3975, 1080, 2400);
    setOutputBox(ui->expectedtext, colors::white);
    label("Test", 120, 1785, 1100);
    ui->testvector = place<QComboBox>(form, "testvector", 1350, 1740, 6000, 345);
    ui->testvector->setFont(fixed);
    onKeyPress(ui->testvector, [](int) { return 0; });
    on(ui->testvector, &QComboBox::activated, [this](int index) { chooseVector(index); });

    const char* const captions[2] = {"Encrypt >", "< Decrypt"};
    for (int i = 0; i < 2; ++i) {
        auto* b = place<QPushButton>(form, arrayName("doit", i), 5940, 120 + i * 480, 1440, 375);
        b->setText(QString::fromLatin1(captions[i]));
        b->setFont(font);
        ui->doit[i] = b;
        on(b, &QPushButton::clicked, [this, i] { doit(i); });
    }
    // The cipher and the padding rely on these boxes holding hex digits.
    for (QLineEdit* b : {ui->encryptkey, ui->plaintext, ui->cyphertext}) {
        onKeyPress(b, [this, b, ui](int key) {
            const int k = hexEntryKey(key);
            if (k == 13) {
                padBox(b);
                if (b == ui->cyphertext)
                    decipher();
                else
                    encipher();
                return 0;
            }
            if (k != 0)
                ui->expectedtext->clear();
            return k;
        });
        onFocusOut(b, [b] { padBox(b); });
        on(b, &QLineEdit::textEdited, [this, b] { hexEdited(b); });
    }
}

void Math_xteatester::onLoad()
{
    auto* ui = controls<Ui>();
    ui->testvector->addItem(QStringLiteral("Select a Key/Plaintext test vector pair"));
    for (int n = 1; n < xteavectors().size(); ++n)
        ui->testvector->addItem(xteaEntryText(xteavectors()[n]));
    ui->testvector->setCurrentIndex(0);
    chooseVector(0);
}

void Math_xteatester::chooseVector(int index)
{
    auto* ui = controls<Ui>();
    const int n = (index < 1 || index >= xteavectors().size()) ? 1 : index;
    const QString& v = xteavectors()[n];
    const QString blank = QStringLiteral(" ");
    ui->encryptkey->setText(getfield(v, 1, blank));
    ui->plaintext->setText(getfield(v, 2, blank));
    ui->expectedtext->setText(getfield(v, 3, blank));
    ui->cyphertext->clear();
}

void Math_xteatester::doit(int index)
{
    auto* ui = controls<Ui>();
    padBox(ui->encryptkey);
    padBox(ui->plaintext);
    padBox(ui->cyphertext);
    ui->encryptkey->repaint();
    if (index == 0)
        encipher();
    else
        decipher();
}

void Math_xteatester::encipher()
{
    auto* ui = controls<Ui>();
    ui->cyphertext->clear();
    ui->cyphertext->repaint();
    ui->cyphertext->setText(xtea(0, ui->plaintext->text(), ui->encryptkey->text()));
}

void Math_xteatester::decipher()
{
    auto* ui = controls<Ui>();
    ui->plaintext->clear();
    ui->plaintext->repaint();
    ui->plaintext->setText(xtea(1, ui->cyphertext->text(), ui->encryptkey->text()));
}

// A paste or a drop reaches the box without the key filter: text with any
// other character than a hex digit is refused, a-f are raised.
void Math_xteatester::hexEdited(QLineEdit* box)
{
    auto* ui = controls<Ui>();
    const QString text = box->text();
    if (!allHexDigits(text)) {
        const QSignalBlocker quiet(box);
        box->undo();
        if (!allHexDigits(box->text()))
            box->clear();
        beep();
        return;
    }
    const QString upper = text.toUpper();
    if (upper != text) {
        const int cursor = box->cursorPosition();
        box->setText(upper);
        box->setCursorPosition(cursor);
    }
    ui->expectedtext->clear();
}
