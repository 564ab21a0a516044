#include "platform/gdi/codepage_1252.h"
#include "platform/print/printer_context.h"

#include <thread>

#include "platform/print/pdf_document.h"
#include "tests/platform/print/cups_fixture.h"

namespace klv::print {
namespace {

using klv::testing::PrintedJob;
using klv::testing::RgbImage;

constexpr std::uint32_t red = 0xFF0000, green = 0x00FF00, blue = 0x0000FF, black = 0x000000, white = 0xFFFFFF;
const std::uint32_t two_by_two[] = {red, green, blue, black};

struct Box {
    int left, top, right, bottom;  // right and bottom excluded
};

int ink_in(const RgbImage& image, Box box) {
    int ink = 0;
    for (int y = box.top; y < box.bottom; ++y) {
        for (int x = box.left; x < box.right; ++x) {
            ink += image.at(x, y) != white;
        }
    }
    return ink;
}

// The rows from the first to the last with ink inside the box; {-1, -1} when none.
std::pair<int, int> inked_rows(const RgbImage& image, Box box) {
    std::pair<int, int> rows{-1, -1};
    for (int y = box.top; y < box.bottom; ++y) {
        if (ink_in(image, {box.left, y, box.right, y + 1}) > 0) {
            rows = {rows.first < 0 ? y : rows.first, y};
        }
    }
    return rows;
}

class PrinterContextTest : public PrinterSuite {
protected:
    // Prints the title and the 2 by 2 image on the queue; the job that came out.
    PrintedJob print_page(const std::string& queue, Box title_and_image_dots) {
        std::size_t before = cups().printed_jobs().size();
        auto printer = PrinterContext::open(queue);
        EXPECT_TRUE(printer);
        if (!printer) {
            return {};
        }
        EXPECT_GT(printer->start_doc("Windows KLV"), 0);
        EXPECT_TRUE(printer->start_page());
        EXPECT_TRUE(printer->text_out(title_and_image_dots.left, title_and_image_dots.top, "Pie Chart"));
        printer->stretch_pixels(title_and_image_dots.left, title_and_image_dots.right, 4200,
                                title_and_image_dots.bottom, two_by_two, 2, 2);
        EXPECT_TRUE(printer->end_page());
        EXPECT_TRUE(printer->end_doc());
        std::vector<PrintedJob> jobs = cups().wait_for_jobs(before + 1);
        EXPECT_EQ(jobs.size(), before + 1);
        return jobs.empty() ? PrintedJob{} : jobs.back();
    }

    std::size_t jobs_after_a_moment() { return cups().jobs_once_idle().size(); }
};

// At 72 dots per inch one rendered pixel is one point. The printable area
// starts at (18, 36) points; 450 and 600 dots at 600 dpi are 54 and 72
// points, so the title is at (72, 90) and the 4200 by 3150 dot image covers
// (72, 108) to (576, 486), each source pixel a 252 by 189 point block.
void expect_worked_page(const RgbImage& page) {
    ASSERT_EQ(page.width, 612);
    ASSERT_EQ(page.height, 792);
    EXPECT_EQ(page.at(74, 110), red);
    EXPECT_EQ(page.at(322, 110), red);  // sharp blocks: no blending near the seam
    EXPECT_EQ(page.at(326, 110), green);
    EXPECT_EQ(page.at(574, 295), green);
    EXPECT_EQ(page.at(74, 299), blue);
    EXPECT_EQ(page.at(574, 484), black);
    EXPECT_EQ(page.at(70, 300), white);  // nothing outside the rectangle
    EXPECT_EQ(page.at(578, 300), white);
    EXPECT_EQ(page.at(300, 106), white);
    EXPECT_EQ(page.at(300, 488), white);
    EXPECT_GT(ink_in(page, {72, 90, 160, 104}), 20);  // the title
    EXPECT_EQ(ink_in(page, {0, 0, 612, 89}), 0);      // nothing above it
    EXPECT_EQ(ink_in(page, {0, 90, 71, 106}), 0);     // nor left of it
}

TEST_F(PrinterContextTest, OneJobNamedWindowsKlvWithOnePageOfTitleAndSharpImage) {
    PrintedJob job = print_page("klv600", {450, 450, 600, 3150});
    EXPECT_EQ(job.name, "Windows KLV");
    EXPECT_EQ(job.page_count(), 1);
    expect_worked_page(job.render(72));
}

TEST_F(PrinterContextTest, UnequalResolutionsPlaceEachAxisInItsOwnDots) {
    // 600 by 300 dpi: the same physical page is 450, 225 for the title and
    // 4200 by 1575 dots at (450, 300) for the image.
    PrintedJob job = print_page("klvwide", {450, 225, 300, 1575});
    RgbImage page = job.render(72);
    expect_worked_page(page);
    // The title keeps its shape: as tall as on the square printer.
    RgbImage square = print_page("klv600", {450, 450, 600, 3150}).render(72);
    EXPECT_EQ(inked_rows(page, {72, 80, 200, 106}), inked_rows(square, {72, 80, 200, 106}));
}

TEST_F(PrinterContextTest, PrinterTakingNoImagesGetsTheTitleOnly) {
    auto printer = PrinterContext::open("klvtext");
    ASSERT_TRUE(printer);
    std::size_t before = cups().printed_jobs().size();
    ASSERT_GT(printer->start_doc("Windows KLV"), 0);
    printer->start_page();
    printer->text_out(450, 450, "Pie Chart");
    EXPECT_FALSE(printer->stretch_pixels(450, 600, 4200, 3150, two_by_two, 2, 2));
    printer->end_page();
    ASSERT_TRUE(printer->end_doc());
    std::vector<PrintedJob> jobs = cups().wait_for_jobs(before + 1);
    ASSERT_EQ(jobs.size(), before + 1);
    RgbImage page = jobs.back().render(72);
    EXPECT_GT(ink_in(page, {72, 90, 160, 104}), 20);
    EXPECT_EQ(ink_in(page, {0, 106, 612, 792}), 0);
}

TEST_F(PrinterContextTest, JobOnAQueueRemovedMeanwhileFailsToStartAndPrintsNothing) {
    ASSERT_TRUE(cups().add_queue({"klvgone", "600dpi", true, false}));
    auto printer = PrinterContext::open("klvgone");
    ASSERT_TRUE(printer);
    ASSERT_TRUE(cups().remove_queue("klvgone"));
    std::size_t before = cups().printed_jobs().size();
    EXPECT_EQ(printer->start_doc("Windows KLV"), -1);
    EXPECT_FALSE(printer->start_page());
    EXPECT_FALSE(printer->end_doc());
    EXPECT_EQ(jobs_after_a_moment(), before);
}

TEST_F(PrinterContextTest, CallsOutOfOrderAreRefusedAndUnfinishedJobsPrintNothing) {
    std::size_t before = cups().printed_jobs().size();
    {
        auto printer = PrinterContext::open("klv600");
        ASSERT_TRUE(printer);
        EXPECT_FALSE(printer->start_page());
        EXPECT_FALSE(printer->text_out(0, 0, "x"));
        EXPECT_FALSE(printer->end_page());
        ASSERT_GT(printer->start_doc("Windows KLV"), 0);
        EXPECT_EQ(printer->start_doc("Windows KLV"), -1);  // one job at a time
        EXPECT_FALSE(printer->text_out(0, 0, "x"));        // no page yet
        EXPECT_TRUE(printer->start_page());
        EXPECT_FALSE(printer->start_page());
        EXPECT_FALSE(printer->stretch_pixels(0, 0, 0, 10, two_by_two, 2, 2));
        EXPECT_FALSE(printer->stretch_pixels(0, 0, 10, 10, nullptr, 2, 2));
        EXPECT_FALSE(printer->stretch_pixels(0, 0, 10, -10, two_by_two, 2, 2));
        // Dropped with the job under way: it is cancelled.
    }
    auto empty = PrinterContext::open("klv600");
    ASSERT_GT(empty->start_doc("Windows KLV"), 0);
    EXPECT_FALSE(empty->end_doc());  // a document of no page is not sent
    EXPECT_EQ(jobs_after_a_moment(), before);
}

TEST(PdfTextTest, Windows1252BytesBecomeTheirCharacters) {
    EXPECT_EQ(gdi::utf8_from_cp1252("Pie"), "Pie");
    EXPECT_EQ(gdi::utf8_from_cp1252("\x80 \xE9"), "\xE2\x82\xAC \xC3\xA9");  // euro sign, e acute
}

}  // namespace
}  // namespace klv::print
