#pragma once
// A board on the far end of a PtyPair, for controller tests.
//
//   PtyPair pty;
//   BoardSimulator sim(pty);
//   sim.script("0014", {BoardSimulator::boardReply("0014", {"1", "2"})});
//   ... the window sends "$0014\r" ...
//   QTRY_COMPARE(sim.commands(), QStringList{"$0014"});
//
// Every line received up to the line end (CR; setLineEnd("\r\n") for SCPI)
// is recorded in commands() without its end, and answered with what
// answer(line) returns: by default the replies scripted for the command's
// code (the four characters after "$", any case) or for the whole line.
// Override answer() for a board with state. Replies are sent as given,
// byte for byte (Latin-1), so a script can also hold garbage or SCPI text.
//
// Line conditions, each until changed:
//   setSplit(n)      every reply goes out in pieces of n bytes, a few ms apart
//   setMerge(true)   all replies to one command go out in one write
//   setGarbage(g)    g goes out before each reply
//   setDelay(ms)     replies wait ms before they go
//   setSilent(true)  commands are recorded but not answered
//   vanish()         the board's end closes: the device disappears
// send(bytes) writes unasked data (streams) through the same queue; writes
// that the line cannot take yet wait, nothing is dropped. sendRaw(bytes)
// does the same for any bytes at all (binary, a flood of megabytes); the
// line conditions above apply to replies only. sentBytes() counts what the
// line has taken, received() holds every byte the window wrote.

#include <QByteArray>
#include <QMap>
#include <QObject>
#include <QStringList>

class PtyPair;
class QSocketNotifier;

class BoardSimulator : public QObject {
    Q_OBJECT
public:
    explicit BoardSimulator(PtyPair& pty, QObject* parent = nullptr);
    ~BoardSimulator() override;

    // "!" + code + "," + fields joined by "," + CR.
    static QString boardReply(const QString& code, const QStringList& fields = {});
    // A flood of count replies "!" + code + six-digit number (from on) + CR,
    // each after a few garbage bytes that hold neither "!" nor CR.
    static QByteArray replyFlood(const QByteArray& code, int from, int count);

    void setLineEnd(const QByteArray& end) { m_lineEnd = end; }
    void script(const QString& key, const QStringList& replies);
    void setSplit(int pieceBytes) { m_split = pieceBytes; }
    void setMerge(bool on) { m_merge = on; }
    void setGarbage(const QByteArray& g) { m_garbage = g; }
    void setDelay(int ms) { m_delay = ms; }
    void setSilent(bool on) { m_silent = on; }
    void vanish();
    bool vanished() const { return m_fd < 0; }

    void send(const QByteArray& bytes);
    void sendRaw(const QByteArray& bytes) { send(bytes); }
    qint64 sentBytes() const { return m_sent; }
    // Bytes queued but not yet taken by the line.
    qsizetype pending() const { return m_out.size() - m_outPos; }

    QStringList commands() const { return m_commands; }
    QByteArray received() const { return m_received; }
    void clearRecord();

Q_SIGNALS:
    void commandReceived(const QString& line);

protected:
    virtual QStringList answer(const QString& line);

private:
    void onReadable();
    void onWritable();
    void deliver(const QStringList& replies);

    int m_fd;
    PtyPair& m_pty;
    QSocketNotifier* m_readN = nullptr;
    QSocketNotifier* m_writeN = nullptr;
    QByteArray m_lineEnd = "\r";
    QByteArray m_in;
    QByteArray m_out;
    qsizetype m_outPos = 0; // bytes of m_out already taken by the line
    QByteArray m_received;
    QStringList m_commands;
    QMap<QString, QStringList> m_script;
    int m_split = 0;
    bool m_merge = false;
    QByteArray m_garbage;
    int m_delay = 0;
    bool m_silent = false;
    qint64 m_sent = 0;
};
