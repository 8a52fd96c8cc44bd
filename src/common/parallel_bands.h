#pragma once
// Work that splits into independent bands (scanlines, blocks of samples)
// done side by side on the machine's cores with plain std::threads.
//
// The calling thread takes part, so one core means no thread at all. Bands
// are handed out one at a time from a shared counter: a core slowed by
// another program simply takes fewer of them. An exception thrown by the
// work on any thread ends the remaining bands and is rethrown to the caller.

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// How many threads work side by side: the cores, at least 1, at most 8, or
// the number the environment variable below gives (1 to 8).
unsigned band_workers();
inline constexpr const char* band_workers_variable = "CANDELUX_THREADS";

// Calls work(first, last) for consecutive ranges of [0, count) of at most
// `band` items each (the last may be shorter), on up to band_workers()
// threads. Returns when every range is done.
void run_in_bands(size_t count, size_t band, const std::function<void(size_t first, size_t last)>& work);

// Runs two pieces of work at the same time, the second on a thread of its
// own, and returns when both are done.
void run_side_by_side(const std::function<void()>& first, const std::function<void()>& second);

// Items that must be read one after another (the scanlines of a run-length
// encoded picture) but are then worked on each by itself: read(i) runs on
// the calling thread in order, work(i) on every core while the next round
// of `round` items is read, and emit(first, last) on a thread of its own
// (writing while the next rounds are read and worked on), in order, once
// every item of [first, last) is worked. An item's buffers can be slot
// i % (3 * round): the slot is read into again only after it was emitted.
// When read(i) returns false, the items before it are still worked and
// emitted, and false is returned.
bool read_then_work(size_t count, size_t round, const std::function<bool(size_t)>& read,
                    const std::function<void(size_t)>& work, const std::function<void(size_t, size_t)>& emit);

// The same for work that comes in many small rounds (a picture read a window
// at a time): the helper threads are started at the first round that needs
// them and wait between rounds.
class BandPool {
public:
    BandPool();
    ~BandPool();
    BandPool(const BandPool&) = delete;
    BandPool& operator=(const BandPool&) = delete;

    // As run_in_bands, on this pool's threads and the calling one.
    void run(size_t count, size_t band, const std::function<void(size_t first, size_t last)>& work);

    // The same in two steps: start() hands the bands to the helper threads
    // and returns at once, so that the caller can prepare the next round;
    // finish() takes the bands still left and returns when all are done.
    // `work` must live until finish() returns.
    void start(size_t count, size_t band, const std::function<void(size_t first, size_t last)>& work);
    void finish();

private:
    void help();
    void take_bands();

    std::vector<std::thread> helpers_;
    std::mutex lock_;
    std::condition_variable wake_;
    std::condition_variable done_;
    size_t round_ = 0;
    size_t busy_ = 0;
    bool closing_ = false;
    // The current round.
    const std::function<void(size_t, size_t)>* work_ = nullptr;
    size_t count_ = 0, band_ = 1, bands_ = 0;
    std::atomic<size_t> next_{0};
    std::atomic<bool> stopped_{false};
    std::exception_ptr failure_;
    bool started_ = false;
};
