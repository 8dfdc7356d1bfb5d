#include "device/CommandFrame.h"

#include <cstdio>

namespace tonara {

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

std::vector<std::uint8_t> CommandFrame::fromHex(std::string_view text)
{
    std::vector<std::uint8_t> frame;
    frame.reserve(2 + text.size() / 2 + 2);
    frame.push_back(kSync0);
    frame.push_back(kSync1);
    unsigned sum = 0;
    for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
        const int hi = hexValue(text[i]);
        const int lo = hexValue(text[i + 1]);
        if (hi < 0 || lo < 0)
            break;
        const auto byte = static_cast<std::uint8_t>(hi * 16 + lo);
        frame.push_back(byte);
        sum += byte;
    }
    sum &= 0xFFFF;
    frame.push_back(static_cast<std::uint8_t>(sum >> 8));
    frame.push_back(static_cast<std::uint8_t>(sum & 0xFF));
    return frame;
}

std::vector<std::uint8_t> CommandFrame::fromBody(std::span<const std::uint8_t> body)
{
    std::vector<std::uint8_t> frame;
    frame.reserve(body.size() + 4);
    frame.push_back(kSync0);
    frame.push_back(kSync1);
    frame.insert(frame.end(), body.begin(), body.end());
    const std::uint16_t sum = checksum(body);
    frame.push_back(static_cast<std::uint8_t>(sum >> 8));
    frame.push_back(static_cast<std::uint8_t>(sum & 0xFF));
    return frame;
}

std::uint16_t CommandFrame::checksum(std::span<const std::uint8_t> bytes)
{
    unsigned sum = 0;
    for (std::uint8_t b : bytes)
        sum += b;
    return static_cast<std::uint16_t>(sum & 0xFFFF);
}

std::string CommandFrame::timeText(const LocalDateTime &at)
{
    // Each field is one byte on the wire; masking keeps the text at five
    // pairs even for a clock far outside the device's range.
    char text[40];
    std::snprintf(text, sizeof text, kTimeFormat, static_cast<unsigned>(at.year - 2000) & 0xFFu,
                  static_cast<unsigned>(at.month) & 0xFFu, static_cast<unsigned>(at.day) & 0xFFu,
                  static_cast<unsigned>(at.hour) & 0xFFu, static_cast<unsigned>(at.minute) & 0xFFu);
    return text;
}

} // namespace tonara
