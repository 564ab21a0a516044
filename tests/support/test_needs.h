// What a test needs of the machine: a display, a window manager, a print
// server, a font. Where it is missing the test is skipped and says so; on the
// CI machine (CI=true), which must have everything, it fails instead, naming
// what is missing.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace klv::test {

inline bool on_ci() {
    const char* ci = std::getenv("CI");
    return ci != nullptr && std::strcmp(ci, "true") == 0;
}

}  // namespace klv::test

// In a test body or SetUp: returns from it unless `available`.
#define KLV_NEED(available, what)                                                 \
    do {                                                                          \
        if (!(available)) {                                                       \
            if (::klv::test::on_ci()) FAIL() << "missing on the CI machine: " << what; \
            GTEST_SKIP() << "missing: " << what;                                  \
        }                                                                         \
    } while (false)
