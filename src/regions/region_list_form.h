#pragma once
// The region panel's list: regions drawn with the selection tools, named,
// coloured, shown or hidden, ordered, saved to and loaded from the region
// file beside the picture, and analysed together. The panel binds its
// controls to these events and shows regions() and current().
//
// Geometry is in picture pixels (view/region.h). Indices are positions in
// the list; an index out of range is ignored.

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "analysis/analysis_settings.h"
#include "regions/region_edit.h"
#include "regions/region_file.h"

class RegionListHost;
class RegionsDesktop;
class RegionTableForm;

inline constexpr const char* regions_caption = "Regions";
inline constexpr const char* no_selection_text =
    "Draw a region with the Rectangle, Circle or Polygon selection tool first, then add it to the list.";
inline constexpr const char* no_regions_text = "The list has no regions to analyse.";

class RegionListForm {
public:
    RegionListForm(RegionsDesktop& desktop, RegionListHost& host);
    ~RegionListForm();

    const std::vector<NamedRegion>& regions() const { return file_.regions; }
    // The selected region's index, -1 when none is.
    int current() const { return current_; }
    // Adding, loading, saving and analysing need a picture.
    bool has_picture() const;
    // The region file last read or written; "" when none.
    const std::string& file_path() const { return file_path_; }

    // --- events ---
    // The current selection joins the list as "Region N" in the next colour
    // and becomes the selected region; false (with a message) when nothing
    // that can be sampled is drawn.
    bool on_add();
    // A name must be new and not blank; false (with a message) otherwise.
    bool on_rename(size_t index, const std::string& name);
    void on_visible(size_t index, bool visible);
    void on_color(size_t index);
    void set_color(size_t index, const std::string& color);
    // The region becomes the current selection, so crop, the analysis
    // wizard and the calibration page take it.
    void on_select(size_t index);
    // One place up (step -1) or down (+1).
    void on_move(size_t index, int step);
    void on_delete(size_t index);
    void on_load();
    void on_save();
    // Every region's figures into the table window: the general statistics,
    // or those `settings` ask for (percentile ratio, criterion, weighting),
    // as the analysis wizard's "All regions in the list" chose them.
    void on_analyze_all();
    void on_analyze_all(const AnalysisSettings& settings);
    // A new picture: the list empties, and the region file beside the
    // picture, when there is one, is offered.
    void on_picture_opened();
    // The picture was turned, flipped, cropped or resized: every drawn
    // region moves with its pixels (a mask region keeps its file).
    void on_picture_edited(const PictureEdit& edit);

    // Reads `path` onto the picture: regions drawn on another size are
    // scaled, and one that does not fit is left out; both are said. False
    // when the file cannot be read.
    bool load(const std::string& path);
    // Writes the list for the picture as it is now; false (with a message)
    // on failure.
    bool save(const std::string& path);

    // The table window's form, once Analyze All Regions ran.
    RegionTableForm* table_form() const { return table_form_.get(); }

private:
    bool valid(size_t index) const { return index < file_.regions.size(); }
    std::string suggested_file() const;
    void changed();

    RegionsDesktop& desktop_;
    RegionListHost& host_;
    RegionFile file_;
    std::string file_path_;
    int current_ = -1;
    std::unique_ptr<RegionTableForm> table_form_;
};
