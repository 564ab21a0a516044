// Setting environment variables in tests, the same on Linux and Windows, and
// putting them back as they were.
#pragma once

#include <chrono>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>

#ifdef _WIN32
// POSIX's setenv and unsetenv, for the tests that use them (this header is
// included in every test of the Windows build).
inline int setenv(const char* name, const char* value, int overwrite) {
    if (!overwrite && std::getenv(name)) return 0;
    return _putenv_s(name, value);
}
inline int unsetenv(const char* name) { return _putenv_s(name, ""); }
// POSIX's alarm as the death tests use it: the process ends (status 142, as
// a shell reports SIGALRM) unless it has ended within the seconds given.
inline unsigned alarm(unsigned seconds) {
    std::thread([seconds] {
        std::this_thread::sleep_for(std::chrono::seconds(seconds));
        std::_Exit(142);
    }).detach();
    return 0;
}
#endif

namespace klv::test {

// Null removes the variable.
inline void set_environment(const char* name, const char* value) {
#ifdef _WIN32
    _putenv_s(name, value ? value : "");
#else
    if (value)
        setenv(name, value, 1);
    else
        unsetenv(name);
#endif
}

class SavedEnvironment {
public:
    explicit SavedEnvironment(const char* name) : name_(name) {
        if (const char* value = std::getenv(name)) value_ = value;
    }
    ~SavedEnvironment() { set_environment(name_, value_ ? value_->c_str() : nullptr); }
    SavedEnvironment(const SavedEnvironment&) = delete;
    SavedEnvironment& operator=(const SavedEnvironment&) = delete;

private:
    const char* name_;
    std::optional<std::string> value_;
};

}  // namespace klv::test
