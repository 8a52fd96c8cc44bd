#pragma once
// File > Edit header...: getinfo prints the working copy's header into the
// header text file, the "Edit Header" dialog edits it there, and getinfo
// appends the unchanged pixel data behind it; the result replaces the
// working copy.

#include <optional>
#include <string>

class Desktop;
class ProcessRunner;

namespace header_ids {
inline constexpr int dialog = 107;
inline constexpr int text = 1009;
}  // namespace header_ids

// Writes the header of the working copy into the header text file. 0, or -1
// after the failure has been shown.
int read_header_for_editing(ProcessRunner& runner, Desktop& desktop, const std::string& cache_directory);

// Appends the working copy's pixel data to the edited header and puts the
// result in place of the working copy, which is replaced only when that
// succeeded and the edited header still makes a readable picture. 0, or -1
// after the failure has been shown.
int put_header_back(ProcessRunner& runner, Desktop& desktop, const std::string& cache_directory);

class HeaderForm {
public:
    HeaderForm(Desktop& desktop, std::string text_file);

    std::string text;  // the edit field, lines ending in line feeds; always UTF-8

    // Fills the field from the text file (empty, after a message, when it
    // cannot be read).
    void on_open();
    // Writes the field back into the text file: 1, or nothing while the
    // dialog stays open (the file could not be written; message shown).
    std::optional<int> on_ok();

private:
    Desktop& desktop_;
    std::string text_file_;
    std::string original_;  // the header as read, bytes the field cannot show included
};
