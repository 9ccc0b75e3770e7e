#include "SimC_WorkerPool.h"

#include <algorithm>

namespace SimC {

WorkerPool::WorkerPool()
{
    Resize(DefaultSize());
}

WorkerPool::~WorkerPool()
{
    Stop();
}

std::size_t WorkerPool::DefaultSize()
{
    return std::max(1u, std::thread::hardware_concurrency());
}

void WorkerPool::Submit(std::function<void()> job)
{
    {
        std::lock_guard<std::mutex> lock(guard);
        jobs.push_back(std::move(job));
    }
    wake.notify_one();
}

void WorkerPool::Resize(std::size_t count)
{
    Stop();
    std::lock_guard<std::mutex> lock(guard);
    stopping = false;
    for (std::size_t index = 0; index < std::max<std::size_t>(count, 1); ++index) {
        threads.emplace_back(&WorkerPool::Work, this);
    }
}

std::size_t WorkerPool::Size() const
{
    std::lock_guard<std::mutex> lock(guard);
    return threads.size();
}

void WorkerPool::Stop()
{
    std::vector<std::thread> leaving;
    {
        std::lock_guard<std::mutex> lock(guard);
        stopping = true;
        leaving.swap(threads);
    }
    wake.notify_all();
    for (std::thread& thread : leaving) {
        thread.join();
    }
}

void WorkerPool::Work()
{
    std::unique_lock<std::mutex> lock(guard);
    for (;;) {
        wake.wait(lock, [&] { return stopping || !jobs.empty(); });
        if (jobs.empty()) {
            return;
        }
        std::function<void()> job = std::move(jobs.front());
        jobs.pop_front();
        lock.unlock();
        job();
        lock.lock();
    }
}

}  // namespace SimC
