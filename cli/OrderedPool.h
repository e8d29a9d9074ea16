// Work on many files by a bounded pool of threads, the results taken in the
// order of the files: reads from a cold disk wait in parallel while the
// output stays as a single reader would write it.
#pragma once

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace tessaly::cli {

// Calls produce(files[i]) on a pool of threads and consume(i, result) on the
// calling thread for i = 0, 1, ... in order. The pool starts with one thread
// per processor and grows, up to `maxThreads`, while reads take long enough
// to be waiting for the disk; from the page cache more threads would only
// cost switching. At most `window` results wait to be consumed, so memory
// stays bounded however many files there are.
template <typename Result, typename Produce, typename Consume>
void ProduceInOrder(const std::vector<std::string>& files, unsigned maxThreads, size_t window,
                    Produce produce, Consume consume) {
    using Clock = std::chrono::steady_clock;
    constexpr auto SlowRead = std::chrono::milliseconds(1);
    if (files.empty()) return;
    maxThreads = static_cast<unsigned>(std::min<size_t>(std::max(maxThreads, 1u), files.size()));
    window = std::max<size_t>(window, maxThreads);
    std::vector<std::optional<Result>> slots(window);
    std::mutex mutex;
    // Two signals, each with its own waiters, so that a finished read wakes
    // only the writer and a written record only a reader waiting for room.
    std::condition_variable filled, freed;
    size_t claimed = 0, consumed = 0, produced = 0, slowReads = 0;
    std::vector<std::thread> pool;
    std::function<void()> work = [&] {
        for (;;) {
            size_t i;
            {
                std::unique_lock lock(mutex);
                freed.wait(lock, [&] {
                    return claimed >= files.size() || claimed < consumed + window;
                });
                if (claimed >= files.size()) return;
                i = claimed++;
            }
            const auto start = Clock::now();
            Result result = produce(files[i]);
            const bool slow = Clock::now() - start > SlowRead;
            std::unique_lock lock(mutex);
            slots[i % window].emplace(std::move(result));
            ++produced;
            slowReads += slow;
            // A read now and then is slow on a busy machine; many of them
            // are when they wait for the disk.
            if (slow && slowReads * 16 > produced && pool.size() < maxThreads &&
                claimed < files.size())
                pool.emplace_back(work);
            const bool awaited = i == consumed;
            lock.unlock();
            if (awaited) filled.notify_one();
        }
    };
    {
        std::lock_guard lock(mutex);
        const unsigned processors = std::max(1u, std::thread::hardware_concurrency());
        for (unsigned t = 0; t < std::min(processors, maxThreads); ++t) pool.emplace_back(work);
    }
    for (size_t i = 0; i < files.size(); ++i) {
        Result result;
        {
            std::unique_lock lock(mutex);
            filled.wait(lock, [&] { return slots[i % window].has_value(); });
            result = std::move(*slots[i % window]);
            slots[i % window].reset();
            ++consumed;
        }
        freed.notify_one();
        consume(i, result);
    }
    std::vector<std::thread> threads;
    {
        std::lock_guard lock(mutex);  // every file is claimed: the pool grows no more
        threads.swap(pool);
    }
    freed.notify_all();  // let waiting readers end
    for (std::thread& thread : threads) thread.join();
}

}  // namespace tessaly::cli
