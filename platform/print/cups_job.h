// One job on a CUPS destination that carries one PDF document.
#pragma once

#include <memory>
#include <string>

namespace klv::print {

class CupsJob {
public:
    // Creates the job (held until its document comes); null when the
    // destination does not exist or refuses the job.
    static std::unique_ptr<CupsJob> create(const std::string& destination, const std::string& job_name);
    ~CupsJob();  // a job whose document was never sent is cancelled
    CupsJob(const CupsJob&) = delete;
    CupsJob& operator=(const CupsJob&) = delete;

    int id() const { return id_; }
    // Sends the PDF as the job's one and last document; false when CUPS did
    // not take it (the job is then cancelled).
    bool send_pdf(const std::string& pdf);

private:
    struct Handles;
    CupsJob(std::unique_ptr<Handles> handles, int id);
    void cancel();

    std::unique_ptr<Handles> handles_;
    int id_;
    bool done_ = false;
};

}  // namespace klv::print
