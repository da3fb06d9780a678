#pragma once
// The states of the three lock keys, shown by the status bar's CAP, NUM and SCRL panes.

struct KeyLocks {
    bool caps = false;
    bool num = false;
    bool scroll = false;
    bool operator==(const KeyLocks&) const = default;
};

// Read from the keyboard indicators of the X11 display the program runs on; all off
// where they cannot be read (no X11, or a platform without a keyboard such as the
// offscreen one).
KeyLocks ReadKeyLocks();
