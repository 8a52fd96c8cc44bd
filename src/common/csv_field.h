#pragma once
// CSV fields: quoted when they hold a comma, a quote or a line end, with
// each quote doubled.

#include <string>

std::string csv_field(const std::string& text);
