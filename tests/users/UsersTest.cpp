#include "UsersScreenFixture.h"

#include "platform/NavigationBar.h"
#include "platform/NavigationController.h"
#include "users/CameraPanel.h"
#include "users/CameraSource.h"
#include "users/PhotoPicker.h"
#include "users/ProfileTable.h"
#include "users/User_CreateController.h"
#include "users/User_Edit_Detail.h"
#include "users/User_editViewController.h"
#include "users/Users.h"

#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace tonara::test {
namespace {

// A camera that shows one frame and hands it over when asked, later, as a real one does.
class FrameCamera : public CameraSource {
public:
    FrameCamera(QImage frame, QString failure = {}) : frame_(std::move(frame)), failure_(std::move(failure))
    {}
    bool available() const override { return true; }
    QWidget *start(QWidget *viewParent) override
    {
        running = true;
        auto *view = new QLabel(viewParent);
        view->setPixmap(QPixmap::fromImage(frame_));
        return view;
    }
    void takePicture() override
    {
        QTimer::singleShot(0, this, [this] {
            if (!running)
                return;
            if (failure_.isEmpty())
                emit captured(frame_);
            else
                emit failed(failure_);
        });
    }
    void stop() override { running = false; }
    bool running = false;

private:
    QImage frame_;
    QString failure_;
};

class UsersScreen : public UsersScreenTest {
protected:
    void SetUp() override
    {
        UsersScreenTest::SetUp();
        Users::UserNumber = 0;
        // A picture to pick: wider than high, so stretching shows.
        QImage source(300, 200, QImage::Format_RGB32);
        source.fill(Qt::darkCyan);
        sourcePicture = dir.filePath("holiday.jpg");
        ASSERT_TRUE(source.save(sourcePicture, "JPEG"));
    }
    void start()
    {
        users = new Users(ctx);
        nav = new NavigationController(users, &host);
        nav->setAnimationsEnabled(false);
        nav->resize(host.size());
        host.show();
    }
    void seed(const std::vector<std::string> &names, int active)
    {
        for (std::size_t i = 0; i < names.size(); ++i) {
            const std::string photo = "no" + std::to_string(i) + ".png";
            QImage face(100, 100, QImage::Format_RGB32);
            face.fill(QColor::fromHsv(int(i) * 90, 200, 200));
            ASSERT_TRUE(face.save(dir.filePath(QString::fromStdString(photo))));
            ASSERT_TRUE(
                store->insertDataBase_user_table(int(i), "", "", names[i], "", photoPath(int(i)), 0, ""));
        }
        if (active >= 0) {
            ASSERT_TRUE(store->insertDataBase_setting_table(active, -1, -1));
        }
    }
    std::string photoPath(int user) const
    {
        return QDir::toNativeSeparators(dir.filePath(QStringLiteral("no%1.png").arg(user))).toStdString();
    }
    QStringList names()
    {
        QStringList out;
        for (int r = 0; r < users->tableview_top()->rowCount(); ++r)
            out << users->tableview_top()->item(r, 1)->text();
        return out;
    }
    void tapRow(ProfileTable *table, int row)
    {
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->rowRect(row).center());
    }
    // Opens the sheet of a profile screen and picks the test picture from the library.
    void pickPhoto(ProfileForm *form)
    {
        form->picker()->setFileChooser([this](QWidget *) { return sourcePicture; });
        form->photoButton()->click();
        ASSERT_TRUE(alerts.currentIsActionSheet());
        EXPECT_EQ(alerts.currentButtons(), (QStringList{"Take Photo", "Choose Photo", "Cancel"}));
        alerts.answer(1);
    }
    // JPEG decoding shifts colours a little.
    static bool near(QRgb a, QColor b)
    {
        return qAbs(qRed(a) - b.red()) < 8 && qAbs(qGreen(a) - b.green()) < 8 &&
               qAbs(qBlue(a) - b.blue()) < 8;
    }
    template <class Screen> Screen *top() { return qobject_cast<Screen *>(nav->topWidget()); }
    int activeUser() { return store->activeUser(); }

    QString sourcePicture;
    Users *users = nullptr;
    NavigationController *nav = nullptr;
};

TEST_F(UsersScreen, AnEmptyDatabaseGetsTheCheckedAutomaticUser)
{
    start();
    EXPECT_EQ(names(), QStringList{"User"});
    EXPECT_TRUE(users->tableview_top()->hasCheckMark(0));
    EXPECT_EQ(users->tableview_top()->verticalHeader()->defaultSectionSize(), 50);
    EXPECT_EQ(store->activeUser(), 0);
    ASSERT_EQ(store->aArray_user_id_setting.size(), 1u);
    EXPECT_EQ(users->windowTitle(), "User");
    EXPECT_TRUE(users->tableview_top()->photoOf(0).isNull());
}

TEST_F(UsersScreen, TouchingARowMakesThatProfileActive)
{
    seed({"User", "Mother", "Father"}, 0);
    start();
    EXPECT_EQ(names(), (QStringList{"Father", "Mother", "User"}));
    EXPECT_EQ(users->currentIndex(), 2);
    EXPECT_FALSE(users->tableview_top()->photoOf(0).isNull());
    QFont f = users->tableview_top()->item(0, 1)->font();
    EXPECT_TRUE(f.bold());
    EXPECT_EQ(f.pixelSize(), 30);

    tapRow(users->tableview_top(), 1);
    EXPECT_EQ(activeUser(), 1);
    EXPECT_EQ(Users::UserNumber, 1);
    EXPECT_EQ(users->windowTitle(), "Mother");
    EXPECT_EQ(nav->windowTitle(), "Mother") << "the tab follows the root screen";
    for (int r = 0; r < 3; ++r)
        EXPECT_EQ(users->tableview_top()->hasCheckMark(r), r == 1) << r;
    // Touching it again changes nothing.
    tapRow(users->tableview_top(), 1);
    EXPECT_EQ(activeUser(), 1);
    EXPECT_TRUE(users->tableview_top()->hasCheckMark(1));
}

TEST_F(UsersScreen, AChoiceThatCannotBeStoredKeepsTheOldActiveUserOnScreen)
{
    seed({"User", "Mother", "Father"}, 0);
    start();
    exec("CREATE TRIGGER no_change BEFORE UPDATE ON setting_table BEGIN SELECT RAISE(ABORT, 'disk is full'); "
         "END");
    tapRow(users->tableview_top(), 1); // Mother
    ASSERT_TRUE(alerts.hasAlert());
    EXPECT_EQ(alerts.currentTitle(), "User not changed");
    alerts.answer(0);
    EXPECT_EQ(activeUser(), 0);
    EXPECT_EQ(users->windowTitle(), "User");
    EXPECT_EQ(users->currentIndex(), 2);
    EXPECT_TRUE(users->tableview_top()->hasCheckMark(2));
    EXPECT_FALSE(users->tableview_top()->hasCheckMark(1));
    EXPECT_EQ(Users::UserNumber, 0);
}

TEST_F(UsersScreen, AnActiveNumberBeyondTheLastProfileFallsBackToTheFirst)
{
    seed({"User", "Mother"}, 4);
    start();
    EXPECT_EQ(activeUser(), 0);
    EXPECT_EQ(users->currentIndex(), 1);
    EXPECT_TRUE(users->tableview_top()->hasCheckMark(1));
    EXPECT_EQ(users->windowTitle(), "User");
}

TEST_F(UsersScreen, CreatingSonWithAPhotoAddsProfileThreeAndItsPicture)
{
    seed({"User", "Mother", "Father"}, 0);
    start();
    users->addButton()->click();
    auto *create = top<User_CreateController>();
    ASSERT_NE(create, nullptr);
    EXPECT_EQ(nav->navigationBar()->title(), "Create");
    EXPECT_EQ(create->focusWidget(), create->Text_name());
    pickPhoto(create);
    EXPECT_TRUE(create->touch_photo());
    ASSERT_NE(create->image_Image()->pixmap().isNull(), true);
    EXPECT_EQ(create->image_Image()->geometry(), QRect(55, 35, 80, 80));
    QTest::keyClicks(create->Text_name(), "Son");
    create->doneButton()->click();

    EXPECT_EQ(nav->topWidget(), users);
    EXPECT_EQ(names(), (QStringList{"Son", "Father", "Mother", "User"}));
    EXPECT_EQ(activeUser(), 0) << "a new profile is not made active";
    EXPECT_EQ(users->listPhoto().first().toStdString(), photoPath(3));
    QImageReader png(QString::fromStdString(photoPath(3)));
    EXPECT_EQ(png.format(), "png");
    const QImage written = png.read();
    EXPECT_EQ(written.size(), QSize(100, 100));
    EXPECT_TRUE(near(written.pixel(50, 50), QColor(Qt::darkCyan)));
}

TEST_F(UsersScreen, AnEmptyNameIsRefusedAndTheCameraIsNotThere)
{
    start();
    users->addButton()->click();
    auto *create = top<User_CreateController>();
    ASSERT_NE(create, nullptr);
    create->doneButton()->click();
    ASSERT_TRUE(alerts.hasAlert());
    EXPECT_EQ(alerts.currentTitle(), "Check Name");
    EXPECT_EQ(alerts.currentMessage(), "");
    alerts.answer(0);
    EXPECT_EQ(nav->topWidget(), create);
    store->ReadDataBase_user_table();
    EXPECT_EQ(store->aArray_user_user.size(), 1u);

    create->photoButton()->click();
    alerts.answer(0); // Take Photo
    EXPECT_EQ(alerts.currentTitle(), "Error");
    EXPECT_EQ(alerts.currentMessage(), "not have this feature");
    alerts.answer(0);
    EXPECT_FALSE(create->touch_photo());
    // A file that is no picture is said so, and nothing is picked.
    QFile junk(dir.filePath("notes.png"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a picture");
    junk.close();
    sourcePicture = junk.fileName();
    pickPhoto(create);
    EXPECT_EQ(alerts.currentTitle(), "Photo not read");
    alerts.answer(0);
    EXPECT_FALSE(create->touch_photo());
}

TEST_F(UsersScreen, TheNameFieldsClearButtonIsNamedForScreenReaders)
{
    // The field's own clear button is a button like any other: without words
    // a screen reader announced an unnamed button next to the name.
    start();
    users->addButton()->click();
    auto *create = top<User_CreateController>();
    ASSERT_NE(create, nullptr);
    QTest::keyClicks(create->Text_name(), QStringLiteral("Son"));
    const QList<QToolButton *> buttons = create->Text_name()->findChildren<QToolButton *>();
    ASSERT_FALSE(buttons.isEmpty());
    for (QToolButton *b : buttons) {
        EXPECT_EQ(b->accessibleName(), QStringLiteral("Clear the name"));
        EXPECT_FALSE(b->objectName().isEmpty());
        EXPECT_EQ(b->accessibleDescription(), b->objectName());
    }
}

TEST_F(UsersScreen, TakePhotoWithACameraGoesTheWayOfAChosenFile)
{
    start();
    users->addButton()->click();
    auto *create = top<User_CreateController>();
    ASSERT_NE(create, nullptr);
    QImage frame(640, 480, QImage::Format_RGB32);
    frame.fill(Qt::darkMagenta);
    auto *camera = new FrameCamera(frame);
    create->picker()->setCameraSource(camera);

    auto takePhoto = [&] {
        create->photoButton()->click();
        alerts.answer(0); // Take Photo
        CameraPanel *panel = create->picker()->cameraPanel();
        EXPECT_TRUE(panel && panel->isVisible() && panel->liveView() && camera->running);
        return panel;
    };
    CameraPanel *panel = takePhoto();
    ASSERT_TRUE(panel);
    EXPECT_EQ(panel->takeButton()->text(), "Take");
    QTest::mouseClick(panel->cancelButton(), Qt::LeftButton);
    EXPECT_FALSE(camera->running);
    QTRY_VERIFY_WITH_TIMEOUT(!create->picker()->cameraPanel(), 5000);
    EXPECT_FALSE(create->touch_photo()) << "cancelled: nothing picked";

    panel = takePhoto();
    ASSERT_TRUE(panel);
    QTest::mouseClick(panel->takeButton(), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(create->touch_photo(), 5000);
    EXPECT_FALSE(camera->running);
    QTRY_VERIFY_WITH_TIMEOUT(!create->picker()->cameraPanel(), 5000);
    QTest::keyClicks(create->Text_name(), "Son");
    create->doneButton()->click();
    QImageReader png(QString::fromStdString(photoPath(1)));
    EXPECT_EQ(png.format(), "png");
    const QImage written = png.read();
    EXPECT_EQ(written.size(), QSize(100, 100));
    EXPECT_TRUE(near(written.pixel(50, 50), QColor(Qt::darkMagenta)));

    // A camera that cannot take the picture says why and picks nothing.
    users->addButton()->click();
    create = top<User_CreateController>();
    create->picker()->setCameraSource(camera = new FrameCamera(frame, "the device is busy"));
    QTest::mouseClick(takePhoto()->takeButton(), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(alerts.hasAlert(), 5000);
    EXPECT_EQ(alerts.currentTitle(), "Photo not taken");
    EXPECT_TRUE(alerts.currentMessage().contains("the device is busy"));
    EXPECT_FALSE(create->touch_photo());
}

TEST_F(UsersScreen, RenamingWithoutAPhotoKeepsThePathAndANewPhotoReplacesTheFile)
{
    seed({"User", "Mother", "Father"}, 0);
    start();
    users->editButton()->click();
    auto *edit = top<User_editViewController>();
    ASSERT_NE(edit, nullptr);
    tapRow(edit->tableview_top(), 1); // Mother
    auto *detail = top<User_Edit_Detail>();
    ASSERT_NE(detail, nullptr);
    EXPECT_EQ(detail->user_id(), 1);
    EXPECT_EQ(detail->Text_name()->text(), "Mother");
    EXPECT_FALSE(detail->image_Image()->pixmap().isNull());
    detail->Text_name()->setText("Mum");
    detail->doneButton()->click();
    EXPECT_EQ(nav->topWidget(), edit);
    EXPECT_EQ(edit->listData(), (QStringList{"Father", "Mum", "User"}));
    store->ReadDataBase_user_table();
    EXPECT_EQ(store->aArray_photo_user[1], photoPath(1));

    tapRow(edit->tableview_top(), 0);
    detail = top<User_Edit_Detail>();
    pickPhoto(detail);
    detail->doneButton()->click();
    EXPECT_TRUE(near(QImage(QString::fromStdString(photoPath(2))).pixel(10, 10), QColor(Qt::darkCyan)));
    store->ReadDataBase_user_table();
    EXPECT_EQ(store->aArray_photo_user[0], photoPath(2)) << "Father's own file, written again";
}

TEST_F(UsersScreen, AFailedProfileUpdateKeepsTheOldPhotoFile)
{
    seed({"User", "Mother", "Father"}, 0);
    const QImage before(QString::fromStdString(photoPath(2)));
    start();
    users->editButton()->click();
    auto *edit = top<User_editViewController>();
    tapRow(edit->tableview_top(), 0); // Father
    auto *detail = top<User_Edit_Detail>();
    ASSERT_NE(detail, nullptr);
    pickPhoto(detail);
    exec("CREATE TRIGGER no_update BEFORE UPDATE ON users_table_new BEGIN SELECT RAISE(ABORT, 'disk is "
         "full'); END");
    detail->doneButton()->click();
    EXPECT_EQ(alerts.currentTitle(), "Profile not saved");
    alerts.answer(0);
    EXPECT_EQ(QImage(QString::fromStdString(photoPath(2))), before) << "the old picture is still there";
    EXPECT_EQ(QDir(dir.path()).entryList({"*.new"}).size(), 0);

    exec("DROP TRIGGER no_update");
    detail->doneButton()->click();
    EXPECT_TRUE(near(QImage(QString::fromStdString(photoPath(2))).pixel(10, 10), QColor(Qt::darkCyan)));
    EXPECT_EQ(QDir(dir.path()).entryList({"*.new"}).size(), 0);
}

TEST_F(UsersScreen, DeletingAProfileTakesItsReadingsAndPhotoAndMovesTheNextDown)
{
    seed({"User", "Mother", "Father"}, 2);
    for (int user = 0; user < 3; ++user) {
        reading(user, "2026-03-0" + std::to_string(user + 1));
        dayAverage(user, "2026-03-0" + std::to_string(user + 1));
    }
    const QImage fathersFace(QString::fromStdString(photoPath(2)));
    start();
    users->editButton()->click();
    auto *edit = top<User_editViewController>();
    tapRow(edit->tableview_top(), 1);
    auto *detail = top<User_Edit_Detail>();
    detail->deleteButton()->click();
    ASSERT_TRUE(alerts.currentIsActionSheet());
    EXPECT_EQ(alerts.currentTitle(), "Are you sure you want to delete the data?");
    EXPECT_EQ(alerts.currentButtons(), (QStringList{"Yes", "No"}));
    alerts.answer(1); // No
    EXPECT_EQ(nav->topWidget(), detail);
    detail->deleteButton()->click();
    alerts.answer(0);

    EXPECT_EQ(nav->topWidget(), edit);
    EXPECT_EQ(edit->listData(), (QStringList{"Father", "User"}));
    EXPECT_EQ(scalar("SELECT count(*) FROM tonaradock_table WHERE user_id = 1 AND date = '2026-03-03'"), 1);
    EXPECT_EQ(scalar("SELECT count(*) FROM day_average WHERE user_id = 1 AND date = '2026-03-03'"), 1);
    EXPECT_EQ(scalar("SELECT count(*) FROM tonaradock_table WHERE date = '2026-03-02'"), 0);
    EXPECT_EQ(QImage(QString::fromStdString(photoPath(1))), fathersFace);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(photoPath(2))));

    nav->popToRoot(false);
    EXPECT_EQ(names(), (QStringList{"Father", "User"}));
    EXPECT_EQ(users->windowTitle(), "Father") << "the active user moved down with his profile";
    EXPECT_TRUE(users->tableview_top()->hasCheckMark(0));
}

TEST_F(UsersScreen, APhotoFileThatCannotBeReadShowsNoPicture)
{
    seed({"User", "Mother"}, 0);
    QFile broken(QString::fromStdString(photoPath(1)));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
    broken.write("broken");
    broken.close();
    ASSERT_TRUE(QFile::remove(QString::fromStdString(photoPath(0))));
    start();
    EXPECT_TRUE(users->tableview_top()->photoOf(0).isNull());
    EXPECT_TRUE(users->tableview_top()->photoOf(1).isNull());
    EXPECT_EQ(names(), (QStringList{"Mother", "User"}));
}

} // namespace
} // namespace tonara::test
