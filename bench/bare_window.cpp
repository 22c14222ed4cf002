// The yardstick of start-up: a bare main window with a one-entry menu bar.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QMainWindow window;
    window.menuBar()->addAction(QStringLiteral("&About"));
    window.show();
    return application.exec();
}
