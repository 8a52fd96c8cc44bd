// The time of a picture and where it came from: the header's CAPDATE=, the
// assembly's EXIF date, or the file's modification time.

#include <gtest/gtest.h>

#include <sys/time.h>

#include <cstdlib>
#include <ctime>

#include "series/picture_time.h"
#include "support/temp_folder.h"

namespace {

TEST(IsoTime, ReadsCapdateAndIsoFormsAndRefusesImpossibleDates) {
    EXPECT_EQ(iso_time_of("2026:06:21 14:05:09"), "2026-06-21T14:05:09");
    EXPECT_EQ(iso_time_of("  2026-06-21T14:05:09 \r"), "2026-06-21T14:05:09");
    EXPECT_EQ(iso_time_of("2024:02:29 00:00:00"), "2024-02-29T00:00:00");
    for (const char* bad : {"2026:02:29 00:00:00", "2026:13:01 00:00:00", "2026:06:21 24:00:00", "2026:06:21 14:60:00",
                            "2026:06:21", "    :  :     :  :  ", "2026:06-21 14:05:09", "2026:06:21 14:05:09 extra",
                            "2O26:06:21 14:05:09"})
        EXPECT_FALSE(iso_time_of(bad)) << bad;
}

TEST(PictureTime, ComesFromCapdateFromTheAssemblysExifDateOrFromTheFilesTime) {
    TempFolder folder;
    const std::string path = (folder / "p.hdr").string();
    write_file(path, "x");

    const PictureTime capdate = picture_time(path, {"#?RADIANCE", "CAPDATE= 2026:06:21 08:15:00", "FORMAT=32-bit_rle_rgbe"});
    EXPECT_EQ(capdate.iso, "2026-06-21T08:15:00");
    EXPECT_EQ(capdate.source, "capdate");

    const PictureTime exif = picture_time(path, {"SOFTWARE= candelux 1.0.0.0", "CAPDATE= 2026:06:21 09:30:00",
                                                 "SERIES= IMG_0001.JPG 1/1024 s f/8 ISO 100"});
    EXPECT_EQ(exif.iso, "2026-06-21T09:30:00");
    EXPECT_EQ(exif.source, "exif");

    // The picture's own line before an input's; a later line overrides an
    // earlier one.
    const PictureTime later = picture_time(path, {"CAPDATE= 2026:06:21 10:00:00", "in.hdr:", "\tCAPDATE= 2020:01:01 00:00:00",
                                                  "CAPDATE= 2026:06:21 10:05:00"});
    EXPECT_EQ(later.iso, "2026-06-21T10:05:00");

    // An assembled picture edited with pcomb (a mask, a vignetting
    // correction): pcomb's stamp is when it ran, the capture date is the
    // input's, and it came from EXIF.
    const std::vector<std::string> edited{"#?RADIANCE",
                                          "CAPDATE= 2026:12:07 07:46:41",
                                          "GMT= 2026:12:07 07:46:41",
                                          "/home/u/.cache/candelux/dtemp.hdr:",
                                          "\tSOFTWARE= candelux 1.0.0.0",
                                          "\tCAPDATE= 2026:06:21 11:45:00",
                                          "\tSERIES= IMG_0001.JPG 1/1024 s f/8 ISO 100",
                                          "pcomb -e ro=ri(1)*gi(2) dtemp.hdr mask.hdr"};
    const PictureTime original = picture_time(path, edited);
    EXPECT_EQ(original.iso, "2026-06-21T11:45:00");
    EXPECT_EQ(original.source, "exif");
    // Edited twice: the least nested capture date that is no stamp.
    std::vector<std::string> twice{"CAPDATE= 2026:12:08 09:00:00", "GMT= 2026:12:08 09:00:00", "a.hdr:"};
    for (size_t i = 1; i < edited.size(); ++i) twice.push_back("\t" + edited[i]);
    EXPECT_EQ(picture_time(path, twice).iso, "2026-06-21T11:45:00");
    // Only a stamp: it is the picture's own date.
    const PictureTime stamped = picture_time(path, {"CAPDATE= 2026:12:07 07:46:41", "GMT= 2026:12:07 07:46:41"});
    EXPECT_EQ(stamped.iso, "2026-12-07T07:46:41");
    EXPECT_EQ(stamped.source, "capdate");

    // Without a usable date: the modification time, in local time.
    const char* old_zone = std::getenv("TZ");
    const std::string saved = old_zone ? old_zone : "";
    setenv("TZ", "UTC0", 1);
    tzset();
    const timeval times[2] = {{1782036000, 0}, {1782036000, 0}};  // 2026-06-21T10:00:00Z
    ASSERT_EQ(utimes(path.c_str(), times), 0);
    for (const std::vector<std::string>& header :
         {std::vector<std::string>{}, {"CAPDATE= yesterday"}, {"\tCAPDATE= 2026:02:30 08:15:00", "GMT= x"}}) {
        const PictureTime mtime = picture_time(path, header);
        EXPECT_EQ(mtime.iso, "2026-06-21T10:00:00");
        EXPECT_EQ(mtime.source, "mtime");
    }
    setenv("TZ", "CET-1", 1);
    tzset();
    EXPECT_EQ(picture_time(path, {}).iso, "2026-06-21T11:00:00");
    if (old_zone) setenv("TZ", saved.c_str(), 1);
    else unsetenv("TZ");
    tzset();
}

}  // namespace
