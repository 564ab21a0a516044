// Frees cairo's and fontconfig's font caches once every test has run.
#include <gtest/gtest.h>

#include "platform/print/testing.h"

namespace {

class FontCacheRelease : public ::testing::Environment {
public:
    void TearDown() override { klv::print::testing::release_font_caches(); }
};

[[maybe_unused]] ::testing::Environment* const release = ::testing::AddGlobalTestEnvironment(new FontCacheRelease);

}  // namespace
