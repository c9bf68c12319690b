#include <QApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTextStream(stdout) << "Kelmora: the main window is not built yet.\n";
    return 0;
}
