// Prints through the real print command on Windows: a 640 by 480 window
// titled "Pie Chart", its page red left of x = 320 and blue from there, sent
// by the 7-inch system menu command to the printer named on the command line
// (the print dialog answered with it). The command is sent, not posted: the
// window must stay open until it has run, or closing it would take the pages
// away before the job starts. Ends with status 0; print_wine.sh checks what
// reached the printer.
#include <cstdio>
#include <mutex>

#include "graphics/klv.h"
#include "graphics/window/window_procedure.h"
#include "platform/print/testing.h"
#include "platform/ui/messages.h"
#include "platform/ui/ui.h"
#include "tests/support/library_window.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: print_two_colours PRINTER\n");
        return 2;
    }
    if (open_window(640, 480, "Pie Chart", 0, 0, false, false) < 0) return 3;
    klv::test::wait_idle();
    {
        klv::WindowState* state = klv::test::current_state();
        std::lock_guard lock(state->mutex);
        klv::gdi::Bitmap* page = state->page_dc[0]->bitmap;
        for (int y = 0; y < page->height(); ++y)
            for (int x = 0; x < page->width(); ++x) page->row(y)[x] = x < 320 ? 0xFF0000u : 0x0000FFu;
    }
    klv::print::testing::set_print_dialog_answer(argv[1]);
    klv::ui::send_message(klv::test::current_window_handle(), klv::ui::WM_SYSCOMMAND, klv::print_7_inch_command, 0);
    const int error = take_error();
    close_window(-2);
    return error == KLV_OK ? 0 : 4;
}
