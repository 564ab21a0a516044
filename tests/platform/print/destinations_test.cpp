#include "platform/print/destinations.h"

#include <algorithm>

#include "platform/gdi/gdi_types.h"
#include "platform/print/printer_context.h"
#include "tests/platform/print/cups_fixture.h"

namespace klv::print {
namespace {

using DestinationsTest = PrinterSuite;

TEST_F(DestinationsTest, ListsEveryQueueAndNamesTheDefault) {
    std::vector<std::string> names = destination_names();
    for (const char* queue : {"klv600", "klvwide", "klvraw", "klvtext"}) {
        EXPECT_NE(std::find(names.begin(), names.end(), queue), names.end()) << queue;
    }
    EXPECT_EQ(default_destination_name(), "klv600");
}

TEST_F(DestinationsTest, ResolutionIsWhatTheQueueReportsOnEachAxis) {
    auto square = describe_destination("klv600");
    ASSERT_TRUE(square);
    EXPECT_EQ(square->dots_per_inch_x, 600);
    EXPECT_EQ(square->dots_per_inch_y, 600);
    auto wide = describe_destination("klvwide");
    ASSERT_TRUE(wide);
    EXPECT_EQ(wide->dots_per_inch_x, 600);
    EXPECT_EQ(wide->dots_per_inch_y, 300);
}

TEST_F(DestinationsTest, QueueReportingNoResolutionCountsAs300Dpi) {
    auto raw = describe_destination("klvraw");
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw->dots_per_inch_x, 300);
    EXPECT_EQ(raw->dots_per_inch_y, 300);
}

TEST_F(DestinationsTest, PageIsTheQueuesMediaWithItsPrintableArea) {
    auto info = describe_destination("klv600");
    ASSERT_TRUE(info);
    EXPECT_NEAR(info->page_width, 612.0, 0.1);
    EXPECT_NEAR(info->page_height, 792.0, 0.1);
    // The PPD's imageable area is 18 36 594 756 (from the bottom-left corner).
    EXPECT_NEAR(info->printable_left, 18.0, 0.1);
    EXPECT_NEAR(info->printable_top, 36.0, 0.1);
    EXPECT_NEAR(info->printable_width, 576.0, 0.1);
    EXPECT_NEAR(info->printable_height, 720.0, 0.1);
}

TEST_F(DestinationsTest, OnlyTheQueueMarkedSoTakesNoImages) {
    EXPECT_TRUE(describe_destination("klv600")->takes_images);
    EXPECT_FALSE(describe_destination("klvtext")->takes_images);
    PrinterContext text_only(*describe_destination("klvtext"));
    EXPECT_EQ(text_only.device_caps(gdi::RASTERCAPS) & gdi::RC_BITBLT, 0);
    PrinterContext full(*describe_destination("klv600"));
    EXPECT_NE(full.device_caps(gdi::RASTERCAPS) & gdi::RC_BITBLT, 0);
    EXPECT_EQ(full.device_caps(gdi::LOGPIXELSX), 600);
    EXPECT_EQ(full.device_caps(gdi::HORZRES), 4800);  // 8 printable inches
    EXPECT_EQ(full.device_caps(gdi::VERTRES), 6000);  // 10 printable inches
}

TEST_F(DestinationsTest, UnknownOrMalformedNamesDescribeNothing) {
    EXPECT_FALSE(describe_destination("no-such-queue"));
    EXPECT_FALSE(describe_destination(""));
    EXPECT_FALSE(describe_destination("/instance"));
    EXPECT_FALSE(PrinterContext::open("no-such-queue"));
}

using NoPrinterDestinationsTest = NoPrinterSuite;

TEST_F(NoPrinterDestinationsTest, NoQueueMeansNoDefaultAndAnEmptyList) {
    EXPECT_FALSE(default_destination_name());
    EXPECT_TRUE(destination_names().empty());
}

}  // namespace
}  // namespace klv::print
