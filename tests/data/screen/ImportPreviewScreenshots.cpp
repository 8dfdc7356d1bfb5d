// Pictures of the import preview for people to look at, on a phone and a
// tablet. Written to $TONARA_SCREENSHOT_DIR (or ./screenshots) as
// import_<form>_<view>.png.

#include "data/ImportTestSupport.h"

#include "data/FhirExportPanel.h"
#include "data/ImportPreview.h"
#include "platform/DeviceFrame.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QPixmap>

namespace tonara::test {
namespace {

struct Form {
    FormFactor factor;
    const char *name;
};

class ImportScreenshots : public ::testing::TestWithParam<Form> {
protected:
    void shoot(QWidget &frame, const char *view)
    {
        QApplication::processEvents();
        const QString dir = qEnvironmentVariable("TONARA_SCREENSHOT_DIR", QStringLiteral("screenshots"));
        QDir().mkpath(dir);
        const QPixmap picture = frame.grab();
        ASSERT_FALSE(picture.isNull());
        const QString file = QStringLiteral("%1/import_%2_%3.png")
                                 .arg(dir, QLatin1String(GetParam().name), QLatin1String(view));
        ASSERT_TRUE(picture.save(file)) << file.toStdString();
    }
    Household home;
};

TEST_P(ImportScreenshots, PreviewBeforeAndAfterTheImport)
{
    home.add(0, "2013-05-02", "19:05:00", 135, 88, 72);
    DeviceFrame frame(GetParam().factor);
    frame.show();
    auto *preview = new ImportPreview({&home.db, 0, &home.clock},
                                      "Datum;Uhrzeit;Systole;Diastole;Puls;Kommentar\n"
                                      "13.05.2013;8:15;128;84;70;nach dem Kaffee\n"
                                      "12.05.2013;21:40;141;92;77;\n"
                                      "11.05.2013;07:10;318;84;70;Tippfehler?\n"
                                      "10.05.2013;07:05;124;80;66;\n"
                                      "10.05.2013;07:05;124;80;66;\n"
                                      "09.05.2013;07:00;119;78;64;\n"
                                      "08.05.2013;abends;120;80;60;\n"
                                      "02.05.2013;19:05;135;88;72;\n"
                                      "01.05.2013;07:30;122;81;205;\n",
                                      "Blutdruck-Tagebuch.csv", frame.display());
    preview->present();
    shoot(frame, "1_preview");
    preview->importReadings();
    shoot(frame, "2_result");
}

TEST_P(ImportScreenshots, FhirExportPanel)
{
    home.add(0, "2013-05-03", "09:05:07", 128, 84, 70, 1);
    home.add(0, "2013-05-10", "18:00:00", 118, 76, 66, 0, 1);
    DeviceFrame frame(GetParam().factor);
    frame.show();
    auto *panel = new FhirExportPanel({&home.db, 0, &home.clock, {}}, frame.display());
    panel->present();
    panel->saveTo(QString::fromStdString(home.dir.path()) + "/tonara-User-2013-05-20.fhir.json");
    shoot(frame, "3_fhir_export");
}

INSTANTIATE_TEST_SUITE_P(Forms, ImportScreenshots,
                         ::testing::Values(Form{FormFactor::Phone480, "phone480"},
                                           Form{FormFactor::Tablet, "tablet"}),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
} // namespace tonara::test
