#pragma once
// Macro recording: while it is on, every command line the process runner ran
// cleanly goes into a temporary sequence file, tagged with the menu command
// that led to it. Display conversions (ra_bmp, ra_gif) are left out; the
// conversion of a BMP mask (ra_bmp -r) is kept, as it names the mask file.
//
// The temporary file lives inside the cache folder ("untitled.tmp"), which is
// private to the user and which the close-time clean-up does not touch. Each
// line is flushed as it is written, so a crash loses nothing already done.

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

// Where a recording collects its lines.
std::string temporary_macro_path(const std::string& cache_directory);

class MacroRecorder {
public:
    // The exposure the user last accepted in the exposure dialog; lines of
    // the exposure command carry it.
    explicit MacroRecorder(const float& entered_exposure) : entered_exposure_(&entered_exposure) {}
    // For runners that never record an exposure change (their lines carry 1).
    MacroRecorder() : entered_exposure_(&no_exposure_change) {}

    bool recording() const { return recording_; }

    // Creates (or empties) the temporary file and starts recording. Nothing
    // when it could not be created: the reason comes back and recording does
    // not start.
    std::optional<std::string> start(const std::string& temporary_path);

    struct Stopped {
        std::string temporary_path;
        std::string write_error;  // "" when every line reached the file
        int unrecordable = 0;     // command lines a sequence file cannot hold ("#" or a line end in them)
    };
    // Ends the recording and closes the file.
    Stopped stop();

    // The menu command being executed, noted while recording.
    void note_command(int id) {
        if (recording_ && (id & 0xFFFF) > 40001) last_command_ = id & 0xFFFF;
    }
    int last_command() const { return last_command_; }

    // Called after each child process has ended, with what it printed.
    void record_macro_line(const std::string& command_line, const std::string& output);

private:
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    static constexpr float no_exposure_change = 1.0f;
    const float* entered_exposure_;
    bool recording_ = false;
    int last_command_ = 0;
    std::unique_ptr<std::FILE, FileCloser> file_;
    std::string temporary_path_;
    std::string write_error_;
    int unrecordable_ = 0;
};
