#include "device/CommandFrame.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace tonara;
using Bytes = std::vector<std::uint8_t>;

TEST(CommandFrame, EveryCommandOfTheTableHasItsWireBytes)
{
    const std::vector<std::pair<const char *, Bytes>> table = {
        {CommandFrame::kOpen, {0x5A, 0xA5, 0x51, 0x4B, 0x00, 0x07, 0xC0, 0x01, 0x63}},
        {CommandFrame::kConnect, {0x5A, 0xA5, 0x51, 0x4B, 0x00, 0x07, 0xA0, 0x01, 0x43}},
        {CommandFrame::kReadBattery, {0x5A, 0xA5, 0x51, 0x4B, 0x00, 0x07, 0x14, 0x00, 0xB7}},
        {CommandFrame::kSingleMode, {0x5A, 0xA5, 0x51, 0x4B, 0x00, 0x07, 0x60, 0x01, 0x03}},
        {CommandFrame::kTrivMode, {0x5A, 0xA5, 0x51, 0x4B, 0x00, 0x07, 0x62, 0x01, 0x05}},
        {CommandFrame::kReadStatus, {0x5A, 0xA5, 0x51, 0x4B, 0x00, 0x07, 0x01, 0x00, 0xA4}},
        {CommandFrame::kStartPump, {0x5A, 0xA5, 0x51, 0x4B, 0x00, 0x07, 0x82, 0x01, 0x25}},
        {CommandFrame::kReadResult, {0x5A, 0xA5, 0x51, 0x4B, 0x00, 0x07, 0x03, 0x00, 0xA6}},
    };
    for (const auto &[text, wire] : table)
        EXPECT_EQ(CommandFrame::fromHex(text), wire) << text;
}

TEST(CommandFrame, TimeCommandCarriesYearMonthDayHourMinuteAndNoSeconds)
{
    const LocalDateTime at{2026, 12, 7, 13, 5, 42};
    EXPECT_EQ(CommandFrame::timeText(at), "514b000c8f1a0C070D05");
    EXPECT_EQ(CommandFrame::fromHex(CommandFrame::timeText(at)),
              (Bytes{0x5A, 0xA5, 0x51, 0x4B, 0x00, 0x0C, 0x8F, 0x1A, 0x0C, 0x07, 0x0D, 0x05, 0x01, 0x76}));
    // Last minute of a year: every field at its largest.
    EXPECT_EQ(CommandFrame::timeText({2099, 12, 31, 23, 59, 59}), "514b000c8f630C1F173B");
}

TEST(CommandFrame, MalformedTextsAreCutAtTheFirstBadPairWithAChecksumOverWhatWasTaken)
{
    // Odd digit dropped: 51 4B 00 07 sum to 0xA3.
    EXPECT_EQ(CommandFrame::fromHex("514b00071"), (Bytes{0x5A, 0xA5, 0x51, 0x4B, 0x00, 0x07, 0x00, 0xA3}));
    // Stops at "zz" although valid pairs follow.
    EXPECT_EQ(CommandFrame::fromHex("514bzz07c0"), (Bytes{0x5A, 0xA5, 0x51, 0x4B, 0x00, 0x9C}));
    // Half-bad pair ("0g") stops too; a sign or space is not a digit.
    EXPECT_EQ(CommandFrame::fromHex("510g4b"), (Bytes{0x5A, 0xA5, 0x51, 0x00, 0x51}));
    EXPECT_EQ(CommandFrame::fromHex(" 51"), (Bytes{0x5A, 0xA5, 0x00, 0x00}));
    EXPECT_EQ(CommandFrame::fromHex(""), (Bytes{0x5A, 0xA5, 0x00, 0x00}));
    // Case does not matter.
    EXPECT_EQ(CommandFrame::fromHex("514B0007C0"), CommandFrame::fromHex("514b0007c0"));
}

TEST(CommandFrame, ChecksumWrapsAt65536AndMatchesFromBody)
{
    std::string text;
    for (int i = 0; i < 300; ++i)
        text += "ff";
    const Bytes frame = CommandFrame::fromHex(text);
    ASSERT_EQ(frame.size(), 2u + 300u + 2u);
    // 300 * 255 = 76500 = 0x12AD4, kept modulo 65536.
    EXPECT_EQ(frame[302], 0x2A);
    EXPECT_EQ(frame[303], 0xD4);

    const Bytes body{0x51, 0x4B, 0x00, 0x07, 0xC0};
    EXPECT_EQ(CommandFrame::fromBody(body), CommandFrame::fromHex(CommandFrame::kOpen));
}
