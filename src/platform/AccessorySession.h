#pragma once

#include <cstddef>
#include <cstdint>

namespace tonara {

// Stream events, numbered like the platform's stream event codes.
enum class StreamEvent : int {
    OpenCompleted = 1,
    HasBytesAvailable = 2,
    HasSpaceAvailable = 4,
    ErrorOccurred = 8,
    EndEncountered = 16,
};

enum class StreamKind { Input, Output };

// Receives the events of a session's two streams, on the main loop.
class AccessoryStreamDelegate {
public:
    virtual ~AccessoryStreamDelegate() = default;
    virtual void handleEvent(StreamKind stream, StreamEvent event) = 0;
};

// An open session with one accessory for one protocol: an input and an
// output byte stream. Pure interface; backends live beside it (serial port,
// in-process simulator) and in tests.
class AccessorySession {
public:
    virtual ~AccessorySession() = default;

    // Sets the delegate and opens the input stream, then the output stream.
    virtual void open(AccessoryStreamDelegate *delegate) = 0;
    // Closes both streams and clears the delegate (input first). Safe to call twice.
    virtual void close() = 0;

    // Copies up to max received bytes; returns the count, 0 when none, -1 on error.
    virtual long read(std::uint8_t *buffer, std::size_t max) = 0;
    // Writes up to count bytes; returns the count taken (maybe fewer), -1 on error.
    virtual long write(const std::uint8_t *bytes, std::size_t count) = 0;
    virtual bool hasSpaceAvailable() const = 0;
    // Whether the accessory behind the session is still attached.
    virtual bool isConnected() const = 0;
};

} // namespace tonara
