// One private CUPS server for a whole test suite, with these queues:
// klv600 (600 dpi, the default), klvwide (600 by 300 dpi), klvraw (no PPD:
// reports no resolution) and klvtext (takes no images).
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "platform/print/print_dialog.h"
#include "platform/print/testing.h"
#include "tests/support/private_cups.h"
#include "tests/support/test_needs.h"

namespace klv::print {

class PrinterSuite : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        cups_ = std::make_unique<klv::testing::PrivateCups>();
        if (!cups_->ok()) {
            return;
        }
        queues_ready_ = cups_->add_queue({"klv600", "600dpi", true, true}) &&
                        cups_->add_queue({"klvwide", "600x300dpi", true, false}) &&
                        cups_->add_queue({"klvraw", "", true, false}) &&
                        cups_->add_queue({"klvtext", "600dpi", false, false});
    }
    static void TearDownTestSuite() { cups_.reset(); }

    void SetUp() override {
        KLV_NEED(cups_->ok(), "a print server: " << cups_->failure());
        ASSERT_TRUE(queues_ready_) << cups_->command_log();
        testing::forget_cups_server();
        testing::reset_print_dialog_record();
        testing::set_print_chooser({});
    }
    void TearDown() override {
        testing::set_print_chooser({});
        testing::reset_print_dialog_record();
    }

    static klv::testing::PrivateCups& cups() { return *cups_; }

private:
    static inline std::unique_ptr<klv::testing::PrivateCups> cups_;
    static inline bool queues_ready_ = false;
};

// A server with no queue at all.
class NoPrinterSuite : public ::testing::Test {
protected:
    void SetUp() override {
        cups_ = std::make_unique<klv::testing::PrivateCups>();
        KLV_NEED(cups_->ok(), "a print server: " << cups_->failure());
        testing::reset_print_dialog_record();
    }
    void TearDown() override {
        testing::set_print_chooser({});
        testing::reset_print_dialog_record();
        cups_.reset();
    }
    std::unique_ptr<klv::testing::PrivateCups> cups_;
};

}  // namespace klv::print
