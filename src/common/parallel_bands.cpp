#include "common/parallel_bands.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

unsigned band_workers() {
    static const unsigned cores = [] {
        // A parent running several programs side by side gives each a share
        // of the cores.
        if (const char* share = std::getenv(band_workers_variable)) {
            const unsigned long asked = std::strtoul(share, nullptr, 10);
            if (asked >= 1) return static_cast<unsigned>(std::min(asked, 8ul));
        }
        return std::clamp(std::thread::hardware_concurrency(), 1u, 8u);
    }();
    return cores;
}

void run_in_bands(size_t count, size_t band, const std::function<void(size_t, size_t)>& work) {
    if (count == 0) return;
    band = std::max<size_t>(band, 1);
    const size_t bands = (count + band - 1) / band;
    const size_t threads = std::min<size_t>(band_workers(), bands);
    if (threads <= 1) {
        work(0, count);
        return;
    }
    std::atomic<size_t> next{0};
    std::atomic<bool> stopped{false};
    std::exception_ptr failure;
    std::mutex failure_lock;
    auto take_bands = [&] {
        try {
            while (!stopped.load(std::memory_order_relaxed)) {
                const size_t index = next.fetch_add(1, std::memory_order_relaxed);
                if (index >= bands) return;
                const size_t first = index * band;
                work(first, std::min(count, first + band));
            }
        } catch (...) {
            const std::lock_guard<std::mutex> lock(failure_lock);
            if (!failure) failure = std::current_exception();
            stopped = true;
        }
    };
    std::vector<std::thread> helpers;
    helpers.reserve(threads - 1);
    for (size_t i = 1; i < threads; ++i) helpers.emplace_back(take_bands);
    take_bands();
    for (auto& helper : helpers) helper.join();
    if (failure) std::rethrow_exception(failure);
}

void run_side_by_side(const std::function<void()>& first, const std::function<void()>& second) {
    std::exception_ptr second_failure;
    std::thread helper([&] {
        try {
            second();
        } catch (...) {
            second_failure = std::current_exception();
        }
    });
    try {
        first();
    } catch (...) {
        helper.join();
        throw;
    }
    helper.join();
    if (second_failure) std::rethrow_exception(second_failure);
}

BandPool::BandPool() = default;

BandPool::~BandPool() {
    {
        // A round left unfinished (its caller failed) ends before the work
        // it refers to goes away.
        std::unique_lock<std::mutex> guard(lock_);
        stopped_ = true;
        done_.wait(guard, [&] { return busy_ == 0; });
        closing_ = true;
    }
    wake_.notify_all();
    for (auto& helper : helpers_) helper.join();
}

void BandPool::take_bands() {
    try {
        while (!stopped_.load(std::memory_order_relaxed)) {
            const size_t index = next_.fetch_add(1, std::memory_order_relaxed);
            if (index >= bands_) return;
            const size_t first = index * band_;
            (*work_)(first, std::min(count_, first + band_));
        }
    } catch (...) {
        const std::lock_guard<std::mutex> guard(lock_);
        if (!failure_) failure_ = std::current_exception();
        stopped_ = true;
    }
}

void BandPool::help() {
    size_t seen = 0;
    for (;;) {
        {
            std::unique_lock<std::mutex> guard(lock_);
            wake_.wait(guard, [&] { return closing_ || round_ != seen; });
            if (closing_) return;
            seen = round_;
        }
        take_bands();
        {
            const std::lock_guard<std::mutex> guard(lock_);
            --busy_;
        }
        done_.notify_one();
    }
}

void BandPool::run(size_t count, size_t band, const std::function<void(size_t, size_t)>& work) {
    start(count, band, work);
    finish();
}

void BandPool::start(size_t count, size_t band, const std::function<void(size_t, size_t)>& work) {
    band = std::max<size_t>(band, 1);
    const size_t bands = (count + band - 1) / band;
    {
        const std::lock_guard<std::mutex> guard(lock_);
        work_ = &work;
        count_ = count;
        band_ = band;
        bands_ = bands;
        next_ = 0;
        stopped_ = false;
        failure_ = nullptr;
        started_ = true;
    }
    if (bands <= 1 || band_workers() == 1) return;  // finish() does it all
    // Started at the first round that has work for them.
    if (helpers_.empty())
        for (unsigned i = 1; i < band_workers(); ++i) helpers_.emplace_back([this] { help(); });
    {
        const std::lock_guard<std::mutex> guard(lock_);
        busy_ = helpers_.size();
        ++round_;
    }
    wake_.notify_all();
}

void BandPool::finish() {
    if (!started_) return;
    take_bands();
    std::exception_ptr failure;
    {
        std::unique_lock<std::mutex> guard(lock_);
        done_.wait(guard, [&] { return busy_ == 0; });
        failure = failure_;
        work_ = nullptr;
        started_ = false;
    }
    if (failure) std::rethrow_exception(failure);
}

namespace {

// A thread that emits finished rounds one after another while the caller
// reads and works on the next ones. post() waits until the round before has
// been emitted; a failure in emit() reaches the caller at its next post()
// or at finish().
class Emitter {
public:
    explicit Emitter(const std::function<void(size_t, size_t)>& emit) : emit_(emit), thread_([this] { run(); }) {}
    ~Emitter() {
        {
            const std::lock_guard<std::mutex> hold(lock_);
            closing_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }
    Emitter(const Emitter&) = delete;
    Emitter& operator=(const Emitter&) = delete;

    void post(size_t first, size_t last) {
        std::unique_lock<std::mutex> hold(lock_);
        changed_.wait(hold, [this] { return !busy_; });
        rethrow_failure();
        first_ = first;
        last_ = last;
        busy_ = true;
        hold.unlock();
        changed_.notify_all();
    }

    void finish() {
        std::unique_lock<std::mutex> hold(lock_);
        changed_.wait(hold, [this] { return !busy_; });
        rethrow_failure();
    }

private:
    void rethrow_failure() {
        if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
    }

    void run() {
        std::unique_lock<std::mutex> hold(lock_);
        for (;;) {
            changed_.wait(hold, [this] { return busy_ || closing_; });
            if (!busy_) return;
            hold.unlock();
            std::exception_ptr failure;
            try {
                if (!failed_) emit_(first_, last_);
            } catch (...) {
                failure = std::current_exception();
            }
            hold.lock();
            if (failure) {
                failure_ = failure;
                failed_ = true;
            }
            busy_ = false;
            changed_.notify_all();
        }
    }

    const std::function<void(size_t, size_t)>& emit_;
    std::mutex lock_;
    std::condition_variable changed_;
    size_t first_ = 0, last_ = 0;
    bool busy_ = false;
    bool closing_ = false;
    bool failed_ = false;  // no round is emitted after a failure
    std::exception_ptr failure_;
    std::thread thread_;  // last: started once the rest is ready
};

}  // namespace

bool read_then_work(size_t count, size_t round, const std::function<bool(size_t)>& read,
                    const std::function<void(size_t)>& work, const std::function<void(size_t, size_t)>& emit) {
    round = std::max<size_t>(round, 1);
    bool ok = true;
    // Reads the round from `first`; returns the end of what was read.
    auto read_round = [&](size_t first) {
        const size_t last = std::min(count, first + round);
        for (size_t i = first; i < last; ++i)
            if (!read(i)) {
                ok = false;
                return i;
            }
        return last;
    };
    size_t first = 0;
    size_t end = read_round(0);
    if (first == end) return ok;
    BandPool pool;
    Emitter emitter(emit);
    size_t worked_first = 0, worked_end = 0;  // worked, not yet emitted
    while (first < end) {
        const std::function<void(size_t, size_t)> work_round = [&work, first](size_t begin, size_t last) {
            for (size_t i = begin; i < last; ++i) work(first + i);
        };
        pool.start(end - first, 4, work_round);
        size_t next_end = end;
        // The round being worked on refers to work_round: whatever fails
        // here, the round is finished before work_round goes away.
        std::exception_ptr failure;
        try {
            // Returns once the round before the one emitted now is out, so
            // the round read next can take its slots.
            if (worked_end > worked_first) emitter.post(worked_first, worked_end);
            if (ok) next_end = read_round(end);
        } catch (...) {
            failure = std::current_exception();
        }
        pool.finish();
        if (failure) std::rethrow_exception(failure);
        worked_first = first;
        worked_end = end;
        first = end;
        end = next_end;
    }
    emitter.post(worked_first, worked_end);
    emitter.finish();
    return ok;
}
