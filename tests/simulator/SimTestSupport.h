#pragma once

#include "base/VirtualScheduler.h"
#include "simulator/TonaraSimulator.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

namespace simtest {

using Bytes = std::vector<std::uint8_t>;

// "5A A5 51 4B" -> bytes.
inline Bytes hexBytes(const std::string &text)
{
    Bytes out;
    std::istringstream in(text);
    std::string pair;
    while (in >> pair)
        out.push_back(static_cast<std::uint8_t>(std::stoul(pair, nullptr, 16)));
    return out;
}

// A host command written the way the host writes it: sync, body, sum.
inline Bytes command(std::uint8_t code, const Bytes &params = {})
{
    Bytes wire{0x5A, 0xA5, 0x51, 0x4B, 0x00, static_cast<std::uint8_t>(7 + params.size()), code};
    for (auto b : params)
        wire.push_back(b);
    unsigned sum = 0;
    for (std::size_t i = 2; i < wire.size(); ++i)
        sum += wire[i];
    wire.push_back(static_cast<std::uint8_t>((sum >> 8) & 0xFF));
    wire.push_back(static_cast<std::uint8_t>(sum & 0xFF));
    return wire;
}

struct Frame {
    Bytes body;          // without the sync word
    std::int64_t at = 0; // scheduler time when it came out, ms
    std::uint8_t code() const { return body.at(4); }
};

// Collects what the device sends and cuts it into frames, checking every
// frame's sync word, length byte and checksum on the way.
class DeviceCapture {
public:
    DeviceCapture(tonara::TonaraSimulator &sim, tonara::VirtualScheduler &sched) : sched_(sched)
    {
        sim.setOutput([this](const std::uint8_t *b, std::size_t n) {
            raw.insert(raw.end(), b, b + n);
            cut(b, n);
        });
    }

    void cut(const std::uint8_t *b, std::size_t n)
    {
        // Every emission is whole frames (or pure garbage, which has no 5A).
        std::size_t i = 0;
        while (i < n) {
            if (i + 1 < n && b[i] == 0x5A && b[i + 1] == 0xA5) {
                ASSERT_LE(i + 6, n) << "frame cut short";
                const std::size_t len = b[i + 5];
                ASSERT_GE(len, 7u);
                ASSERT_LE(i + 2 + len, n) << "frame longer than what was sent";
                Frame f{Bytes(b + i + 2, b + i + 2 + len), sched_.elapsed().count()};
                unsigned sum = 0;
                for (std::size_t k = 0; k + 2 < len; ++k)
                    sum += f.body[k];
                EXPECT_EQ(f.body[len - 2], (sum >> 8) & 0xFF) << "checksum high byte";
                EXPECT_EQ(f.body[len - 1], sum & 0xFF) << "checksum low byte";
                EXPECT_EQ(f.body[0], 0x51);
                EXPECT_EQ(f.body[1], 0x4B);
                frames.push_back(std::move(f));
                i += 2 + len;
            } else {
                ++garbage;
                ++i;
            }
        }
    }

    void clear()
    {
        frames.clear();
        raw.clear();
        garbage = 0;
    }

    std::vector<Frame> frames;
    Bytes raw;
    std::size_t garbage = 0;

private:
    tonara::VirtualScheduler &sched_;
};

inline void send(tonara::TonaraSimulator &sim, const Bytes &wire)
{
    sim.receive(wire.data(), wire.size());
}

inline bool isWave(const Frame &f)
{
    return f.body.size() == 15 && f.body[3] == 0x0F && (f.code() == 0x42 || f.code() == 0x44);
}
inline int wavePressure(const Frame &f)
{
    return ((f.body[5] & 0x0F) << 8) | f.body[6];
}
inline int wavePulse(const Frame &f)
{
    return (f.body[9] << 8) | f.body[10];
}
inline bool waveBeat(const Frame &f)
{
    return (f.body[5] & 0x20) != 0;
}
inline bool waveEnd(const Frame &f)
{
    return (f.body[5] & 0x80) != 0;
}

} // namespace simtest
