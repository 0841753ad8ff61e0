#pragma once
// A pseudo-terminal pair standing in for a serial cable in tests.
//
//   PtyPair pty;                       // path() is listed in VOLTARIS_PORTS
//   window.load();                     // portscan finds pty.path()
//   BoardSimulator sim(pty);           // answers on the other end
//
// The window opens path() like any serial port. The pair keeps its own
// handle on that side too, so the line stays up while ports are probed
// (opened and closed) there; the board side (boardFd) is raw and
// non-blocking. Closing the board side (closeBoard, or the simulator's
// vanish) is a device that disappears. The path leaves VOLTARIS_PORTS when
// the pair goes.

#include <QString>

class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool ok() const { return m_board >= 0; }
    // The device path a window opens ("/dev/pts/7").
    const QString& path() const { return m_path; }
    // The board's end: read commands from it, write replies to it.
    int boardFd() const { return m_board; }
    void closeBoard();
    // How often the window's side has been opened since the pair was made
    // (a port scan must not open it).
    int opens();

private:
    int m_board = -1;
    int m_window = -1;
    int m_watch = -1;
    int m_opens = 0;
    QString m_path;
};
