#pragma once

// One user's readings as a FHIR R4 Bundle of type "collection" in JSON: a
// Patient with the profile's name, then for every reading a blood-pressure
// Observation (LOINC 85354-9 with systolic 8480-6 and diastolic 8462-4 in
// mm[Hg]) and a heart-rate Observation (8867-4, /min). A TRIV reading is
// written as its three single readings (each a blood-pressure Observation)
// and an average Observation (96607-7 with 96608-5 and 96609-3) derived from
// them; its heart rate is the device's average. Readings typed in by hand, or
// imported from another diary, are marked as supplied by the patient; the
// others name the monitor as their device.
//
//   FhirBundle bundle(FhirBundle::systemUtcOffset, [] { return newUuid(); });
//   std::string json = bundle.write(ExportReadings(db).load(user, std::nullopt), clock.localNow());
//
// Times are the stored local times with the offset from UTC that the local
// time zone had at that moment ("2013-05-03T09:05:07+02:00"), so a reading
// taken in summer keeps its summer offset.

#include "base/Clock.h"
#include "data/core/ExportReadings.h"
#include "data/core/FhirJson.h"

#include <functional>
#include <string>

namespace tonara {

class FhirBundle {
public:
    // Minutes east of UTC in force at a local moment.
    using UtcOffset = std::function<int(const LocalDateTime &)>;
    // A fresh identifier for a resource (a UUID's text, without braces).
    using IdSource = std::function<std::string()>;

    static constexpr const char *kLoinc = "http://loinc.org";
    static constexpr const char *kUcum = "http://unitsofmeasure.org";
    static constexpr const char *kBloodPressurePanel = "85354-9";
    static constexpr const char *kSystolic = "8480-6";
    static constexpr const char *kDiastolic = "8462-4";
    static constexpr const char *kHeartRate = "8867-4";
    static constexpr const char *kMeanPanel = "96607-7";
    static constexpr const char *kMeanSystolic = "96608-5";
    static constexpr const char *kMeanDiastolic = "96609-3";

    FhirBundle(UtcOffset offset, IdSource ids);

    std::string write(const ExportReadings::Set &set, const LocalDateTime &now) const;

    // "2013-05-03T09:05:07+02:00" from the stored texts and the offset in minutes.
    static std::string dateTime(const std::string &date, const std::string &time, int offsetMinutes);
    // The local time zone's offset at that moment, as the C library knows it.
    static int systemUtcOffset(const LocalDateTime &at);

private:
    FhirJson observation(const std::string &id, const std::string &patient, const Reading &r) const;

    UtcOffset offset_;
    IdSource ids_;
};

} // namespace tonara
