#pragma once

#include <QSemaphore>
#include <QThread>

#include <atomic>

namespace En {

// Marks the application's run as live: projects are changed and polling runs only while a
// watcher exists. The run ends either finished (the application goes on) or at its end
// (the application's event loop then exits with 0, half a second later).
//
// Start, SetFinished and EncounteredEnd must not overlap (the host and the polling thread
// take turns); IsRunning may be asked from any thread.
class EndWatchThread : public QThread {
    Q_OBJECT

public:
    ~EndWatchThread() override;

    static void Start();
    static bool IsRunning();
    static void SetFinished();
    static void EncounteredEnd();

protected:
    void run() override;

private:
    EndWatchThread();
    static void Stop(bool endApplication);

    bool endFlag;
    QSemaphore semaphore;

    // Read by other threads without a lock of their own, hence atomic.
    static std::atomic<EndWatchThread*> _endWatchThreadInstance;
};

}  // namespace En
