#pragma once
// A series just captured into a folder, assembled where it lies: the
// pictures a run wrote (new files, or files it replaced) and their assembly
// into <folder>/<first picture's name>.hdr with the exposures from EXIF.
// Capture > Setup's "Assemble each series" and candelux-cli capture
// --assemble share it.

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "assembly/assemble_series.h"

struct CameraProfile;

// The regular files of a folder with their modification times.
using FolderSnapshot = std::map<std::filesystem::path, std::filesystem::file_time_type>;
FolderSnapshot snapshot_folder(const std::filesystem::path& folder);

// The files that are new in `after` or changed since `before`, sorted by
// name (the camera's numbering is the order taken).
std::vector<std::string> pictures_written(const FolderSnapshot& before, const FolderSnapshot& after);

// <folder>/<stem of the first picture>.hdr
std::string captured_series_output(const std::vector<std::string>& pictures);

// Reads the exposures from EXIF and assembles the series into
// captured_series_output(pictures), replacing an earlier file of that name.
// With a profile, as `assemble --profile` applies it; a series from another
// camera or lens than the profile's is refused (nobody is there to ask while
// a timed capture runs).
Result<AssemblyReport> assemble_captured_series(const std::vector<std::string>& pictures,
                                                const CameraProfile* profile = nullptr);
