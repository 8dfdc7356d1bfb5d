#include "platform/NavigationController.h"
#include "platform/NavigationBar.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPointer>
#include <QToolButton>

namespace tonara {
namespace {

void settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

QWidget *screen(const QString &title)
{
    auto *w = new QWidget;
    w->setWindowTitle(title);
    return w;
}

class NavigationTest : public ::testing::Test {
protected:
    NavigationTest() : nav(screen("Users"))
    {
        nav.setAnimationsEnabled(false);
        nav.resize(320, 411);
        nav.show();
    }
    NavigationController nav;
};

TEST_F(NavigationTest, PushAndPopWalkTheStack)
{
    QWidget *root = nav.rootWidget();
    QWidget *edit = screen("Edit");
    nav.push(edit);
    EXPECT_EQ(nav.depth(), 2);
    EXPECT_EQ(nav.topWidget(), edit);
    EXPECT_TRUE(edit->isVisible());
    EXPECT_FALSE(root->isVisible());
    EXPECT_EQ(nav.navigationBar()->title(), "Edit");
    EXPECT_TRUE(nav.navigationBar()->backButton()->isVisible());
    EXPECT_TRUE(nav.navigationBar()->backButton()->text().contains("Users"));
    EXPECT_EQ(edit->geometry(), QRect(0, 0, 320, 411 - NavigationBar::kHeight));

    QPointer<QWidget> detail = screen("Detail");
    nav.push(detail);
    nav.push(detail); // already on the stack: ignored
    EXPECT_EQ(nav.depth(), 3);

    nav.navigationBar()->backButton()->click();
    settle();
    EXPECT_EQ(nav.topWidget(), edit);
    EXPECT_FALSE(detail) << "a popped screen is released";
    EXPECT_TRUE(nav.pop(false));
    EXPECT_TRUE(root->isVisible());
    EXPECT_FALSE(nav.navigationBar()->backButton()->isVisible());
    EXPECT_FALSE(nav.pop(false)) << "the root stays";
    EXPECT_EQ(nav.depth(), 1);
}

TEST_F(NavigationTest, PopToRootReleasesEverythingAbove)
{
    QPointer<QWidget> a = screen("A");
    QPointer<QWidget> b = screen("B");
    nav.push(a);
    nav.push(b);
    nav.popToRoot(false);
    settle();
    EXPECT_EQ(nav.depth(), 1);
    EXPECT_FALSE(a);
    EXPECT_FALSE(b);
}

TEST_F(NavigationTest, TheTitleFollowsTheRootScreen)
{
    nav.rootWidget()->setWindowTitle("Maria");
    EXPECT_EQ(nav.windowTitle(), "Maria");
    EXPECT_EQ(nav.navigationBar()->title(), "Maria");
    QWidget *edit = screen("Edit");
    nav.push(edit);
    edit->setWindowTitle("Edit Maria");
    EXPECT_EQ(nav.navigationBar()->title(), "Edit Maria");
    EXPECT_EQ(nav.windowTitle(), "Maria") << "the tab keeps the root's name";
}

TEST_F(NavigationTest, ALongNameIsShortenedAtItsEndNotCutOnBothSides)
{
    // Names may have any length; a centred title wider than its room lost its
    // first and last letters, and the back button lost the end of the name.
    const QString name = QStringLiteral("Maximilian-Alexander von Hohenzollern-Sigmaringen");
    nav.rootWidget()->setWindowTitle(name);
    auto *left = new QToolButton;
    left->setText(QStringLiteral("Edit"));
    nav.navigationBar()->setLeftWidget(left);
    settle();
    EXPECT_EQ(nav.navigationBar()->title(), name);
    auto *title = nav.navigationBar()->findChild<QLabel *>(QStringLiteral("navigationTitle"));
    ASSERT_NE(title, nullptr);
    EXPECT_TRUE(title->text().startsWith(QStringLiteral("Maximilian"))) << title->text().toStdString();
    EXPECT_TRUE(title->text().endsWith(QChar(0x2026))) << title->text().toStdString();
    EXPECT_LE(title->fontMetrics().horizontalAdvance(title->text()), title->width());
    EXPECT_EQ(title->accessibleName(), name);

    nav.push(screen("Detail"));
    settle();
    auto *back = nav.navigationBar()->findChild<QToolButton *>(QStringLiteral("backButton"));
    ASSERT_NE(back, nullptr);
    EXPECT_TRUE(back->text().endsWith(QChar(0x2026))) << back->text().toStdString();
    EXPECT_LE(back->fontMetrics().horizontalAdvance(back->text()) + 8, back->width());
    EXPECT_EQ(back->accessibleName(), QStringLiteral("Back to ") + name);
}

TEST_F(NavigationTest, BarButtonsBelongToTheirScreen)
{
    auto *add = new QToolButton;
    nav.setRightBarWidget(nav.rootWidget(), add);
    EXPECT_TRUE(add->isVisible());
    nav.push(screen("Edit"));
    EXPECT_FALSE(add->isVisible());
    nav.pop(false);
    EXPECT_TRUE(add->isVisible());
}

TEST_F(NavigationTest, AnimatedPushSlidesInAndSettles)
{
    nav.setAnimationsEnabled(true);
    QWidget *root = nav.rootWidget();
    QWidget *edit = screen("Edit");
    nav.push(edit);
    ASSERT_TRUE(nav.isTransitioning());
    EXPECT_GT(edit->x(), 0) << "the new screen starts off to the right";
    QElapsedTimer t;
    t.start();
    while (nav.isTransitioning() && t.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_FALSE(nav.isTransitioning());
    EXPECT_EQ(edit->pos(), QPoint(0, 0));
    EXPECT_FALSE(root->isVisible());

    // A pop during a push finishes the push first.
    QPointer<QWidget> more = screen("More");
    nav.push(more);
    nav.pop(true);
    EXPECT_EQ(nav.topWidget(), edit);
    while (nav.isTransitioning() && t.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    settle();
    EXPECT_FALSE(more);
    EXPECT_EQ(edit->pos(), QPoint(0, 0));
    EXPECT_TRUE(edit->isVisible());
}

} // namespace
} // namespace tonara
