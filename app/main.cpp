#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName("Tessaran");
    QMainWindow window;
    window.setWindowTitle("Tessaran");
    window.resize(1024, 768);
    window.show();
    return application.exec();
}
