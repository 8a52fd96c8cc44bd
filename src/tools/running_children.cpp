#include "tools/running_children.h"

#include <signal.h>

#include <atomic>

namespace {

// One slot per child that may run at the same time: a batch runs at most
// 1024 pictures at once, and the rest is room to spare. Plain atomics, so
// that a signal handler may read them.
constexpr int slot_count = 1100;
std::atomic<pid_t> slots[slot_count];
std::atomic<int> stop_signal{0};

}  // namespace

void stop_running_children(int signal) {
    int none = 0;
    stop_signal.compare_exchange_strong(none, signal);
    for (auto& slot : slots) {
        const pid_t group = slot.load();
        if (group > 0) ::kill(-group, signal);
    }
}

bool children_stopped() { return stop_signal.load() != 0; }

bool list_running_child(pid_t group) {
    for (auto& slot : slots) {
        pid_t free = 0;
        if (slot.compare_exchange_strong(free, group)) break;
    }
    // A stop that read the slots before this child was listed is caught here.
    if (const int signal = stop_signal.load(); signal != 0) {
        ::kill(-group, signal);
        return false;
    }
    return true;
}

void unlist_running_child(pid_t group) {
    for (auto& slot : slots) {
        pid_t listed = group;
        if (slot.compare_exchange_strong(listed, 0)) return;
    }
}
