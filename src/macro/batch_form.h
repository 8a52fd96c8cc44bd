#pragma once
// The batch dialog's rules: a sequence file chosen with Browse, a picture
// folder chosen with Set Path, and OK only with both. The two choices are the
// Application's and outlive the dialog; the fields start empty each time.
// A regions file may be named too (typed or chosen with "Regions..."): its
// regions are then measured on every picture the batch processed.

#include <string>

#include "desktop/desktop.h"

namespace batch_ids {
inline constexpr int dialog = 146;
inline constexpr int sequence_edit = 1188;
inline constexpr int browse = 1189;
inline constexpr int folder_edit = 1190;
inline constexpr int set_path = 1191;
inline constexpr int progress_dialog = 147;
inline constexpr int regions_edit = 1192;
inline constexpr int regions_button = 1193;
}  // namespace batch_ids

class BatchForm {
public:
    BatchForm(Desktop& desktop, std::string& sequence_path, std::string& collection_folder);

    // The dialog's two read-only fields.
    std::string sequence_text;
    std::string folder_text;
    // The regions file as typed or chosen; "" for none.
    std::string regions_text;

    void on_open();
    void on_browse();
    void on_set_path();
    void on_regions();
    // The regions file the batch measures, "" for none: the field without
    // the blanks around it.
    std::string regions_file() const;
    // True when the dialog may close with OK; otherwise the message has been
    // shown and the dialog stays open.
    bool on_ok();

private:
    Desktop& desktop_;
    std::string& sequence_path_;
    std::string& collection_folder_;
};
