#include "data/core/FhirBundle.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace tonara {

namespace {

FhirJson coding(const char *system, const char *code, const char *display)
{
    FhirJson c = FhirJson::object();
    c.set("system", system).set("code", code);
    if (display)
        c.set("display", display);
    return c;
}

FhirJson loincConcept(const char *code, const char *display, const std::string &text)
{
    return FhirJson::object()
        .set("coding", FhirJson::array().push(coding(FhirBundle::kLoinc, code, display)))
        .set("text", text);
}

FhirJson quantity(int value, const char *unit, const char *code)
{
    return FhirJson::object()
        .set("value", value)
        .set("unit", unit)
        .set("system", FhirBundle::kUcum)
        .set("code", code);
}

FhirJson pressure(const char *code, const char *display, const std::string &text, int value)
{
    return FhirJson::object()
        .set("code", loincConcept(code, display, text))
        .set("valueQuantity", quantity(value, "mmHg", "mm[Hg]"));
}

FhirJson reference(const std::string &id)
{
    return FhirJson::object().set("reference", "urn:uuid:" + id);
}

FhirJson entry(const std::string &id, FhirJson resource)
{
    return FhirJson::object().set("fullUrl", "urn:uuid:" + id).set("resource", std::move(resource));
}

LocalDateTime momentOf(const Reading &r)
{
    LocalDateTime at;
    std::sscanf(r.date.c_str(), "%d-%d-%d", &at.year, &at.month, &at.day);
    std::sscanf(r.time.c_str(), "%d:%d:%d", &at.hour, &at.minute, &at.second);
    return at;
}

} // namespace

FhirBundle::FhirBundle(UtcOffset offset, IdSource ids) : offset_(std::move(offset)), ids_(std::move(ids)) {}

std::string FhirBundle::dateTime(const std::string &date, const std::string &time, int offsetMinutes)
{
    const int magnitude = std::abs(offsetMinutes);
    char zone[16];
    std::snprintf(zone, sizeof zone, "%c%02d:%02d", offsetMinutes < 0 ? '-' : '+', magnitude / 60 % 100,
                  magnitude % 60);
    return date + "T" + time + zone;
}

int FhirBundle::systemUtcOffset(const LocalDateTime &at)
{
    std::tm local{};
    local.tm_year = at.year - 1900;
    local.tm_mon = at.month - 1;
    local.tm_mday = at.day;
    local.tm_hour = at.hour;
    local.tm_min = at.minute;
    local.tm_sec = at.second;
    local.tm_isdst = -1; // let the zone's rules say whether summer time was in force
    const std::time_t t = std::mktime(&local);
    if (t == static_cast<std::time_t>(-1))
        return 0;
    std::tm back{};
    localtime_r(&t, &back);
    return static_cast<int>(back.tm_gmtoff / 60);
}

FhirJson FhirBundle::observation(const std::string &id, const std::string &patient, const Reading &r) const
{
    FhirJson o = FhirJson::object();
    o.set("resourceType", "Observation").set("id", id);
    if (r.is_manual)
        o.set("meta", FhirJson::object().set(
                          "tag", FhirJson::array().push(
                                     FhirJson::object()
                                         .set("system", "http://hl7.org/fhir/us/core/CodeSystem/us-core-tags")
                                         .set("code", "patient-supplied")
                                         .set("display", "Patient Supplied"))));
    o.set("status", "final");
    o.set("category", FhirJson::array().push(
                          FhirJson::object()
                              .set("coding", FhirJson::array().push(coding(
                                                 "http://terminology.hl7.org/CodeSystem/observation-category",
                                                 "vital-signs", "Vital Signs")))
                              .set("text", "Vital Signs")));
    o.set("subject", reference(patient));
    o.set("effectiveDateTime", dateTime(r.date, r.time, offset_(momentOf(r))));
    if (r.is_manual)
        o.set("performer", FhirJson::array().push(reference(patient)));
    return o;
}

std::string FhirBundle::write(const ExportReadings::Set &set, const LocalDateTime &now) const
{
    FhirJson entries = FhirJson::array();
    const std::string patient = ids_();
    entries.push(
        entry(patient, FhirJson::object()
                           .set("resourceType", "Patient")
                           .set("id", patient)
                           .set("name", FhirJson::array().push(FhirJson::object().set("text", set.name)))));

    const auto finish = [](FhirJson &o, const Reading &r) {
        if (!r.is_manual)
            o.set("device", FhirJson::object().set("display", "Tonara+ blood pressure monitor"));
        FhirJson notes = FhirJson::array();
        if (!r.diary.empty())
            notes.push(FhirJson::object().set("text", r.diary));
        if (r.is_pad)
            notes.push(
                FhirJson::object().set("text", "The monitor showed its PAD indicator with this reading."));
        if (!notes.empty())
            o.set("note", std::move(notes));
    };

    for (const ExportReadings::Item &item : set.readings) {
        const Reading &r = item.reading;
        FhirJson derivedFrom = FhirJson::array();
        for (const ExportReadings::Single &s : item.singles) {
            const std::string id = ids_();
            FhirJson single = observation(id, patient, r);
            single.set("code",
                       loincConcept(kBloodPressurePanel, "Blood pressure panel with all children optional",
                                    "Blood pressure, reading " + std::to_string(s.position) + " of 3"));
            single.set("component",
                       FhirJson::array()
                           .push(pressure(kSystolic, "Systolic blood pressure", "Systolic", s.sys))
                           .push(pressure(kDiastolic, "Diastolic blood pressure", "Diastolic", s.dia)));
            Reading plain = r; // the comment and the PAD finding belong to the series as a whole
            plain.diary.clear();
            plain.is_pad = 0;
            finish(single, plain);
            entries.push(entry(id, std::move(single)));
            derivedFrom.push(reference(id));
        }

        const std::string id = ids_();
        FhirJson bp = observation(id, patient, r);
        if (r.is_triv) {
            bp.set("code", loincConcept(kMeanPanel, nullptr, "Average blood pressure of three readings"));
            bp.set("component", FhirJson::array()
                                    .push(pressure(kMeanSystolic, nullptr, "Average systolic", r.sys))
                                    .push(pressure(kMeanDiastolic, nullptr, "Average diastolic", r.dia)));
            if (!derivedFrom.empty())
                bp.set("derivedFrom", derivedFrom);
        } else {
            bp.set("code", loincConcept(kBloodPressurePanel,
                                        "Blood pressure panel with all children optional", "Blood pressure"));
            bp.set("component",
                   FhirJson::array()
                       .push(pressure(kSystolic, "Systolic blood pressure", "Systolic", r.sys))
                       .push(pressure(kDiastolic, "Diastolic blood pressure", "Diastolic", r.dia)));
        }
        finish(bp, r);
        entries.push(entry(id, std::move(bp)));

        const std::string hrId = ids_();
        FhirJson hr = observation(hrId, patient, r);
        hr.set("code",
               loincConcept(kHeartRate, "Heart rate", r.is_triv ? "Average heart rate" : "Heart rate"));
        hr.set("valueQuantity", quantity(r.pulse, "beats/minute", "/min"));
        finish(hr, r);
        entries.push(entry(hrId, std::move(hr)));
    }

    FhirJson bundle = FhirJson::object();
    bundle.set("resourceType", "Bundle")
        .set("id", ids_())
        .set("type", "collection")
        .set("timestamp", dateTime(now.dateText(), now.timeText(), offset_(now)))
        .set("entry", std::move(entries));
    return bundle.dump();
}

} // namespace tonara
