// Work on many files by a bounded pool of threads, the results taken in the
// order of the files: reads from a cold disk wait in parallel while the
// output stays as a single reader would write it.
#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace tessaly::cli {

// Calls produce(files[i]) on up to `threads` threads and consume(i, result)
// on the calling thread for i = 0, 1, ... in order. At most `window` results
// wait to be consumed, so memory stays bounded however many files there are.
template <typename Result, typename Produce, typename Consume>
void ProduceInOrder(const std::vector<std::string>& files, unsigned threads, size_t window,
                    Produce produce, Consume consume) {
    if (files.empty()) return;
    threads = static_cast<unsigned>(std::min<size_t>(std::max(threads, 1u), files.size()));
    window = std::max<size_t>(window, threads);
    if (threads == 1) {
        for (size_t i = 0; i < files.size(); ++i) {
            Result result = produce(files[i]);
            consume(i, result);
        }
        return;
    }
    std::vector<std::optional<Result>> slots(window);
    std::mutex mutex;
    // Two signals, each with its own waiters, so that a finished read wakes
    // only the writer and a written record only a reader waiting for room.
    std::condition_variable filled, freed;
    size_t claimed = 0, consumed = 0;
    auto work = [&] {
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
            Result result = produce(files[i]);
            std::unique_lock lock(mutex);
            slots[i % window].emplace(std::move(result));
            const bool awaited = i == consumed;
            lock.unlock();
            if (awaited) filled.notify_one();
        }
    };
    std::vector<std::thread> pool;
    for (unsigned t = 0; t < threads; ++t) pool.emplace_back(work);
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
    {
        std::lock_guard lock(mutex);  // every file is claimed: let waiting readers end
    }
    freed.notify_all();
    for (std::thread& thread : pool) thread.join();
}

}  // namespace tessaly::cli
