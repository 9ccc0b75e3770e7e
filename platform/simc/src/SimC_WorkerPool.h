#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace SimC {

// A fixed set of threads that run submitted jobs in the order given, several at a time.
// Standard threads and locks rather than Qt's pool, so that the thread sanitizer sees every
// hand-over between the submitting thread and the workers.
class WorkerPool {
public:
    // Starts with one thread per core.
    WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;
    // Runs the jobs still queued, then joins every thread.
    ~WorkerPool();

    void Submit(std::function<void()> job);
    // Waits for every queued job to end, then keeps this many threads (at least one).
    // Never called from a job.
    void Resize(std::size_t threads);
    std::size_t Size() const;

    static std::size_t DefaultSize();

private:
    void Work();
    void Stop();

    mutable std::mutex guard;
    std::condition_variable wake;
    std::deque<std::function<void()>> jobs;
    std::vector<std::thread> threads;
    // Workers leave once the queue is empty.
    bool stopping = false;
};

}  // namespace SimC
