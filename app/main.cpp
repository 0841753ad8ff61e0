#include "a_main.h"
#include "common/paths.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("voltaris"));
    QApplication::setOrganizationName(QStringLiteral("Kelvane Electronics"));
    // Settles the program's folder now, seeding a per-user one with the
    // data files it lacks.
    apppath();
    mainWindow().show();
    const int rc = QApplication::exec();
    destroyMainWindow();
    return rc;
}
