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
    RegionsDesktop& desktop_;
    RegionListHost& host_;
    RegionTable table_;
    RegionFile file_;
    std::string region_file_path_;
    std::vector<std::string> titles_;
    std::vector<std::vector<std::string>> cells_;
    std::vector<bool> histogram_tried_;
};
