#include "math_sha1tester.h"
#include "hexentry.h"
#include "testvectors.h"

#include "common/alert.h"
#include "common/fields.h"
#include "common/formbuilder.h"
#include "common/numtext.h"
#include "common/sha1.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include <array>

struct Math_sha1tester::Ui : Controls {
    QLineEdit* Text1 = nullptr;
    QPlainTextEdit* message = nullptr;
    std::array<QRadioButton*, 2> inputmode{};
    QComboBox* Combo1 = nullptr;
    QPushButton* Command1 = nullptr; // index 1 of its array
    QLineEdit* hashdata = nullptr;
    QLineEdit* exphash = nullptr;
    QLineEdit* hashtime = nullptr;
    bool hexMode() const { return inputmode[1]->isChecked(); }
};

Math_sha1tester::Math_sha1tester() : ToolWindow("Math_sha1tester", QSize(6600, 5400)) {}

QString Math_sha1tester::standardConstants()
{
    return QStringLiteral("CA62C1D68F1BBCDC6ED9EBA15A827999");
}

void Math_sha1tester::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("SHA1 Hash Function Tester"));
    auto* ui = makeControls<Ui>();
    const QFont font = uiFont(8.25);
    const QFont fixed = fixedFont(9);

    auto label = [&](const char* text, double left, double top, double width) {
        placeLabel(form, QString::fromLatin1(text), left, top, width)->setFont(font);
    };
    auto box = [&](const char* name, double left, double top, double width) {
        auto* b = place<QLineEdit>(form, QString::fromLatin1(name), left, top, width, 345);
        b->setFont(fixed);
        return b;
    };

    label("Key", 120, 165, 1000);
    ui->Text1 = box("Text1", 1200, 120, 4500);
    ui->Text1->setText(standardConstants());
    label("Test", 120, 645, 1000);
    ui->Combo1 = place<QComboBox>(form, "Combo1", 1200, 600, 5250, 345);
    ui->Combo1->setFont(fixed);
    for (const Sha1Vector& v : sha1vectors())
        ui->Combo1->addItem(v.entry);
    onKeyPress(ui->Combo1, [](int) { return 0; });
    on(ui->Combo1, &QComboBox::activated, [this](int index) { choose(index); });

    const char* const modes[2] = {"Text", "Hex"};
    for (int i = 0; i < 2; ++i) {
        auto* r = place<QRadioButton>(form, arrayName("inputmode", i), 1200 + i * 1200, 1095, 1100, 300);
        r->setText(QString::fromLatin1(modes[i]));
        r->setFont(font);
        r->setChecked(i == 0);
        ui->inputmode[i] = r;
        // Choosing an option from code runs its click handling too.
        on(r, &QRadioButton::toggled, [this](bool checked) {
            if (checked)
                modeChosen();
        });
    }

    ui->Command1 = place<QPushButton>(form, arrayName("Command1", 1), 4200, 1020, 2250, 420);
    ui->Command1->setFont(font);
    on(ui->Command1, &QPushButton::clicked, [this] { hash(); });

    ui->message = place<QPlainTextEdit>(form, "message", 120, 1560, 6330, 2190);
    ui->message->setFont(fixed);
    ui->message->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    on(ui->message, &QPlainTextEdit::textChanged, [this, ui] {
        ui->exphash->clear();
        ui->hashdata->clear();
        m_millionShown = false;
    });

    label("Hash", 120, 3945, 1000);
    ui->hashdata = box("hashdata", 1200, 3900, 5250);
    setOutputBox(ui->hashdata, colors::white);
    label("Expected", 120, 4395, 1000);
    ui->exphash = box("exphash", 1200, 4350, 5250);
    setOutputBox(ui->exphash, colors::white);
    label("Hash time", 120, 4845, 1000);
    ui->hashtime = box("hashtime", 1200, 4800, 1200);
    ui->hashtime->setText(QStringLiteral("0.000"));
    setOutputBox(ui->hashtime, colors::white);
    label("Secs", 2520, 4845, 800);

    onKeyPress(ui->Text1, [ui](int key) {
        const int k = hexEntryKey(key);
        if (k == 13)
            ui->Text1->setText(zeroLeft(ui->Text1->text(), 32));
        if (k != 0)
            ui->exphash->clear();
        return k;
    });
    on(ui->Text1, &QLineEdit::textEdited, [this] { constantsEdited(); });
    onDoubleClick(ui->Text1, [ui] { ui->Text1->setText(standardConstants()); });
}

void Math_sha1tester::onLoad()
{
    auto* ui = controls<Ui>();
    ui->Command1->setText(QStringLiteral("Hash Message"));
    ui->Combo1->setCurrentIndex(0);
    choose(0);
}

void Math_sha1tester::setWaiting(bool on)
{
    auto* ui = controls<Ui>();
    ui->Command1->setEnabled(!on);
    ui->Command1->setText(on ? QStringLiteral("Wait...") : QStringLiteral("Hash Message"));
}

void Math_sha1tester::choose(int entry)
{
    auto* ui = controls<Ui>();
    const auto& vectors = sha1vectors();
    if (entry < 0 || entry >= int(vectors.size()))
        return;
    const bool nested = m_choosing;
    m_choosing = true;
    ui->Combo1->setCurrentIndex(entry);
    setWaiting(true);
    ui->hashdata->clear();
    if (entry == sha1MillionEntry)
        ui->inputmode[0]->setChecked(true);
    const Sha1Vector& v = vectors[entry];
    if (ui->hexMode()) {
        QString hex;
        hex.reserve(v.message.size() * 3);
        for (const QChar c : v.message)
            hex += hexpad(c.unicode(), 2) + u' ';
        ui->message->setPlainText(hex);
    } else {
        ui->message->setPlainText(v.message);
    }
    m_millionShown = entry == sha1MillionEntry;
    ui->exphash->setText(v.expected);
    setWaiting(false);
    m_choosing = nested;
}

void Math_sha1tester::modeChosen()
{
    if (m_choosing)
        return;
    auto* ui = controls<Ui>();
    ui->exphash->clear();
    ui->hashdata->clear();
    const int entry = ui->Combo1->currentIndex();
    choose(0);
    choose(entry);
}

// Typed keys arrive filtered; a paste keeps only its hex digits.
void Math_sha1tester::constantsEdited()
{
    auto* ui = controls<Ui>();
    const QString text = ui->Text1->text();
    QString digits;
    for (const QChar c : text)
        if (allHexDigits(QString(c)))
            digits += c.toUpper();
    if (digits != text) {
        const int cursor = ui->Text1->cursorPosition();
        ui->Text1->setText(digits);
        ui->Text1->setCursorPosition(qMin(cursor, int(digits.size())));
    }
    ui->exphash->clear();
}

void Math_sha1tester::hash()
{
    auto* ui = controls<Ui>();
    const QString timeBefore = ui->hashtime->text();
    ui->hashtime->setText(QStringLiteral("..."));
    setWaiting(true);
    if (ui->message->document()->isEmpty()) {
        choose(1);
        setWaiting(true);
    }
    if (ui->Text1->text() != standardConstants())
        ui->exphash->clear();

    const QString shown = ui->message->toPlainText();
    QString data;
    if (m_millionShown && shown == sha1MillionPlaceholder()) {
        data = QString(1000000, u'a');
    } else if (ui->hexMode()) {
        data = hextobytes(shown);
    } else {
        for (const QChar c : shown) {
            if (c.unicode() > 255) {
                // The hash would be of "?" in its place: another message.
                alertbox(caption(),
                         QStringLiteral("The message holds a character with no one-byte code, which cannot be hashed "
                                        "as text. Please enter its bytes in Hex mode."),
                         0);
                if (!aborted()) {
                    ui->hashtime->setText(timeBefore);
                    setWaiting(false);
                }
                return;
            }
        }
        data = shown;
    }

    QElapsedTimer clock;
    clock.start();
    ui->Text1->setText(zeroLeft(ui->Text1->text(), 32));
    ui->hashdata->setText(sha1(ui->Text1->text(), data));
    ui->hashtime->setText(fmt(clock.nsecsElapsed() / 1e9, QStringLiteral("0.000")));
    setWaiting(false);
}
