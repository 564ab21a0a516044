// A printer device context: one job on one CUPS destination, whose pages are
// drawn as PDF and sent as one document when the job ends.
//
// Positions and sizes are in printer dots (the destination's resolution on
// each axis), measured from the top-left corner of the printable area, as a
// printer device context measures them. The calls stand for StartDocA,
// StartPage, TextOutA, StretchBlt, EndPage, EndDoc and GetDeviceCaps; one
// context is used by one thread at a time.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/print/destinations.h"

namespace klv::print {

class PrinterContext {
public:
    // A context for the named destination; null when it does not exist.
    static std::unique_ptr<PrinterContext> open(const std::string& destination);
    explicit PrinterContext(DestinationInfo info);
    ~PrinterContext();  // a job that was started and never ended is cancelled
    PrinterContext(const PrinterContext&) = delete;
    PrinterContext& operator=(const PrinterContext&) = delete;

    const DestinationInfo& info() const { return info_; }

    // LOGPIXELSX/Y, RASTERCAPS (RC_BITBLT and RC_STRETCHBLT where the printer
    // takes images), HORZRES/VERTRES (the printable area in dots); 0 otherwise.
    int device_caps(int index) const;

    // Creates the job under the document name: its id, or -1 when the
    // destination refuses it or a job is already under way.
    int start_doc(const std::string& document_name);
    // Starts a page of the job; false outside a job or inside a page.
    bool start_page();
    // One line of Windows-1252 text, its top-left corner at (x, y), in the
    // printer's default font (12 point sans, black).
    bool text_out(int x, int y, std::string_view text);
    // Draws the width by height pixels (0x00RRGGBB, rows top first) stretched
    // onto the destination rectangle, each source pixel a sharp block. Empty
    // or negative sizes draw nothing; a printer that takes no images draws
    // nothing.
    bool stretch_pixels(int x, int y, int width, int height, const std::uint32_t* pixels, int source_width,
                        int source_height);
    bool end_page();
    // Sends the document (the pages ended so far) and ends the job; false
    // when CUPS did not take it.
    bool end_doc();

private:
    struct Job;
    DestinationInfo info_;
    std::unique_ptr<Job> job_;
};

}  // namespace klv::print
