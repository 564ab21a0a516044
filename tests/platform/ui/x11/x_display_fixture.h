// A test fixture holding a connection to the X server DISPLAY names, opened
// before each test and closed after it. Without a display the test is
// skipped (failed on CI). `Base` is another fixture to build on (the print
// server's); its SetUp runs once the display is open. Include after
// GoogleTest (Xlib defines None and Bool).
#pragma once

#include <X11/Xlib.h>

#include <cstdlib>

#include "tests/platform/ui/x11/x_server.h"
#include "tests/support/test_needs.h"

namespace klv::test {

template <class Base = ::testing::Test>
class XDisplayFixture : public Base {
protected:
    void SetUp() override {
        const char* name = std::getenv("DISPLAY");
        KLV_NEED(name && *name, "DISPLAY");
        display_ = XOpenDisplay(name);
        KLV_NEED(display_, "the display " << name);
        Base::SetUp();
    }
    void TearDown() override {
        Base::TearDown();
        if (!display_) return;
        // The X server gives a new connection the window ids of one gone: a
        // window manager still busy with a test's window would place the
        // next test's window in its stead.
        EXPECT_TRUE(window_manager_caught_up(display_));
        XCloseDisplay(display_);
    }
    // True once SetUp has opened the display and nothing stopped the test.
    bool ready() { return display_ != nullptr && !this->IsSkipped() && !this->HasFatalFailure(); }

    Display* display_ = nullptr;
};

}  // namespace klv::test
