// Starts Quorvane: the application, its one window, and the event loop.
// Exit, or closing the window, ends the program.
#include <QApplication>
#include <QIcon>

#include "Form1.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    QApplication::setDesktopFileName(QStringLiteral("quorvane"));

    QIcon icon(QStringLiteral(":/quorvane/quorvane.svg"));
    icon.addFile(QStringLiteral(":/quorvane/quorvane-16.png"));
    icon.addFile(QStringLiteral(":/quorvane/quorvane-32.png"));
    QApplication::setWindowIcon(icon);

    Form1 window;
    window.show();
    return QApplication::exec();
}
