#include "measurement/ManualNumberField.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QTest>

namespace tonara {
namespace {

class ManualNumberFieldTest : public ::testing::Test {
protected:
    void SetUp() override { field.show(); }
    ManualNumberField field;
};

TEST_F(ManualNumberFieldTest, KeysBeyondTheThirdAndNonDigitsAreRefused)
{
    QTest::keyClicks(&field, QStringLiteral("1234"));
    EXPECT_EQ(field.text(), QStringLiteral("123"));
    field.clear();
    QTest::keyClicks(&field, QStringLiteral("a.-1 x2"));
    EXPECT_EQ(field.text(), QStringLiteral("12"));
}

TEST_F(ManualNumberFieldTest, TypingOverASelectionAndDeletingWorkInAFullField)
{
    QTest::keyClicks(&field, QStringLiteral("120"));
    field.setSelection(2, 1);
    QTest::keyClicks(&field, QStringLiteral("5"));
    EXPECT_EQ(field.text(), QStringLiteral("125"));
    field.selectAll();
    QTest::keyClicks(&field, QStringLiteral("9"));
    EXPECT_EQ(field.text(), QStringLiteral("9"));
    QTest::keyClicks(&field, QStringLiteral("87"));
    QTest::keyClick(&field, Qt::Key_Backspace);
    EXPECT_EQ(field.text(), QStringLiteral("98"));
    QTest::keyClick(&field, Qt::Key_Home);
    QTest::keyClick(&field, Qt::Key_Delete);
    EXPECT_EQ(field.text(), QStringLiteral("8"));
}

TEST_F(ManualNumberFieldTest, PasteGoesThroughTheSameRule)
{
    QApplication::clipboard()->setText(QStringLiteral("12a"));
    QTest::keySequence(&field, QKeySequence::Paste);
    EXPECT_EQ(field.text(), QString());
    QApplication::clipboard()->setText(QStringLiteral("1234"));
    QTest::keySequence(&field, QKeySequence::Paste);
    EXPECT_EQ(field.text(), QString());
    QApplication::clipboard()->setText(QStringLiteral("72"));
    QTest::keySequence(&field, QKeySequence::Paste);
    EXPECT_EQ(field.text(), QStringLiteral("72"));
    QTest::keySequence(&field, QKeySequence::Paste);
    EXPECT_EQ(field.text(), QStringLiteral("72"));
}

} // namespace
} // namespace tonara
