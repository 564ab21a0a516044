// The whole public interface on the headless backend: the input is a script
// of calls (fuzz/call_script.h), any function in any order, several windows,
// pages, viewports, images, texts and files. An input ends once its windows
// have painted what it drew, so that the sanitizers' findings on a window's
// thread belong to the input that caused them. Besides those findings, a
// call that keeps the calling thread busy for more than 200 ms
// (KLV_FUZZ_CALL_LIMIT_MS) is one: every call's cost is bounded by the
// page, whatever its arguments. Thread time, not wall time, so that a busy
// machine does not make findings. The limit is the 20 ms a call may take in
// a Release build, times the slowdown of this instrumented build (8 to 20:
// a pie of radius 32029 beside a 160 by 120 page takes 3.3 ms in Release and
// 74 ms here); a runaway call (seconds in Release) stands far above it.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz/call_script.h"

namespace {

class SlowCallFinder : public klv::fuzz::CallObserver {
public:
    SlowCallFinder() {
        const char* limit = std::getenv("KLV_FUZZ_CALL_LIMIT_MS");
        if (limit && *limit) limit_ms_ = std::atof(limit);
    }
    void call_done(std::string_view name, const std::int32_t* args, int arity, double cpu_ms) override {
        if (cpu_ms <= limit_ms_) return;
        std::fprintf(stderr, "slow call: %.*s(", int(name.size()), name.data());
        for (int i = 0; i < arity; ++i) std::fprintf(stderr, "%s%d", i ? ", " : "", args[i]);
        std::fprintf(stderr, ") took %.1f ms of thread time (limit %.0f ms)\n", cpu_ms, limit_ms_);
        std::abort();
    }

private:
    double limit_ms_ = 200;
};

const std::string& scratch_folder() {
    static const std::string folder = [] {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/klv-interface-fuzz-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) std::abort();
        return pattern;
    }();
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static SlowCallFinder finder;
    klv::fuzz::run_call_script(data, size, scratch_folder(), &finder);
    return 0;
}
