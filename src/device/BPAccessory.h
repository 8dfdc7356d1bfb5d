#pragma once

#include "base/Clock.h"
#include "base/NotificationCenter.h"
#include "base/Scheduler.h"
#include "device/FrameCutter.h"
#include "platform/AccessoryManager.h"
#include "platform/AccessorySession.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tonara {

// The driver of the Tonara+ monitor. Runs the device's command sequences as a
// small state machine (BPState 0..10): every command waits for its answer and
// is sent again when none comes; each accepted answer leads to the next
// command. Everything it learns is announced by the notifications of
// BPAccessoryNotifications.h, with the engine as sender; observers read the
// properties below. Everything runs on the scheduler's main loop.
class BPAccessory final : public AccessoryStreamDelegate {
public:
    static constexpr Millis kWaitStep{10};
    static constexpr int kWaitSteps = 50;
    static constexpr Millis kBatteryPollInterval{3000};
    static constexpr std::size_t kBufSize = 128;
    // Bound on frames queued behind a partly written one.
    static constexpr std::size_t kMaxPendingOutput = 4096;

    // Opens the session for our protocol (and reads the battery when the
    // device is attached) and starts following accessory connects and disconnects.
    BPAccessory(AccessoryManager &manager, Scheduler &scheduler, const Clock &clock,
                NotificationCenter &center);
    ~BPAccessory() override;
    BPAccessory(const BPAccessory &) = delete;
    BPAccessory &operator=(const BPAccessory &) = delete;

    // The open session, or nullptr when no device is connected.
    AccessorySession *eas() const { return eas_; }

    // Start, continue and stop operations of the screen.
    void UModestart();
    void MModeStart();
    void MModeContinue();
    void disconnectDevice();

    // Command methods: each sets BPState and sends its command.
    void writeConnect();
    void writeTime();
    void writeReadBattery();
    void writeIntoMode();
    void writeReadStatus();
    void writeStartPump();
    void writeReadResult();
    void writeInitDevice();
    void writeReadBatteryLoop();

    // Battery poll: reads the battery now and every 3 s from then on.
    void initUnregisteredTimer();
    void ReadBatteryTimer();

    // Builds the frame of a command text, writes it and starts the reply wait.
    void WriteHex(std::string_view text);
    // The reply wait: 10 ms steps while waitflag stays set, at most 50, then
    // the follow-up of the state current at that moment.
    void waitForData();

    // Frame dispatch and decoding on buf.
    void DetectReceiveStream();
    void receiveWave();
    void receiveResult();

    // Session handling and the platform's accessory notifications.
    AccessorySession *openSessionForProtocol(const std::string &protocol);
    void closeSession();
    void accessoryDidConnect();
    void accessoryDidDisconnectNotification();

    // Stream events of the session.
    void handleEvent(StreamKind stream, StreamEvent event) override;

    // Read-only properties.
    int sys() const { return sys_; }
    int dia() const { return dia_; }
    int HR() const { return HR_; }
    int sysAvg() const { return sysAvg_; }
    int diaAvg() const { return diaAvg_; }
    int HRAvg() const { return HRAvg_; }
    int pressure() const { return pressure_; }
    int pulse() const { return pulse_; }
    int batteryPower() const { return batteryPower_; }
    int errCode() const { return errCode_; }
    int BPState() const { return BPState_; }
    bool measureCompleteFlag() const { return measureCompleteFlag_; }
    bool PADFlag() const { return PADFlag_; }
    bool HeartBeatFlag() const { return HeartBeatFlag_; }
    bool batteryCharging() const { return batteryCharging_; }
    bool batteryfailed() const { return batteryfailed_; }
    bool waitflag() const { return waitflag_; }
    bool MModeFlag() const { return MModeFlag_; }
    bool MModeFirstTimeFlag() const { return MModeFirstTimeFlag_; }
    const std::string &StatsString() const { return StatsString_; }

    // The battery poll's timer, 0 when the poll is stopped.
    Scheduler::TimerId unregisteredTimer() const { return unregisteredTimer_; }
    // The body of the frame being dispatched (zeros beyond it).
    const std::array<std::uint8_t, kBufSize> &buf() const { return buf_; }
    // Frame bytes waiting for the output stream to take them.
    std::size_t pendingOutput() const { return outPending_.size(); }

private:
    // Posts with the engine as sender. False when an observer destroyed the
    // engine meanwhile: the caller must then return without touching it.
    [[nodiscard]] bool post(const char *name);
    void stopBatteryPoll();
    void storeBattery();
    void waitStep(std::uint64_t wait, int step);
    void followUp();
    void writeFrame(const std::vector<std::uint8_t> &frame);
    void flushOutput();
    void readInput();

    AccessoryManager &manager_;
    Scheduler &scheduler_;
    const Clock &clock_;
    NotificationCenter &center_;
    // Expires with the engine, so tasks still queued on the loop do nothing.
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);

    std::unique_ptr<AccessorySession> session_;
    AccessorySession *eas_ = nullptr;
    std::array<std::uint8_t, kBufSize> buf_{};
    FrameCutter data_;
    std::vector<std::uint8_t> outPending_;
    std::string StatsString_;

    int BPState_ = 0;
    bool waitflag_ = false;
    bool MModeFlag_ = false;
    bool MModeFirstTimeFlag_ = false;
    bool measureCompleteFlag_ = false;
    int pressure_ = 0;
    int pulse_ = 0;
    bool HeartBeatFlag_ = false;
    int errCode_ = 0;
    int sys_ = 0;
    int dia_ = 0;
    int HR_ = 0;
    bool PADFlag_ = false;
    int sysAvg_ = 0;
    int diaAvg_ = 0;
    int HRAvg_ = 0;
    int batteryPower_ = 0;
    bool batteryCharging_ = false;
    bool batteryfailed_ = false;

    Scheduler::TimerId unregisteredTimer_ = 0;
    std::uint64_t nextWait_ = 1;
    std::map<std::uint64_t, Scheduler::TimerId> waits_; // running reply waits
    NotificationCenter::Token connectObserver_ = 0;
    NotificationCenter::Token disconnectObserver_ = 0;
};

} // namespace tonara
