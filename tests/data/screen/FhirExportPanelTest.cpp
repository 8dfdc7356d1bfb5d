// The FHIR export panel driven offscreen: the period and its count, the file
// it saves, and the hand-over to the mail composer.

#include "data/ImportTestSupport.h"

#include "data/FhirExportFlow.h"
#include "data/FhirExportPanel.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDateEdit>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace tonara::test {
namespace {

class FhirExportPanelTest : public ::testing::Test {
protected:
    FhirExportPanelTest()
    {
        display.resize(320, 460);
        home.add(0, "2013-05-03", "09:05:07", 128, 84, 70, /*triv=*/1);
        home.add(0, "2013-05-10", "18:00:00", 118, 76, 66, 0, /*manual=*/1);
        home.add(0, "2013-04-01", "08:00:00", 150, 95, 80);
        home.add(1, "2013-05-04", "08:00:00", 111, 71, 61);
    }
    FhirExportPanel *open()
    {
        return FhirExportFlow::run(&display, home.db, 0,
                                   {QString::fromStdString(home.dir.path()), nullptr, nullptr}, &home.clock);
    }
    QString path(const char *file) const { return QString::fromStdString(home.dir.path()) + "/" + file; }

    Household home;
    QWidget display;
};

TEST_F(FhirExportPanelTest, PeriodCountAndTheSavedBundle)
{
    QPointer<FhirExportPanel> panel = open();
    EXPECT_EQ(panel->geometry(), display.rect());
    EXPECT_EQ(panel->countLabel()->text(), "3 readings of User will be exported.");
    EXPECT_FALSE(panel->fromEdit()->isEnabled());

    panel->allBox()->setChecked(false);
    panel->fromEdit()->setDate(QDate(2013, 5, 1));
    panel->toEdit()->setDate(QDate(2013, 5, 9));
    EXPECT_EQ(panel->countLabel()->text(), "1 reading of User will be exported.");
    panel->toEdit()->setDate(QDate(2013, 4, 30));
    EXPECT_EQ(panel->countLabel()->text(), "The first day comes after the last day.");
    EXPECT_FALSE(panel->saveButton()->isEnabled());
    EXPECT_FALSE(panel->mailButton()->isEnabled());
    panel->toEdit()->setDate(QDate(2013, 5, 20));
    EXPECT_EQ(panel->countLabel()->text(), "2 readings of User will be exported.");
    EXPECT_EQ(panel->suggestedFileName(), "tonara-User-2013-05-20.fhir.json");

    ASSERT_TRUE(panel->saveTo(path("bundle.json")));
    EXPECT_EQ(panel->resultLabel()->text(), "2 readings saved to bundle.json.");
    EXPECT_EQ(panel->closeButton()->text(), "Done");
    QFile file(path("bundle.json"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QJsonObject bundle = QJsonDocument::fromJson(file.readAll()).object();
    EXPECT_EQ(bundle["type"], "collection");
    // Patient; the TRIV reading's three singles, its average and heart rate; the manual reading's two.
    EXPECT_EQ(bundle["entry"].toArray().size(), 1 + 5 + 2);

    // The diary's own database (as a file dialog lets a person pick it): refused, the readings stay.
    const QString diary = QString::fromStdString(home.db.getDatabaseFullPath());
    EXPECT_FALSE(panel->saveTo(diary));
    EXPECT_TRUE(panel->resultLabel()->text().startsWith("Nothing was saved"))
        << panel->resultLabel()->text().toStdString();
    EXPECT_EQ(scalar(home.conn(), "SELECT count(*) FROM tonaradock_table"), 4);

    // A folder that is not there: said so, nothing written.
    EXPECT_FALSE(panel->saveTo(path("no/such/bundle.json")));
    EXPECT_TRUE(panel->resultLabel()->text().startsWith("bundle.json could not be saved: "))
        << panel->resultLabel()->text().toStdString();

    QSignalSpy finished(panel.data(), &FhirExportPanel::finished);
    QTest::mouseClick(panel->closeButton(), Qt::LeftButton);
    EXPECT_EQ(finished.count(), 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(panel.isNull());
}

TEST_F(FhirExportPanelTest, SendingHandsTheBundleToTheComposer)
{
    FhirExportPanel *panel = open();
    QPointer<MailComposer> composer = panel->sendByMail();
    ASSERT_FALSE(composer.isNull());
    EXPECT_EQ(composer->parentWidget(), &display);
    const QLabel *attachment = composer->findChild<QLabel *>("composer_attachment");
    ASSERT_NE(attachment, nullptr);
    EXPECT_TRUE(attachment->text().contains("tonara-User-2013-05-20.fhir.json"))
        << attachment->text().toStdString();

    composer->cancel();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(composer.isNull());
    EXPECT_FALSE(panel->resultLabel()->isVisibleTo(panel));

    // A profile without readings has nothing to send.
    Household empty;
    FhirExportPanel nothing({&empty.db, 0, &empty.clock, {}}, &display);
    EXPECT_EQ(nothing.countLabel()->text(), "There are no readings of User in this period.");
    EXPECT_EQ(nothing.sendByMail(), nullptr);
    EXPECT_FALSE(nothing.saveTo(path("empty.json")));
    EXPECT_FALSE(QFile::exists(path("empty.json")));
}

} // namespace
} // namespace tonara::test
