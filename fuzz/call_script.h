// A script of public calls read from bytes, for the interface fuzzer and
// the tools around it. Each call is one byte naming the function (taken
// modulo the number of calls) followed by its arguments, each a 32-bit
// little-endian integer; bytes missing at the end read as 0. A few calls
// read more: the points of a polyline or polygon (count, then count pairs,
// at most 64), a text (a length byte, 255 for a null text, then the bytes)
// and the rows of a fill pattern (8 bytes).
//
// Whatever the bytes, the calls stay within what a correct program may do:
// windows are at most 160 by 120 (every size below 1 is passed as it is),
// at most four are opened by one script, image buffers hold what their
// headers announce, files are saved and loaded in one scratch folder, and
// no call is made that would end the program (drawing with no current
// window) or wait for the user (wait_key with nothing typed).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace klv::fuzz {

// Told about each call as it ends, with the time the calling thread spent
// in it.
class CallObserver {
public:
    virtual ~CallObserver() = default;
    virtual void call_done(std::string_view name, const std::int32_t* args, int arity, double cpu_ms) = 0;
};

// The number of calls a byte chooses from, and the byte for a call name
// (the function's own name, or -1 when there is none such).
int call_count();
int call_code(std::string_view name);
// The number of integer arguments the call reads after its byte.
int call_arity(int code);

// Runs the script on the headless backend, waits until every window it left
// open has painted what was drawn (and aborts when one has not within a
// second and a half), then closes them. Files go to folder, which must exist.
void run_call_script(const std::uint8_t* data, std::size_t size, const std::string& folder,
                     CallObserver* observer);

}  // namespace klv::fuzz
