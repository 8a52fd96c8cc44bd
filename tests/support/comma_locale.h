#pragma once
// Switches the whole process to a comma-decimal locale (de_DE.UTF-8) for the
// life of the object, as the Qt application object does with the user's
// locale. Tests skip when the machine has no such locale.

#include <clocale>
#include <string>

class CommaLocale {
public:
    CommaLocale();
    ~CommaLocale();
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;

    // False when no comma-decimal locale could be set.
    bool active() const { return active_; }

private:
    std::string previous_;
    bool active_ = false;
};

#define SKIP_WITHOUT_COMMA_LOCALE(locale) \
    if (!(locale).active()) GTEST_SKIP() << "no de_DE.UTF-8 locale on this machine (scripts/setup makes one)"
