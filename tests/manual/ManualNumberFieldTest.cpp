#include "measurement/ManualNumberField.h"
#include "measurement/ManualKeypad.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QPushButton>
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

TEST_F(ManualNumberFieldTest, TextInsertedBehindTheKeyHandlerIsStillDigitsOnly)
{
    // QLineEdit::insert() is what the X11 selection paste (middle click) uses.
    field.insert(QStringLiteral("ab"));
    EXPECT_EQ(field.text(), QString());
    field.insert(QStringLiteral("12"));
    field.insert(QStringLiteral("x"));
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

TEST_F(ManualNumberFieldTest, KeypadKeysFollowTheSameRulesAsTypedKeys)
{
    field.setObjectName(QStringLiteral("step1_4_test"));
    ManualKeypad keypad(&field, FormFactor::Phone480);
    for (int d : {1, 4, 0, 7})
        keypad.key(d)->click();
    EXPECT_EQ(field.text(), QStringLiteral("140"));
    keypad.key(-1)->click();
    keypad.key(5)->click();
    EXPECT_EQ(field.text(), QStringLiteral("145"));
    // Over a selection, as with a typed key.
    field.selectAll();
    keypad.key(9)->click();
    EXPECT_EQ(field.text(), QStringLiteral("9"));
    EXPECT_EQ(keypad.key(-1)->accessibleName(), QStringLiteral("Delete"));
    EXPECT_EQ(keypad.key(-1)->objectName(), QStringLiteral("step1_4_test_keypad_delete"));
}

} // namespace
} // namespace tonara
