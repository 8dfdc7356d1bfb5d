#include "simulator/SimFrame.h"

namespace tonara {

std::uint16_t SimFrame::checksum(const std::uint8_t *bytes, std::size_t count)
{
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < count; ++i)
        sum += bytes[i];
    return static_cast<std::uint16_t>(sum & 0xFFFF);
}

std::vector<std::uint8_t> SimFrame::build(std::uint8_t byte2, std::uint8_t code,
                                          const std::vector<std::uint8_t> &data)
{
    const std::size_t bodyLength = kMinBody + data.size();
    std::vector<std::uint8_t> frame;
    frame.reserve(2 + bodyLength);
    frame.push_back(kSync0);
    frame.push_back(kSync1);
    frame.push_back(kMagic0);
    frame.push_back(kMagic1);
    frame.push_back(byte2);
    frame.push_back(static_cast<std::uint8_t>(bodyLength));
    frame.push_back(code);
    frame.insert(frame.end(), data.begin(), data.end());
    const std::uint16_t sum = checksum(frame.data() + 2, frame.size() - 2);
    frame.push_back(static_cast<std::uint8_t>(sum >> 8));
    frame.push_back(static_cast<std::uint8_t>(sum & 0xFF));
    return frame;
}

bool SimFrame::checksumMatches(const std::vector<std::uint8_t> &body)
{
    if (body.size() < kMinBody)
        return false;
    const std::size_t n = body.size() - 2;
    const std::uint16_t sum = checksum(body.data(), n);
    return body[n] == (sum >> 8) && body[n + 1] == (sum & 0xFF);
}

} // namespace tonara
