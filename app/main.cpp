#include "app/CKelmoraApp.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    QApplication qapp(argc, argv);
    // Where the program's files lie (beside it, or installed) is worked out once, here.
    CKelmoraApp app(CProgramFolder::OfRunningProgram());
    // The application's whole life is inside InitInstance; it answers false when the main window
    // has closed and been destroyed, with the settings file already written.
    app.InitInstance();
    // Nothing of the program's own is left to release. What remains is Qt taking down its links to
    // the desktop's services (X server, session and accessibility buses, input method, session
    // manager, GTK theme), and each of those may wait on the other side; the process ends here
    // and the system closes them at once.
    std::fflush(nullptr);
    std::_Exit(0);
}
