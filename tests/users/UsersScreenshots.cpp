// Pictures of the users and settings tabs for people to look at, inside the
// whole application on a phone and a tablet. Written to
// $TONARA_SCREENSHOT_DIR (or ./screenshots) as users_<form>_<view>.png.

#include "app/AppTestSupport.h"

#include "app/TonaraTabBarController.h"
#include "measurement/ManualNumberField.h"
#include "platform/AlertPresenter.h"
#include "platform/NavigationController.h"
#include "storage/DataBaseforCD.h"
#include "users/PhotoPicker.h"
#include "users/ProfileTable.h"
#include "users/User_CreateController.h"
#include "users/User_Edit_Detail.h"
#include "users/User_editViewController.h"
#include "users/setting.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QLineEdit>
#include <QMainWindow>
#include <QPainter>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

namespace tonara {
namespace {

using test::ShellHarness;

// A simple face in the profile's colour, so the three photos differ.
QImage face(QColor colour)
{
    QImage image(100, 100, QImage::Format_ARGB32);
    image.fill(colour.lighter(160));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(QPointF(50, 38), 20, 20);
    p.drawEllipse(QRectF(18, 64, 64, 60));
    return image;
}

void seedFamily(DBHelper &db)
{
    test::QuietAlerts alerts;
    DataBaseforCD store(db, alerts);
    store.check_database();
    const char *names[] = {"User", "Mother", "Father"};
    const QColor colours[] = {QColor(0x1F, 0x8F, 0xD6), QColor(0xE5, 0x39, 0x50), QColor(0x14, 0xCA, 0x43)};
    for (int i = 0; i < 3; ++i) {
        const QString path =
            QDir(QString::fromStdString(db.documentsFolder())).filePath(QStringLiteral("no%1.png").arg(i));
        face(colours[i]).save(path);
        store.insertDataBase_user_table(i, "", "", names[i], "", QDir::toNativeSeparators(path).toStdString(),
                                        0, "");
    }
    store.insertDataBase_setting_table(1, -1, -1);
}

class UsersScreenshots : public ::testing::TestWithParam<FormFactor> {
protected:
    void shoot(ShellHarness &h, const char *view)
    {
        test::saveScreenshot(
            h, QStringLiteral("users_%1_%2").arg(test::formName(GetParam()), QLatin1String(view)));
    }
};

TEST_P(UsersScreenshots, ProfilesAndTheirScreens)
{
    ShellHarness::Setup setup = ShellHarness::on(GetParam());
    setup.seed = seedFamily;
    ShellHarness h(setup);
    TonaraTabBarController *tabs = h.app().tabBarController();
    auto *nav = qobject_cast<NavigationController *>(tabs->viewController(OrvelAppDelegate::kUsersTab));
    ASSERT_NE(nav, nullptr);
    tabs->setSelectedIndex(OrvelAppDelegate::kUsersTab);
    shoot(h, "1_list");

    nav->findChild<QPushButton *>(QStringLiteral("AddButton"))->click();
    auto *create = qobject_cast<User_CreateController *>(nav->topWidget());
    ASSERT_NE(create, nullptr);
    create->imagePickerController_didFinishPickingMedia(face(QColor(0xFE, 0x74, 0x14)));
    QTest::keyClicks(create->Text_name(), QStringLiteral("Son"));
    shoot(h, "2_create_with_photo");
    create->photoButton()->click();
    shoot(h, "3_photo_sheet");
    h.app().alerts()->answer(2);
    nav->pop(false);

    nav->findChild<QPushButton *>(QStringLiteral("EditButton"))->click();
    auto *edit = qobject_cast<User_editViewController *>(nav->topWidget());
    ASSERT_NE(edit, nullptr);
    shoot(h, "4_edit_list");
    edit->didSelectRow(1);
    auto *detail = qobject_cast<User_Edit_Detail *>(nav->topWidget());
    ASSERT_NE(detail, nullptr);
    shoot(h, "5_detail");
    detail->deleteButton()->click();
    shoot(h, "6_delete_sheet");
    h.app().alerts()->answer(1);
    nav->popToRoot(false);
}

TEST_P(UsersScreenshots, SettingsTableTargetAndReset)
{
    ShellHarness h(ShellHarness::on(GetParam()));
    TonaraTabBarController *tabs = h.app().tabBarController();
    tabs->setSelectedIndex(OrvelAppDelegate::kSettingTab);
    auto *screen = qobject_cast<setting *>(tabs->viewController(OrvelAppDelegate::kSettingTab));
    ASSERT_NE(screen, nullptr);
    shoot(h, "7_setting");
    screen->didSelectRow(0);
    QTest::keyClicks(screen->SysTextField(), QStringLiteral("135"));
    QTest::keyClicks(screen->DiastolicTextField(), QStringLiteral("85"));
    shoot(h, "8_target_panel");
    screen->BloodPressureBack();
    screen->didSelectRow(1);
    shoot(h, "9_reset_sheet");
    h.app().alerts()->answer(0);
    shoot(h, "10_reset_confirmation");
    h.app().alerts()->answer(1);
}

INSTANTIATE_TEST_SUITE_P(FormFactors, UsersScreenshots,
                         ::testing::Values(FormFactor::Phone480, FormFactor::Tablet));

} // namespace
} // namespace tonara
