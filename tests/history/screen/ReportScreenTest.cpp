#include "ReportRig.h"

#include "history/MonthBar.h"
#include "history/ReportChoicePanel.h"
#include "history/TrivDetailView.h"
#include "measurement/ManualFromHistory.h"
#include "measurement/WhoLegendView.h"
#include "measurement/core/WHOClassification.h"
#include "reports/core/HomeThreshold.h"
#include "reports/core/HomeWeekStore.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

namespace tonara::test {

class ReportScreen : public ReportRig {};

TEST_F(ReportScreen, OpensOnTheClocksMonthAndMovesByArrowsAndSwipes)
{
    clock.set({2013, 12, 5, 10, 0, 0});
    add(0, "2013-12-04", "09:00:00", 120, 80, 70);
    add(0, "2014-01-02", "09:00:00", 130, 85, 70);
    open();
    EXPECT_EQ(report->month().count(), 1);
    EXPECT_EQ(report->segmentedControl()->title(1), "Dec.");

    report->move_ll();
    EXPECT_EQ(std::pair(report->show_year(), report->show_month()), std::pair(2014, 1));
    EXPECT_EQ(report->month().aArray_sys, (std::vector<int>{130}));
    report->move_rr();
    EXPECT_EQ(report->show_month(), 12);

    // A stroke to the left over the list is a left swipe.
    QWidget *list = report->scrollview()->viewport();
    QTest::mousePress(list, Qt::LeftButton, {}, QPoint(250, 200));
    QTest::mouseRelease(list, Qt::LeftButton, {}, QPoint(120, 205));
    EXPECT_EQ(report->show_month(), 1);

    QTest::mouseClick(report->findChild<QPushButton *>("titlebar_buttonL"), Qt::LeftButton);
    EXPECT_EQ(std::pair(report->show_year(), report->show_month()), std::pair(2013, 10));
    EXPECT_EQ(report->segmentedControl()->title(0), "Sep.");

    // Coming back to the tab shows the clock's month again.
    report->hide();
    report->show();
    EXPECT_EQ(std::pair(report->show_year(), report->show_month()), std::pair(2013, 12));
}

TEST_F(ReportScreen, SwipesAreIgnoredWhileAnOverlayIsOpen)
{
    clock.set({2013, 5, 20, 10, 0, 0});
    clock.set({2013, 5, 3, 9, 5, 7});
    ASSERT_TRUE(
        store.saveTriv(128, 84, 70, {{{131, 86, 72}, {125, 80, 69}, {128, 86, 70}}}, "", false).stored);
    open();
    ASSERT_TRUE(report->Slide_Press);

    QTest::mouseClick(button("more_button", 0), Qt::LeftButton);
    EXPECT_TRUE(report->detail_press);
    EXPECT_EQ(report->Detail_view()->detail_sys2nd_label->text(), "125");
    EXPECT_EQ(report->Detail_view()->detail_time_label->text(), "09:05:07");
    report->move_ll();
    EXPECT_EQ(report->show_month(), 5);

    // The legend over the detail: closing it leaves swipes off until the detail goes.
    QTest::mouseClick(report->Detail_view()->detail_who_button, Qt::LeftButton);
    EXPECT_TRUE(report->who_press);
    report->whoview_back();
    EXPECT_FALSE(report->Slide_Press);
    report->Detail_view_back();
    EXPECT_TRUE(report->Slide_Press);

    report->edit_chack();
    report->move_rr();
    EXPECT_EQ(report->show_month(), 5);
    report->Month_plus1();
    EXPECT_EQ(report->show_month(), 8) << "the arrows work whatever the flags";
}

TEST_F(ReportScreen, ATrivDetailShowsAWholeLongCommentOnThePhones)
{
    // A comment of 140 characters needs four lines; the detail gave it two,
    // half hidden under the tab bar, and a run without spaces one line cut at both ends.
    const std::string sentence = "Nach dem Fruehstueck Kaffee getrunken, etwas aufgeregt wegen des Termins "
                                 "beim Arzt heute Nachmittag, vorher zwanzig Minuten spazieren gegangen";
    for (FormFactor form : {FormFactor::Phone480, FormFactor::Phone568}) {
        for (const std::string &comment : {sentence.substr(0, 140), std::string(140, 'x')}) {
            SCOPED_TRACE(comment.substr(0, 4));
            clock.set({2013, 5, 3, 9, 5, 7});
            ASSERT_TRUE(
                store.saveTriv(128, 84, 70, {{{131, 86, 72}, {125, 80, 69}, {128, 86, 70}}}, comment, false)
                    .stored);
            open(form);
            report->show(); // a second screen on the shown host
            QApplication::processEvents();
            report->more_button_touch(0);
            QLabel *label = report->Detail_view()->detail_comments;
            ASSERT_TRUE(label->isVisible());
            EXPECT_EQ(label->accessibleName().toStdString(), comment);
            // All of it fits the label, and the label can be brought into view inside the detail.
            EXPECT_LE(label->heightForWidth(label->width()), label->height());
            QWidget *viewport = label->parentWidget();
            EXPECT_TRUE(report->Detail_view()->rect().contains(
                QRect(viewport->mapTo(report->Detail_view(), QPoint()), viewport->size())));
            EXPECT_LE(label->width(), viewport->width());
            EXPECT_LE(QFontMetrics(label->font())
                          .boundingRect(QRect(0, 0, label->width(), 10000), Qt::TextWordWrap, label->text())
                          .width(),
                      label->width());
            report->Detail_view_back();
            for (const char *sql :
                 {"DELETE FROM tonaradock_table", "DELETE FROM triv_table", "DELETE FROM day_average"})
                SqlStatement::exec(conn(), sql);
        }
    }
}

TEST_F(ReportScreen, ACommentWithoutSpacesWrapsOnItsCardInsteadOfRunningOffIt)
{
    // A pasted link or a key held down: one "word" of 140 characters stayed on
    // one line and its end was never drawn.
    clock.set({2013, 5, 3, 9, 5, 7});
    ASSERT_TRUE(store.saveSingle(128, 84, 70, std::string(140, 'x'), false).stored);
    open();
    const QImage content = report->scrollview()->widget()->grab().toImage();
    const int top = MonthListView::kTopOffset;
    auto inked = [&](int y0, int y1) {
        int dark = 0;
        for (int y = top + y0; y < top + y1 && y < content.height(); ++y)
            for (int x = 15; x < 292 && x < content.width(); ++x)
                dark += qGray(content.pixel(x, y)) < 100;
        return dark;
    };
    EXPECT_GT(inked(165, 178), 0) << "the first line";
    EXPECT_GT(inked(180, 215), 0) << "the rest, on further lines";
}

TEST_F(ReportScreen, LegendFromACardZoomsWithCtrlWheelBetweenOneAndFiveTimes)
{
    clock.set({2013, 5, 3, 9, 5, 7});
    add(0, "2013-05-03", "09:05:07", 185, 95, 88);
    clock.set({2013, 5, 20, 10, 0, 0});
    for (FormFactor form : {FormFactor::Phone480, FormFactor::Tablet}) {
        SCOPED_TRACE(isTablet(form) ? "tablet" : "phone");
        open(form);
        QPushButton *who = button("who_button", 0);
        ASSERT_NE(who, nullptr);
        QTest::mouseClick(who, Qt::LeftButton);
        ASSERT_TRUE(report->who_press);
        ASSERT_FALSE(report->WHOview()->isHidden());
        WhoScrollView *view = report->WHOview()->whoscrollView;
        QWidget *picture = report->WHOview()->WHO_imageView;
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(view->viewForZoomingInScrollView(view), picture);
        const QSize unzoomed = picture->size();

        auto wheel = [&](int delta, Qt::KeyboardModifiers mods) {
            const QPointF at(view->viewport()->width() / 2.0, view->viewport()->height() / 2.0);
            QWheelEvent e(at, view->viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          mods, Qt::NoScrollPhase, false);
            QApplication::sendEvent(view->viewport(), &e);
        };
        wheel(120, Qt::ControlModifier);
        EXPECT_GT(view->zoomScale(), 1.0);
        EXPECT_GT(picture->width(), unzoomed.width());
        for (int i = 0; i < 30; ++i)
            wheel(120, Qt::ControlModifier);
        EXPECT_DOUBLE_EQ(view->zoomScale(), 5.0) << "never past five times";
        EXPECT_EQ(picture->width(), qRound(unzoomed.width() * 5.0));
        wheel(-120, Qt::NoModifier);
        EXPECT_DOUBLE_EQ(view->zoomScale(), 5.0) << "a plain wheel scrolls, it does not zoom";
        for (int i = 0; i < 40; ++i)
            wheel(-120, Qt::ControlModifier);
        EXPECT_DOUBLE_EQ(view->zoomScale(), 1.0) << "never below the whole picture";

        // Zoomed, closed and opened again from a card: it starts whole.
        wheel(240, Qt::ControlModifier);
        QTest::mouseClick(report->WHOview()->WHO_Back_Touch, Qt::LeftButton);
        EXPECT_TRUE(report->WHOview()->isHidden());
        EXPECT_TRUE(report->Slide_Press);
        QTest::mouseClick(button("who_button", 0), Qt::LeftButton);
        EXPECT_DOUBLE_EQ(report->WHOview()->whoscrollView->zoomScale(), 1.0);
        report.reset();
    }
}

TEST_F(ReportScreen, TheTrivDetailSlidesInFromTheRightWhenAnimated)
{
    clock.set({2013, 5, 3, 9, 5, 7});
    ASSERT_TRUE(
        store.saveTriv(128, 84, 70, {{{131, 86, 72}, {125, 80, 69}, {128, 86, 70}}}, "", false).stored);
    clock.set({2013, 5, 20, 10, 0, 0});
    open();
    report.reset(); // again, with the transitions a person sees
    report = std::make_unique<Historyandreports>(
        HistoryContext{&db, &presenter, &clock, &scheduler, FormFactor::Phone480, true}, &host);
    report->resize(host.size());
    report->show();
    QApplication::processEvents();

    report->more_button_touch(0);
    EXPECT_TRUE(report->detail_press);
    EXPECT_GT(report->Detail_view()->x(), 0) << "it starts beside the screen";
    EXPECT_FALSE(report->Detail_view()->isHidden());
    QTRY_COMPARE_WITH_TIMEOUT(report->Detail_view()->pos(), QPoint(0, 0), 5000);
}

TEST_F(ReportScreen, DeleteButtonsSlideInFromTheLeftAndOutAgainOnTheCardsInView)
{
    for (int d = 1; d <= 20; ++d)
        add(0, QString::asprintf("2013-05-%02d", d).toStdString(), "09:00:00", 120, 80, 70);
    open();
    report.reset(); // again, with the transitions a person sees
    report = std::make_unique<Historyandreports>(
        HistoryContext{&db, &presenter, &clock, &scheduler, FormFactor::Phone480, true}, &host);
    report->resize(host.size());
    report->show();
    QApplication::processEvents();

    report->edit_chack();
    QPushButton *first = button("delete_button", 0);
    ASSERT_TRUE(first);
    EXPECT_LT(first->x(), 20) << "it starts beside the card";
    QTRY_COMPARE_WITH_TIMEOUT(first->x(), 20, 5000);

    // Cards scrolled into view get theirs in place from the pooled buttons.
    report->scrollview()->scrollToCard(15);
    QApplication::processEvents();
    ASSERT_TRUE(button("delete_button", 15));
    EXPECT_EQ(button("delete_button", 15)->x(), 20);
    EXPECT_FALSE(button("delete_button", 0));

    report->edit_done();
    ASSERT_EQ(countVisible("delete_button"), 2) << "they leave by sliding, not at once";
    EXPECT_TRUE(report->Slide_Press);
    QTRY_COMPARE_WITH_TIMEOUT(countVisible("delete_button"), 0, 5000);
    EXPECT_EQ(report->scrollview()->deleteSlide(), 0.0);
    EXPECT_EQ(countVisible("who_button"), 2) << "the cards' other controls stay";
}

TEST_F(ReportScreen, CardControlsAreNamedAndOnlyVisibleCardsHaveThem)
{
    for (int d = 1; d <= 28; ++d)
        for (int k = 0; k < 10; ++k)
            add(0, QString::asprintf("2013-05-%02d", d).toStdString(),
                QString::asprintf("%02d:00:00", 8 + k).toStdString(), 120 + k, 80, 70, k == 0, k == 1,
                k == 2);
    open();
    ASSERT_EQ(report->month().count(), 280);
    const int whoButtons = countVisible("who_button");
    EXPECT_GE(whoButtons, 1);
    EXPECT_LE(whoButtons, 4) << "buttons only for the cards in view";

    QPushButton *who = button("who_button", 0);
    ASSERT_TRUE(who);
    EXPECT_EQ(who->accessibleDescription(), "who_button");
    // The latest reading of the month is 129/80.
    const auto heard = QString::fromStdString(WHOClassification::name(WHOClassification::category(129, 80)));
    EXPECT_TRUE(who->accessibleName().contains(heard)) << who->accessibleName().toStdString();

    report->scrollview()->scrollToCard(200);
    QApplication::processEvents();

    EXPECT_TRUE(button("who_button", 200));
    EXPECT_FALSE(button("who_button", 0));
    EXPECT_LE(countVisible("who_button"), 4);
}

TEST_F(ReportScreen, DeletingAskedAndAnsweredOnAPhoneAndATablet)
{
    add(0, "2013-05-03", "08:00:00", 121, 79, 70);
    add(0, "2013-05-03", "12:00:00", 124, 82, 73);
    add(0, "2013-05-03", "20:00:00", 190, 100, 99);
    open();
    report->edit_chack();
    ASSERT_EQ(countVisible("delete_button"), 2) << "two cards in view on a 480 phone";
    QTest::mouseClick(button("delete_button", 0), Qt::LeftButton);
    ASSERT_TRUE(presenter.hasAlert());
    EXPECT_EQ(presenter.currentTitle(), "Are you sure you want to delete the data?");
    EXPECT_EQ(presenter.currentButtons(), (QStringList{"Yes", "No"}));
    presenter.answer(QStringLiteral("No"));
    EXPECT_EQ(report->month().count(), 3);

    QTest::mouseClick(button("delete_button", 0), Qt::LeftButton);
    presenter.answer(QStringLiteral("Yes"));
    EXPECT_EQ(report->month().count(), 2);
    EXPECT_EQ(averagesOf("2013-05-03"), (std::vector<AvgRow>{{0, 122, 80, 71}}));
    EXPECT_TRUE(report->edit_press);
    EXPECT_EQ(countVisible("delete_button"), 0) << "a phone puts the delete buttons away";

    report->edit_done();
    report.reset();
    open(FormFactor::Tablet);
    report->edit_chack();
    QTest::mouseClick(button("delete_button", 0), Qt::LeftButton);
    presenter.answer(QStringLiteral("Yes"));
    EXPECT_EQ(report->month().count(), 1);
    EXPECT_EQ(countVisible("delete_button"), 1) << "a tablet keeps them";
}

TEST_F(ReportScreen, AddAsksForTheManualEntryOnTheMeasurementTab)
{
    open();
    QSignalSpy tabs(report.get(), &Historyandreports::selectTabRequested);
    report->edit_chack();
    QTest::mouseClick(report->findChild<QPushButton *>("deit_add"), Qt::LeftButton);
    EXPECT_EQ(ManualFromHistory::manual_from_history, 1);
    ASSERT_EQ(tabs.count(), 1);
    EXPECT_EQ(tabs.at(0).at(0).toInt(), 0);
    ManualFromHistory::manual_from_history = 0;
}

TEST_F(ReportScreen, SharingTheActiveUsersMonthOrNothing)
{
    users.insertDataBase_user_table(0, "", "", "User", "", "", 0, "");
    users.insertDataBase_user_table(1, "", "", "Mother", "", "", 0, "");
    add(1, "2013-05-03", "09:05:07", 128, 84, 70, 1, 0, 0);
    add(0, "2013-05-04", "10:00:00", 150, 90, 80);
    becomeActive(1);
    open();
    std::vector<Historyandreports::Mail> composed;
    report->setComposerFactory([&](const Historyandreports::Mail &m) {
        composed.push_back(m);
        return true;
    });
    report->share_bt();
    EXPECT_EQ(presenter.currentTitle(), "Email you data via email");
    EXPECT_EQ(presenter.currentButtons(),
              (QStringList{"Share data of this month", "Share all data", "Doctor's report (PDF)", "Cancel"}));
    presenter.answer(0);
    ASSERT_EQ(composed.size(), 1u);
    EXPECT_EQ(composed[0].subject, "Mother 's blood pressure history");
    EXPECT_EQ(composed[0].body,
              "Attached in the email is Mother 's blood pressure history from Date 05/03/2013 to 05/03/2013");
    EXPECT_EQ(composed[0].attachment, "Date, Time, Systolic, Diastolic, Pulse, PAD, TRIV, Manual\n"
                                      "05/03/2013,09:05:07,128,84,70,N,Y,N\n");
    EXPECT_EQ(composed[0].fileName, "data.csv");
    EXPECT_EQ(composed[0].mimeType, "text/csv");
    EXPECT_EQ(Historyandreports::mail_state, 1);

    report->mailComposeController_didFinishWithResult(2);
    EXPECT_EQ(presenter.currentTitle(), "sent successfully");
    presenter.answer(0);
    EXPECT_EQ(Historyandreports::mail_state, 0);

    // A failed send is said in words; the composer's state waits for a later composer.
    report->share_bt();
    presenter.answer(0);
    report->mailComposeController_didFinishWithResult(3, "Could not connect to server 127.0.0.1");
    EXPECT_EQ(presenter.currentTitle(), "Mail not sent");
    EXPECT_EQ(presenter.currentMessage(), "Could not connect to server 127.0.0.1");
    presenter.answer(0);
    EXPECT_EQ(Historyandreports::mail_state, 1);
    report->mailComposeController_didFinishWithResult(0);
    EXPECT_EQ(Historyandreports::mail_state, 0);

    report->Month_plus1();
    report->share_bt();
    presenter.answer(0);
    EXPECT_EQ(presenter.currentTitle(), "No data.");
    presenter.answer(0);
    EXPECT_EQ(composed.size(), 2u); // nothing composed for the empty month
}

TEST_F(ReportScreen, TheDoctorsReportOfTheMonthIsSavedWhereChosenOrSentAsPdf)
{
    users.insertDataBase_user_table(1, "", "", "Mother", "", "", 0, "");
    add(1, "2013-05-03", "09:05:07", 128, 84, 70);
    add(0, "2013-05-04", "10:00:00", 150, 90, 80);
    becomeActive(1);
    open();
    std::vector<Historyandreports::Mail> composed;
    report->setComposerFactory([&](const Historyandreports::Mail &m) {
        composed.push_back(m);
        return true;
    });
    const QString path = QString::fromStdString(dir.path() + "/mine.pdf");
    QStringList suggestions;
    report->setReportFileChooser([&](const QString &suggested) {
        suggestions << suggested;
        return suggestions.size() == 1 ? path : QString(); // the second time the person cancels
    });
    ReportChoicePanel *panel = report->reportPanel();

    report->share_bt();
    presenter.answer(QStringLiteral("Doctor's report (PDF)"));
    ASSERT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->periodBox()->currentText(), "This month (May 2013)");
    EXPECT_EQ(panel->summary()->text(), "1 reading, 2013-05-01 to 2013-05-31.");
    QTest::mouseClick(panel->saveButton(), Qt::LeftButton);
    ASSERT_EQ(suggestions.size(), 1);
    EXPECT_TRUE(suggestions[0].endsWith("report.pdf"));
    EXPECT_EQ(presenter.currentTitle(), "Report saved");
    EXPECT_FALSE(panel->isVisible());
    presenter.answer(0);
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(saved.read(5) == "%PDF-");

    // Cancelled in the file dialog: no alert, nothing written, the panel still there.
    report->share_bt();
    presenter.answer(2);
    panel->saveButton()->click();
    EXPECT_EQ(suggestions.size(), 2);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_TRUE(presenter.currentTitle().isEmpty());

    // The diary's own database, picked by mistake: refused, the readings stay.
    report->setReportFileChooser(
        [&](const QString &) { return QString::fromStdString(db.getDatabaseFullPath()); });
    panel->saveButton()->click();
    EXPECT_EQ(presenter.currentTitle(), "Report not saved");
    presenter.answer(0);
    EXPECT_TRUE(panel->isVisible());
    {
        SqlStatement st(conn(), "SELECT count(*) FROM tonaradock_table");
        ASSERT_TRUE(st.next());
        EXPECT_EQ(st.columnInt(0), 2);
    }
    EXPECT_TRUE(composed.empty());

    panel->sendButton()->click();
    EXPECT_FALSE(panel->isVisible());
    ASSERT_EQ(composed.size(), 1u);
    EXPECT_EQ(composed[0].fileName, "report.pdf");
    EXPECT_EQ(composed[0].mimeType, "application/pdf");
    EXPECT_TRUE(composed[0].attachment.startsWith("%PDF-"));
    EXPECT_EQ(composed[0].subject, "Mother 's blood pressure report");
    EXPECT_TRUE(composed[0].body.contains("2013-05-01 to 2013-05-31"));
    EXPECT_EQ(Historyandreports::mail_state, 1);
    report->mailComposeController_didFinishWithResult(0);

    // An empty month is said in words, and nothing can be made of it.
    report->Month_plus1();
    report->share_bt();
    presenter.answer(2);
    EXPECT_EQ(panel->summary()->text(), "No readings in this period, so there is nothing to report.");
    EXPECT_FALSE(panel->saveButton()->isEnabled());
    EXPECT_FALSE(panel->sendButton()->isEnabled());
    panel->cancelButton()->click();
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(composed.size(), 1u);

    // Away from the tab and back: the panel read for the profile active then is gone.
    report->share_bt();
    presenter.answer(2);
    report->hide();
    report->show();
    EXPECT_FALSE(panel->isVisible());
}

TEST_F(ReportScreen, TheReportCoversTheChosenPeriodOrTheLatestHomeMonitoringWeek)
{
    clock.set({2013, 5, 20, 21, 0, 0});
    add(0, "2013-05-19", "08:00:00", 128, 84, 70);
    add(0, "2013-04-10", "08:00:00", 138, 88, 71);
    add(0, "2012-12-01", "08:00:00", 118, 78, 66);
    add(1, "2013-05-19", "08:00:00", 160, 99, 90); // someone else's
    open();
    ReportChoicePanel *panel = report->reportPanel();
    report->share_bt();
    presenter.answer(2);
    auto pick = [&](const QString &entry) {
        const int i = panel->periodBox()->findText(entry);
        ASSERT_GE(i, 0) << entry.toStdString();
        panel->choose(i);
    };
    auto readings = [&] { return panel->content() ? panel->content()->stats.count : -1; };
    EXPECT_EQ(panel->periodBox()->findText("Home-monitoring week", Qt::MatchStartsWith), -1)
        << "offered only once a week was started";

    pick("Last 7 days");
    EXPECT_EQ(readings(), 1);
    EXPECT_EQ(panel->summary()->text(), "1 reading, 2013-05-14 to 2013-05-20.");
    pick("All readings");
    EXPECT_EQ(readings(), 3);
    EXPECT_FALSE(panel->fromEdit()->isVisible());

    pick("Chosen dates…");
    EXPECT_TRUE(panel->fromEdit()->isVisible());
    panel->fromEdit()->setDate(QDate(2013, 4, 1));
    panel->toEdit()->setDate(QDate(2013, 4, 30));
    EXPECT_EQ(readings(), 1);
    EXPECT_EQ(panel->content()->rows.at(0).sys, 138);
    panel->fromEdit()->setDate(QDate(2013, 5, 1));
    EXPECT_FALSE(panel->content().has_value());
    EXPECT_EQ(panel->summary()->text(), "The first day lies after the last one: choose the dates again.");
    EXPECT_FALSE(panel->saveButton()->isEnabled());
    panel->cancelButton()->click();

    HomeWeekStore weeks(db);
    ASSERT_TRUE(weeks.startWeek(0, *CivilDate::parse("2013-05-14"), HomeThreshold::standard()));
    report->share_bt();
    presenter.answer(2);
    EXPECT_EQ(panel->periodBox()->itemText(1), "Home-monitoring week from 2013-05-14");
    panel->choose(1);
    ASSERT_TRUE(panel->content().has_value());
    ASSERT_TRUE(panel->content()->week.has_value());
    EXPECT_EQ(panel->content()->period.toText(), "2013-05-20");
    EXPECT_EQ(readings(), 1);
    EXPECT_EQ(panel->summary()->text(),
              "1 reading in the seven days 2013-05-14 to 2013-05-20; the week has no result yet.");
    EXPECT_TRUE(panel->saveButton()->isEnabled());
}

TEST_F(ReportScreen, SharingReadsTheReadingsOnce)
{
    add(0, "2013-05-03", "08:00:00", 121, 79, 70);
    open();
    int exports = 0;
    sqlite3_trace_v2(
        db.database(), SQLITE_TRACE_STMT,
        [](unsigned, void *count, void *, void *sql) {
            if (std::string(static_cast<const char *>(sql)).find("FROM tonaradock_table where user_id") !=
                std::string::npos)
                ++*static_cast<int *>(count);
            return 0;
        },
        &exports);
    int composed = 0;
    report->setComposerFactory([&](const Historyandreports::Mail &mail) {
        composed += mail.attachment.contains("121,79,70");
        return true;
    });
    report->share_bt();
    presenter.answer(QStringLiteral("Share all data"));
    sqlite3_trace_v2(db.database(), 0, nullptr, nullptr);
    EXPECT_EQ(composed, 1);
    EXPECT_EQ(exports, 1);
    Historyandreports::mail_state = 0;
}

TEST_F(ReportScreen, BannerWaitsASecondThenSlidesAwayInElevenSteps)
{
    open();
    EXPECT_EQ(report->y_show_trun(), 320);
    scheduler.advance(Millis(50 * 20));
    EXPECT_EQ(report->y_show_trun(), 320);
    scheduler.advance(Millis(50));
    EXPECT_EQ(report->y_show_trun(), 335);
    scheduler.advance(Millis(50 * 10));
    EXPECT_EQ(report->y_show_trun(), 485);
    EXPECT_FALSE(report->show_turn_Image()->isHidden());
    scheduler.advance(Millis(50));
    EXPECT_TRUE(report->show_turn_Image()->isHidden());
}

} // namespace tonara::test
