#pragma once

class QCoreApplication;

// gantrel without a mode option: the main window, until the user closes it.
class MainWindowMode {
public:
    MainWindowMode() = delete;

    // False, after saying why on stderr, when there is no display to show the window on.
    static bool DisplayAvailable();
    static QCoreApplication* CreateApplication(int& argc, char** argv);
    // The session's exit status.
    static int Run();
};
