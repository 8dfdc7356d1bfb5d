#pragma once

#include <string>

namespace tonara {

// One row of tonaradock_table, members in the table's column order.
struct Reading {
    int triv_id = 0;   // TRIV series number, 0 unless is_triv
    std::string date;  // "yyyy-MM-dd", local
    std::string time;  // "HH:mm:ss", local, 24-hour
    int sys = 0;       // mmHg (a TRIV reading: the device's average)
    int dia = 0;       // mmHg
    int pulse = 0;     // beats per minute
    std::string diary; // the comment, UTF-8, empty when none
    int is_triv = 0;
    int is_manual = 0;
    int user_id = 0;
    int is_pad = 0;

    bool operator==(const Reading &) const = default;
};

} // namespace tonara
