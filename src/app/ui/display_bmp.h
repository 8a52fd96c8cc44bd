#pragma once
// The display copy ra_bmp writes (an uncompressed 24-bit BMP, usually tens of
// megabytes) read straight into a QImage, its rows converted on every core.
// Qt's own reader does the same one row at a time and takes several times as
// long for a large picture; the pixels come out the same (opaque RGB32).

#include <QImage>

#include <string>

// A null image when the file is not such a BMP or cannot be read; the
// caller then leaves the file to Qt.
QImage read_display_bmp(const std::string& path);
