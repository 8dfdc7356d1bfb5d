#include "platform/AlertPresenter.h"
#include "platform/AlertSheet.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>

#include <functional>
#include <vector>

namespace tonara {
namespace {

void settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

class AlertPresenterTest : public ::testing::Test {
protected:
    AlertPresenterTest()
    {
        host.resize(320, 480);
        host.show();
        host.activateWindow();
        QApplication::setActiveWindow(&host);
        alerts.setAnimationsEnabled(false);
        alerts.setHost(&host);
    }
    QList<QPushButton *> buttons() const
    {
        auto *sheet = qobject_cast<AlertSheet *>(alerts.currentSheet());
        return sheet ? sheet->buttons() : QList<QPushButton *>{};
    }
    void key(int k)
    {
        QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : alerts.currentSheet();
        QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &press);
        settle();
    }

    QWidget host;
    AlertPresenter alerts;
    std::vector<std::pair<QString, int>> answers;
    std::function<void(int)> record(const QString &name)
    {
        return [this, name](int i) { answers.emplace_back(name, i); };
    }
};

TEST_F(AlertPresenterTest, OneAtATimeInTheOrderAsked)
{
    QSignalSpy shown(&alerts, &AlertPresenter::alertShown);
    alerts.alert("First", "one", {"OK"}, record("First"));
    alerts.alert("Second", "two", {"Yes", "No"}, record("Second"));
    EXPECT_EQ(alerts.pendingCount(), 2);
    EXPECT_EQ(alerts.currentTitle(), "First");
    EXPECT_EQ(shown.count(), 1) << "the waiting alert is not shown yet";

    alerts.answer(0);
    EXPECT_EQ(alerts.currentTitle(), "Second");
    EXPECT_EQ(alerts.currentButtons(), (QStringList{"Yes", "No"}));
    EXPECT_EQ(shown.count(), 2);
    EXPECT_TRUE(alerts.answer(QStringLiteral("No")));
    EXPECT_FALSE(alerts.hasAlert());
    ASSERT_EQ(answers.size(), 2u);
    EXPECT_EQ(answers[0], std::make_pair(QString("First"), 0));
    EXPECT_EQ(answers[1], std::make_pair(QString("Second"), 1));
}

TEST_F(AlertPresenterTest, WrongAnswersChangeNothing)
{
    alerts.alert("Only", "", {"OK", "Cancel"}, record("Only"));
    alerts.answer(2);
    alerts.answer(-1);
    EXPECT_FALSE(alerts.answer(QStringLiteral("Maybe")));
    EXPECT_EQ(alerts.pendingCount(), 1);
    EXPECT_TRUE(answers.empty());
    alerts.answer(1);
    alerts.answer(0); // nothing left to answer
    EXPECT_EQ(answers.size(), 1u);
}

TEST_F(AlertPresenterTest, AnAlertRaisedByAnAnswerWaitsBehindTheOthers)
{
    alerts.alert("A", "", {"OK"}, [this](int) { alerts.alert("C", "", {"OK"}); });
    alerts.alert("B", "", {"OK"});
    alerts.answer(0);
    EXPECT_EQ(alerts.currentTitle(), "B");
    alerts.answer(0);
    EXPECT_EQ(alerts.currentTitle(), "C");
    ASSERT_NE(alerts.currentSheet(), nullptr);
    EXPECT_EQ(alerts.currentSheet()->accessibleName(), "C");
}

TEST_F(AlertPresenterTest, PureLayersReachItThroughTheSink)
{
    AlertSink &sink = alerts;
    int chosen = -1;
    sink.showAlert("battery error", "", {"OK"}, [&](int i) { chosen = i; });
    EXPECT_EQ(alerts.currentTitle(), "battery error");
    alerts.answer(QStringLiteral("OK"));
    EXPECT_EQ(chosen, 0);
}

TEST_F(AlertPresenterTest, TheSheetShowsTheTextsAndCanBeFoundAndHeard)
{
    alerts.alert("Measurement Stop", "Measurement stopped.", {"OK"});
    QWidget *sheet = alerts.currentSheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(sheet->geometry(), host.rect()) << "the sheet covers the whole screen";
    auto *title = sheet->findChild<QLabel *>("alertTitle");
    auto *message = sheet->findChild<QLabel *>("alertMessage");
    ASSERT_TRUE(title && message);
    EXPECT_EQ(title->text(), "Measurement Stop");
    EXPECT_EQ(title->accessibleName(), "Measurement Stop");
    EXPECT_EQ(title->accessibleDescription(), "alertTitle");
    EXPECT_TRUE(title->font().bold() || title->font().weight() >= QFont::DemiBold);
    EXPECT_EQ(message->text(), "Measurement stopped.");
    ASSERT_EQ(buttons().size(), 1);
    EXPECT_EQ(buttons()[0]->accessibleName(), "OK");
    // Announced as an alert with its title, not passed over as a filler.
    QAccessibleInterface *said = QAccessible::queryAccessibleInterface(sheet);
    ASSERT_NE(said, nullptr);
    EXPECT_EQ(said->role(), QAccessible::AlertMessage);
    EXPECT_EQ(said->text(QAccessible::Name), "Measurement Stop");
    std::function<bool(QAccessibleInterface *)> hears = [&](QAccessibleInterface *a) {
        if (!a)
            return false;
        if (a->text(QAccessible::Name) == "Measurement stopped.")
            return true;
        for (int i = 0; i < a->childCount(); ++i)
            if (hears(a->child(i)))
                return true;
        return false;
    };
    const bool messageHeard = hears(said);
    EXPECT_TRUE(messageHeard) << "the message is read out within the alert";

    buttons()[0]->click();
    settle();
    EXPECT_FALSE(alerts.hasAlert());
    EXPECT_EQ(alerts.currentSheet(), nullptr);
    EXPECT_TRUE(host.findChildren<AlertSheet *>().isEmpty());
}

TEST_F(AlertPresenterTest, TwoButtonsSitSideBySideMoreInAColumn)
{
    alerts.alert("Abort the reading", "", {"OK", "Cancel"});
    ASSERT_EQ(buttons().size(), 2);
    EXPECT_EQ(buttons()[0]->y(), buttons()[1]->y());
    EXPECT_LT(buttons()[0]->x(), buttons()[1]->x());
    alerts.answer(1);
    alerts.alert("Three", "", {"A", "B", "C"});
    ASSERT_EQ(buttons().size(), 3);
    EXPECT_EQ(buttons()[0]->x(), buttons()[1]->x());
    EXPECT_LT(buttons()[0]->y(), buttons()[1]->y());
    EXPECT_LT(buttons()[1]->y(), buttons()[2]->y());
}

TEST_F(AlertPresenterTest, ADoubleClickDoesNotAnswerTheNextAlert)
{
    alerts.alert("First", "", {"OK"}, record("First"));
    alerts.alert("Second", "", {"OK"}, record("Second"));
    QPushButton *ok = buttons()[0];
    ok->click();
    ok->click(); // the second click arrives before the first is handled
    settle();
    EXPECT_EQ(answers.size(), 1u);
    EXPECT_EQ(alerts.currentTitle(), "Second");
}

TEST_F(AlertPresenterTest, TheKeyboardAnswers)
{
    // Escape picks Cancel; the focus starts there.
    alerts.alert("Abort the reading", "", {"OK", "Cancel"}, record("abort"));
    ASSERT_TRUE(buttons()[1]->hasFocus());
    key(Qt::Key_Escape);
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers.back().second, 1);

    // Arrows move between buttons, Return takes the focused one.
    alerts.alert("Abort the reading", "", {"OK", "Cancel"}, record("abort"));
    key(Qt::Key_Left);
    EXPECT_TRUE(buttons()[0]->hasFocus());
    key(Qt::Key_Return);
    ASSERT_EQ(answers.size(), 2u);
    EXPECT_EQ(answers.back().second, 0);

    // Tab stays inside the sheet.
    alerts.alert("Three", "", {"A", "B", "C"}, record("three"));
    for (int i = 0; i < 4; ++i)
        key(Qt::Key_Tab);
    EXPECT_TRUE(alerts.currentSheet()->isAncestorOf(QApplication::focusWidget()));
}

TEST_F(AlertPresenterTest, TheFocusGoesBackWhereItWasAfterTheLastSheet)
{
    auto *field = new QLineEdit(&host);
    field->show();
    field->setFocus();
    ASSERT_TRUE(field->hasFocus());
    alerts.alert("First", "", {"OK"});
    alerts.alert("Second", "", {"OK"});
    EXPECT_FALSE(field->hasFocus());
    alerts.answer(0);
    EXPECT_TRUE(alerts.currentSheet()->isAncestorOf(QApplication::focusWidget())) << "the next sheet has it";
    alerts.answer(0);
    settle();
    EXPECT_TRUE(field->hasFocus());
}

TEST_F(AlertPresenterTest, ActionSheetKeepsCancelApartAtTheBottom)
{
    alerts.actionSheet("Send", {"This month", "All data", "Cancel"}, record("sheet"));
    EXPECT_TRUE(alerts.currentIsActionSheet());
    auto *sheet = qobject_cast<AlertSheet *>(alerts.currentSheet());
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->objectName(), "actionSheet");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(sheet)->role(), QAccessible::Dialog);
    const QList<QPushButton *> b = sheet->buttons();
    ASSERT_EQ(b.size(), 3);
    const QRect cancel(b[2]->mapTo(&host, QPoint(0, 0)), b[2]->size());
    const QRect other(b[1]->mapTo(&host, QPoint(0, 0)), b[1]->size());
    EXPECT_GT(cancel.top(), other.bottom());
    EXPECT_GT(cancel.bottom(), host.height() - 30) << "it sits at the bottom of the screen";
    EXPECT_NE(b[2]->parentWidget(), b[1]->parentWidget()) << "Cancel has a card of its own";
    key(Qt::Key_Escape);
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers.back().second, 2);
}

TEST(AlertPresenterWithoutHost, QueuesAndAnswersWithoutWidgets)
{
    AlertPresenter alerts;
    int chosen = -1;
    alerts.alert("T", "M", {}, [&](int i) { chosen = i; });
    EXPECT_EQ(alerts.currentButtons(), QStringList{"OK"}) << "an alert always has a way out";
    EXPECT_EQ(alerts.currentSheet(), nullptr);
    alerts.answer(0);
    EXPECT_EQ(chosen, 0);
}

} // namespace
} // namespace tonara
