#include "simulator/TonaraSimulator.h"

#include "simulator/SimFrame.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace tonara {

namespace {

std::string hex(std::uint8_t b)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02X", b);
    return text;
}

const char *yesNo(bool b)
{
    return b ? "yes" : "no";
}

} // namespace

TonaraSimulator::TonaraSimulator(Scheduler &scheduler, std::uint32_t seed)
    : scheduler_(scheduler), rng_(seed),
      cutter_([this](const std::vector<std::uint8_t> &body) { handleFrame(body); })
{}

TonaraSimulator::~TonaraSimulator()
{
    cancelAll();
}

void TonaraSimulator::setOutput(Output output)
{
    output_ = std::move(output);
}

void TonaraSimulator::receive(const std::uint8_t *bytes, std::size_t count)
{
    if (!docked_)
        return;
    cutter_.feed(bytes, count);
}

// ---- docking and controls -------------------------------------------------

void TonaraSimulator::dock()
{
    if (docked_)
        return;
    docked_ = true;
    log("docked");
    const auto observers = dockObservers_;
    for (const auto &entry : observers)
        entry.second(true);
}

void TonaraSimulator::undock()
{
    if (!docked_)
        return;
    if (cuff_)
        stopMeasurement();
    docked_ = false;
    for (const auto &entry : sends_)
        scheduler_.cancel(entry.second);
    sends_.clear();
    cutter_.reset();
    zero_ = Zero::NotStarted;
    trivReadings_.clear();
    log("undocked");
    const auto observers = dockObservers_;
    for (const auto &entry : observers)
        entry.second(false);
}

int TonaraSimulator::addDockObserver(DockObserver observer)
{
    const int token = nextObserver_++;
    dockObservers_[token] = std::move(observer);
    return token;
}

void TonaraSimulator::removeDockObserver(int token)
{
    dockObservers_.erase(token);
}

void TonaraSimulator::pressSingleButton()
{
    log("button single");
    send(SimFrame::build(0x0A, kStartSingle), Kind::Unsolicited, 0);
}

void TonaraSimulator::pressTrivButton()
{
    log("button TRIV");
    send(SimFrame::build(0x0A, kStartTriv), Kind::Unsolicited, 0);
}

void TonaraSimulator::injectError(int code)
{
    if (code <= 0)
        pendingError_.reset();
    else if (code <= 0x0F) // the result frame has four bits for it; anything above is no code
        pendingError_ = code;
}

void TonaraSimulator::sendGarbage(std::size_t count)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(count);
    std::uniform_int_distribution<int> byte(0, 254);
    while (bytes.size() < count) {
        // Skipping 5A means no sync word can ever form, not even with the
        // frame that follows.
        int b = byte(rng_);
        if (b >= SimFrame::kSync0)
            ++b;
        bytes.push_back(static_cast<std::uint8_t>(b));
    }
    log("garbage " + std::to_string(count) + " bytes");
    send(std::move(bytes), Kind::Unsolicited, 0);
}

void TonaraSimulator::setSpeed(double factor)
{
    if (!(factor > 0)) // also catches NaN
        factor = 1.0;
    factor = std::clamp(factor, kMinSpeed, kMaxSpeed);
    if (cuff_)
        advanceDeviceTime(); // the time so far ran at the old speed
    speed_ = factor;
    if (cuff_)
        restartTicker();
}

// ---- inspection -------------------------------------------------------------

TonaraSimulator::Zero TonaraSimulator::zeroState() const
{
    if (zero_ == Zero::Running && scheduler_.elapsed() >= zeroDoneAt_)
        return Zero::Done;
    return zero_;
}

TonaraSimulator::Phase TonaraSimulator::phase() const
{
    if (cuff_)
        return deviceMs_ < cuff_->inflationMs() ? Phase::Inflating : Phase::Deflating;
    switch (zeroState()) {
    case Zero::Running:
        return Phase::ZeroTracing;
    case Zero::Done:
        return Phase::Ready;
    case Zero::NotStarted:
        break;
    }
    return result_ ? Phase::ResultReady : Phase::Idle;
}

const char *TonaraSimulator::phaseName(Phase phase)
{
    switch (phase) {
    case Phase::Idle:
        return "idle";
    case Phase::ZeroTracing:
        return "zero-tracing";
    case Phase::Ready:
        return "ready";
    case Phase::Inflating:
        return "inflating";
    case Phase::Deflating:
        return "deflating";
    case Phase::ResultReady:
        return "result-ready";
    }
    return "?";
}

std::optional<std::vector<std::uint8_t>> TonaraSimulator::lastResultBody() const
{
    if (!result_)
        return std::nullopt;
    return std::vector<std::uint8_t>(result_->begin() + 2, result_->end());
}

std::string TonaraSimulator::describe() const
{
    char speed[32];
    std::snprintf(speed, sizeof speed, "%g", speed_);
    std::string s;
    s += std::string("docked ") + yesNo(docked_);
    s += std::string(", silent ") + yesNo(silent_);
    s += std::string(", speed ") + speed;
    s += ", patient " + std::to_string(patient_.sys) + "/" + std::to_string(patient_.dia) + " HR " +
         std::to_string(patient_.heartRate) + " PAD " + yesNo(patient_.pad);
    s += ", battery " + std::to_string(battery_.level) + "%" + (battery_.charging ? " charging" : "") +
         (battery_.failed ? " failed" : "");
    s += ", next error " + (pendingError_ ? std::to_string(*pendingError_) : std::string("none"));
    s += std::string(", mode ") + (mode_ == Mode::Triv ? "TRIV" : "single");
    s += std::string(", phase ") + phaseName(phase());
    s += ", pressure " + std::to_string(pressure_) + " mmHg";
    if (mode_ == Mode::Triv)
        s += ", TRIV readings " + std::to_string(trivReadings_.size()) + "/3";
    s += ", zero trace " + std::to_string(zeroTraceMs_) + " ms";
    return s;
}

void TonaraSimulator::log(const std::string &line) const
{
    if (trace_)
        trace_(line);
}

// ---- the protocol -------------------------------------------------------------

void TonaraSimulator::handleFrame(const std::vector<std::uint8_t> &body)
{
    ++framesReceived_;
    if (silent_)
        return;
    if (body[0] != SimFrame::kMagic0 || body[1] != SimFrame::kMagic1 || !SimFrame::checksumMatches(body)) {
        ++framesRejected_;
        log("rx rejected frame, code " + hex(body[4]));
        return;
    }
    const std::uint8_t code = body[4];
    log("rx " + hex(code));
    switch (code) {
    case kCmdStop:
        if (cuff_)
            stopMeasurement();
        trivReadings_.clear();
        zero_ = Zero::NotStarted;
        send(SimFrame::build(0, kReplyAck), Kind::Answer, kReplyDelayMs);
        break;
    case kCmdConnect:
        send(SimFrame::build(0, kReplyAck), Kind::Answer, kReplyDelayMs);
        break;
    case kCmdTime: {
        if (body.size() != 12) {
            ++framesRejected_;
            return;
        }
        char clock[32];
        std::snprintf(clock, sizeof clock, "%02u-%02u-%02u %02u:%02u", body[5], body[6], body[7], body[8],
                      body[9]);
        deviceClock_ = clock;
        send(SimFrame::build(0, kReplyTimeAck), Kind::Answer, kReplyDelayMs);
        break;
    }
    case kCmdBattery: {
        std::uint8_t flags = 0;
        if (battery_.charging)
            flags |= 0x40;
        if (battery_.failed)
            flags |= 0x80;
        const auto level = static_cast<std::uint8_t>(std::clamp(battery_.level, 0, 255));
        send(SimFrame::build(0, kReplyBattery, {flags, 0x00, level}), Kind::Answer, kReplyDelayMs);
        break;
    }
    case kCmdSingleMode:
    case kCmdTrivMode:
        if (!cuff_) {
            const Mode wanted = code == kCmdTrivMode ? Mode::Triv : Mode::Single;
            // Entering TRIV mode again between readings keeps the series.
            if (wanted == Mode::Single || mode_ != Mode::Triv)
                trivReadings_.clear();
            mode_ = wanted;
            startZeroTracing();
        }
        send(SimFrame::build(0, code == kCmdTrivMode ? kReplyTrivAck : kReplyAck), Kind::Answer,
             kReplyDelayMs);
        break;
    case kCmdStatus: {
        if (!cuff_ && zeroState() == Zero::NotStarted)
            startZeroTracing();
        const std::uint8_t status = zeroTracingRunning() ? kStatusZeroTracing : kStatusZeroDone;
        send(SimFrame::build(0, kReplyStatus, {status}), Kind::Answer, kReplyDelayMs);
        break;
    }
    case kCmdStartPump:
        // A repeated start while the cuff runs changes nothing: the waves answer it.
        if (!cuff_)
            startMeasurement();
        break;
    case kCmdReadResult:
        if (cuff_)
            return; // nothing to read until the end bit went out
        send(result_ ? *result_ : stoppedResultFrame(), Kind::Answer, kReplyDelayMs);
        break;
    default:
        ++framesRejected_;
        break;
    }
}

void TonaraSimulator::startZeroTracing()
{
    zero_ = Zero::Running;
    zeroDoneAt_ = scheduler_.elapsed() + realDelay(zeroTraceMs_);
}

bool TonaraSimulator::zeroTracingRunning() const
{
    return zeroState() == Zero::Running;
}

TonaraSimulator::Reading TonaraSimulator::drawReading()
{
    Reading r{patient_.sys, patient_.dia, patient_.heartRate, patient_.pad};
    if (mode_ == Mode::Triv) {
        // Three readings in a row never agree exactly.
        std::uniform_int_distribution<int> sysOff(-4, 4);
        std::uniform_int_distribution<int> diaOff(-3, 3);
        std::uniform_int_distribution<int> hrOff(-3, 3);
        r.sys = std::clamp(r.sys + sysOff(rng_), 0, 255);
        r.dia = std::clamp(r.dia + diaOff(rng_), 0, 255);
        r.heartRate = std::clamp(r.heartRate + hrOff(rng_), 0, 255);
        if (patient_.heartRate == 0)
            r.heartRate = 0;
        if (r.dia > r.sys && patient_.dia <= patient_.sys)
            r.dia = r.sys;
    }
    return r;
}

void TonaraSimulator::startMeasurement()
{
    reading_ = drawReading();
    cuff_.emplace(reading_.sys, reading_.dia, reading_.heartRate, static_cast<std::uint32_t>(rng_()));
    deviceMs_ = 0;
    nextSampleMs_ = kWaveIntervalMs;
    lastTick_ = scheduler_.elapsed();
    pressure_ = 0;
    result_.reset();
    zero_ = Zero::NotStarted; // the next reading zeroes the sensor again
    pumpStalls_ = battery_.level <= kLowBatteryLevel && !battery_.charging;
    log("pump started: reading " + std::to_string(reading_.sys) + "/" + std::to_string(reading_.dia) +
        " HR " + std::to_string(reading_.heartRate) + ", inflating to " +
        std::to_string(cuff_->peakPressure()) + " mmHg");
    restartTicker();
}

void TonaraSimulator::restartTicker()
{
    if (ticker_)
        scheduler_.cancel(ticker_);
    const Millis interval = std::max(Millis(1), realDelay(kWaveIntervalMs));
    ticker_ = scheduler_.repeating(interval, [this] { tick(); });
}

void TonaraSimulator::advanceDeviceTime()
{
    const Millis now = scheduler_.elapsed();
    deviceMs_ += static_cast<double>((now - lastTick_).count()) * speed_;
    lastTick_ = now;
}

void TonaraSimulator::tick()
{
    if (!cuff_)
        return;
    advanceDeviceTime();
    const double duration = cuff_->durationMs();
    while (cuff_ && nextSampleMs_ <= deviceMs_) {
        const bool end = nextSampleMs_ >= duration || (pumpStalls_ && nextSampleMs_ >= kLowBatteryPumpMs);
        const double t = std::min(nextSampleMs_, duration);
        const CuffModel::Sample sample = cuff_->sampleAt(t, nextSampleMs_ - kWaveIntervalMs);
        pressure_ = sample.pressure;
        sendFrame(waveFrame(sample, end), Kind::Answer);
        nextSampleMs_ += kWaveIntervalMs;
        if (end)
            finishMeasurement();
    }
}

std::vector<std::uint8_t> TonaraSimulator::waveFrame(const CuffModel::Sample &s, bool end) const
{
    const int p = std::clamp(s.pressure, 0, 0x0FFF);
    std::uint8_t b5 = static_cast<std::uint8_t>((p >> 8) & 0x0F);
    if (s.heartbeat)
        b5 |= 0x20;
    if (end)
        b5 |= 0x80;
    const std::vector<std::uint8_t> data{b5,
                                         static_cast<std::uint8_t>(p & 0xFF),
                                         0x00,
                                         0x00,
                                         static_cast<std::uint8_t>(s.pulse >> 8),
                                         static_cast<std::uint8_t>(s.pulse & 0xFF),
                                         0x00,
                                         0x00};
    return SimFrame::build(0, mode_ == Mode::Triv ? kWaveTriv : kWaveSingle, data);
}

void TonaraSimulator::finishMeasurement()
{
    if (ticker_)
        scheduler_.cancel(ticker_);
    ticker_ = 0;
    cuff_.reset();
    pressure_ = 0; // the valve opens once the reading is taken

    // Result body bytes 5..16.
    std::vector<std::uint8_t> data(12, 0);
    std::optional<int> error = pendingError_;
    pendingError_.reset();
    if (!error && pumpStalls_)
        error = kErrorLowBattery;
    if (error) {
        data[0] = static_cast<std::uint8_t>(*error & 0x0F);
        log("reading ended with error " + std::to_string(*error));
    } else {
        data[1] = static_cast<std::uint8_t>(reading_.sys);
        data[2] = static_cast<std::uint8_t>(reading_.dia);
        data[10] = static_cast<std::uint8_t>(reading_.heartRate);
        data[11] = reading_.pad ? 0x20 : 0x00;
        if (mode_ == Mode::Triv) {
            trivReadings_.push_back(reading_);
            if (trivReadings_.size() == 3) {
                int sys = 0, dia = 0, hr = 0;
                for (const Reading &r : trivReadings_) {
                    sys += r.sys;
                    dia += r.dia;
                    hr += r.heartRate;
                }
                data[5] = static_cast<std::uint8_t>(sys / 3);
                data[6] = static_cast<std::uint8_t>(dia / 3);
                data[9] = static_cast<std::uint8_t>(hr / 3);
                data[11] |= 0x40;
                trivReadings_.clear();
            }
        }
        log("reading ended: " + std::to_string(reading_.sys) + "/" + std::to_string(reading_.dia) + " HR " +
            std::to_string(reading_.heartRate));
    }
    result_ = SimFrame::build(0, kReplyResult, data);
}

void TonaraSimulator::stopMeasurement()
{
    if (ticker_)
        scheduler_.cancel(ticker_);
    ticker_ = 0;
    cuff_.reset();
    pressure_ = 0;
    result_ = stoppedResultFrame();
    log("measurement stopped");
}

std::vector<std::uint8_t> TonaraSimulator::stoppedResultFrame() const
{
    std::vector<std::uint8_t> data(12, 0);
    data[0] = kErrorStopped;
    return SimFrame::build(0, kReplyResult, data);
}

// ---- output -------------------------------------------------------------------

Millis TonaraSimulator::realDelay(double deviceMs) const
{
    return Millis(static_cast<Millis::rep>(std::lround(deviceMs / speed_)));
}

void TonaraSimulator::send(std::vector<std::uint8_t> frame, Kind kind, int deviceDelayMs)
{
    if (!docked_)
        return;
    const std::uint64_t key = nextSend_++;
    const Scheduler::TimerId id =
        scheduler_.singleShot(realDelay(deviceDelayMs), [this, key, kind, frame = std::move(frame)] {
            sends_.erase(key);
            sendFrame(frame, kind);
        });
    sends_[key] = id;
}

void TonaraSimulator::sendFrame(const std::vector<std::uint8_t> &frame, Kind kind)
{
    if (!docked_ || (kind == Kind::Answer && silent_))
        return;
    const bool isFrame = frame.size() >= 2 + SimFrame::kMinBody && frame[0] == SimFrame::kSync0;
    if (isFrame) {
        ++framesSent_;
        const bool wave = frame[5] == 0x0F && (frame[6] == kWaveSingle || frame[6] == kWaveTriv);
        if (!wave)
            log("tx " + hex(frame[6]));
    }
    if (output_)
        output_(frame.data(), frame.size());
}

void TonaraSimulator::cancelAll()
{
    if (ticker_)
        scheduler_.cancel(ticker_);
    ticker_ = 0;
    for (const auto &entry : sends_)
        scheduler_.cancel(entry.second);
    sends_.clear();
}

} // namespace tonara
