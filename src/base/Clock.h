#pragma once

#include <chrono>
#include <string>

namespace tonara {

// A calendar moment in the phone's local time zone.
struct LocalDateTime {
    int year = 2000;
    int month = 1;  // 1..12
    int day = 1;    // 1..31
    int hour = 0;   // 0..23
    int minute = 0; // 0..59
    int second = 0; // 0..59

    std::string dateText() const; // "yyyy-MM-dd"
    std::string timeText() const; // "HH:mm:ss"
    bool operator==(const LocalDateTime &) const = default;
};

// Where "now" comes from. Pure code never asks the system for the time; it is
// given a Clock so tests can stand at any moment (just after midnight, say).
class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalDateTime localNow() const = 0;

    std::string localDate() const { return localNow().dateText(); }
    std::string localTime() const { return localNow().timeText(); }
};

// The system's clock in the process's local time zone.
class SystemClock final : public Clock {
public:
    LocalDateTime localNow() const override;
};

// A clock that stands still until it is told otherwise.
class ManualClock final : public Clock {
public:
    explicit ManualClock(LocalDateTime at = {}) : at_(at) {}
    LocalDateTime localNow() const override { return at_; }
    void set(const LocalDateTime &at) { at_ = at; }

private:
    LocalDateTime at_;
};

} // namespace tonara
