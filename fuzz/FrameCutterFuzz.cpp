// The frame cutter must not care how the stream is split into reads: every
// chunking gives the frames that one read of the whole stream gives, and
// after the frames are taken fewer than one frame's bytes stay queued.
//
// Input: 4 bytes that seed the chunk sizes, then the stream.

#include "device/FrameCutter.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

using tonara::FrameCutter;
using Frames = std::vector<std::vector<std::uint8_t>>;

namespace {

void drain(FrameCutter &cutter, Frames &out)
{
    for (auto frame = cutter.next(); !frame.empty(); frame = cutter.next())
        out.emplace_back(frame.begin(), frame.end());
    if (cutter.queued() >= FrameCutter::kMaxFrame)
        std::abort(); // more than one incomplete frame is being kept
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 4)
        return 0;
    std::uint32_t seed = 0;
    std::memcpy(&seed, data, 4);
    const std::uint8_t *stream = data + 4;
    const std::size_t length = size - 4;

    FrameCutter whole;
    Frames expected;
    whole.append(stream, static_cast<long>(length));
    drain(whole, expected);

    // Reads of 0 to 2 frames' length, empty and failed reads among them.
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> chunk(-1, static_cast<int>(2 * FrameCutter::kMaxFrame));
    FrameCutter pieces;
    Frames got;
    std::size_t at = 0;
    while (at < length) {
        const int n = chunk(rng);
        if (n < 0) {
            pieces.append(stream + at, -1);
        } else {
            const std::size_t take = std::min<std::size_t>(static_cast<std::size_t>(n), length - at);
            pieces.append(stream + at, static_cast<long>(take));
            at += take;
        }
        // Sometimes several reads arrive before anyone takes frames.
        if (rng() % 3 != 0)
            drain(pieces, got);
    }
    drain(pieces, got);

    if (got != expected || pieces.queued() != whole.queued())
        std::abort();
    return 0;
}
