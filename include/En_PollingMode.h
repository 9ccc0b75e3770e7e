#pragma once

#include <QThread>

#include <vector>

#include "Port_StringBase.h"
#include "Sim_Command.h"

namespace En {

// Serves another program through a polling directory: the client drops a command file,
// ends it with a COMPLETE line, and is answered with a finish file once the commands ran.
// The thread watches the directory every half second while the end-watch thread runs; it
// takes the action mutex for each command file, so a file waits while an interactive
// action holds the locks. The finish state is process-wide, shared with the GUI thread that
// answers a generation's move-out step (see WriteCommandFinishFile).
class PollingMode : public QThread {
    Q_OBJECT

public:
    static const Port::StringBase<char> COMMAND_FILE_NAME;
    static const Port::StringBase<char> FINISH_FILE_NAME;

    PollingMode();
    ~PollingMode() override;

    // Answers the client: result 0 "SUCCESS", 2 "APPLICATION CANCELLED", else "ERROR",
    // after the line "component ip_name version" when all three are given. 0 when the
    // finish file was written, 1 otherwise (after the error message). Any thread.
    static unsigned WriteCommandFinishFile(unsigned result,
                                           const Port::StringBase<char>& componentName,
                                           const Port::StringBase<char>& ipName,
                                           const Port::StringBase<char>& version);

signals:
    // Polling ended by itself while the run was live: the application closes.
    void CloseMainWindow();
    // The polling thread took or released the action mutex.
    void MutexChanged();

protected:
    void run() override;

private:
    friend struct PollingModeSeam;

    bool IsCompleteCommandFile(const Port::StringBase<char>& path);
    bool IsEndCommandFile(const Port::StringBase<char>& path);
    void FileMonitor();
    // One look at a command file under the action mutex; stop is set when polling is to end.
    void ProcessCommandFile(const Port::StringBase<char>& path, bool& stop);
    static bool WriteCommandFinishFile();
    Port::StringBase<char> ExtractCommandFinishFile(const std::vector<Sim::Command>& commands);

    static unsigned _finishResult;
    static std::vector<Port::StringBase<char>> _finishMessage;
};

}  // namespace En
