#include "tools/export_steps.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "common/text_format.h"
#include "desktop/desktop.h"
#include "tools/process_runner.h"

namespace fs = std::filesystem;

namespace {

std::error_code copy_into_new_file(const std::string& from, const fs::path& to) {
    const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return {errno, std::generic_category()};
    const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (out < 0) {
        const int error = errno;
        ::close(in);
        return {error, std::generic_category()};
    }
    std::error_code failure;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(in, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) failure = {errno, std::generic_category()};
        if (got <= 0) break;
        for (ssize_t done = 0; done < got && !failure;) {
            const ssize_t put = ::write(out, buffer + done, static_cast<size_t>(got - done));
            if (put < 0 && errno == EINTR) continue;
            if (put < 0) failure = {errno, std::generic_category()};
            else done += put;
        }
        if (failure) break;
    }
    if (::close(out) != 0 && !failure) failure = {errno, std::generic_category()};
    ::close(in);
    return failure;
}

}  // namespace

std::string export_step_failure(const std::string& command_line, const ProcessOutput& result,
                                const std::string& output) {
    if (!result.started) return result.error;
    if (!result.text.empty()) return result.text;
    const std::string program = program_of(command_line);
    if (result.exit_status > 128)
        return strprintf("%s was stopped by signal %d without a message; %s was not written", program.c_str(),
                         result.exit_status - 128, output.c_str());
    if (result.exit_status != 0)
        return strprintf("%s failed with exit status %d without a message; %s was not written", program.c_str(),
                         result.exit_status, output.c_str());
    std::error_code ec;
    const auto size = fs::file_size(output, ec);
    if (ec || size == 0) return program + " wrote nothing to " + output;
    return {};
}

int run_export_steps(ProcessRunner& runner, Desktop& desktop, const std::vector<ExportStep>& steps) {
    for (const ExportStep& step : steps) {
        std::error_code ec;
        if (step.scratch_output) fs::remove(step.output, ec);
        const ProcessOutput result = runner.run(step.command_line, true);
        const std::string failure = export_step_failure(step.command_line, result, step.output);
        if (!failure.empty()) {
            desktop.message_box(failure, step.caption, MessageIcon::warning, Owner::none);
            desktop.close_progress();
            return -1;
        }
        desktop.close_progress();
    }
    return 0;
}

std::string partial_file_beside(const std::string& to) {
    const fs::path target(to);
    return (target.parent_path() / ("." + target.filename().string() + ".part")).string();
}

int copy_exported_file(Desktop& desktop, const std::string& from, const std::string& to) {
    const fs::path target(to);
    const fs::path partial = partial_file_beside(to);
    std::error_code ec;
    if (!fs::is_regular_file(from, ec)) {
        desktop.message_box("Could not read " + from, "File IO Error!", MessageIcon::warning, Owner::none);
        return -1;
    }
    // Made afresh, never opened through whatever (a symbolic link, say)
    // already stands under the temporary name.
    fs::remove(partial, ec);
    ec = copy_into_new_file(from, partial);
    if (!ec) fs::rename(partial, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(partial, ignored);
        desktop.message_box("Could not write " + to + ": " + ec.message(), "File IO Error!", MessageIcon::warning,
                            Owner::none);
        return -1;
    }
    return 0;
}
