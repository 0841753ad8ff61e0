#include "a_main.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("voltaris"));
    QApplication::setOrganizationName(QStringLiteral("Kelvane Electronics"));
    mainWindow().show();
    const int rc = QApplication::exec();
    destroyMainWindow();
    return rc;
}
