#pragma once

// What tonara-report does, apart from the process around it: reads the
// options, finds what to report, writes the PDF. Messages go to err.
//
//   ReportCommand cmd(clock);
//   int status = cmd.run({"--data-dir", dir, "--week", "--out", "w.pdf"}, std::cerr);

#include <ostream>
#include <string>
#include <vector>

namespace tonara {

class Clock;

class ReportCommand {
public:
    static constexpr int kWritten = 0;
    static constexpr int kNothingToReport = 1;
    static constexpr int kUsage = 2;
    static constexpr int kNotWritten = 3;

    explicit ReportCommand(const Clock &clock) : clock_(clock) {}

    int run(const std::vector<std::string> &args, std::ostream &out, std::ostream &err) const;
    static std::string usage();

private:
    const Clock &clock_;
};

} // namespace tonara
