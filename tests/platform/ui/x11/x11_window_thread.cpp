// The window-on-a-thread helper of the headless tests, shared with these.
#include "tests/platform/ui/window_thread.cpp"
