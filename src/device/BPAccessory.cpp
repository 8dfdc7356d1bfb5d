#include "device/BPAccessory.h"

#include "base/Log.h"
#include "device/BPAccessoryNotifications.h"
#include "device/CommandFrame.h"

#include <algorithm>

namespace tonara {

namespace {

constexpr std::uint8_t kStartRequestSingle[5] = {0x51, 0x4B, 0x0A, 0x07, 0xA1};
constexpr std::uint8_t kStartRequestTriv[5] = {0x51, 0x4B, 0x0A, 0x07, 0xA2};

void log(const char *line)
{
    Log::write("device", line);
}

} // namespace

BPAccessory::BPAccessory(AccessoryManager &manager, Scheduler &scheduler, const Clock &clock,
                         NotificationCenter &center)
    : manager_(manager), scheduler_(scheduler), clock_(clock), center_(center)
{
    eas_ = openSessionForProtocol(kTonaraProtocolString);
    if (eas_ != nullptr && eas_->isConnected())
        writeInitDevice();
    connectObserver_ =
        center_.addObserver(kAccessoryDidConnectNotification,
                            [this](const std::string &, const void *) { accessoryDidConnect(); });
    disconnectObserver_ =
        center_.addObserver(kAccessoryDidDisconnectNotification, [this](const std::string &, const void *) {
            accessoryDidDisconnectNotification();
        });
    manager_.registerForLocalNotifications();
}

BPAccessory::~BPAccessory()
{
    center_.removeObserver(connectObserver_);
    center_.removeObserver(disconnectObserver_);
    stopBatteryPoll();
    for (const auto &[wait, timer] : waits_)
        scheduler_.cancel(timer);
    waits_.clear();
    closeSession();
}

// ---- start, continue, stop -------------------------------------------------

void BPAccessory::UModestart()
{
    stopBatteryPoll();
    MModeFlag_ = false;
    BPState_ = 0;
    WriteHex(CommandFrame::kOpen);
}

void BPAccessory::MModeStart()
{
    stopBatteryPoll();
    measureCompleteFlag_ = false;
    MModeFlag_ = true;
    MModeFirstTimeFlag_ = true;
    BPState_ = 0;
    WriteHex(CommandFrame::kOpen);
}

void BPAccessory::MModeContinue()
{
    measureCompleteFlag_ = false;
    MModeFlag_ = true;
    writeReadStatus();
}

void BPAccessory::disconnectDevice()
{
    stopBatteryPoll();
    BPState_ = 8;
    WriteHex(CommandFrame::kOpen);
}

// ---- commands ----------------------------------------------------------------

void BPAccessory::writeConnect()
{
    BPState_ = 1;
    WriteHex(CommandFrame::kConnect);
}

void BPAccessory::writeTime()
{
    BPState_ = 2;
    WriteHex(CommandFrame::timeText(clock_.localNow()));
}

void BPAccessory::writeReadBattery()
{
    BPState_ = 3;
    WriteHex(CommandFrame::kReadBattery);
}

void BPAccessory::writeIntoMode()
{
    BPState_ = 4;
    WriteHex(MModeFlag_ ? CommandFrame::kTrivMode : CommandFrame::kSingleMode);
}

void BPAccessory::writeReadStatus()
{
    BPState_ = 5;
    WriteHex(CommandFrame::kReadStatus);
}

void BPAccessory::writeStartPump()
{
    BPState_ = 6;
    WriteHex(CommandFrame::kStartPump);
}

void BPAccessory::writeReadResult()
{
    BPState_ = 7;
    WriteHex(CommandFrame::kReadResult);
}

void BPAccessory::writeInitDevice()
{
    BPState_ = 9;
    WriteHex(CommandFrame::kReadBattery);
}

void BPAccessory::writeReadBatteryLoop()
{
    BPState_ = 10;
    WriteHex(CommandFrame::kReadBattery);
}

// ---- battery poll ------------------------------------------------------------

void BPAccessory::initUnregisteredTimer()
{
    writeReadBatteryLoop();
    stopBatteryPoll();
    std::weak_ptr<int> alive = alive_;
    unregisteredTimer_ = scheduler_.repeating(kBatteryPollInterval, [this, alive] {
        if (!alive.expired())
            ReadBatteryTimer();
    });
}

void BPAccessory::ReadBatteryTimer()
{
    writeReadBatteryLoop();
}

void BPAccessory::stopBatteryPoll()
{
    if (unregisteredTimer_ != 0)
        scheduler_.cancel(unregisteredTimer_);
    unregisteredTimer_ = 0;
}

// ---- sending and the reply wait ------------------------------------------------

void BPAccessory::WriteHex(std::string_view text)
{
    waitflag_ = true;
    buf_.fill(0);
    writeFrame(CommandFrame::fromHex(text));
    waitForData();
}

void BPAccessory::writeFrame(const std::vector<std::uint8_t> &frame)
{
    if (eas_ == nullptr)
        return; // no device: the reply wait keeps asking until one appears
    if (outPending_.empty()) {
        // Nothing of this frame is on the wire yet, so dropping it whole is
        // safe; the reply wait sends the command again.
        if (!eas_->hasSpaceAvailable())
            return;
        outPending_ = frame;
    } else {
        // Behind a partly written frame: queue it whole so the device only
        // ever sees complete frames.
        if (outPending_.size() + frame.size() > kMaxPendingOutput)
            return;
        outPending_.insert(outPending_.end(), frame.begin(), frame.end());
    }
    flushOutput();
}

void BPAccessory::flushOutput()
{
    std::size_t done = 0;
    while (eas_ != nullptr && done < outPending_.size() && eas_->hasSpaceAvailable()) {
        const long n = eas_->write(outPending_.data() + done, outPending_.size() - done);
        if (n < 0) {
            log("write error");
            outPending_.clear();
            return;
        }
        if (n == 0)
            break; // nothing taken: wait for the next space-available event
        done += std::min(static_cast<std::size_t>(n), outPending_.size() - done);
    }
    outPending_.erase(outPending_.begin(), outPending_.begin() + static_cast<std::ptrdiff_t>(done));
}

void BPAccessory::waitForData()
{
    // A new command supersedes the waits of earlier ones: their follow-ups
    // would only act on the same current state again. Without this, every
    // poll tick or start press against a silent device added one more resend
    // chain that never ends, and the command rate grew without bound.
    for (const auto &[wait, timer] : waits_)
        scheduler_.cancel(timer);
    waits_.clear();
    waitStep(nextWait_++, 1);
}

void BPAccessory::waitStep(std::uint64_t wait, int step)
{
    std::weak_ptr<int> alive = alive_;
    waits_[wait] = scheduler_.singleShot(kWaitStep, [this, alive, wait, step] {
        if (alive.expired())
            return;
        if (waitflag_ && step < kWaitSteps) {
            waitStep(wait, step + 1);
            return;
        }
        waits_.erase(wait);
        scheduler_.post([this, alive] {
            if (!alive.expired())
                followUp();
        });
    });
}

void BPAccessory::followUp()
{
    if (!waitflag_) {
        switch (BPState_) {
        case 0:
            writeConnect();
            break;
        case 1:
            writeTime();
            break;
        case 2:
            writeReadBattery();
            break;
        case 3:
            writeIntoMode();
            break;
        case 4:
            // Between the readings of a TRIV series the screen resumes with MModeContinue.
            if (!(MModeFlag_ && !MModeFirstTimeFlag_))
                writeReadStatus();
            break;
        case 5:
            writeStartPump();
            break;
        case 8:
            initUnregisteredTimer();
            break;
        case 9:
            // The monitor may have been undocked between its answer and this
            // follow-up; announcing it now would contradict the disconnect.
            if (eas_ == nullptr)
                break;
            StatsString_ = "Connect";
            if (post(kBPaccessoryDidConnectNotification))
                initUnregisteredTimer();
            break;
        default: // 6: wave frames drive the measurement; 7, 10: done
            break;
        }
        return;
    }
    // No answer: send the command of the current state again, without limit.
    switch (BPState_) {
    case 0:
        if (MModeFlag_)
            MModeStart();
        else
            UModestart();
        break;
    case 1:
        writeConnect();
        break;
    case 2:
        writeTime();
        break;
    case 3:
        writeReadBattery();
        break;
    case 4:
        writeIntoMode();
        break;
    case 5:
        writeReadStatus();
        break;
    case 6:
        writeStartPump();
        break;
    case 7:
        writeReadResult();
        break;
    case 8:
        disconnectDevice();
        break;
    case 9:
        writeInitDevice();
        break;
    case 10:
        writeReadBatteryLoop();
        break;
    default:
        break;
    }
}

// ---- receiving -----------------------------------------------------------------

void BPAccessory::handleEvent(StreamKind stream, StreamEvent event)
{
    buf_.fill(0);
    if (event == StreamEvent::ErrorOccurred) {
        log("Stream error Occured");
        return;
    }
    if (event == StreamEvent::HasSpaceAvailable && stream == StreamKind::Output) {
        flushOutput();
        return;
    }
    if (event != StreamEvent::HasBytesAvailable)
        return;
    readInput();
}

void BPAccessory::readInput()
{
    std::weak_ptr<int> alive = alive_;
    std::uint8_t chunk[kBufSize];
    for (bool first = true;; first = false) {
        if (eas_ == nullptr)
            return;
        const long n = eas_->read(chunk, sizeof chunk);
        if (n < 0)
            return; // a failed read brings no bytes
        if (n == 0) {
            if (first)
                log("no buffer!");
            return;
        }
        data_.append(chunk, n);
        for (auto body = data_.next(); !body.empty(); body = data_.next()) {
            buf_.fill(0);
            std::copy(body.begin(), body.end(), buf_.begin());
            DetectReceiveStream();
            if (alive.expired())
                return; // an observer destroyed the engine
        }
        // A full read may leave more behind; a short one has emptied the stream.
        if (static_cast<std::size_t>(n) < sizeof chunk)
            return;
    }
}

void BPAccessory::storeBattery()
{
    batteryPower_ = buf_[7];
    batteryCharging_ = (buf_[5] & 0x40) != 0;
    batteryfailed_ = (buf_[5] & 0x80) != 0;
}

void BPAccessory::DetectReceiveStream()
{
    // The tests run in this order and each reads the state afresh: an action
    // may send a command, which changes the state and clears buf.
    if (std::equal(kStartRequestSingle, kStartRequestSingle + 5, buf_.begin())) {
        (void)post(kBPaccessoryReceiveStartNotification);
        return;
    }
    if (std::equal(kStartRequestTriv, kStartRequestTriv + 5, buf_.begin())) {
        (void)post(kBPaccessoryReceive3TRIVNotification);
        return;
    }
    const auto code = [this] { return buf_[4]; };
    if (code() == 0x40 && BPState_ == 8)
        waitflag_ = false;
    if (code() == 0x40 && BPState_ == 0)
        waitflag_ = false;
    if (code() == 0x40 && BPState_ == 1)
        waitflag_ = false;
    if (code() == 0x4F && BPState_ == 2)
        waitflag_ = false;
    if (code() == 0x54 && BPState_ == 3) {
        waitflag_ = false;
        storeBattery();
    }
    if (code() == 0x54 && BPState_ == 9) {
        waitflag_ = false;
        storeBattery();
    }
    if (code() == 0x54 && BPState_ == 10) {
        waitflag_ = false;
        storeBattery();
        if (!post(kBPaccessorySendBatteryPowerNotification))
            return;
    }
    if (code() == 0x40 && BPState_ == 4 && !MModeFlag_)
        waitflag_ = false;
    if (code() == 0x42 && BPState_ == 4 && MModeFlag_)
        waitflag_ = false;
    if (code() == 0x41 && BPState_ == 5 && buf_[5] == 0x12) {
        waitflag_ = false;
        if (!post(kBPaccessoryZeroTraceSuccessNotification))
            return;
    }
    if (code() == 0x41 && BPState_ == 5 && buf_[5] == 0x02) {
        // Not accepted: the status is asked again after the wait.
        if (!post(kBPaccessoryZeroTracingNotification))
            return;
    }
    const auto isWave = [this] {
        return buf_[0] == 0x51 && (buf_[4] == 0x42 || buf_[4] == 0x44) && buf_[3] == 0x0F;
    };
    if (isWave() && BPState_ == 6) {
        waitflag_ = false;
        const std::weak_ptr<int> alive = alive_;
        receiveWave();
        if (alive.expired())
            return;
        if ((buf_[5] & 0x80) != 0)
            writeReadResult();
    }
    // The device finished a reading while the engine waited for the screen.
    if (isWave() && BPState_ == 4 && (buf_[5] & 0x80) != 0)
        writeReadResult();
    if (code() == 0x43 && BPState_ == 7) {
        waitflag_ = false;
        receiveResult();
    }
}

void BPAccessory::receiveWave()
{
    pressure_ = ((buf_[5] & 0x0F) << 8) | buf_[6];
    pulse_ = (buf_[9] << 8) | buf_[10];
    HeartBeatFlag_ = (buf_[5] & 0x20) != 0;
    (void)post(kBPaccessorySendWaveNotification);
}

void BPAccessory::receiveResult()
{
    errCode_ = buf_[5] & 0x0F;
    if (errCode_ == 0) {
        sys_ = buf_[6];
        dia_ = buf_[7];
        HR_ = buf_[15];
        PADFlag_ = (buf_[16] & 0x20) != 0;
        if ((buf_[16] & 0x40) != 0 && MModeFlag_) {
            measureCompleteFlag_ = true;
            sysAvg_ = buf_[10];
            diaAvg_ = buf_[11];
            HRAvg_ = buf_[14];
        }
    }
    if (errCode_ == 11) {
        // The device needs the stop command after this error; it also ends a TRIV series.
        measureCompleteFlag_ = true;
        disconnectDevice();
    }
    if (!MModeFlag_) {
        if (post(kBPaccessoryUModeReportNotification))
            initUnregisteredTimer();
        return;
    }
    if (!post(kBPaccessoryMModeReportNotification))
        return;
    if (measureCompleteFlag_) {
        initUnregisteredTimer();
    } else {
        MModeFirstTimeFlag_ = false;
        writeIntoMode();
    }
}

// ---- session -------------------------------------------------------------------

AccessorySession *BPAccessory::openSessionForProtocol(const std::string &protocol)
{
    closeSession();
    for (const AccessoryInfo &accessory : manager_.connectedAccessories()) {
        const auto &protocols = accessory.protocolStrings;
        if (std::find(protocols.begin(), protocols.end(), protocol) == protocols.end())
            continue;
        session_ = manager_.openSession(accessory, protocol);
        break; // only the first accessory offering the protocol is tried
    }
    if (session_)
        session_->open(this);
    return session_.get();
}

void BPAccessory::closeSession()
{
    if (session_)
        session_->close();
    // eas refers to this session; it must not outlive it.
    if (eas_ == session_.get())
        eas_ = nullptr;
    session_.reset();
    // Bytes of the old stream mean nothing on a new one.
    data_.clear();
    outPending_.clear();
}

void BPAccessory::accessoryDidConnect()
{
    eas_ = openSessionForProtocol(kTonaraProtocolString);
    if (eas_ != nullptr)
        writeInitDevice();
}

void BPAccessory::accessoryDidDisconnectNotification()
{
    eas_ = openSessionForProtocol(kTonaraProtocolString);
    if (eas_ != nullptr) {
        StatsString_ = "Connect";
        (void)post(kBPaccessoryDidConnectNotification);
    } else {
        stopBatteryPoll();
        StatsString_ = "Disconnect";
        (void)post(kBPaccessoryDidDisconnectNotification);
    }
}

bool BPAccessory::post(const char *name)
{
    // Observers may destroy the engine (a screen or tool closing on a report).
    const std::weak_ptr<int> alive = alive_;
    center_.post(name, this);
    return !alive.expired();
}

} // namespace tonara
