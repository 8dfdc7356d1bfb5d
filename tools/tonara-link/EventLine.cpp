#include "EventLine.h"

#include "device/BPAccessory.h"
#include "device/BPAccessoryNotifications.h"

#include <sstream>

namespace tonara {

namespace {

class JsonObject {
public:
    explicit JsonObject(const std::string &event) { out_ << "{\"event\":\"" << escaped(event) << '"'; }
    JsonObject &add(const char *key, int value)
    {
        out_ << ",\"" << key << "\":" << value;
        return *this;
    }
    JsonObject &add(const char *key, bool value)
    {
        out_ << ",\"" << key << "\":" << (value ? "true" : "false");
        return *this;
    }
    std::string str() const { return out_.str() + "}"; }

private:
    static std::string escaped(const std::string &s)
    {
        std::string r;
        for (const char c : s) {
            if (c == '"' || c == '\\')
                r += '\\';
            if (static_cast<unsigned char>(c) < 0x20)
                continue; // names never hold control characters; never emit them raw
            r += c;
        }
        return r;
    }
    std::ostringstream out_;
};

void addBattery(JsonObject &j, const BPAccessory &e)
{
    j.add("batteryPower", e.batteryPower())
        .add("batteryCharging", e.batteryCharging())
        .add("batteryfailed", e.batteryfailed());
}

void addReading(JsonObject &j, const BPAccessory &e)
{
    j.add("errCode", e.errCode());
    if (e.errCode() == 0)
        j.add("sys", e.sys()).add("dia", e.dia()).add("HR", e.HR()).add("PADFlag", e.PADFlag());
}

} // namespace

std::string EventLine::format(const std::string &name, const BPAccessory &engine,
                              bool afterPlatformDisconnect)
{
    JsonObject j(name);
    if (name == kBPaccessoryDidConnectNotification) {
        if (!afterPlatformDisconnect)
            addBattery(j, engine);
    } else if (name == kBPaccessorySendBatteryPowerNotification) {
        addBattery(j, engine);
    } else if (name == kBPaccessorySendWaveNotification) {
        j.add("pressure", engine.pressure())
            .add("pulse", engine.pulse())
            .add("HeartBeatFlag", engine.HeartBeatFlag());
    } else if (name == kBPaccessoryUModeReportNotification) {
        addReading(j, engine);
    } else if (name == kBPaccessoryMModeReportNotification) {
        addReading(j, engine);
        j.add("measureCompleteFlag", engine.measureCompleteFlag());
        // Error 11 also completes a series, but carries no averages.
        if (engine.errCode() == 0 && engine.measureCompleteFlag())
            j.add("sysAvg", engine.sysAvg()).add("diaAvg", engine.diaAvg()).add("HRAvg", engine.HRAvg());
    }
    return j.str();
}

} // namespace tonara
