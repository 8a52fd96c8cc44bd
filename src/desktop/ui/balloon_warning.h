#pragma once
// The balloon that flags an invalid percentile in the analysis wizard: shown
// at the right edge of the dialog's control 1013, vertically centred, for
// five seconds.

class QWidget;

inline constexpr const char* percentile_warning = "Percentile Value must be between 1 and 100";
inline constexpr int balloon_timeout_ms = 5000;

// The tooltip window showing the balloon, or null when the dialog is null or
// has no control 1013 (nothing is shown then).
QWidget* show_balloon_warning(QWidget* dialog);
