#pragma once

#include "base/NotificationCenter.h"
#include "base/Scheduler.h"
#include "platform/AccessoryManager.h"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace tonara::test {

using Bytes = std::vector<std::uint8_t>;

class FakeManager;

// One command frame as the device received it.
struct SentCommand {
    Millis at;
    std::uint8_t code;
    Bytes frame;
};

// A session whose wire the test sees: writes are collected and cut into
// command frames, reads are served from chunks the test queues.
class FakeSession final : public AccessorySession {
public:
    FakeSession(FakeManager &manager, std::string accessory)
        : manager_(&manager), accessory(std::move(accessory))
    {}
    ~FakeSession() override;

    void open(AccessoryStreamDelegate *d) override
    {
        delegate = d;
        opened = true;
    }
    void close() override;
    long read(std::uint8_t *buffer, std::size_t max) override
    {
        if (failNextRead) {
            failNextRead = false;
            return -1;
        }
        if (inbound.empty())
            return 0;
        Bytes &chunk = inbound.front();
        const std::size_t n = std::min(max, chunk.size());
        std::copy(chunk.begin(), chunk.begin() + static_cast<long>(n), buffer);
        chunk.erase(chunk.begin(), chunk.begin() + static_cast<long>(n));
        if (chunk.empty())
            inbound.pop_front();
        return static_cast<long>(n);
    }
    long write(const std::uint8_t *bytes, std::size_t count) override;
    bool hasSpaceAvailable() const override { return space; }
    bool isConnected() const override { return connected; }

    // Queues one read's worth of bytes and raises bytes-available.
    void deliver(const Bytes &chunk)
    {
        inbound.push_back(chunk);
        if (delegate != nullptr)
            delegate->handleEvent(StreamKind::Input, StreamEvent::HasBytesAvailable);
    }
    void event(StreamKind kind, StreamEvent e)
    {
        if (delegate != nullptr)
            delegate->handleEvent(kind, e);
    }

    FakeManager *manager_;
    std::string accessory;
    AccessoryStreamDelegate *delegate = nullptr;
    bool opened = false;
    bool closed = false;
    bool connected = true;
    bool space = true;
    bool failNextRead = false;
    long writeError = 0;                  // writes left before one returns -1 (0: never)
    std::size_t maxPerWrite = 1 << 20;    // bytes taken per write
    bool noSpaceAfterPartialWrite = true; // a short write fills the stream
    std::deque<Bytes> inbound;
    Bytes wire;    // everything written, in order
    Bytes pending; // written bytes not yet cut into a command
};

// Attached accessories, the sessions opened with them and a scriptable device
// that answers each command frame on the next turn of the loop.
class FakeManager final : public AccessoryManager {
public:
    using Device = std::function<std::vector<Bytes>(const SentCommand &)>;

    FakeManager(Scheduler &scheduler, NotificationCenter &center) : scheduler_(scheduler), center_(center) {}

    std::vector<AccessoryInfo> connectedAccessories() const override { return attached; }
    std::unique_ptr<AccessorySession> openSession(const AccessoryInfo &accessory,
                                                  const std::string &protocol) override
    {
        opened.push_back(accessory.identifier + "/" + protocol);
        auto s = std::make_unique<FakeSession>(*this, accessory.identifier);
        session = s.get();
        return s;
    }
    void registerForLocalNotifications() override { ++registered; }

    void dock(const std::string &id, const std::string &protocol = kTonaraProtocolString)
    {
        attached.push_back({id, {"com.example.other", protocol}});
        center_.post(kAccessoryDidConnectNotification, this);
    }
    void undock(const std::string &id)
    {
        std::erase_if(attached, [&](const AccessoryInfo &a) { return a.identifier == id; });
        center_.post(kAccessoryDidDisconnectNotification, this);
    }

    // Called by the session for every complete command frame on the wire.
    void received(FakeSession &s, SentCommand cmd)
    {
        commands.push_back(cmd);
        if (!device)
            return;
        FakeSession *target = &s;
        for (Bytes &reply : device(cmd))
            scheduler_.post([this, target, reply] {
                if (session == target)
                    target->deliver(reply);
            });
    }

    std::vector<std::uint8_t> codes() const
    {
        std::vector<std::uint8_t> out;
        for (const auto &c : commands)
            out.push_back(c.code);
        return out;
    }

    Scheduler &scheduler_;
    NotificationCenter &center_;
    std::vector<AccessoryInfo> attached;
    std::vector<std::string> opened;
    FakeSession *session = nullptr; // the live session, if any
    int registered = 0;
    int closedSessions = 0;
    std::vector<SentCommand> commands;
    Device device;
};

inline FakeSession::~FakeSession()
{
    if (manager_->session == this)
        manager_->session = nullptr;
}

inline void FakeSession::close()
{
    if (!closed)
        ++manager_->closedSessions;
    delegate = nullptr;
    closed = true;
}

inline long FakeSession::write(const std::uint8_t *bytes, std::size_t count)
{
    if (writeError > 0 && --writeError == 0)
        return -1;
    const std::size_t n = std::min(count, maxPerWrite);
    wire.insert(wire.end(), bytes, bytes + n);
    pending.insert(pending.end(), bytes, bytes + n);
    if (n < count && noSpaceAfterPartialWrite)
        space = false;
    // Cut whole command frames: sync word, then body byte 3 is the body length.
    while (pending.size() >= 6 && pending[0] == 0x5A && pending[1] == 0xA5 &&
           pending.size() >= 2u + pending[5]) {
        Bytes frame(pending.begin(), pending.begin() + 2 + pending[5]);
        pending.erase(pending.begin(), pending.begin() + 2 + pending[5]);
        manager_->received(*this, {manager_->scheduler_.elapsed(), frame[6], frame});
    }
    return static_cast<long>(n);
}

// A device frame: sync, 51 4B byte2 length code params, checksum.
inline Bytes deviceFrame(std::uint8_t code, Bytes params, std::uint8_t byte2 = 0x00)
{
    Bytes body{0x51, 0x4B, byte2, static_cast<std::uint8_t>(params.size() + 7), code};
    body.insert(body.end(), params.begin(), params.end());
    unsigned sum = 0;
    for (auto b : body)
        sum += b;
    Bytes frame{0x5A, 0xA5};
    frame.insert(frame.end(), body.begin(), body.end());
    frame.push_back(static_cast<std::uint8_t>((sum >> 8) & 0xFF));
    frame.push_back(static_cast<std::uint8_t>(sum & 0xFF));
    return frame;
}

inline Bytes ack(std::uint8_t code)
{
    return deviceFrame(code, {});
}
inline Bytes battery(int percent, bool charging = false, bool failed = false)
{
    return deviceFrame(0x54, {static_cast<std::uint8_t>((charging ? 0x40 : 0) | (failed ? 0x80 : 0)), 0,
                              static_cast<std::uint8_t>(percent)});
}
inline Bytes status(std::uint8_t s)
{
    return deviceFrame(0x41, {s});
}
// Wave frame: length byte 0x0F.
inline Bytes wave(int pressure, int pulse, bool beat, bool end, std::uint8_t code = 0x42)
{
    const auto b5 =
        static_cast<std::uint8_t>(((pressure >> 8) & 0x0F) | (beat ? 0x20 : 0) | (end ? 0x80 : 0));
    return deviceFrame(code, {b5, static_cast<std::uint8_t>(pressure & 0xFF), 0, 0,
                              static_cast<std::uint8_t>(pulse >> 8), static_cast<std::uint8_t>(pulse & 0xFF),
                              0, 0});
}
struct Result {
    int err = 0, sys = 0, dia = 0, hr = 0;
    bool pad = false, complete = false;
    int sysAvg = 0, diaAvg = 0, hrAvg = 0;
};
inline Bytes result(const Result &r)
{
    Bytes p(12, 0); // body bytes 5..16
    p[0] = static_cast<std::uint8_t>(r.err);
    p[1] = static_cast<std::uint8_t>(r.sys);
    p[2] = static_cast<std::uint8_t>(r.dia);
    p[5] = static_cast<std::uint8_t>(r.sysAvg);
    p[6] = static_cast<std::uint8_t>(r.diaAvg);
    p[9] = static_cast<std::uint8_t>(r.hrAvg);
    p[10] = static_cast<std::uint8_t>(r.hr);
    p[11] = static_cast<std::uint8_t>((r.pad ? 0x20 : 0) | (r.complete ? 0x40 : 0));
    return deviceFrame(0x43, p);
}
inline Bytes startRequest(std::uint8_t code)
{
    return deviceFrame(code, {}, 0x0A);
}

} // namespace tonara::test
