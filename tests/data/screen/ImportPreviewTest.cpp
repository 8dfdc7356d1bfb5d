// The import preview driven offscreen: what it shows before the import, the
// person's choices, the result in words, and the flow's refusals.

#include "data/ImportTestSupport.h"

#include "data/ImportFlow.h"
#include "data/ImportPreview.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTableWidget>
#include <QTest>

#include <fstream>

namespace tonara::test {
namespace {

void choose(QComboBox *box, int data)
{
    const int index = box->findData(data);
    ASSERT_GE(index, 0);
    box->setCurrentIndex(index);
    emit box->activated(index);
}

QString cell(const ImportPreview &p, int row, int column)
{
    const QTableWidgetItem *item = p.rowsTable()->item(row, column);
    return item ? item->text() : QString();
}

class ImportPreviewTest : public ::testing::Test {
protected:
    ImportPreviewTest() { display.resize(320, 460); }

    ImportPreview *preview(const std::string &bytes)
    {
        auto *p = new ImportPreview({&home.db, 0, &home.clock}, bytes, "diary.csv", &display);
        p->present();
        return p;
    }
    int stored() { return scalar(home.conn(), "SELECT count(*) FROM tonaradock_table"); }

    Household home;
    QWidget display;
};

TEST_F(ImportPreviewTest, SemicolonDiaryIsShownAsItWillBeReadThenImported)
{
    QPointer<ImportPreview> p = preview("Datum;Uhrzeit;Systole;Diastole;Puls;Kommentar\n"
                                        "13.05.2013;8:15;128;84;70;gut\n"
                                        "02.05.2013;19:05;135;88;72;\n"
                                        "02.05.2013;19:05;135;88;72;\n"
                                        "01.05.2013;07:00;320;81;66;\n"
                                        "30.04.2013;07:00;122;81;66;\n");
    QSignalSpy finished(p.data(), &ImportPreview::finished);
    EXPECT_EQ(p->delimiterBox()->currentData().toInt(), int(';'));
    EXPECT_EQ(p->dateOrderBox()->currentData().toInt(), int(ImportDateFormat::DayMonthYear));
    EXPECT_TRUE(p->headerBox()->isChecked());
    EXPECT_EQ(p->columnBox(ImportColumns::Pulse)->currentText(), "Puls");
    EXPECT_EQ(p->columnBox(ImportColumns::Comment)->currentData().toInt(), 5);
    EXPECT_FALSE(p->findChild<QLabel *>("import_date_note")->isVisibleTo(p));

    ASSERT_EQ(p->rowsTable()->rowCount(), 5);
    EXPECT_EQ(cell(*p, 0, 1), "2013-05-13 08:15:00\n128/84, pulse 70");
    EXPECT_EQ(cell(*p, 0, 2), "Will be imported");
    EXPECT_EQ(cell(*p, 2, 2), "Skipped: the same reading is earlier in the file");
    EXPECT_EQ(cell(*p, 3, 2), "Skipped: systolic 320 is outside 0 to 300");
    EXPECT_EQ(p->countsLabel()->text(), "3 readings will be imported. 1 duplicate will be skipped. 1 reading "
                                        "outside what can be entered by hand will be skipped.");
    EXPECT_EQ(p->skippedLabel()->text(), "Line 5: Skipped: systolic 320 is outside 0 to 300");
    ASSERT_TRUE(p->importButton()->isEnabled());

    QTest::mouseClick(p->importButton(), Qt::LeftButton);
    EXPECT_EQ(stored(), 3);
    EXPECT_EQ(home.averages(0).size(), 3u);
    EXPECT_TRUE(p->resultLabel()->isVisibleTo(p));
    EXPECT_EQ(p->resultLabel()->text(), "3 readings imported; the history and the charts show them now. 1 "
                                        "duplicate skipped. 1 row skipped, as listed above.");
    EXPECT_FALSE(p->importButton()->isVisibleTo(p));
    EXPECT_EQ(cell(*p, 0, 2), "Imported");
    EXPECT_EQ(p->closeButton()->text(), "Done");

    QTest::mouseClick(p->closeButton(), Qt::LeftButton);
    ASSERT_EQ(finished.count(), 1);
    EXPECT_EQ(finished.at(0).at(0).toInt(), 3);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(p.isNull());
}

TEST_F(ImportPreviewTest, ColumnsByHandAndAnAmbiguousDateOrderWaitForThePerson)
{
    QPointer<ImportPreview> p = preview("03/05/2013 09:05,128,84,70\n04/05/2013 10:00,130,85,71\n");
    EXPECT_FALSE(p->headerBox()->isChecked());
    EXPECT_FALSE(p->importButton()->isEnabled());
    EXPECT_TRUE(p->findChild<QLabel *>("import_columns_note")->isVisibleTo(p));
    EXPECT_EQ(p->columnBox(ImportColumns::Date)->itemText(1), "Column 1");

    choose(p->columnBox(ImportColumns::Date), 0);
    choose(p->columnBox(ImportColumns::Systolic), 1);
    choose(p->columnBox(ImportColumns::Diastolic), 2);
    choose(p->columnBox(ImportColumns::Pulse), 3);
    EXPECT_FALSE(p->findChild<QLabel *>("import_columns_note")->isVisibleTo(p));
    // Both orders read: the person has to say which.
    EXPECT_TRUE(p->dateOrderNeeded());
    EXPECT_TRUE(p->findChild<QLabel *>("import_date_note")->isVisibleTo(p));
    EXPECT_FALSE(p->importButton()->isEnabled());
    EXPECT_EQ(p->dateOrderBox()->currentIndex(), -1) << "no order shown as if it were chosen";
    EXPECT_EQ(cell(*p, 0, 2), "Waits for the date order");

    choose(p->dateOrderBox(), ImportDateFormat::DayMonthYear);
    EXPECT_FALSE(p->dateOrderNeeded());
    EXPECT_TRUE(p->importButton()->isEnabled());
    EXPECT_EQ(cell(*p, 0, 2), "Will be imported");
    EXPECT_TRUE(cell(*p, 1, 1).startsWith("2013-05-04 10:00:00"));
    choose(p->dateOrderBox(), ImportDateFormat::MonthDayYear);
    EXPECT_TRUE(cell(*p, 1, 1).startsWith("2013-04-05 10:00:00"));

    p->importReadings();
    EXPECT_EQ(column(home.conn(), "SELECT date FROM tonaradock_table ORDER BY date"),
              (std::vector<std::string>{"2013-03-05", "2013-04-05"}));

    // The same file again: nothing new, and the preview says so before importing.
    QPointer<ImportPreview> again = preview("03/05/2013 09:05,128,84,70\n04/05/2013 10:00,130,85,71\n");
    choose(again->columnBox(ImportColumns::Date), 0);
    choose(again->columnBox(ImportColumns::Systolic), 1);
    choose(again->columnBox(ImportColumns::Diastolic), 2);
    choose(again->columnBox(ImportColumns::Pulse), 3);
    choose(again->dateOrderBox(), ImportDateFormat::MonthDayYear);
    EXPECT_EQ(cell(*again, 0, 2), "Skipped: already in the diary");
    EXPECT_FALSE(again->importButton()->isEnabled());
}

TEST_F(ImportPreviewTest, EveryChoiceReadsInFullOnTheSmallPhone)
{
    // The separator, the date order and the column headers of a German diary
    // were cut off in four columns of boxes on a 320-point screen.
    display.show();
    QPointer<ImportPreview> p = preview("Datum;Uhrzeit;Systole;Diastole;Puls;Kommentar\n"
                                        "13.05.2013;8:15;128;84;70;gut\n");
    QTest::qWait(1);
    const QList<QComboBox *> boxes = p->findChildren<QComboBox *>();
    ASSERT_EQ(boxes.size(), 8);
    for (QComboBox *box : boxes) {
        ASSERT_TRUE(box->isVisible()) << box->objectName().toStdString();
        QStyleOptionComboBox option;
        option.initFrom(box);
        option.editable = box->isEditable();
        const QRect field =
            box->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, box);
        EXPECT_LE(box->fontMetrics().horizontalAdvance(box->currentText()), field.width())
            << box->objectName().toStdString() << " \"" << box->currentText().toStdString() << "\"";
        EXPECT_TRUE(p->rect().contains(box->geometry().translated(box->parentWidget()->mapTo(p, QPoint()))))
            << box->objectName().toStdString();
    }
    delete p;
}

TEST_F(ImportPreviewTest, AFileOfManyUnreadableRowsScrollsInsteadOfSqueezingTheScreen)
{
    // Seventeen rows of nothing the preview can read: the notes, the list of
    // skipped lines and the choices together are taller than the phone, and
    // the notes and the table were squashed until their words were cut.
    display.show();
    std::string junk;
    for (int i = 0; i < 17; ++i)
        junk += "\x01\x02 just some bytes " + std::to_string(i) + "\n";
    QPointer<ImportPreview> p = preview(junk);
    QTest::qWait(1);
    for (QLabel *label : p->findChildren<QLabel *>()) {
        if (!label->isVisible() || label->text().isEmpty() || !label->wordWrap())
            continue;
        EXPECT_LE(label->heightForWidth(label->width()), label->height())
            << label->objectName().toStdString() << ": " << label->text().toStdString();
    }
    EXPECT_GE(p->rowsTable()->height(), 90) << "the table keeps room for its rows";
    for (QPushButton *b :
         {p->findChild<QPushButton *>("import_cancel"), p->findChild<QPushButton *>("import_confirm")}) {
        ASSERT_NE(b, nullptr);
        EXPECT_TRUE(p->rect().contains(QRect(b->mapTo(p, QPoint()), b->size())))
            << "the buttons stay in view";
    }
    delete p;
}

TEST_F(ImportPreviewTest, CancelAndAFailedImportLeaveTheDiaryAsItWas)
{
    const std::string file =
        "date,time,sys,dia,pulse\n2013-05-01,09:00,130,85,70\n2013-05-02,09:00,199,85,70\n";
    QPointer<ImportPreview> cancelled = preview(file);
    QSignalSpy cancelledSpy(cancelled.data(), &ImportPreview::finished);
    QTest::mouseClick(cancelled->closeButton(), Qt::LeftButton);
    ASSERT_EQ(cancelledSpy.count(), 1);
    EXPECT_EQ(cancelledSpy.at(0).at(0).toInt(), 0);
    EXPECT_EQ(stored(), 0);

    ASSERT_TRUE(SqlStatement::exec(home.conn(),
                                   "CREATE TRIGGER refuse BEFORE INSERT ON tonaradock_table WHEN "
                                   "NEW.sys = 199 BEGIN SELECT RAISE(ABORT, 'disk trouble'); END")
                    .ok());
    QPointer<ImportPreview> p = preview(file);
    QSignalSpy finished(p.data(), &ImportPreview::finished);
    QTest::mouseClick(p->importButton(), Qt::LeftButton);
    EXPECT_EQ(stored(), 0);
    EXPECT_TRUE(home.averages(0).empty());
    EXPECT_EQ(p->resultLabel()->text(),
              "Nothing was imported: the reading on line 3 could not be stored (disk "
              "trouble). Your diary is as it was.");
    EXPECT_FALSE(p->importButton()->isEnabled());
    EXPECT_EQ(p->closeButton()->text(), "Close");
    p->dismiss();
    ASSERT_EQ(finished.count(), 1);
    EXPECT_EQ(finished.at(0).at(0).toInt(), 0);
}

TEST_F(ImportPreviewTest, FlowRefusesFilesItCannotUse)
{
    EXPECT_EQ(ImportFlow::open(&display, home.db, 0, QString::fromStdString(home.dir.path() + "/none.csv"),
                               home.alerts, &home.clock),
              nullptr);
    const std::string empty = home.dir.path() + "/empty.csv";
    std::ofstream(empty) << "Date, Time, Systolic, Diastolic, Pulse, PAD, TRIV, Manual\n";
    EXPECT_EQ(ImportFlow::open(&display, home.db, 0, QString::fromStdString(empty), home.alerts, &home.clock),
              nullptr);
    ASSERT_EQ(home.alerts.alerts.size(), 2u);
    EXPECT_EQ(home.alerts.alerts[0].title, "The file cannot be read");
    EXPECT_EQ(home.alerts.alerts[1].title, "No readings in the file");
    EXPECT_EQ(home.alerts.alerts[1].message, "empty.csv holds no rows of readings.");

    const std::string good = home.dir.path() + "/good.csv";
    std::ofstream(good)
        << "Date, Time, Systolic, Diastolic, Pulse, PAD, TRIV, Manual\n05/03/2013,09:05:07,128,84,"
           "70,N,Y,N\n";
    ImportPreview *p =
        ImportFlow::open(&display, home.db, 0, QString::fromStdString(good), home.alerts, &home.clock);
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(p->isVisibleTo(&display));
    EXPECT_EQ(p->geometry(), display.rect());
    EXPECT_TRUE(p->findChild<QLabel *>("import_own_note")->isVisibleTo(p));
    EXPECT_FALSE(p->findChild<QWidget *>("import_choices")->isVisibleTo(p));
    EXPECT_EQ(cell(*p, 0, 1), "2013-05-03 09:05:07\n128/84, pulse 70");
}

} // namespace
} // namespace tonara::test
