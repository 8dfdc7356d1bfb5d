#pragma once

#include "base/Scheduler.h"
#include "simulator/CuffModel.h"
#include "simulator/HostFrameCutter.h"

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace tonara {

// A Tonara+ monitor as seen from its accessory link. Host bytes go in through
// receive() in any chunking; everything the device sends comes out through
// the output callback, always from a Scheduler task, never from inside
// receive() or a control call. Device time runs speed() times faster than
// the scheduler's time.
class TonaraSimulator {
public:
    struct Patient {
        int sys = 120;
        int dia = 80;
        int heartRate = 70;
        bool pad = false;
    };
    struct Battery {
        int level = 80; // percent
        bool charging = false;
        bool failed = false;
    };
    // One reading as the result frame reports it.
    struct Reading {
        int sys = 0;
        int dia = 0;
        int heartRate = 0;
        bool pad = false;
    };
    enum class Mode { Single, Triv };
    enum class Phase { Idle, ZeroTracing, Ready, Inflating, Deflating, ResultReady };

    using Output = std::function<void(const std::uint8_t *bytes, std::size_t count)>;
    using DockObserver = std::function<void(bool docked)>;
    using TraceSink = std::function<void(const std::string &line)>;

    // Command and reply codes of the link.
    static constexpr std::uint8_t kCmdStop = 0xC0;
    static constexpr std::uint8_t kCmdConnect = 0xA0;
    static constexpr std::uint8_t kCmdTime = 0x8F;
    static constexpr std::uint8_t kCmdBattery = 0x14;
    static constexpr std::uint8_t kCmdSingleMode = 0x60;
    static constexpr std::uint8_t kCmdTrivMode = 0x62;
    static constexpr std::uint8_t kCmdStatus = 0x01;
    static constexpr std::uint8_t kCmdStartPump = 0x82;
    static constexpr std::uint8_t kCmdReadResult = 0x03;
    static constexpr std::uint8_t kReplyAck = 0x40;
    static constexpr std::uint8_t kReplyTrivAck = 0x42;
    static constexpr std::uint8_t kReplyTimeAck = 0x4F;
    static constexpr std::uint8_t kReplyBattery = 0x54;
    static constexpr std::uint8_t kReplyStatus = 0x41;
    static constexpr std::uint8_t kReplyResult = 0x43;
    static constexpr std::uint8_t kWaveSingle = 0x44;
    static constexpr std::uint8_t kWaveTriv = 0x42;
    static constexpr std::uint8_t kStartSingle = 0xA1;
    static constexpr std::uint8_t kStartTriv = 0xA2;
    static constexpr std::uint8_t kStatusZeroTracing = 0x02;
    static constexpr std::uint8_t kStatusZeroDone = 0x12;
    static constexpr std::uint8_t kErrorStopped = 11;
    static constexpr std::uint8_t kErrorLowBattery = 12;
    // At or below this level, and not charging, the pump gives up after
    // kLowBatteryPumpMs and the reading reports kErrorLowBattery.
    static constexpr int kLowBatteryLevel = 5;
    static constexpr int kLowBatteryPumpMs = 1000;

    static constexpr double kMaxSpeed = 1000.0;
    static constexpr double kMinSpeed = 0.01;
    static constexpr int kReplyDelayMs = 5;    // device time from a command to its answer
    static constexpr int kWaveIntervalMs = 10; // device time between wave frames
    static constexpr int kDefaultZeroTraceMs = 400;

    explicit TonaraSimulator(Scheduler &scheduler, std::uint32_t seed = 1);
    ~TonaraSimulator();
    TonaraSimulator(const TonaraSimulator &) = delete;
    TonaraSimulator &operator=(const TonaraSimulator &) = delete;

    // Where the device's bytes go. An empty output drops them.
    void setOutput(Output output);
    // Bytes from the host. Lost while undocked; counted but not acted on while silent.
    void receive(const std::uint8_t *bytes, std::size_t count);

    // Docking. Undocking cuts the link: a running measurement stops, bytes
    // on their way are lost, a partly received command is forgotten.
    void dock();
    void undock();
    bool isDocked() const { return docked_; }
    // Observers hear every change of the dock state, in registration order.
    int addDockObserver(DockObserver observer);
    void removeDockObserver(int token);

    // The device's two buttons: each sends its start request.
    void pressSingleButton();
    void pressTrivButton();

    void setPatient(const Patient &patient) { patient_ = patient; }
    const Patient &patient() const { return patient_; }
    // A battery at kLowBatteryLevel or below that is not charging cannot
    // finish a reading (error 12); a failed battery shows in the battery frame.
    void setBattery(const Battery &battery) { battery_ = battery; }
    const Battery &battery() const { return battery_; }
    // The next reading that completes reports this error code (1..15)
    // instead of values; 0 clears it; above 15 changes nothing. Applies once.
    void injectError(int code);
    std::optional<int> pendingError() const { return pendingError_; }
    // A silent device takes the host's bytes and does nothing with them; it
    // sends no answers and no wave frames (start requests and garbage still go out).
    void setSilent(bool silent) { silent_ = silent; }
    bool isSilent() const { return silent_; }
    // Sends count random bytes that never contain a sync word.
    void sendGarbage(std::size_t count);
    // Device time runs factor times faster: every delay is divided by it.
    // Clamped to kMinSpeed..kMaxSpeed.
    void setSpeed(double factor);
    double speed() const { return speed_; }
    // How long zero tracing lasts after the mode command, in device time.
    void setZeroTraceMs(int ms) { zeroTraceMs_ = ms < 0 ? 0 : ms; }
    int zeroTraceMs() const { return zeroTraceMs_; }

    // Inspection.
    Phase phase() const;
    Mode mode() const { return mode_; }
    int cuffPressure() const { return pressure_; }
    // Readings of the current TRIV series so far (0..2; back to 0 once complete).
    int trivReadingsDone() const { return static_cast<int>(trivReadings_.size()); }
    // The body of the result frame the device would answer now: the last
    // reading's, kept until the next pump start (a stopped reading reports 11).
    std::optional<std::vector<std::uint8_t>> lastResultBody() const;
    // The device clock as the host last set it, "yy-MM-dd hh:mm", empty if never.
    const std::string &deviceClock() const { return deviceClock_; }
    std::uint64_t framesReceived() const { return framesReceived_; }
    std::uint64_t framesRejected() const { return framesRejected_; }
    std::uint64_t framesSent() const { return framesSent_; }
    // One line for people: dock, patient, battery, phase and so on.
    std::string describe() const;
    // Human-readable lines about commands and answers (not every wave).
    void setTraceSink(TraceSink sink) { trace_ = std::move(sink); }

    static const char *phaseName(Phase phase);

private:
    enum class Kind { Answer, Unsolicited };
    // Zero tracing: not started, running until zeroDoneAt_, or done.
    enum class Zero { NotStarted, Running, Done };

    void handleFrame(const std::vector<std::uint8_t> &body);
    void send(std::vector<std::uint8_t> frame, Kind kind, int deviceDelayMs);
    void sendFrame(const std::vector<std::uint8_t> &frame, Kind kind);
    Millis realDelay(double deviceMs) const;
    void startZeroTracing();
    bool zeroTracingRunning() const;
    void startMeasurement();
    void stopMeasurement();
    void advanceDeviceTime();
    void tick();
    void restartTicker();
    void finishMeasurement();
    std::vector<std::uint8_t> stoppedResultFrame() const;
    Zero zeroState() const;
    std::vector<std::uint8_t> waveFrame(const CuffModel::Sample &s, bool end) const;
    Reading drawReading();
    void cancelAll();
    void log(const std::string &line) const;

    Scheduler &scheduler_;
    std::mt19937 rng_;
    Output output_;
    HostFrameCutter cutter_;
    std::map<int, DockObserver> dockObservers_;
    int nextObserver_ = 1;
    std::map<std::uint64_t, Scheduler::TimerId> sends_; // pending deliveries
    std::uint64_t nextSend_ = 1;
    TraceSink trace_;

    bool docked_ = true;
    bool silent_ = false;
    double speed_ = 1.0;
    int zeroTraceMs_ = kDefaultZeroTraceMs;
    Patient patient_;
    Battery battery_;
    std::optional<int> pendingError_;
    std::string deviceClock_;

    Mode mode_ = Mode::Single;
    Zero zero_ = Zero::NotStarted;
    Millis zeroDoneAt_{0};

    // The running measurement.
    std::optional<CuffModel> cuff_;
    Reading reading_;
    bool pumpStalls_ = false; // the battery is too low to finish this reading
    double deviceMs_ = 0;     // device time since the pump started
    double nextSampleMs_ = 0; // device time of the next wave frame
    Millis lastTick_{0};
    Scheduler::TimerId ticker_ = 0;
    int pressure_ = 0;

    // The result frame the host can read, kept until the next measurement
    // starts so that a repeated read-result gets the same answer.
    std::optional<std::vector<std::uint8_t>> result_;
    std::vector<Reading> trivReadings_;

    std::uint64_t framesReceived_ = 0;
    std::uint64_t framesRejected_ = 0;
    std::uint64_t framesSent_ = 0;
};

} // namespace tonara
