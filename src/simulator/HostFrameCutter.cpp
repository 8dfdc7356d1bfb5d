#include "simulator/HostFrameCutter.h"

#include "simulator/SimFrame.h"

namespace tonara {

HostFrameCutter::HostFrameCutter(FrameHandler handler) : handler_(std::move(handler)) {}

void HostFrameCutter::feed(const std::uint8_t *bytes, std::size_t count)
{
    if (count == 0)
        return;
    pending_.insert(pending_.end(), bytes, bytes + count);
    cut();
}

void HostFrameCutter::reset()
{
    pending_.clear();
    ++resets_;
}

void HostFrameCutter::cut()
{
    const std::size_t n = pending_.size();
    std::size_t pos = 0; // everything before pos is consumed
    while (true) {
        std::size_t sync = pos;
        while (sync + 1 < n &&
               !(pending_[sync] == SimFrame::kSync0 && pending_[sync + 1] == SimFrame::kSync1))
            ++sync;
        if (sync + 1 >= n) {
            // No sync word left. A trailing 5A may be the first half of the next one.
            const std::size_t end = (n > pos && pending_[n - 1] == SimFrame::kSync0) ? n - 1 : n;
            skipped_ += end - pos;
            pos = end;
            break;
        }
        skipped_ += sync - pos;
        pos = sync;
        const std::size_t body = sync + 2;
        if (n < body + 4)
            break; // the length byte has not arrived yet
        const std::size_t length = pending_[body + 3];
        if (length < SimFrame::kMinBody || length > SimFrame::kMaxBody) {
            // Not a frame after all: drop this sync word and look further.
            skipped_ += 2;
            pos = body;
            continue;
        }
        if (n < body + length)
            break; // wait for the rest of the body
        const std::vector<std::uint8_t> frame(pending_.begin() + static_cast<std::ptrdiff_t>(body),
                                              pending_.begin() + static_cast<std::ptrdiff_t>(body + length));
        pos = body + length;
        const std::uint64_t resetsBefore = resets_;
        handler_(frame);
        if (resets_ != resetsBefore)
            return; // the handler dropped the stream; nothing of it is left to cut
    }
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(pos));
}

} // namespace tonara
