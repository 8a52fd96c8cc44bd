#pragma once
// The fields of CSV text: lines end with LF or CR LF, fields are separated
// by commas, and a field in double quotes may hold commas, line breaks and
// doubled quotes.

#include <string>
#include <vector>

std::vector<std::vector<std::string>> csv_records(const std::string& text);
