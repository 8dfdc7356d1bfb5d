#pragma once

namespace tonara {

// Posted by BPAccessory on its notification centre with the engine as sender
// and no payload; observers read the engine's properties.
inline constexpr const char *kBPaccessoryDidConnectNotification = "BPaccessoryDidConnectNotification";
inline constexpr const char *kBPaccessoryDidDisconnectNotification = "BPaccessoryDidDisconnectNotification";
inline constexpr const char *kBPaccessorySendWaveNotification = "BPaccessorySendWaveNotification";
inline constexpr const char *kBPaccessoryUModeReportNotification = "BPaccessoryUModeReportNotification";
inline constexpr const char *kBPaccessoryMModeReportNotification = "BPaccessoryMModeReportNotification";
inline constexpr const char *kBPaccessoryReceiveStartNotification = "BPaccessoryReceiveStartNotification";
inline constexpr const char *kBPaccessoryReceive3TRIVNotification = "BPaccessoryReceive3TRIVNotification";
inline constexpr const char *kBPaccessorySendBatteryPowerNotification =
    "BPaccessorySendBatteryPowerNotification";
inline constexpr const char *kBPaccessoryZeroTracingNotification = "BPaccessoryZeroTracingNotification";
inline constexpr const char *kBPaccessoryZeroTraceSuccessNotification =
    "BPaccessoryZeroTraceSuccessNotification";

} // namespace tonara
