#pragma once
// The current date and time as text, in a strftime format, in UTC or in the
// user's local time (file headers, lock files, profiles, EXIF dates).

#include <string>

enum class Clock { utc, local };

std::string now_as_text(const char* format, Clock clock);
