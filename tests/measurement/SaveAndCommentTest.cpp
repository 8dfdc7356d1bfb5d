// Saving single and TRIV results with their comments, the saved indicator, the
// comment editor's limit and the cancel confirmation, on real database files.

#include "ScreenRig.h"
#include "support/StoredReadings.h"

#include "base/Log.h"
#include "measurement/CommentEditor.h"
#include "measurement/CommentView.h"
#include "storage/DataBaseforCD.h"
#include "storage/Reading.h"
#include "storage/StorageTexts.h"

#include <QAccessible>
#include <QLineEdit>
#include <QTest>

using namespace tonara;
using namespace screentest;

namespace {

struct TrivRow {
    int series, position, sys, dia, pulse;
    std::string date;
};

std::vector<Reading> readings(DBHelper &db)
{
    return test::storedReadings(db);
}

std::vector<TrivRow> trivRows(DBHelper &db)
{
    std::vector<TrivRow> out;
    SqlStatement q = db.executeQuery("SELECT id,times,sys,dia,pulse,date FROM triv_table ORDER BY id,times");
    while (q.next())
        out.push_back({q.columnInt(0), q.columnInt(1), q.columnInt(2), q.columnInt(3), q.columnInt(4),
                       q.columnText(5)});
    return out;
}

int count(DBHelper &db, const char *table)
{
    SqlStatement q = db.executeQuery(std::string("SELECT count(*) FROM ") + table);
    return q.next() ? q.columnInt(0) : -1;
}

QString repeated(const QString &piece, int times)
{
    QString s;
    for (int i = 0; i < times; ++i)
        s += piece;
    return s;
}

// A single result on show, from the simulated monitor.
void measureSingle(ScreenRig &rig, tonara::TonaraSimulator::Patient patient)
{
    rig.sim.setPatient(patient);
    const int before = rig.singleReports;
    rig.start(false);
    ASSERT_TRUE(rig.untilSingleResult(before));
    ASSERT_EQ(rig.front(), rig.screen->measuring_window_result());
}

// Through the comment editor, as a person does it: tap the field, type, save.
void comment(ScreenRig &rig, const QString &text)
{
    rig.screen->add_comments();
    ASSERT_EQ(rig.front(), rig.screen->add_comments_view());
    CommentEditor *editor = rig.screen->add_comments_view()->add_comments_text_view;
    editor->selectAll();
    editor->insertPlainText(text);
    rig.screen->add_comments_view()->comments_save->click();
}

QString editorText(ScreenRig &rig)
{
    return rig.screen->add_comments_view()->add_comments_text_view->toPlainText();
}

} // namespace

TEST(SaveSingle, OneRowWithItsColumnsFlagsAndDayAverageThenTheSavedIndicator)
{
    ScreenRig rig;
    DataBaseforCD(*rig.db, rig.alerts).check_database(); // every table there, the settings one empty
    measureSingle(rig, {131, 86, 74, true});
    comment(rig, QStringLiteral("after the walk"));
    EXPECT_EQ(rig.front(), rig.screen->measuring_window_result());
    EXPECT_EQ(rig.screen->singleResultPanel()->comments_text->text(), QStringLiteral("after the walk"));
    EXPECT_EQ(rig.screen->trivResultPanel()->comments_text_3triv->text(), QStringLiteral("after the walk"));

    rig.screen->singleResultPanel()->measurement_save->click();
    EXPECT_TRUE(rig.takeAlerts().empty());

    const auto rows = readings(*rig.db);
    ASSERT_EQ(rows.size(), 1u);
    const Reading &r = rows[0];
    EXPECT_EQ(r.triv_id, 0);
    EXPECT_EQ(r.date, "2026-03-14");
    EXPECT_EQ(r.time, "15:09:26");
    EXPECT_EQ(r.sys, 131);
    EXPECT_EQ(r.dia, 86);
    EXPECT_EQ(r.pulse, 74);
    EXPECT_EQ(r.diary, "after the walk");
    EXPECT_EQ(r.is_triv, 0);
    EXPECT_EQ(r.is_manual, 0);
    EXPECT_EQ(r.is_pad, 1) << "the monitor reported PAD";
    EXPECT_EQ(r.user_id, 0) << "no settings row: user 0";
    EXPECT_EQ(count(*rig.db, "setting_table"), 0) << "saving does not make a settings row";

    SqlStatement avg = rig.db->executeQuery("SELECT user_id,date,sys,dia,pulse,time FROM day_average");
    ASSERT_TRUE(avg.next());
    EXPECT_EQ(avg.columnInt(0), 0);
    EXPECT_EQ(avg.columnText(1), "2026-03-14");
    EXPECT_EQ(avg.columnInt(2), 131);
    EXPECT_EQ(avg.columnInt(4), 74);
    EXPECT_FALSE(avg.next());

    // Back at the start, everything about the reading gone from the screen.
    EXPECT_EQ(rig.front(), rig.screen->start_tonaradock());
    EXPECT_TRUE(rig.screen->measuring_window_result()->isHidden());
    EXPECT_TRUE(rig.screen->singleResultPanel()->comments_text->text().isEmpty());
    EXPECT_TRUE(editorText(rig).isEmpty());
    EXPECT_EQ(rig.screen->HardwareButton(), 0);

    // The indicator stays for one to two ticks of the screen's second.
    EXPECT_FALSE(rig.screen->save_image()->isHidden());
    rig.nextTick();
    EXPECT_EQ(rig.screen->saveImageTicks(), 1);
    EXPECT_FALSE(rig.screen->save_image()->isHidden());
    rig.nextTick();
    EXPECT_TRUE(rig.screen->save_image()->isHidden());
    rig.nextTick();
    EXPECT_EQ(rig.screen->saveImageTicks(), 2) << "no counting while hidden";

    // A second reading the same day averages with the first, truncating.
    measureSingle(rig, {120, 80, 71, false});
    rig.screen->singleResultPanel()->measurement_save->click();
    ASSERT_EQ(readings(*rig.db).size(), 2u);
    EXPECT_EQ(readings(*rig.db)[1].is_pad, 0) << "a new measurement carries no PAD of the last";
    SqlStatement avg2 = rig.db->executeQuery("SELECT sys,dia,pulse FROM day_average");
    ASSERT_TRUE(avg2.next());
    EXPECT_EQ(avg2.columnInt(0), 125);
    EXPECT_EQ(avg2.columnInt(1), 83);
    EXPECT_EQ(avg2.columnInt(2), 72);
    EXPECT_FALSE(rig.screen->save_image()->isHidden()) << "shown afresh";
    EXPECT_EQ(rig.screen->saveImageTicks(), 0);
}

TEST(SaveTriv, OneReadingAndThreeSinglesUnderOneSeriesNumberWhicheverUserSaves)
{
    ScreenRig rig;
    rig.sim.setPatient({138, 88, 76, false});
    rig.start(true);
    ASSERT_TRUE(rig.untilTrivResult());
    ASSERT_EQ(rig.front(), rig.screen->triv3_measuring_window_result());
    TrivResultPanel *result = rig.screen->trivResultPanel();
    comment(rig, QStringLiteral("three in a row"));
    EXPECT_EQ(rig.front(), rig.screen->triv3_measuring_window_result()) << "the comment view returns to TRIV";
    EXPECT_EQ(result->comments_text_3triv->text(), QStringLiteral("three in a row"));

    std::array<std::array<int, 3>, 3> shown{};
    for (std::size_t i = 0; i < 3; ++i)
        shown[i] = {result->sys[i]->text().toInt(), result->dia[i]->text().toInt(),
                    result->pulse[i]->text().toInt()};
    const int sysAvg = result->triv3_sysavg->text().toInt();
    const int pulseAvg = result->triv3_pulseavg->text().toInt();
    ASSERT_GT(sysAvg, 0);

    result->triv3_result_save->click();
    EXPECT_TRUE(rig.takeAlerts().empty());
    auto rows = readings(*rig.db);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].triv_id, 1) << "the first series ever stored";
    EXPECT_EQ(rows[0].is_triv, 1);
    EXPECT_EQ(rows[0].is_manual, 0);
    EXPECT_EQ(rows[0].sys, sysAvg);
    EXPECT_EQ(rows[0].pulse, pulseAvg);
    EXPECT_EQ(rows[0].diary, "three in a row");
    auto details = trivRows(*rig.db);
    ASSERT_EQ(details.size(), 3u);
    for (int p = 0; p < 3; ++p) {
        EXPECT_EQ(details[p].series, 1);
        EXPECT_EQ(details[p].position, p + 1);
        EXPECT_EQ(details[p].sys, shown[p][0]);
        EXPECT_EQ(details[p].dia, shown[p][1]);
        EXPECT_EQ(details[p].pulse, shown[p][2]);
        EXPECT_EQ(details[p].date, "2026-03-14");
    }
    EXPECT_EQ(rig.front(), rig.screen->start_tonaradock());
    EXPECT_TRUE(result->comments_text_3triv->text().isEmpty());
    EXPECT_FALSE(rig.screen->save_image()->isHidden());

    // Another user saves the next series: its number follows on.
    DataBaseforCD settings(*rig.db, rig.alerts);
    ASSERT_TRUE(settings.insertDataBase_setting_table(2, 180, 60));
    const char *values[3][3] = {{"150", "95", "80"}, {"146", "93", "78"}, {"148", "94", "79"}};
    for (std::size_t i = 0; i < 3; ++i) {
        result->sys[i]->setText(QString::fromLatin1(values[i][0]));
        result->dia[i]->setText(QString::fromLatin1(values[i][1]));
        result->pulse[i]->setText(QString::fromLatin1(values[i][2]));
    }
    result->triv3_sysavg->setText(QStringLiteral("148"));
    result->triv3_diaavg->setText(QStringLiteral("--")); // not a number: stored as 0
    result->triv3_pulseavg->setText(QStringLiteral("79"));
    MeasurementMode::measure_mode = MeasurementMode::kTriv;
    rig.screen->triv3_result_save();
    rows = readings(*rig.db);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].triv_id, 2);
    EXPECT_EQ(rows[1].user_id, 2);
    EXPECT_EQ(rows[1].sys, 148);
    EXPECT_EQ(rows[1].dia, 0);
    EXPECT_EQ(rig.screen->triv_id_db(), 2);
    details = trivRows(*rig.db);
    ASSERT_EQ(details.size(), 6u);
    EXPECT_EQ(details[3].series, 2);
    EXPECT_EQ(details[5].position, 3);
    EXPECT_EQ(details[4].sys, 146);
}

TEST(CommentEditor, CountsWhatAPersonSeesUpTo140)
{
    EXPECT_EQ(CommentEditor::visibleCharacters({}), 0);
    EXPECT_EQ(CommentEditor::visibleCharacters(QStringLiteral("abc")), 3);
    EXPECT_EQ(CommentEditor::visibleCharacters(QString::fromUtf8("e\xCC\x81")), 1) << "e + combining acute";
    EXPECT_EQ(CommentEditor::visibleCharacters(QString::fromUtf8("\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD")), 1)
        << "thumbs up with a skin tone";
    EXPECT_EQ(CommentEditor::visibleCharacters(QString::fromUtf8("\xE6\x97\xA9\xE4\xB8\x8A")), 2);

    ScreenRig rig;
    measureSingle(rig, {118, 76, 70, false});
    rig.screen->add_comments();
    CommentEditor *editor = rig.screen->add_comments_view()->add_comments_text_view;
    EXPECT_TRUE(editor->hasFocus() || !rig.screen->isActiveWindow());

    struct Case {
        const char *name;
        QString piece; // one character a person sees
    };
    const Case cases[] = {
        {"ascii", QStringLiteral("x")},
        {"combining", QString::fromUtf8("e\xCC\x81")},
        {"emoji", QString::fromUtf8("\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        editor->setComment({});
        editor->insertPlainText(repeated(c.piece, 139));
        QTest::keyClicks(editor, QStringLiteral("y"));
        EXPECT_EQ(CommentEditor::visibleCharacters(editor->toPlainText()), 140);
        // The 141st is refused, typed or pasted, and the 140 stay as they were.
        QTest::keyClicks(editor, QStringLiteral("z"));
        editor->insertPlainText(c.piece);
        EXPECT_EQ(editor->toPlainText(), repeated(c.piece, 139) + QStringLiteral("y"));
        EXPECT_EQ(rig.screen->add_comments_view()->comments_count->text(), QStringLiteral("140 / 140"));
        // Deleting is always possible, and then there is room again.
        QTest::keyClick(editor, Qt::Key_Backspace);
        QTest::keyClicks(editor, QStringLiteral("w"));
        EXPECT_TRUE(editor->toPlainText().endsWith(QLatin1Char('w')));
    }
    // A combining mark on the 140th character changes it; it adds none.
    editor->setComment(repeated(QStringLiteral("a"), 140));
    editor->moveCursor(QTextCursor::End);
    editor->insertPlainText(QString::fromUtf8("\xCC\x81"));
    EXPECT_EQ(editor->toPlainText(), repeated(QStringLiteral("a"), 139) + QString::fromUtf8("a\xCC\x81"));
    // A line break would break the one-line fields: it becomes a space.
    editor->setComment({});
    editor->insertPlainText(QStringLiteral("before\nafter"));
    EXPECT_EQ(editor->toPlainText(), QStringLiteral("before after"));
}

TEST(SaveSingle, CommentsAreStoredWholeEmptyAccentedNonLatinAndEmoji)
{
    ScreenRig rig;
    const QString comments[] = {
        {},
        QString::fromUtf8("Caf\xC3\xA9 cr\xC3\xA8me, m\xC3\xBC"
                          "de \xE2\x80\x94 \xE6\x97\xA9\xE4\xB8\x8A \xD0\xB4\xD0\xB0"),
        repeated(QStringLiteral("0123456789"), 14),
        repeated(QString::fromUtf8("\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD"), 140),
        repeated(QString::fromUtf8("e\xCC\x81"), 140),
    };
    for (const QString &text : comments) {
        measureSingle(rig, {118, 76, 70, false});
        comment(rig, text);
        rig.screen->singleResultPanel()->measurement_save->click();
    }
    const auto rows = readings(*rig.db);
    ASSERT_EQ(rows.size(), std::size(comments));
    for (std::size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(QString::fromStdString(rows[i].diary), comments[i]) << i;
}

TEST(CommentView, CancelKeepsTheFieldsAndANewMeasurementEmptiesThem)
{
    ScreenRig rig;
    measureSingle(rig, {118, 76, 70, false});
    comment(rig, QStringLiteral("first"));
    rig.screen->add_comments();
    rig.screen->add_comments_view()->add_comments_text_view->insertPlainText(QStringLiteral(" and more"));
    rig.screen->add_comments_view()->comments_cancel->click();
    EXPECT_EQ(rig.front(), rig.screen->measuring_window_result());
    EXPECT_EQ(rig.screen->singleResultPanel()->comments_text->text(), QStringLiteral("first"));
    // The editor opens on the comment the result has, not on what was cancelled.
    rig.screen->add_comments();
    EXPECT_EQ(editorText(rig), QStringLiteral("first"));
    rig.screen->comments_cancel();

    // Saving needs no monitor: undocking keeps the result and its open editor
    // behind the notice, and docking again brings both back as they were.
    rig.screen->add_comments();
    rig.sim.undock();
    rig.settle(200ms);
    EXPECT_EQ(rig.front(), rig.screen->device_not_connected());
    rig.sim.dock();
    ASSERT_TRUE(rig.until([&] { return rig.screen->device_yes_no() == 1; }, 5s));
    EXPECT_EQ(rig.front(), static_cast<QWidget *>(rig.screen->add_comments_view()));
    EXPECT_EQ(rig.screen->HardwareButton(), 3);
    EXPECT_EQ(editorText(rig), QStringLiteral("first"));

    // The monitor's own start button does not start over an unsaved result.
    rig.sim.pressSingleButton();
    rig.settle(100ms);
    EXPECT_EQ(rig.front(), static_cast<QWidget *>(rig.screen->add_comments_view()));
    EXPECT_EQ(rig.screen->HardwareButton(), 3);
    EXPECT_EQ(rig.tabRequests, 0);
    rig.screen->comments_save();
    EXPECT_EQ(rig.front(), rig.screen->measuring_window_result());
    rig.screen->measurement_save();
    const auto rows = readings(*rig.db);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].diary, "first");

    // The next measurement starts blank.
    rig.screen->one_tonara();
    EXPECT_TRUE(rig.screen->singleResultPanel()->comments_text->text().isEmpty());
    EXPECT_TRUE(editorText(rig).isEmpty());
}

TEST(CancelResult, CancelChangesNothingAndOkStoresNothingAndEmptiesTheComments)
{
    for (bool triv : {false, true}) {
        SCOPED_TRACE(triv ? "TRIV" : "single");
        ScreenRig rig;
        QWidget *resultWindow = nullptr;
        if (triv) {
            rig.start(true);
            ASSERT_TRUE(rig.untilTrivResult());
            resultWindow = rig.screen->triv3_measuring_window_result();
        } else {
            measureSingle(rig, {118, 76, 70, false});
            resultWindow = rig.screen->measuring_window_result();
        }
        comment(rig, QStringLiteral("keep me"));
        QPushButton *cancel = triv ? rig.screen->trivResultPanel()->triv3_result_cencel
                                   : rig.screen->singleResultPanel()->measurement_canael;

        cancel->click();
        ASSERT_TRUE(rig.alerts.hasAlert());
        EXPECT_EQ(rig.alerts.currentTitle(), "Abort the reading");
        EXPECT_EQ(rig.alerts.currentMessage(),
                  "Are you sure you want to leave \n without saving this reading?");
        EXPECT_EQ(rig.alerts.currentButtons(), (QStringList{"OK", "Cancel"}));
        rig.alerts.answer(QStringLiteral("Cancel"));
        EXPECT_EQ(rig.front(), resultWindow);
        EXPECT_EQ(rig.screen->singleResultPanel()->comments_text->text(), QStringLiteral("keep me"));
        EXPECT_EQ(editorText(rig), QStringLiteral("keep me"));

        cancel->click();
        rig.alerts.answer(QStringLiteral("OK"));
        EXPECT_EQ(rig.front(), rig.screen->start_tonaradock());
        EXPECT_TRUE(resultWindow->isHidden());
        EXPECT_TRUE(rig.screen->singleResultPanel()->comments_text->text().isEmpty());
        EXPECT_TRUE(rig.screen->trivResultPanel()->comments_text_3triv->text().isEmpty());
        EXPECT_TRUE(editorText(rig).isEmpty());
        EXPECT_EQ(rig.screen->HardwareButton(), 0);
        EXPECT_EQ(count(*rig.db, "tonaradock_table"), 0);
        EXPECT_EQ(count(*rig.db, "triv_table"), 0);
        EXPECT_EQ(count(*rig.db, "day_average"), 0);
        EXPECT_TRUE(rig.screen->save_image()->isHidden());
    }
}

TEST(SaveFailure, MissingReadingTablesSayTheDatabaseIsFullAndStillReturnToTheStart)
{
    std::vector<std::string> logged;
    Log::setSink([&](const std::string &, const std::string &line) { logged.push_back(line); });
    for (bool triv : {false, true}) {
        SCOPED_TRACE(triv ? "TRIV" : "single");
        logged.clear();
        ScreenRig rig;
        if (triv) {
            rig.start(true);
            ASSERT_TRUE(rig.untilTrivResult());
        } else {
            measureSingle(rig, {118, 76, 70, false});
        }
        ASSERT_EQ(sqlite3_exec(rig.db->database(), "DROP TABLE tonaradock_table; DROP TABLE triv_table;",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
        if (triv)
            rig.screen->trivResultPanel()->triv3_result_save->click();
        else
            rig.screen->singleResultPanel()->measurement_save->click();

        const auto alerts = rig.takeAlerts();
        // The reading's insert, and for TRIV each of the three details' too.
        ASSERT_EQ(alerts.size(), triv ? 4u : 1u);
        for (const auto &a : alerts) {
            EXPECT_TRUE(a.title.isEmpty());
            EXPECT_EQ(a.message, QString::fromLatin1(StorageTexts::kDatabaseFull));
        }
        EXPECT_TRUE(std::any_of(logged.begin(), logged.end(), [](const std::string &l) {
            return l.rfind("Db error ", 0) == 0 && l.find("no such table") != std::string::npos;
        }));
        EXPECT_EQ(rig.front(), rig.screen->start_tonaradock());
        EXPECT_TRUE(rig.screen->save_image()->isHidden()) << "nothing was saved, so nothing says so";
    }
    Log::setSink({});
}

namespace {

// The comment field opens its editor for the keyboard and for assistive
// technology too, not only for a mouse.
TEST(CommentView, TheCommentFieldOpensOnEnterSpaceAndThePressAction)
{
    ScreenRig rig;
    measureSingle(rig, {118, 76, 70, false});
    QLineEdit *field = rig.screen->singleResultPanel()->comments_text;
    auto *editor = static_cast<QWidget *>(rig.screen->add_comments_view());
    auto reopen = [&] {
        rig.screen->comments_cancel();
        ASSERT_EQ(rig.front(), rig.screen->measuring_window_result());
    };
    for (int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
        SCOPED_TRACE(key);
        field->setFocus();
        QTest::keyClick(field, Qt::Key(key));
        EXPECT_EQ(rig.front(), editor);
        reopen();
    }
    QAccessibleInterface *a = QAccessible::queryAccessibleInterface(field);
    ASSERT_TRUE(a && a->actionInterface());
    ASSERT_TRUE(a->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
    EXPECT_EQ(a->text(QAccessible::Name), field->accessibleName());
    a->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(rig.front(), editor);
    reopen();
    // A tap still does; other keys do not.
    QTest::keyClick(field, Qt::Key_A);
    EXPECT_EQ(rig.front(), rig.screen->measuring_window_result());
    QTest::mouseClick(field, Qt::LeftButton);
    EXPECT_EQ(rig.front(), editor);
    rig.screen->comments_cancel();

    // The TRIV result's field the same way.
    rig.screen->measurement_save();
    rig.start(true);
    ASSERT_TRUE(rig.untilTrivResult());
    QLineEdit *trivField = rig.screen->trivResultPanel()->comments_text_3triv;
    QAccessibleInterface *t = QAccessible::queryAccessibleInterface(trivField);
    ASSERT_TRUE(t && t->actionInterface());
    t->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(rig.front(), editor);
}

} // namespace
