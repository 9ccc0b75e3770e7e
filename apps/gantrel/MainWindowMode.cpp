#include "MainWindowMode.h"

#include <QApplication>

#include <cstdio>

#include "En_EndWatchThread.h"
#include "MainWindow.h"
#include "WindowSession.h"

// Without a display Qt would abort with its own long advice; a user gets one line.
bool MainWindowMode::DisplayAvailable()
{
    for (const char* variable : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        if (!qEnvironmentVariableIsEmpty(variable))
            return true;
    }
    std::fputs(
        "gantrel: no display to show the main window on (DISPLAY is not set); give a "
        "command instead (see gantrel --help)\n",
        stderr);
    return false;
}

QCoreApplication* MainWindowMode::CreateApplication(int& argc, char** argv)
{
    return new QApplication(argc, argv);
}

int MainWindowMode::Run()
{
    WindowSession::Start();
    int status = 0;
    {
        MainWindow window;
        window.show();
        status = QApplication::exec();
    }
    En::EndWatchThread::SetFinished();
    return status;
}
