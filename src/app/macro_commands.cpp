// Tools > Record Macro, Stop Recording and Batch Process...

#include <filesystem>

#include "app/application.h"
#include "app/commands.h"
#include "common/text_format.h"
#include "macro/batch_form.h"
#include "macro/batch_replay.h"
#include "macro/folder_lock.h"
#include "macro/replay_command.h"
#include "macro/sequence_file.h"
#include "picture/rgbe_reader.h"
#include "regions/batch_regions.h"
#include "tools/export_paths.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* file_error_caption = "File IO Error!";
constexpr const char* batch_caption = "Batch Process";

// Copies through a file beside the target, so that a failed copy leaves an
// existing file of that name as it was.
std::string copy_file_checked(const std::string& from, const std::string& to) {
    const std::string part = to + ".part";
    std::error_code ec;
    if (!fs::copy_file(from, part, fs::copy_options::overwrite_existing, ec)) {
        fs::remove(part, ec);
        return "Could not write " + to + ": " + ec.message();
    }
    fs::rename(part, to, ec);
    if (ec) {
        const std::string why = ec.message();
        fs::remove(part, ec);
        return "Could not write " + to + ": " + why;
    }
    return {};
}

// Runs the steps of a batch without the "Processing..." window and without
// recording them, and keeps the batch progress window going.
class ApplicationReplayHost : public ReplayHost {
public:
    ApplicationReplayHost(Desktop& desktop, std::string program_folder, const BatchPlan& plan)
        : desktop_(desktop), program_folder_(std::move(program_folder)), plan_(plan) {}

    ProcessOutput run(const std::string& command_line) override {
        auto pump = [](void* context) { static_cast<Desktop*>(context)->pump_batch_progress(); };
        return run_shell_command(command_line, program_folder_, pump, &desktop_);
    }
    void on_step(const PicturePlan& picture, int step) override {
        const int index = static_cast<int>(&picture - plan_.pictures.data());
        const int steps = plan_.sequence.step_count();
        desktop_.set_batch_progress(index * steps + step - 1,
                                    strprintf("%s: step %d of %d (picture %d of %zu)",
                                              escaped_for_display(picture.name).c_str(), step,
                                              steps, index + 1, plan_.pictures.size()));
    }
    bool stop_requested() override {
        desktop_.pump_batch_progress();
        return desktop_.batch_stop_requested();
    }

private:
    Desktop& desktop_;
    std::string program_folder_;
    const BatchPlan& plan_;
};

}  // namespace

void Application::on_macro_command(int id) {
    if (id == command::record_macro) start_macro_recording();
    else if (id == command::stop_recording) stop_macro_recording();
    else if (id == command::batch_process) run_batch_process();
}

void Application::start_macro_recording() {
    if (recorder_.recording()) return;
    const std::string& cache = settings_.cache_directory;
    const auto error = cache.empty() ? std::optional<std::string>("There is no cache folder to record into.")
                                     : recorder_.start(temporary_macro_path(cache));
    if (error) {
        desktop_.message_box(*error + "\nRecording did not start.", file_error_caption, MessageIcon::warning,
                             Owner::none);
        return;
    }
    desktop_.set_menu_enabled(command::record_macro, false);
    desktop_.set_menu_enabled(command::stop_recording, true);
}

std::string Application::keep_unsaved_recording(const std::string& temporary_path) {
    std::error_code ec;
    const auto size = fs::file_size(temporary_path, ec);
    if (ec || size == 0) {
        fs::remove(temporary_path, ec);
        return {};
    }
    const fs::path folder = fs::path(temporary_path).parent_path();
    for (int n = 1; n < 10000; ++n) {
        const fs::path kept = folder / strprintf("unsaved-macro-%d.seq", n);
        if (fs::exists(fs::symlink_status(kept, ec))) continue;
        fs::rename(temporary_path, kept, ec);
        if (!ec) return kept.string();
        break;
    }
    return temporary_path;
}

void Application::keep_recording_at_exit() {
    if (!recorder_.recording()) return;
    const std::string kept = keep_unsaved_recording(recorder_.stop().temporary_path);
    if (!kept.empty())
        desktop_.message_box("The macro being recorded was not saved. Its lines are kept in " + kept + ".",
                             "Macro Recording", MessageIcon::information, Owner::none);
}

void Application::stop_macro_recording() {
    if (!recorder_.recording()) return;
    const MacroRecorder::Stopped stopped = recorder_.stop();
    desktop_.set_menu_enabled(command::stop_recording, false);
    desktop_.set_menu_enabled(command::record_macro, true);
    if (!stopped.write_error.empty())
        desktop_.message_box(stopped.write_error + "\nThe macro lacks the lines that could not be written.",
                             file_error_caption, MessageIcon::warning, Owner::none);
    if (stopped.unrecordable > 0)
        desktop_.message_box(strprintf("%d command lines held \"#\" or a line end and could not be recorded.",
                                       stopped.unrecordable),
                             "Macro Recording", MessageIcon::warning, Owner::none);

    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::save;
    request.filters = {{"Macro Sequence File", "*.seq;"}};
    // Asked below, about the name actually written.
    request.overwrite_prompt = false;
    for (;;) {
        const FileDialogAnswer answer = desktop_.file_dialog(request);
        if (answer.cancelled() || answer.path.empty()) {
            const std::string kept = keep_unsaved_recording(stopped.temporary_path);
            if (!kept.empty())
                desktop_.message_box("The macro was not saved. Its lines are kept in " + kept + ".",
                                     "Macro Recording", MessageIcon::information, Owner::main_window);
            return;
        }
        const std::string target = with_sequence_extension(answer.path);
        if (!confirm_replace(desktop_, target, Owner::main_window)) continue;
        const std::string failure = copy_file_checked(stopped.temporary_path, target);
        if (!failure.empty()) {
            const std::string kept = keep_unsaved_recording(stopped.temporary_path);
            desktop_.message_box(failure + (kept.empty() ? "" : "\nThe macro's lines are kept in " + kept + "."),
                                 file_error_caption, MessageIcon::warning, Owner::none);
            return;
        }
        std::error_code ec;
        fs::remove(stopped.temporary_path, ec);
        return;
    }
}

void Application::run_batch_process() {
    BatchForm form(desktop_, sequence_path_, collection_folder_);
    form.on_open();
    if (desktop_.run_batch_dialog(form) != 1) return;
    replay_sequence(std::string(collection_folder_), form.regions_file());
}

void Application::replay_sequence(const std::string& folder, const std::string& regions_file) {
    std::optional<RegionFile> regions;
    if (!regions_file.empty()) {
        auto file = read_region_file(regions_file);
        if (!file) {
            desktop_.message_box(file.failure().message, file_error_caption, MessageIcon::warning, Owner::none);
            return;
        }
        regions = std::move(file).value();
    }
    const FolderLock lock(folder, "the Batch Process of the candelux window");
    if (!lock.held()) {
        desktop_.message_box(lock.refusal(), batch_caption, MessageIcon::warning, Owner::main_window);
        return;
    }
    auto planned = plan_batch(sequence_path_, folder, settings_.cache_directory);
    if (!planned) {
        desktop_.message_box(planned.failure().message, file_error_caption, MessageIcon::warning, Owner::none);
        return;
    }
    const BatchPlan& plan = planned.value();
    const int steps = plan.sequence.step_count();

    bool overwrite = false;
    std::vector<std::string> existing = steps > 0 ? existing_step_files(plan) : std::vector<std::string>{};
    if (regions && steps > 0)
        for (const std::string& table : existing_region_tables(plan)) existing.push_back(table);
    if (!existing.empty())
        overwrite = desktop_.ask_yes_no(
            strprintf("%zu files this batch writes exist already, among them %s.\nDo you want to replace them?",
                      existing.size(), existing.front().c_str()),
            batch_caption, Owner::main_window);

    const int total = steps * static_cast<int>(plan.pictures.size());
    if (total > 0) desktop_.show_batch_progress(total);
    ApplicationReplayHost host(desktop_, runner_.program_folder(), plan);
    std::vector<PicturePlan> processed;  // every step ran
    auto finished = [&](const PicturePlan& picture, const PictureOutcome& outcome) {
        if (picture_processed(outcome, steps)) processed.push_back(picture);
    };
    const ReplayReport report = run_batch(plan, host, overwrite, regions ? PictureFinished(finished) : nullptr);
    if (total > 0) desktop_.close_batch_progress();

    std::string summary = replay_summary(report);
    bool measured = true;
    if (regions && !report.stopped && steps > 0) {
        std::vector<std::string> notes;
        const size_t written = measure_batch_regions(
            processed, steps,
            [&](const std::string& result) { return measure_batch_result(result, *regions, regions_file); },
            [&](const PicturePlan& picture, const std::string& note) {
                notes.push_back(escaped_for_display(picture.name) + ": " + note);
            });
        summary += strprintf("\nRegions measured on %zu pictures: a table <name>_regions.csv beside each.",
                             written);
        measured = written == processed.size();
        for (const std::string& note : notes) summary += "\n" + note;
    }
    const bool clean = report.complete() && report.pictures_found > 0 && measured;
    desktop_.message_box(summary, batch_caption, clean ? MessageIcon::information : MessageIcon::warning,
                         Owner::main_window);
}

Result<PictureRegions> Application::measure_batch_result(const std::string& result, const RegionFile& regions,
                                                         const std::string& regions_file) {
    auto map = load_luminance_map(result);
    if (!map) return Failure{-1, result + ": not a readable Radiance picture"};
    // The regions' scratch files go into a folder of their own in the cache
    // folder, away from the working copy.
    const std::string work = (fs::path(settings_.cache_directory) / "batch_regions").string();
    std::error_code ec;
    fs::remove_all(work, ec);
    fs::create_directories(work, ec);
    if (ec) return Failure{-1, "could not make " + work + ": " + ec.message()};
    auto measured = measure_picture_regions(result, map.value(), regions, regions_file, work, runner_, desktop_,
                                            RegionTableRequest{AnalysisSettings{}, false});
    fs::remove_all(work, ec);
    return measured;
}
