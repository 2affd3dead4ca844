// Starts Quorvane: the application, its one window, and the event loop.
// Exit, or closing the window, ends the program.
#include <QApplication>
#include <QIcon>

#include "Form1.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    QApplication::setApplicationVersion(QStringLiteral(QUORVANE_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("org.quorvane.Quorvane"));

    QApplication::setWindowIcon(QIcon(QStringLiteral(":/quorvane/quorvane.svg")));

    Form1 window;
    window.show();
    return QApplication::exec();
}
