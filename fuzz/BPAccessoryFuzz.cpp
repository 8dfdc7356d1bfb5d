// The monitor's engine fed anything a broken or hostile device might send,
// mixed with what the screen and the platform do meanwhile: it must not
// crash, and what it queues (output bytes, timers) stays bounded.
//
// Input: a script of one-byte operations, each followed by its arguments.

#include "base/Clock.h"
#include "base/Log.h"
#include "base/NotificationCenter.h"
#include "base/VirtualScheduler.h"
#include "device/BPAccessory.h"
#include "device/FakeAccessory.h"

#include <cstdint>
#include <cstdlib>
#include <memory>

using namespace tonara;
using namespace tonara::test;
using namespace std::chrono_literals;

namespace {

class Script {
public:
    Script(const std::uint8_t *data, std::size_t size) : data_(data), size_(size) {}
    bool done() const { return at_ >= size_; }
    std::uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
    Bytes bytes(std::size_t n)
    {
        n = std::min(n, size_ - at_);
        Bytes out(data_ + at_, data_ + at_ + n);
        at_ += n;
        return out;
    }

private:
    const std::uint8_t *data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

// A reply wait, the battery poll, a TRIV pause and the engine's own posts.
constexpr std::size_t kMaxTimers = 64;

void check(const BPAccessory &engine, const VirtualScheduler &sched)
{
    if (engine.pendingOutput() > BPAccessory::kMaxPendingOutput || sched.pendingTimers() > kMaxTimers)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const bool quiet = (Log::setSink([](const std::string &, const std::string &) {}), true);
    (void)quiet;

    VirtualScheduler sched;
    ManualClock clock{{2026, 12, 7, 13, 5, 30}};
    NotificationCenter center;
    FakeManager mgr{sched, center};
    mgr.attached.push_back({"dock", {kTonaraProtocolString}});
    auto engine = std::make_unique<BPAccessory>(mgr, sched, clock, center);

    Script script(data, size);
    while (!script.done()) {
        FakeSession *session = mgr.session;
        switch (script.byte() % 10) {
        case 0: // raw bytes, one read
            if (session)
                session->deliver(script.bytes(script.byte() % 64));
            break;
        case 1: { // a well-formed frame with any code, flags and parameters
            const std::uint8_t code = script.byte();
            const std::uint8_t byte2 = script.byte();
            const Bytes params = script.bytes(script.byte() % 16);
            if (session)
                session->deliver(deviceFrame(code, params, byte2));
            break;
        }
        case 2:
            sched.advance(Millis(10 * script.byte()));
            break;
        case 3:
            switch (script.byte() % 4) {
            case 0:
                engine->UModestart();
                break;
            case 1:
                engine->MModeStart();
                break;
            case 2:
                engine->MModeContinue();
                break;
            default:
                engine->disconnectDevice();
                break;
            }
            break;
        case 4:
            if (session) {
                const std::uint8_t e = script.byte();
                session->event(e & 1 ? StreamKind::Output : StreamKind::Input,
                               static_cast<StreamEvent>(1 << ((e >> 1) % 5)));
            }
            break;
        case 5:
            if (mgr.attached.empty())
                mgr.dock("dock");
            else
                mgr.undock("dock");
            break;
        case 6: // a slow or full output stream
            if (session) {
                const std::uint8_t w = script.byte();
                session->maxPerWrite = 1 + w % 32;
                session->space = (w & 0x80) == 0;
                if (session->space)
                    session->event(StreamKind::Output, StreamEvent::HasSpaceAvailable);
            }
            break;
        case 7:
            if (session)
                session->failNextRead = true;
            break;
        case 8:
            if (session)
                session->writeError = script.byte() % 4;
            break;
        default:
            sched.runPending();
            break;
        }
        if (mgr.session) {
            mgr.session->wire.clear(); // only kept for tests that read it
            mgr.commands.clear();
        }
        check(*engine, sched);
    }
    sched.advance(1s);
    check(*engine, sched);
    engine.reset();
    sched.advance(1s); // tasks left behind by the engine find it gone
    return 0;
}
