#pragma once

namespace tonara {

// The monitor's error codes as the person reads them, and the other alert
// texts of the measurement tab. Kept word for word as the monitor's manual
// phrases them, typos included, so support staff recognise them.
class DeviceErrorTable {
public:
    struct Entry {
        int code;
        const char *title;
        const char *message;
    };

    // The alert for a code that ends the measurement with a message, or
    // nullptr for codes that show nothing (0, 4, 8, 9, 10, 13..15) and for
    // 12, the low battery, which the screen handles on its own.
    static const Entry *find(int code);

    static constexpr int kLowBatteryCode = 12;
    // The monitor's own stop button.
    static constexpr int kStopCode = 11;

    static constexpr const char *kMeasurementStopTitle = "Measurement Stop";
    // Undocking, the background step and error 11.
    static constexpr const char *kStoppedMessage = "Measurement stopped.You have\neither pressed the Stop "
                                                   "button or\n disconnect the Tonara+ during\nmeasurement.";
    // The stop buttons and the TRIV error's second alert break the line one
    // word earlier.
    static constexpr const char *kStoppedByButtonMessage =
        "Measurement stopped.You have\neither pressed the Stop button or \ndisconnect the Tonara+ "
        "during\nmeasurement.";
    static constexpr const char *kPhoneCallMessage =
        "Measurement stopped due to\n the interruption by a phone call. To\n avoid sudden stop next time, "
        "you \ncan "
        "choose to turn on the airplane\n mode in Setting";
    static constexpr const char *kTrivErrorTitle = "Measurement error";

    static constexpr const char *kLowBatteryTitle = "Low battery";
    static constexpr const char *kBatteryTooLowTitle = "Battery too low";
    static constexpr const char *kChargeFirstMessage =
        "The battery of Tonara+ is too low. Please charge the Tonara+ before measurements.";
    static constexpr const char *kWhileChargingMessage =
        "The battery of Tonara+ is too low. Please wait few minutes "
        "for the battery to be charged up to a functional level.";
    static constexpr const char *kBatteryMalfunctionTitle = "battery malfunction";
    static constexpr const char *kBatteryMalfunctionMessage =
        "There is a problem with the battery. Please contact the service center.";
    static constexpr const char *kBatteryErrorTitle = "battery error";

    static constexpr const char *kAbortTitle = "Abort the reading";
    static constexpr const char *kAbortMessage =
        "Are you sure you want to leave \n without saving this reading?";
};

} // namespace tonara
