#include "device/FrameCutter.h"

#include "FakeAccessory.h"

#include <gtest/gtest.h>

#include <random>

using namespace tonara;
using tonara::test::Bytes;
using tonara::test::deviceFrame;

namespace {

Bytes bodyOf(const Bytes &frame)
{
    return Bytes(frame.begin() + 2, frame.end());
}

// Feeds the reads one by one and records, after each read, the bodies cut.
std::vector<std::vector<Bytes>> feed(FrameCutter &cutter, const std::vector<Bytes> &reads)
{
    std::vector<std::vector<Bytes>> out;
    for (const Bytes &r : reads) {
        cutter.append(r.data(), static_cast<long>(r.size()));
        out.emplace_back();
        for (auto b = cutter.next(); !b.empty(); b = cutter.next())
            out.back().emplace_back(b.begin(), b.end());
    }
    return out;
}

Bytes concat(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes &p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

const Bytes ackFrame = deviceFrame(0x40, {});
const Bytes waveFrame = test::wave(812, 0x1234, true, false);

} // namespace

TEST(FrameCutter, WholeFramesComeOutOnceEachInTheReadThatCompletesThem)
{
    FrameCutter c;
    // One frame per read.
    EXPECT_EQ(feed(c, {ackFrame, waveFrame}),
              (std::vector<std::vector<Bytes>>{{bodyOf(ackFrame)}, {bodyOf(waveFrame)}}));
    EXPECT_EQ(c.queued(), 0u);

    // Two frames in one read.
    EXPECT_EQ(feed(c, {concat({waveFrame, ackFrame})}),
              (std::vector<std::vector<Bytes>>{{bodyOf(waveFrame), bodyOf(ackFrame)}}));

    // Split over two reads inside the sync word, and over three reads with the
    // length byte arriving alone.
    const Bytes w = waveFrame;
    EXPECT_EQ(feed(c, {Bytes(w.begin(), w.begin() + 1), Bytes(w.begin() + 1, w.end())}),
              (std::vector<std::vector<Bytes>>{{}, {bodyOf(w)}}));
    EXPECT_EQ(feed(c, {Bytes(w.begin(), w.begin() + 5), Bytes(w.begin() + 5, w.begin() + 6),
                       Bytes(w.begin() + 6, w.end())}),
              (std::vector<std::vector<Bytes>>{{}, {}, {bodyOf(w)}}));

    // A frame completed together with the start of the next one.
    const Bytes both = concat({w, ackFrame});
    EXPECT_EQ(feed(c, {Bytes(both.begin(), both.begin() + 10), Bytes(both.begin() + 10, both.end() - 3),
                       Bytes(both.end() - 3, both.end())}),
              (std::vector<std::vector<Bytes>>{{}, {bodyOf(w)}, {bodyOf(ackFrame)}}));
    EXPECT_EQ(c.queued(), 0u);
}

TEST(FrameCutter, LargestFrameFillsA128ByteRead)
{
    Bytes params(126 - 7, 0);
    for (std::size_t i = 0; i < params.size(); ++i)
        params[i] = static_cast<std::uint8_t>(i);
    const Bytes big = deviceFrame(0x43, params);
    ASSERT_EQ(big.size(), 128u);
    FrameCutter c;
    const auto out = feed(c, {big});
    ASSERT_EQ(out[0].size(), 1u);
    EXPECT_EQ(out[0][0], bodyOf(big));
}

TEST(FrameCutter, GarbageAndImpossibleLengthsAreSkippedToTheNextSyncWord)
{
    FrameCutter c;
    // Garbage with lone sync halves before and between frames.
    const Bytes junk{0x00, 0x5A, 0x13, 0xA5, 0xFF, 0x5A};
    EXPECT_EQ(feed(c, {concat({junk, ackFrame, junk, waveFrame, junk})}),
              (std::vector<std::vector<Bytes>>{{bodyOf(ackFrame), bodyOf(waveFrame)}}));

    // Sync words whose length byte is 0, 6, 127 or 255 are not frames; the
    // frame right behind each is still found.
    for (std::uint8_t bad : {0, 6, 127, 255}) {
        const Bytes fake{0x5A, 0xA5, 0x51, 0x4B, 0x00, bad, 0x40};
        EXPECT_EQ(feed(c, {concat({fake, ackFrame})}), (std::vector<std::vector<Bytes>>{{bodyOf(ackFrame)}}))
            << int(bad);
    }
    // A bad sync that ends the read leaves nothing that swallows the next frame.
    EXPECT_EQ(feed(c, {Bytes{0x5A, 0xA5, 0x51, 0x4B, 0x00, 0x00}, ackFrame}),
              (std::vector<std::vector<Bytes>>{{}, {bodyOf(ackFrame)}}));
    EXPECT_EQ(c.queued(), 0u);
}

TEST(FrameCutter, FailedReadAddsNothingAndGarbageDoesNotGrowTheQueue)
{
    FrameCutter c;
    const Bytes half(waveFrame.begin(), waveFrame.begin() + 8);
    c.append(half.data(), static_cast<long>(half.size()));
    EXPECT_TRUE(c.next().empty());
    c.append(waveFrame.data(), -1);
    EXPECT_EQ(c.queued(), half.size());
    const Bytes rest(waveFrame.begin() + 8, waveFrame.end());
    EXPECT_EQ(feed(c, {rest}), (std::vector<std::vector<Bytes>>{{bodyOf(waveFrame)}}));

    std::mt19937 rng(7);
    std::size_t most = 0;
    for (int i = 0; i < 10000; ++i) {
        Bytes r(128);
        for (auto &b : r)
            b = static_cast<std::uint8_t>(rng());
        c.append(r.data(), static_cast<long>(r.size()));
        while (!c.next().empty()) {
        }
        most = std::max(most, c.queued());
    }
    EXPECT_LT(most, FrameCutter::kMaxFrame);
}

TEST(FrameCutter, AnyWayOfSplittingAStreamYieldsTheSameFrames)
{
    // Frames of every length with garbage (free of 0x5A) between them, cut into
    // random reads: the bodies come out whole, in order, once.
    std::mt19937 rng(42);
    Bytes stream;
    std::vector<Bytes> expected;
    for (int len = 7; len <= 126; ++len) {
        Bytes params(static_cast<std::size_t>(len - 7));
        for (auto &b : params)
            b = static_cast<std::uint8_t>(rng() % 0x50);
        const Bytes f = deviceFrame(static_cast<std::uint8_t>(len), params);
        expected.push_back(bodyOf(f));
        stream.insert(stream.end(), f.begin(), f.end());
        for (unsigned g = rng() % 4; g > 0; --g)
            stream.push_back(static_cast<std::uint8_t>(rng() % 0x50));
    }
    for (int round = 0; round < 20; ++round) {
        FrameCutter c;
        std::vector<Bytes> got;
        for (std::size_t at = 0; at < stream.size();) {
            const std::size_t n = std::min<std::size_t>(1 + rng() % 128, stream.size() - at);
            for (const auto &bodies : feed(c, {Bytes(stream.begin() + static_cast<long>(at),
                                                     stream.begin() + static_cast<long>(at + n))}))
                got.insert(got.end(), bodies.begin(), bodies.end());
            at += n;
        }
        EXPECT_EQ(got, expected) << "round " << round;
    }
}
