#include "platform/print/cups_job.h"

#include <cups/cups.h>

namespace klv::print {

struct CupsJob::Handles {
    cups_dest_t* dest = nullptr;
    cups_dinfo_t* info = nullptr;
    ~Handles() {
        cupsFreeDestInfo(info);
        if (dest) {
            cupsFreeDests(1, dest);
        }
    }
};

CupsJob::CupsJob(std::unique_ptr<Handles> handles, int id) : handles_(std::move(handles)), id_(id) {}

CupsJob::~CupsJob() {
    if (!done_) {
        cancel();
    }
}

std::unique_ptr<CupsJob> CupsJob::create(const std::string& destination, const std::string& job_name) {
    auto handles = std::make_unique<Handles>();
    std::string queue = destination.substr(0, destination.find('/'));
    std::string instance = queue.size() < destination.size() ? destination.substr(queue.size() + 1) : "";
    if (queue.empty()) {
        return nullptr;
    }
    handles->dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, queue.c_str(), instance.empty() ? nullptr : instance.c_str());
    if (!handles->dest) {
        return nullptr;
    }
    handles->info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, handles->dest);
    if (!handles->info) {
        return nullptr;
    }
    int id = 0;
    ipp_status_t status =
        cupsCreateDestJob(CUPS_HTTP_DEFAULT, handles->dest, handles->info, &id, job_name.c_str(), 0, nullptr);
    if (status > IPP_STATUS_OK_EVENTS_COMPLETE || id <= 0) {
        return nullptr;
    }
    return std::unique_ptr<CupsJob>(new CupsJob(std::move(handles), id));
}

bool CupsJob::send_pdf(const std::string& pdf) {
    if (done_) {
        return false;
    }
    http_status_t started = cupsStartDestDocument(CUPS_HTTP_DEFAULT, handles_->dest, handles_->info, id_, "page.pdf",
                                                  CUPS_FORMAT_PDF, 0, nullptr, 1);
    bool sent = started == HTTP_STATUS_CONTINUE &&
                cupsWriteRequestData(CUPS_HTTP_DEFAULT, pdf.data(), pdf.size()) == HTTP_STATUS_CONTINUE;
    // The request is finished either way, so that the connection stays usable.
    ipp_status_t finished = started == HTTP_STATUS_CONTINUE
                                ? cupsFinishDestDocument(CUPS_HTTP_DEFAULT, handles_->dest, handles_->info)
                                : IPP_STATUS_ERROR_INTERNAL;
    if (!sent || finished > IPP_STATUS_OK_EVENTS_COMPLETE) {
        cancel();
        return false;
    }
    done_ = true;
    return true;
}

void CupsJob::cancel() {
    cupsCancelDestJob(CUPS_HTTP_DEFAULT, handles_->dest, id_);
    done_ = true;
}

}  // namespace klv::print
