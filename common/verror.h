#pragma once
// The program's error type: a number and a description, as the alert
// window's error mode shows them. Raised by library procedures and handlers;
// every event handler runs guarded (ToolWindow::guarded) so it never reaches
// the event loop.

#include <QByteArray>
#include <QString>
#include <exception>

class VError : public std::exception {
public:
    VError(int number, QString description);
    int number() const { return m_number; }
    const QString& description() const { return m_description; }
    const char* what() const noexcept override { return m_what.constData(); }

private:
    int m_number;
    QString m_description;
    QByteArray m_what;
};

// The error that the calling code is handling now; alertbox mode 2 shows it.
void setHandledError(const VError& error);
const VError& handledError();

// Common error numbers (the platform's classic run-time numbers where one fits).
namespace verr {
constexpr int InvalidCall = 5;
constexpr int Overflow = 6;
constexpr int OutOfMemory = 7;
constexpr int SubscriptRange = 9;
constexpr int DivisionByZero = 11;
constexpr int TypeMismatch = 13;
constexpr int FileNotFound = 53;
constexpr int FileAlreadyOpen = 55;
constexpr int DeviceIO = 57;
constexpr int PermissionDenied = 70;
constexpr int PathFileAccess = 75;
constexpr int PathNotFound = 76;
constexpr int InvalidPropertyValue = 380; // also a rate the port cannot run at
constexpr int PortAlreadyOpen = 8005;
constexpr int PortNotOpen = 8015;
constexpr int PortError = 8018;
} // namespace verr
