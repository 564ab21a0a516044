#include "platform/print/print_dialog.h"

#include "tests/platform/print/cups_fixture.h"

namespace klv::print {
namespace {

// A chooser that answers as told and remembers what each dialog showed.
struct RecordingChooser {
    explicit RecordingChooser(std::optional<std::string> first_answer = std::nullopt) : answer(first_answer) {}
    std::optional<std::string> answer;
    std::vector<std::string> initials;
    std::vector<std::string> listed;

    void install() {
        testing::set_print_chooser([this](const std::vector<std::string>& destinations, const std::string& initial) {
            initials.push_back(initial);
            listed = destinations;
            return answer;
        });
    }
};

using PrintDialogTest = PrinterSuite;

TEST_F(PrintDialogTest, ReturnDefaultFetchesTheDefaultPrinterWithoutAsking) {
    RecordingChooser chooser;
    chooser.install();
    PrintDialogRecord record;
    record.flags = PD_RETURNDEFAULT;
    EXPECT_TRUE(print_dialog(record));
    EXPECT_EQ(record.device_names, "klv600");
    EXPECT_FALSE(record.printer);
    EXPECT_TRUE(chooser.initials.empty());
}

TEST_F(PrintDialogTest, FirstDialogOpensOnTheDefaultAndReturnsThePrinterChosen) {
    RecordingChooser chooser("klvwide");
    chooser.install();
    PrintDialogRecord record;
    record.flags = PD_RETURNDC;
    ASSERT_TRUE(print_dialog(record));
    ASSERT_EQ(chooser.initials.size(), 1u);
    EXPECT_EQ(chooser.initials[0], "klv600");
    EXPECT_EQ(chooser.listed.size(), 4u);
    EXPECT_EQ(record.device_names, "klvwide");
    ASSERT_TRUE(record.printer);
    EXPECT_EQ(record.printer->info().dots_per_inch_y, 300);
}

TEST_F(PrintDialogTest, CancelChangesNothingAndTheNextDialogOpensOnTheLastChoice) {
    RecordingChooser chooser("klvtext");
    chooser.install();
    PrintDialogRecord record;
    record.flags = PD_RETURNDC;
    ASSERT_TRUE(print_dialog(record));
    std::shared_ptr<PrinterContext> chosen = record.printer;

    chooser.answer = std::nullopt;
    EXPECT_FALSE(print_dialog(record));
    EXPECT_EQ(record.device_names, "klvtext");
    EXPECT_EQ(record.printer, chosen);

    chooser.answer = "klvtext";
    ASSERT_TRUE(print_dialog(record));
    ASSERT_EQ(chooser.initials.size(), 3u);
    EXPECT_EQ(chooser.initials[1], "klvtext");
    EXPECT_EQ(chooser.initials[2], "klvtext");
    EXPECT_NE(record.printer, chosen);  // each confirmed dialog gives a new context
    EXPECT_EQ(chosen.use_count(), 1);  // the replaced one lives only as long as its users
}

TEST_F(PrintDialogTest, ChoosingAPrinterThatIsGoneCountsAsCancel) {
    RecordingChooser chooser("vanished");
    chooser.install();
    PrintDialogRecord record;
    record.flags = PD_RETURNDC;
    record.device_names = "klv600";
    EXPECT_FALSE(print_dialog(record));
    EXPECT_EQ(record.device_names, "klv600");
    EXPECT_FALSE(record.printer);
}

TEST_F(PrintDialogTest, WithoutAWayToAskTheDialogConfirmsItsOpeningChoice) {
    // Tests run without a chooser of their own here: headless, no zenity window.
    setenv("KLV_BACKEND", "headless", 1);
    PrintDialogRecord record;
    record.flags = PD_RETURNDC;
    record.device_names = "klvraw";
    ASSERT_TRUE(print_dialog(record));
    EXPECT_EQ(record.printer->info().name, "klvraw");
}

// In a process of its own, untouched by the fixture's reset: the record a
// program starts with names no printer, so its first dialog opens on the default.
TEST(PrintDialogRecordTest, ANewProcessStartsWithNoPrinterChosen) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            const PrintDialogRecord& record = print_dialog_record();
            std::_Exit(record.flags == 0 && record.device_names.empty() && !record.printer ? 3 : 4);
        },
        ::testing::ExitedWithCode(3), "");
}

using NoPrinterDialogTest = NoPrinterSuite;

TEST_F(NoPrinterDialogTest, NoPrinterFailsBothCallsWithoutAsking) {
    setenv("KLV_BACKEND", "headless", 1);
    PrintDialogRecord record;
    record.flags = PD_RETURNDEFAULT;
    EXPECT_FALSE(print_dialog(record));
    record.flags = PD_RETURNDC;
    EXPECT_FALSE(print_dialog(record));
    EXPECT_FALSE(record.printer);
}

}  // namespace
}  // namespace klv::print
