// Sets an environment variable for a scope; the test run may have its own value.
#pragma once

#include <cstdlib>
#include <string>

class EnvOverride {
public:
    EnvOverride(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old, had_ = true;
        setenv(name, value, 1);
    }
    ~EnvOverride() { had_ ? setenv(name_, old_.c_str(), 1) : unsetenv(name_); }
    EnvOverride(const EnvOverride&) = delete;
    EnvOverride& operator=(const EnvOverride&) = delete;

private:
    const char* name_;
    std::string old_;
    bool had_ = false;
};
