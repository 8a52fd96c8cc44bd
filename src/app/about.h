#pragma once
#include <string>

// "candelux Software Version 1.0.0.0"
inline std::string about_text() { return std::string("candelux Software Version ") + CANDELUX_VERSION; }
