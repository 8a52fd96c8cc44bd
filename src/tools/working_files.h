#pragma once
// The working files in the cache directory, shared by opening, every editing
// operation, the statistics and batch replay.
//
// An editing step reads the working copy dtemp.hdr, lets a program write
// dtempo.hdr, and copies that back only when the program printed nothing.

#include <string>
#include <system_error>

namespace working_file {
inline constexpr const char* working_copy = "/dtemp.hdr";
inline constexpr const char* step_output = "/dtempo.hdr";
inline constexpr const char* header_text = "/dtemp.txt";
inline constexpr const char* header = "/header";
inline constexpr const char* mask = "/dmask.hdr";
inline constexpr const char* save_step = "/dtemps.hdr";
inline constexpr const char* pcond_step = "/pcondtemp.hdr";
inline constexpr const char* display_bmp = "/dtemp.bmp";
inline constexpr const char* display_gif = "/dtemp.gif";
inline constexpr const char* falsecolor = "/dfalse.bmp";
inline constexpr const char* samples = "/pvalues";
// The earlier working copy while a new picture is tried; the longest name,
// and one the clean-up pattern of the working copies matches.
inline constexpr const char* kept_working_copy = "/dtempkeep.hdr";
}  // namespace working_file

// Working-file paths are built in buffers of this many characters, the
// terminating zero included; longer paths are refused.
inline constexpr size_t max_path_chars = 260;

// Why the cache directory cannot hold the working files, in the words the
// window shows, or "" when it can: an empty path, a blank or a shell
// character (working-file paths reach command lines unquoted), or a path too
// long for the longest working file.
std::string cache_directory_problem(const std::string& cache_directory);

// The two clean-up command lines run when the main window closes. They remove
// every file with "dtemp" in its name and the falsecolor picture; the header,
// the mask and the samples stay.
std::string cleanup_working_copies_command(const std::string& cache_directory);
std::string cleanup_falsecolor_command(const std::string& cache_directory);

// Puts the finished file `from` in the place of the working file `to` (same
// folder). The old file is first renamed aside and then removed, because
// renaming over a file makes ext4 write the new one out at once (a wait as
// long as writing it), which a working file does not need. When the move
// fails, the old file is put back and `error` says why.
void replace_working_file(const std::string& from, const std::string& to, std::error_code& error);
