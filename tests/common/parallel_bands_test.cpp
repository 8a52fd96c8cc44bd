// Items read one after another and worked on side by side come out worked,
// in order, through buffers reused only after their items were emitted; a
// failed read still lets the items before it through.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

#include "common/parallel_bands.h"

namespace {

struct Pipeline {
    size_t round;
    std::vector<int> slots;    // read into, worked on in place
    std::vector<int> emitted;  // what reached emit, in order
    std::vector<size_t> emit_ends;
    size_t fail_at = SIZE_MAX;

    explicit Pipeline(size_t round) : round(round), slots(3 * round, -1) {}

    bool run(size_t count) {
        return read_then_work(
            count, round,
            [&](size_t i) {
                if (i == fail_at) return false;
                int& slot = slots[i % (3 * round)];
                EXPECT_EQ(slot, -1) << "slot of item " << i << " still held";
                slot = static_cast<int>(i);
                return true;
            },
            [&](size_t i) { slots[i % (3 * round)] *= 10; },
            [&](size_t first, size_t last) {
                EXPECT_EQ(first, emit_ends.empty() ? 0 : emit_ends.back());
                for (size_t i = first; i < last; ++i) {
                    int& slot = slots[i % (3 * round)];
                    emitted.push_back(slot);
                    slot = -1;
                }
                emit_ends.push_back(last);
            });
    }
};

TEST(ParallelBands, ReadThenWorkEmitsEveryItemWorkedAndInOrder) {
    for (const size_t count : {size_t{0}, size_t{1}, size_t{7}, size_t{64}, size_t{1000}}) {
        Pipeline pipeline(7);
        EXPECT_TRUE(pipeline.run(count));
        ASSERT_EQ(pipeline.emitted.size(), count);
        for (size_t i = 0; i < count; ++i) ASSERT_EQ(pipeline.emitted[i], static_cast<int>(10 * i));
    }
}

TEST(ParallelBands, AFailedReadStillEmitsTheItemsBeforeIt) {
    for (const size_t fail_at : {size_t{0}, size_t{3}, size_t{7}, size_t{20}}) {
        Pipeline pipeline(7);
        pipeline.fail_at = fail_at;
        EXPECT_FALSE(pipeline.run(100));
        ASSERT_EQ(pipeline.emitted.size(), fail_at);
        for (size_t i = 0; i < fail_at; ++i) ASSERT_EQ(pipeline.emitted[i], static_cast<int>(10 * i));
    }
}

TEST(ParallelBands, AnEmitThatThrowsStopsTheEmittingAndReachesTheCaller) {
    std::vector<size_t> emitted;
    EXPECT_THROW(read_then_work(
                     100, 10, [](size_t) { return true; }, [](size_t) {},
                     [&](size_t first, size_t) {
                         if (first == 20) throw std::runtime_error("disk full");
                         emitted.push_back(first);
                     }),
                 std::runtime_error);
    EXPECT_EQ(emitted, (std::vector<size_t>{0, 10})) << "nothing emitted after the failure";
}

// A read that throws while a round is being worked on: the round ends
// before the call returns, and the failure reaches the caller.
TEST(ParallelBands, AReadThatThrowsLetsTheRoundBeingWorkedOnEndFirst) {
    std::atomic<int> worked{0};
    EXPECT_THROW(read_then_work(
                     100, 10,
                     [](size_t i) {
                         if (i == 15) throw std::runtime_error("damaged scanline");
                         return true;
                     },
                     [&](size_t) {
                         std::this_thread::sleep_for(std::chrono::milliseconds(1));
                         ++worked;
                     },
                     [](size_t, size_t) {}),
                 std::runtime_error);
    EXPECT_EQ(worked.load(), 10) << "the first round, whole";
}

TEST(ParallelBands, EveryBandIsWorkedOnceAndAFailureReachesTheCaller) {
    std::vector<std::atomic<int>> seen(1001);
    run_in_bands(seen.size(), 13, [&](size_t first, size_t last) {
        for (size_t i = first; i < last; ++i) ++seen[i];
    });
    for (const auto& s : seen) ASSERT_EQ(s.load(), 1);
    EXPECT_THROW(run_in_bands(100, 1, [](size_t first, size_t) {
                     if (first == 50) throw std::runtime_error("band 50");
                 }),
                 std::runtime_error);
}

}  // namespace
