#pragma once
// The camera profile Capture > Setup's "Assemble each series" applies,
// remembered between sessions in a one-line file beside the settings file
// (settings.asf keeps its own fixed set of keys): the profile file's path,
// or nothing for "No profile".

#include <optional>
#include <string>

// <configuration folder>/candelux/capture_profile; "" without a folder.
std::string capture_profile_choice_file(const std::optional<std::string>& configuration_folder);

// The remembered profile's path; "" when none is, or the file cannot be read.
std::string read_profile_choice(const std::string& choice_file);
// "" forgets the choice. False when the file cannot be written.
bool write_profile_choice(const std::string& choice_file, const std::string& profile_path);
