#include "shot_exposure.h"

#include <libexif/exif-data.h>
#include <tiffio.h>

#include <cstdio>
#include <memory>

#include "assembly/picture_kind.h"

namespace {

std::string trimmed(std::string text) {
    while (!text.empty() && (text.back() == '\0' || text.back() == ' ')) text.pop_back();
    return text;
}

std::string joined_names(const std::string& make, const std::string& model) {
    // Many makers repeat the make in the model ("Canon" / "Canon EOS 5D").
    if (make.empty() || model.rfind(make, 0) == 0) return model;
    if (model.empty()) return make;
    return make + " " + model;
}

struct ExifDataDeleter {
    void operator()(ExifData* data) const { exif_data_unref(data); }
};

ExifEntry* entry_of(ExifData* data, ExifIfd ifd, ExifTag tag) { return exif_content_get_entry(data->ifd[ifd], tag); }

double rational_of(ExifData* data, ExifIfd ifd, ExifTag tag) {
    ExifEntry* entry = entry_of(data, ifd, tag);
    if (!entry || entry->components < 1 || !entry->data) return 0;
    const ExifByteOrder order = exif_data_get_byte_order(data);
    if (entry->format == EXIF_FORMAT_RATIONAL && entry->size >= 8) {
        const ExifRational value = exif_get_rational(entry->data, order);
        return value.denominator ? static_cast<double>(value.numerator) / value.denominator : 0;
    }
    if (entry->format == EXIF_FORMAT_SRATIONAL && entry->size >= 8) {
        const ExifSRational value = exif_get_srational(entry->data, order);
        return value.denominator ? static_cast<double>(value.numerator) / value.denominator : 0;
    }
    if (entry->format == EXIF_FORMAT_SHORT && entry->size >= 2) return exif_get_short(entry->data, order);
    if (entry->format == EXIF_FORMAT_LONG && entry->size >= 4) return exif_get_long(entry->data, order);
    return 0;
}

std::string text_of(ExifData* data, ExifIfd ifd, ExifTag tag) {
    ExifEntry* entry = entry_of(data, ifd, tag);
    if (!entry || entry->format != EXIF_FORMAT_ASCII || !entry->data) return "";
    return trimmed(std::string(reinterpret_cast<const char*>(entry->data), entry->size));
}

ShotExposure read_jpeg_exif(const std::string& path) {
    std::unique_ptr<ExifData, ExifDataDeleter> data(exif_data_new_from_file(path.c_str()));
    ShotExposure shot;
    if (!data) return shot;
    shot.seconds = rational_of(data.get(), EXIF_IFD_EXIF, EXIF_TAG_EXPOSURE_TIME);
    shot.f_number = rational_of(data.get(), EXIF_IFD_EXIF, EXIF_TAG_FNUMBER);
    shot.iso = rational_of(data.get(), EXIF_IFD_EXIF, EXIF_TAG_ISO_SPEED_RATINGS);
    shot.date_time = text_of(data.get(), EXIF_IFD_EXIF, EXIF_TAG_DATE_TIME_ORIGINAL);
    shot.camera = joined_names(text_of(data.get(), EXIF_IFD_0, EXIF_TAG_MAKE),
                               text_of(data.get(), EXIF_IFD_0, EXIF_TAG_MODEL));
    shot.lens = text_of(data.get(), EXIF_IFD_EXIF, EXIF_TAG_LENS_MODEL);
    return shot;
}

std::string tiff_text(TIFF* tiff, uint32_t tag) {
    const char* value = nullptr;
    return TIFFGetField(tiff, tag, &value) == 1 && value ? trimmed(value) : "";
}

ShotExposure read_tiff_exif(const std::string& path) {
    ShotExposure shot;
    TIFFSetWarningHandler(nullptr);
    TIFF* tiff = TIFFOpen(path.c_str(), "r");
    if (!tiff) return shot;
    shot.camera = joined_names(tiff_text(tiff, TIFFTAG_MAKE), tiff_text(tiff, TIFFTAG_MODEL));
    toff_t exif_offset = 0;
    if (TIFFGetField(tiff, TIFFTAG_EXIFIFD, &exif_offset) == 1 && TIFFReadEXIFDirectory(tiff, exif_offset)) {
        double value = 0;
        if (TIFFGetField(tiff, EXIFTAG_EXPOSURETIME, &value) == 1) shot.seconds = value;
        if (TIFFGetField(tiff, EXIFTAG_FNUMBER, &value) == 1) shot.f_number = value;
        uint16_t count = 0;
        uint16_t* speeds = nullptr;
        if (TIFFGetField(tiff, EXIFTAG_ISOSPEEDRATINGS, &count, &speeds) == 1 && count > 0 && speeds)
            shot.iso = speeds[0];
        shot.date_time = tiff_text(tiff, EXIFTAG_DATETIMEORIGINAL);
        shot.lens = tiff_text(tiff, EXIFTAG_LENSMODEL);
    }
    TIFFClose(tiff);
    return shot;
}

}  // namespace

std::vector<std::string> missing_exposure_tags(const ShotExposure& shot) {
    std::vector<std::string> missing;
    if (!(shot.seconds > 0)) missing.push_back("ExposureTime");
    if (!(shot.f_number > 0)) missing.push_back("FNumber");
    if (!(shot.iso > 0)) missing.push_back("ISOSpeedRatings");
    return missing;
}

Result<ShotExposure> read_shot_exposure(const std::string& path) {
    const auto kind = picture_kind_of(path);
    if (!kind) return kind.failure();
    return kind.value() == PictureKind::jpeg ? read_jpeg_exif(path) : read_tiff_exif(path);
}
