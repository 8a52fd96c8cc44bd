#pragma once
// The table window of Analyze All Regions: one row per region with the
// figures a single-region analysis gives, the histogram of the row chosen
// (made when first asked for) and "Save CSV...".

#include <cstddef>
#include <string>
#include <vector>

#include "regions/region_table.h"

class RegionListHost;
class RegionsDesktop;

inline constexpr const char* save_regions_csv_title = "Save Region Table";

class RegionTableForm {
public:
    RegionTableForm(RegionsDesktop& desktop, RegionListHost& host, RegionTable table, RegionFile file,
                    std::string region_file_path);

    const RegionTable& table() const { return table_; }
    // The column titles and each row's fields, as the CSV has them.
    const std::vector<std::string>& titles() const { return titles_; }
    const std::vector<std::vector<std::string>>& rows() const { return cells_; }

    // "Weight by solid angle": every row analysed again with the mean,
    // standard deviation, median and percentile ratio weighing each pixel by
    // the sky it covers. Only a picture with a view has the choice; false
    // (and the table as it was) when the analysis fails.
    bool weighted() const { return table_.settings.weight_by_solid_angle; }
    bool can_weight() const { return table_.lens.has_view(); }
    bool set_weighted(bool weighted);

    // The row's figures with its histogram, analysed again the first time
    // it is asked for; without one when that fails.
    const RegionAnalysis& row_with_histogram(size_t row);

    // "Save CSV...": the name chosen as the statistics reports' are (a
    // ".csv" ending cut), written as <base>_regions.csv; an existing file
    // is replaced only when the user says so. The path written, "" when
    // nothing was.
    std::string on_save_csv();
    // The name the save dialog starts from: the picture's name without its
    // extension, beside it.
    std::string suggested_csv_base() const;

private:
    void take_cells();

    RegionsDesktop& desktop_;
    RegionListHost& host_;
    RegionTable table_;
    RegionFile file_;
    std::string region_file_path_;
    std::vector<std::string> titles_;
    std::vector<std::vector<std::string>> cells_;
    std::vector<bool> histogram_tried_;
};
