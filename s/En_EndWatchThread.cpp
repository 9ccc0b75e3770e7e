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
    delete watcher;
    _endWatchThreadInstance.store(nullptr);
}

void EndWatchThread::run()
{
    semaphore.acquire();
    if (endFlag) {
        UT_DELAY::Millidelay(500);
        QCoreApplication::exit(0);
    }
}

}  // namespace En
