#include "rtfview.h"
#include "files.h"
#include "paths.h"

#include <QFile>
#include <QFileInfo>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>

#include <functional>
#include <vector>

namespace {
// Code page 1252 in 0x80-0x9F; the rest of 0xA0-0xFF is Latin-1. Unused
// codes show as themselves.
const char16_t kCp1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                  0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QChar cp1252(unsigned char b)
{
    if (b >= 0x80 && b < 0xA0)
        return QChar(kCp1252High[b - 0x80]);
    return QChar(b);
}

// Pages are small; a file beyond this is not a page.
constexpr qint64 kMaxPage = 32 * 1024 * 1024;
// RTF numbers are 16- or 32-bit; anything longer is clamped.
constexpr long kNumLimit = 1000000000L;

struct State {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int halfPoints = 24;
    int color = 0;
    int ucSkip = 1;
    enum class Dest { Text, Skip, ColorTable } dest = Dest::Text;
};

class Reader {
public:
    Reader(const QByteArray& rtf, QTextDocument* doc) : m_in(rtf), m_doc(doc), m_cursor(doc) {}

    void run()
    {
        m_doc->clear();
        m_cursor = QTextCursor(m_doc);
        m_stack.reserve(64);
        m_blockFmt = QTextBlockFormat();
        const qsizetype n = m_in.size();
        while (m_pos < n) {
            const unsigned char c = static_cast<unsigned char>(m_in[m_pos++]);
            switch (c) {
            case '{':
                m_stack.push_back(m_st);
                break;
            case '}':
                if (!m_stack.empty()) {
                    flush();
                    m_st = m_stack.back();
                    m_stack.pop_back();
                }
                m_pendingSkip = 0; // \uN fallbacks never cross a group end
                break;
            case '\\':
                controlWord();
                break;
            case '\r':
            case '\n':
                break;
            default:
                if (m_st.dest == State::Dest::ColorTable) {
                    if (c == ';')
                        endColorEntry();
                } else {
                    text(cp1252(c));
                }
                break;
            }
        }
        finish();
    }

private:
    void finish()
    {
        flush();
        m_cursor.setBlockFormat(m_blockFmt);
        // A closing \par leaves an empty last block; the page ends with its text.
        if (m_cursor.block().text().isEmpty() && m_cursor.block().previous().isValid()) {
            m_cursor.deletePreviousChar();
        }
    }

    bool skipping() const { return m_st.dest != State::Dest::Text; }

    void text(QChar ch)
    {
        if (skipping())
            return;
        if (m_pendingSkip > 0) {
            --m_pendingSkip;
            return;
        }
        if (ch.unicode() < 0x20 && ch != u'\t')
            return; // binary bytes in the text show nothing
        if (m_run.isEmpty())
            m_runFmt = charFormat();
        m_run += ch;
    }

    QTextCharFormat charFormat() const
    {
        QTextCharFormat f;
        f.setFontWeight(m_st.bold ? QFont::Bold : QFont::Normal);
        f.setFontItalic(m_st.italic);
        f.setFontUnderline(m_st.underline);
        f.setFontPointSize(m_st.halfPoints / 2.0);
        if (m_st.color > 0 && size_t(m_st.color) < m_colors.size() && m_colors[size_t(m_st.color)].isValid())
            f.setForeground(m_colors[size_t(m_st.color)]);
        return f;
    }

    // Writes the text gathered so far with the format it was gathered in.
    void flush()
    {
        if (m_run.isEmpty())
            return;
        m_cursor.insertText(m_run, m_runFmt);
        m_run.clear();
    }

    // Called before the character format changes.
    void formatChanging() { flush(); }

    void paragraph()
    {
        if (skipping())
            return;
        flush();
        m_cursor.setBlockFormat(m_blockFmt);
        m_cursor.insertBlock(m_blockFmt, charFormat());
    }

    void setBlockProperty(const std::function<void(QTextBlockFormat&)>& f)
    {
        if (skipping())
            return;
        f(m_blockFmt);
    }

    long number(bool& has)
    {
        const qsizetype n = m_in.size();
        bool neg = false;
        has = false;
        if (m_pos < n && m_in[m_pos] == '-') {
            neg = true;
            ++m_pos;
        }
        long v = 0;
        while (m_pos < n && m_in[m_pos] >= '0' && m_in[m_pos] <= '9') {
            has = true;
            if (v < kNumLimit)
                v = v * 10 + (m_in[m_pos] - '0');
            ++m_pos;
        }
        if (v > kNumLimit)
            v = kNumLimit;
        return neg ? -v : v;
    }

    int hexDigit(char c) const
    {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    }

    void controlWord()
    {
        const qsizetype n = m_in.size();
        if (m_pos >= n)
            return;
        const char c = m_in[m_pos];
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))) {
            ++m_pos;
            controlSymbol(c);
            return;
        }
        const qsizetype start = m_pos;
        while (m_pos < n && ((m_in[m_pos] >= 'a' && m_in[m_pos] <= 'z') || (m_in[m_pos] >= 'A' && m_in[m_pos] <= 'Z')))
            ++m_pos;
        const QByteArray word = m_in.mid(start, m_pos - start);
        bool has = false;
        const long param = number(has);
        if (m_pos < n && m_in[m_pos] == ' ')
            ++m_pos;
        apply(word, has, param);
    }

    void controlSymbol(char c)
    {
        switch (c) {
        case '\\':
        case '{':
        case '}':
            if (m_st.dest == State::Dest::Text)
                text(QChar(c));
            break;
        case '\'': {
            const qsizetype n = m_in.size();
            int v = 0;
            int digits = 0;
            while (digits < 2 && m_pos < n && hexDigit(m_in[m_pos]) >= 0) {
                v = v * 16 + hexDigit(m_in[m_pos]);
                ++m_pos;
                ++digits;
            }
            if (digits > 0)
                text(cp1252(static_cast<unsigned char>(v)));
            break;
        }
        case '*':
            m_st.dest = State::Dest::Skip;
            break;
        case '~':
            text(QChar(0x00A0));
            break;
        case '_':
            text(QChar(0x2011));
            break;
        case '\r':
        case '\n':
            paragraph();
            break;
        default:
            break; // \- optional hyphen, \| and others show nothing
        }
    }

    void apply(const QByteArray& w, bool has, long p)
    {
        // Destinations whose contents are not page text.
        static const char* const skipped[] = {"fonttbl", "stylesheet", "info", "pict", "object", "header", "headerl",
                                              "headerr", "headerf", "footer", "footerl", "footerr", "footerf",
                                              "footnote", "fldinst", "listtable", "listoverridetable", "revtbl",
                                              "rsidtbl", "generator", "themedata", "colorschememapping",
                                              "latentstyles", "datastore", "xmlnstbl", "mmathPr", "filetbl",
                                              "xe", "tc", "txe", "shp", "nonshppict", "bkmkstart", "bkmkend"};
        for (const char* s : skipped) {
            if (w == s) {
                m_st.dest = State::Dest::Skip;
                return;
            }
        }
        if (w == "colortbl") {
            if (!skipping()) {
                m_st.dest = State::Dest::ColorTable;
                m_colors.clear();
                m_cr = m_cg = m_cb = -1;
            }
            return;
        }
        if (m_st.dest == State::Dest::ColorTable) {
            const int v = int(qBound(0L, p, 255L));
            if (w == "red")
                m_cr = v;
            else if (w == "green")
                m_cg = v;
            else if (w == "blue")
                m_cb = v;
            return;
        }
        if (w == "bin") {
            // Raw bytes follow; never past the end of the input.
            const qsizetype left = m_in.size() - m_pos;
            m_pos += (has && p > 0) ? qsizetype(qMin<long long>(p, left)) : 0;
            return;
        }
        if (w == "uc") {
            m_st.ucSkip = int(qBound(0L, p, 16L));
            return;
        }
        if (w == "u") {
            if (!has)
                return;
            long v = p;
            if (v < 0)
                v += 65536;
            if (v >= 0 && v <= 0xFFFF && !skipping()) {
                m_pendingSkip = 0;
                const QChar ch{char16_t(v)};
                if (!ch.isSurrogate())
                    text(ch);
            }
            m_pendingSkip = m_st.ucSkip;
            return;
        }
        if (skipping())
            return;
        const bool on = !has || p != 0;
        if (w == "par" || w == "page" || w == "sect") {
            paragraph();
        } else if (w == "line") {
            text(QChar::LineSeparator);
        } else if (w == "tab") {
            text(u'\t');
        } else if (w == "emdash") {
            text(QChar(0x2014));
        } else if (w == "endash") {
            text(QChar(0x2013));
        } else if (w == "bullet") {
            text(QChar(0x2022));
        } else if (w == "lquote") {
            text(QChar(0x2018));
        } else if (w == "rquote") {
            text(QChar(0x2019));
        } else if (w == "ldblquote") {
            text(QChar(0x201C));
        } else if (w == "rdblquote") {
            text(QChar(0x201D));
        } else if (w == "b") {
            formatChanging();
            m_st.bold = on;
        } else if (w == "i") {
            formatChanging();
            m_st.italic = on;
        } else if (w == "ul") {
            formatChanging();
            m_st.underline = on;
        } else if (w == "ulnone") {
            formatChanging();
            m_st.underline = false;
        } else if (w == "fs") {
            formatChanging();
            m_st.halfPoints = has ? int(qBound(2L, p, 2000L)) : 24;
        } else if (w == "cf") {
            formatChanging();
            m_st.color = int(qBound(0L, p, 100000L));
        } else if (w == "plain") {
            formatChanging();
            const int uc = m_st.ucSkip;
            const State::Dest d = m_st.dest;
            m_st = State();
            m_st.ucSkip = uc;
            m_st.dest = d;
        } else if (w == "pard") {
            setBlockProperty([](QTextBlockFormat& f) { f = QTextBlockFormat(); });
        } else if (w == "ql" || w == "qj" || w == "qc" || w == "qr") {
            const Qt::Alignment a = w == "qc" ? Qt::AlignHCenter : w == "qr" ? Qt::AlignRight
                                  : w == "qj" ? Qt::AlignJustify : Qt::AlignLeft;
            setBlockProperty([a](QTextBlockFormat& f) { f.setAlignment(a); });
        } else if (w == "tx") {
            const double px = qBound(0L, p, 1000000L) / 15.0;
            setBlockProperty([px](QTextBlockFormat& f) {
                QList<QTextOption::Tab> tabs = f.tabPositions();
                if (tabs.size() < 256)
                    tabs.append(QTextOption::Tab(px, QTextOption::LeftTab));
                f.setTabPositions(tabs);
            });
        } else if (w == "deftab") {
            QTextOption o = m_doc->defaultTextOption();
            o.setTabStopDistance(qBound(15L, has ? p : 720L, 100000L) / 15.0);
            m_doc->setDefaultTextOption(o);
        }
        // Every other word (fonts, spacing, code pages, ...) is ignored.
    }

    void endColorEntry()
    {
        if (m_colors.size() < 4096)
            m_colors.push_back(m_cr < 0 && m_cg < 0 && m_cb < 0 ? QColor()
                                                              : QColor(qMax(0, m_cr), qMax(0, m_cg), qMax(0, m_cb)));
        m_cr = m_cg = m_cb = -1;
    }

    const QByteArray& m_in;
    qsizetype m_pos = 0;
    QTextDocument* m_doc;
    QTextCursor m_cursor;
    State m_st;
    std::vector<State> m_stack;
    std::vector<QColor> m_colors;
    int m_cr = -1, m_cg = -1, m_cb = -1;
    int m_pendingSkip = 0;
    QString m_run;
    QTextCharFormat m_runFmt;
    QTextBlockFormat m_blockFmt;
};
} // namespace

void rtfToDocument(const QByteArray& rtf, QTextDocument* doc)
{
    QTextOption o = doc->defaultTextOption();
    o.setTabStopDistance(720 / 15.0);
    o.setWrapMode(QTextOption::NoWrap);
    doc->setDefaultTextOption(o);
    Reader r(rtf, doc);
    r.run();
}

QString notInstalledText()
{
    return QStringLiteral("Help file not installed!  Please run the latest voltaris installer.");
}

RtfView::RtfView(QWidget* parent) : QTextEdit(parent)
{
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setLineWrapMode(QTextEdit::NoWrap);
    setAcceptRichText(true);
}

void RtfView::setRtf(const QByteArray& rtf)
{
    rtfToDocument(rtf, document());
    moveCursor(QTextCursor::Start);
}

bool RtfView::loadFile(const QString& path)
{
    // What the file holds, no more: a page is read whole, but a file past
    // any page's size is not a page.
    if (QFileInfo(path).size() <= kMaxPage) {
        if (const std::optional<QByteArray> page = readfile(path, kMaxPage)) {
            setRtf(*page);
            return true;
        }
    }
    setPlainText(notInstalledText());
    return false;
}

bool RtfView::loadPage(const QString& fileName)
{
    return loadFile(joinpath(apppath(), fileName));
}
