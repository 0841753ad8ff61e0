#pragma once
// More device paths listed in VOLTARIS_PORTS while it lives, so that a
// window loaded meanwhile offers them (fakes' names, say); the list as it
// was comes back after.
//
//   { ExtraPorts more({"fake-bad"}); w.load(); w.show(); }

#include <QByteArray>
#include <QStringList>

class ExtraPorts {
public:
    explicit ExtraPorts(const QStringList& paths) : m_saved(qgetenv("VOLTARIS_PORTS"))
    {
        QByteArray more = m_saved;
        for (const QString& p : paths)
            if (!p.isEmpty())
                more += ':' + p.toLocal8Bit();
        qputenv("VOLTARIS_PORTS", more);
    }
    ~ExtraPorts() { qputenv("VOLTARIS_PORTS", m_saved); }
    ExtraPorts(const ExtraPorts&) = delete;
    ExtraPorts& operator=(const ExtraPorts&) = delete;

private:
    QByteArray m_saved;
};
