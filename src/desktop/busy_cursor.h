#pragma once
// The wait cursor over every window of the program for as long as the object
// lives, taken off again however the work ends.

#include "desktop/desktop.h"

class BusyCursor {
public:
    explicit BusyCursor(Desktop& desktop) : desktop_(desktop) { desktop_.set_busy(true); }
    ~BusyCursor() { desktop_.set_busy(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    Desktop& desktop_;
};
