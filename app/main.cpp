#include "app/CKelmoraApp.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication qapp(argc, argv);
    // Where the program's files lie (beside it, or installed) is worked out once, here.
    CKelmoraApp app(CProgramFolder::OfRunningProgram());
    // The application's whole life is inside InitInstance; it answers false when the main window
    // has closed, and the process ends.
    app.InitInstance();
    return 0;
}
