#include "En_EndWatchThread.h"

#include <QCoreApplication>

#include "UT_DELAY.h"

namespace En {

std::atomic<EndWatchThread*> EndWatchThread::_endWatchThreadInstance{nullptr};

EndWatchThread::EndWatchThread() : QThread(nullptr), endFlag(false), semaphore(0) {}

EndWatchThread::~EndWatchThread()
{
    quit();
}

void EndWatchThread::Start()
{
    if (_endWatchThreadInstance.load() != nullptr)
        return;
    auto* watcher = new EndWatchThread;
    _endWatchThreadInstance.store(watcher);
    watcher->start(QThread::InheritPriority);
}

bool EndWatchThread::IsRunning()
{
    return _endWatchThreadInstance.load() != nullptr;
}

void EndWatchThread::SetFinished()
{
    Stop(false);
}

void EndWatchThread::EncounteredEnd()
{
    Stop(true);
}

void EndWatchThread::Stop(bool endApplication)
{
    EndWatchThread* watcher = _endWatchThreadInstance.load();
    if (watcher == nullptr)
        return;
    // Written before the release, read by run() after its acquire: ordered by the semaphore.
    watcher->endFlag = endApplication;
    watcher->semaphore.release();
    watcher->wait();
    // Cleared first, so that IsRunning never answers true for a watcher being deleted.
    _endWatchThreadInstance.store(nullptr);
    delete watcher;
}

void EndWatchThread::run()
{
    semaphore.acquire();
    if (endFlag) {
        UT_DELAY::Millidelay(500);
        // QCoreApplication::exit is not thread-safe: the exit is queued to the thread that
        // runs the application's event loop. Without an application there is nothing to end.
        if (QCoreApplication* application = QCoreApplication::instance())
            QMetaObject::invokeMethod(
                application, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
    }
}

}  // namespace En
