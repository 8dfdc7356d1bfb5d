// The FHIR export read back as JSON: its structure checked against a small
// schema, every reading once with its codes and units, a TRIV reading's
// average derived from its three single readings.

#include "ImportTestSupport.h"

#include "data/core/ExportReadings.h"
#include "data/core/FhirBundle.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <map>
#include <memory>
#include <optional>

namespace tonara::test {
namespace {

// Just enough of a JSON schema: the type, required members, the shape of an
// array's items, a fixed value or a pattern for strings.
struct Shape {
    QJsonValue::Type type = QJsonValue::Object;
    std::map<QString, Shape> required;
    std::shared_ptr<Shape> items;
    std::optional<QJsonValue> constant;
    QString pattern;

    static Shape of(QJsonValue::Type type)
    {
        Shape s;
        s.type = type;
        return s;
    }
    static Shape object(std::map<QString, Shape> members)
    {
        Shape s = of(QJsonValue::Object);
        s.required = std::move(members);
        return s;
    }
    static Shape arrayOf(Shape item)
    {
        Shape s = of(QJsonValue::Array);
        s.items = std::make_shared<Shape>(std::move(item));
        return s;
    }
    static Shape text(QString pattern = ".+")
    {
        Shape s = of(QJsonValue::String);
        s.pattern = std::move(pattern);
        return s;
    }
    static Shape is(const char *value)
    {
        Shape s = of(QJsonValue::String);
        s.constant = QJsonValue(value);
        return s;
    }
    static Shape number() { return of(QJsonValue::Double); }
};

void check(const QJsonValue &v, const Shape &s, const QString &path, QStringList &faults)
{
    if (v.type() != s.type) {
        faults << path + ": wrong type";
        return;
    }
    if (s.constant && v != *s.constant)
        faults << path + ": " + v.toString() + " instead of " + s.constant->toString();
    if (!s.pattern.isEmpty() &&
        !QRegularExpression(QRegularExpression::anchoredPattern(s.pattern)).match(v.toString()).hasMatch())
        faults << path + ": \"" + v.toString() + "\" does not match " + s.pattern;
    for (const auto &[key, member] : s.required) {
        if (!v.toObject().contains(key))
            faults << path + "." + key + ": missing";
        else
            check(v.toObject().value(key), member, path + "." + key, faults);
    }
    if (s.items) {
        if (v.toArray().isEmpty())
            faults << path + ": empty";
        for (int i = 0; i < v.toArray().size(); ++i)
            check(v.toArray().at(i), *s.items, path + QStringLiteral("[%1]").arg(i), faults);
    }
}

Shape loincConcept()
{
    return Shape::object(
        {{"coding", Shape::arrayOf(Shape::object({{"system", Shape::is("http://loinc.org")},
                                                  {"code", Shape::text("[0-9]+-[0-9]")}}))}});
}

Shape quantityIn(const char *ucum)
{
    return Shape::object({{"value", Shape::number()},
                          {"system", Shape::is("http://unitsofmeasure.org")},
                          {"code", Shape::is(ucum)}});
}

const QString kUuid = "urn:uuid:[0-9a-f-]+";

Shape observationShape()
{
    return Shape::object(
        {{"resourceType", Shape::is("Observation")},
         {"status", Shape::is("final")},
         {"category",
          Shape::arrayOf(Shape::object(
              {{"coding", Shape::arrayOf(Shape::object({{"code", Shape::is("vital-signs")}}))}}))},
         {"code", loincConcept()},
         {"subject", Shape::object({{"reference", Shape::text(kUuid)}})},
         {"effectiveDateTime", Shape::text("\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d[+-]\\d\\d:\\d\\d")}});
}

Shape bundleShape()
{
    return Shape::object({{"resourceType", Shape::is("Bundle")},
                          {"type", Shape::is("collection")},
                          {"entry", Shape::arrayOf(Shape::object(
                                        {{"fullUrl", Shape::text(kUuid)},
                                         {"resource", Shape::object({{"resourceType", Shape::text()}})}}))}});
}

QString codeOf(const QJsonObject &o)
{
    return o["code"].toObject()["coding"].toArray().at(0).toObject()["code"].toString();
}

class FhirBundleTest : public ::testing::Test {
protected:
    QJsonObject exported(const std::optional<ExportReadings::Window> &window,
                         FhirBundle::UtcOffset offset = {})
    {
        int next = 0;
        FhirBundle bundle(
            offset ? offset : [](const LocalDateTime &) { return 120; },
            [&next] { return "00000000-0000-4000-8000-" + std::to_string(100000000000 + next++); });
        const std::string text = bundle.write(ExportReadings(home.db).load(0, window), home.clock.localNow());
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(text), &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
        QStringList faults;
        check(doc.object(), bundleShape(), "Bundle", faults);
        for (const QJsonValue &e : doc.object()["entry"].toArray()) {
            const QJsonObject resource = e["resource"].toObject();
            byUrl[e["fullUrl"].toString()] = resource;
            if (resource["resourceType"] == "Observation") {
                check(resource, observationShape(), e["fullUrl"].toString(), faults);
                if (codeOf(resource) == FhirBundle::kHeartRate)
                    check(resource["valueQuantity"], quantityIn("/min"), e["fullUrl"].toString(), faults);
                else
                    check(resource["component"],
                          Shape::arrayOf(Shape::object(
                              {{"code", loincConcept()}, {"valueQuantity", quantityIn("mm[Hg]")}})),
                          e["fullUrl"].toString(), faults);
                observations.push_back(resource);
            } else if (resource["resourceType"] == "Patient") {
                patients.push_back(resource);
            }
        }
        EXPECT_TRUE(faults.isEmpty()) << faults.join("\n").toStdString();
        return doc.object();
    }

    std::vector<QJsonObject> withCode(const char *code) const
    {
        std::vector<QJsonObject> out;
        for (const auto &o : observations)
            if (codeOf(o) == code)
                out.push_back(o);
        return out;
    }

    static std::map<QString, QJsonObject> components(const QJsonObject &o)
    {
        std::map<QString, QJsonObject> out;
        for (const QJsonValue &c : o["component"].toArray())
            out[codeOf(c.toObject())] = c["valueQuantity"].toObject();
        return out;
    }

    Household home;
    std::map<QString, QJsonObject> byUrl;
    std::vector<QJsonObject> observations;
    std::vector<QJsonObject> patients;
};

TEST_F(FhirBundleTest, EveryReadingOfThePeriodAppearsOnceWithItsCodesAndUnits)
{
    home.add(0, "2013-05-03", "09:05:07", 128, 84, 70, 0, 0, /*pad=*/1, "say \"ah\"\\\nnext line, müde");
    home.add(0, "2013-05-04", "18:00:00", 118, 76, 66, 0, /*manual=*/1);
    home.add(0, "2013-04-01", "08:00:00", 150, 95, 80); // before the period
    home.add(1, "2013-05-04", "08:00:00", 111, 71, 61); // another user
    exported(ExportReadings::Window{"2013-05-01", "2013-05-31"});

    ASSERT_EQ(patients.size(), 1u);
    EXPECT_EQ(patients[0]["name"].toArray().at(0)["text"], "User");
    const auto pressures = withCode(FhirBundle::kBloodPressurePanel);
    const auto rates = withCode(FhirBundle::kHeartRate);
    ASSERT_EQ(observations.size(), 4u);
    ASSERT_EQ(pressures.size(), 2u);
    ASSERT_EQ(rates.size(), 2u);

    const QJsonObject &measured = pressures[0];
    EXPECT_EQ(measured["effectiveDateTime"], "2013-05-03T09:05:07+02:00");
    auto c = components(measured);
    ASSERT_EQ(c.size(), 2u);
    EXPECT_EQ(c[FhirBundle::kSystolic]["value"], 128);
    EXPECT_EQ(c[FhirBundle::kSystolic]["code"], "mm[Hg]");
    EXPECT_EQ(c[FhirBundle::kDiastolic]["value"], 84);
    EXPECT_EQ(c[FhirBundle::kDiastolic]["code"], "mm[Hg]");
    EXPECT_EQ(measured["note"].toArray().at(0)["text"], "say \"ah\"\\\nnext line, müde");
    EXPECT_TRUE(measured.contains("device"));
    EXPECT_FALSE(measured.contains("meta"));
    EXPECT_EQ(rates[0]["valueQuantity"]["value"], 70);
    EXPECT_EQ(rates[0]["valueQuantity"]["code"], "/min");
    EXPECT_EQ(rates[0]["effectiveDateTime"], "2013-05-03T09:05:07+02:00");

    // Typed in by hand: supplied by the patient, who is also its performer.
    for (const QJsonObject &manual : {pressures[1], rates[1]}) {
        EXPECT_EQ(manual["meta"]["tag"].toArray().at(0)["code"], "patient-supplied");
        EXPECT_EQ(manual["performer"].toArray().at(0)["reference"], manual["subject"]["reference"]);
        EXPECT_FALSE(manual.contains("device"));
        EXPECT_EQ(byUrl.count(manual["subject"]["reference"].toString()), 1u);
    }
    EXPECT_EQ(components(pressures[1])[FhirBundle::kSystolic]["value"], 118);
    EXPECT_EQ(rates[1]["valueQuantity"]["value"], 66);
}

TEST_F(FhirBundleTest, TrivAverageIsDerivedFromItsThreeSingleReadings)
{
    home.add(0, "2013-05-03", "09:05:07", 128, 84, 70, /*triv=*/1); // singles 130/85, 128/84, 126/83
    home.add(0, "2013-05-05", "07:30:00", 122, 80, 64, 1);
    exported(std::nullopt);

    const auto averages = withCode(FhirBundle::kMeanPanel);
    ASSERT_EQ(averages.size(), 2u);
    EXPECT_EQ(withCode(FhirBundle::kBloodPressurePanel).size(), 6u);
    EXPECT_EQ(withCode(FhirBundle::kHeartRate).size(), 2u);

    const QJsonObject &first = averages[0];
    auto c = components(first);
    EXPECT_EQ(c[FhirBundle::kMeanSystolic]["value"], 128);
    EXPECT_EQ(c[FhirBundle::kMeanDiastolic]["value"], 84);
    EXPECT_EQ(c[FhirBundle::kMeanDiastolic]["code"], "mm[Hg]");
    const QJsonArray from = first["derivedFrom"].toArray();
    ASSERT_EQ(from.size(), 3);
    std::vector<int> singles;
    for (const QJsonValue &ref : from) {
        const QString url = ref["reference"].toString();
        ASSERT_EQ(byUrl.count(url), 1u) << url.toStdString();
        const QJsonObject single = byUrl[url];
        EXPECT_EQ(codeOf(single), FhirBundle::kBloodPressurePanel);
        EXPECT_EQ(single["effectiveDateTime"], first["effectiveDateTime"]);
        singles.push_back(components(single)[FhirBundle::kSystolic]["value"].toInt());
    }
    EXPECT_EQ(singles, (std::vector<int>{130, 128, 126}));
    // The two series name different readings.
    EXPECT_NE(averages[1]["derivedFrom"].toArray().at(0), from.at(0));
}

TEST_F(FhirBundleTest, TimesCarryTheOffsetInForceOnTheirDay)
{
    EXPECT_EQ(FhirBundle::dateTime("2013-05-03", "09:05:07", 120), "2013-05-03T09:05:07+02:00");
    EXPECT_EQ(FhirBundle::dateTime("2013-05-03", "09:05:07", -330), "2013-05-03T09:05:07-05:30");
    EXPECT_EQ(FhirBundle::dateTime("2013-05-03", "09:05:07", 0), "2013-05-03T09:05:07+00:00");

    home.add(0, "2013-01-15", "12:00:00", 120, 80, 60);
    home.add(0, "2013-05-15", "12:00:00", 121, 81, 61);
    exported(std::nullopt,
             [](const LocalDateTime &at) { return at.month >= 4 && at.month <= 10 ? 120 : 60; });
    const auto pressures = withCode(FhirBundle::kBloodPressurePanel);
    ASSERT_EQ(pressures.size(), 2u);
    EXPECT_EQ(pressures[0]["effectiveDateTime"], "2013-01-15T12:00:00+01:00");
    EXPECT_EQ(pressures[1]["effectiveDateTime"], "2013-05-15T12:00:00+02:00");
}

} // namespace
} // namespace tonara::test
