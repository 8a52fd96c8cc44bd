#include "macro/parallel_replay.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "tools/process_runner.h"

ReplayReport run_batch_in_parallel(const BatchPlan& plan, ReplayHost& host, bool overwrite, int jobs,
                                   const PictureFinished& finished) {
    ReplayReport report = planned_report(plan);
    if (report.steps_planned == 0 || plan.pictures.empty()) return report;

    std::vector<std::optional<PictureOutcome>> outcomes(plan.pictures.size());
    std::atomic<size_t> next{0};
    std::atomic<bool> stopped{false};
    std::mutex finishing;
    auto work = [&] {
        for (;;) {
            // A stop asked for while a step failed is seen here, not after it.
            if (stopped.load() || host.stop_requested()) {
                stopped.store(true);
                return;
            }
            const size_t index = next.fetch_add(1);
            if (index >= plan.pictures.size()) return;
            PictureOutcome outcome = run_picture_plan(plan.sequence, plan.pictures[index], host, overwrite);
            if (outcome.stopped) stopped.store(true);
            const std::lock_guard lock(finishing);
            outcomes[index] = std::move(outcome);
            if (finished) finished(plan.pictures[index], *outcomes[index]);
        }
    };
    const size_t threads = std::clamp<size_t>(static_cast<size_t>(std::max(jobs, 1)), 1, plan.pictures.size());
    const ChildThreadShare share(static_cast<int>(threads));
    std::vector<std::jthread> workers;
    for (size_t i = 1; i < threads; ++i) workers.emplace_back(work);
    work();
    workers.clear();

    for (size_t i = 0; i < plan.pictures.size(); ++i)
        if (outcomes[i]) add_picture_outcome(report, plan.pictures[i], *outcomes[i]);
    if (stopped.load()) report.stopped = true;
    return report;
}
