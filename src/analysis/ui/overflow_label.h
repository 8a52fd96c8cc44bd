#pragma once
// The clipped-pixel sentence as the analysis, glare and calibration pages
// show it: a wrapped line with a link to the illuminance calibration.

#include <QString>
#include <functional>
#include <string>

class QLabel;
class QWidget;

// The sentence as rich text with its link (href "calibration"); "" stays "".
QString overflow_html(const std::string& sentence);

// A hidden label with object name `id`; `on_link` runs when the link is
// clicked.
QLabel* make_overflow_label(QWidget* parent, int id, std::function<void()> on_link);

// Shows `sentence`, or hides the label when it is "".
void show_overflow(QLabel* label, const std::string& sentence);
