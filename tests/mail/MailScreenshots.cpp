// Pictures of the composer with its attachment and of its account panel,
// written to $TONARA_SCREENSHOT_DIR (or ./screenshots).

#include "platform/AlertPresenter.h"
#include "platform/FormFactor.h"
#include "platform/MailComposer.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTemporaryDir>

namespace tonara::test {

TEST(Screenshots, ComposerAndAccountPanel)
{
    const QString dir = qEnvironmentVariable("TONARA_SCREENSHOT_DIR", QStringLiteral("screenshots"));
    QDir().mkpath(dir);
    QTemporaryDir docs;
    QWidget host;
    host.resize(320, 460);
    AlertPresenter alerts;
    MailComposer composer({docs.path(), &alerts}, &host);
    composer.setSubject(QStringLiteral("User 's blood pressure history"));
    composer.setMessageBody(QStringLiteral(
        "Attached in the email is User 's blood pressure history from Date 05/31/2013 to 05/01/2013"));
    composer.addAttachmentData(QByteArray(2300, 'x'), QStringLiteral("text/csv"), QStringLiteral("data.csv"));
    host.show();
    composer.present();
    QApplication::processEvents();
    ASSERT_TRUE(host.grab().save(dir + QStringLiteral("/mail_composer.png")));
    composer.showAccountPanel(QStringLiteral("Enter the mail server and your sender address first."));
    QApplication::processEvents();
    ASSERT_TRUE(host.grab().save(dir + QStringLiteral("/mail_account_panel.png")));
}

// The same on the taller phone and the tablet, the composer over the whole display.
struct Display {
    FormFactor factor;
    const char *name;
};

class ComposerOn : public ::testing::TestWithParam<Display> {};

TEST_P(ComposerOn, Screenshots)
{
    const QString dir = qEnvironmentVariable("TONARA_SCREENSHOT_DIR", QStringLiteral("screenshots"));
    QDir().mkpath(dir);
    QTemporaryDir docs;
    QWidget host;
    host.resize(portraitPoints(GetParam().factor));
    AlertPresenter alerts;
    MailComposer composer({docs.path(), &alerts}, &host);
    composer.setSubject(QStringLiteral("Mother 's blood pressure history"));
    composer.setMessageBody(QStringLiteral(
        "Attached in the email is Mother 's blood pressure history from Date 05/31/2013 to 05/01/2013"));
    composer.addAttachmentData(QByteArray(48000, 'x'), QStringLiteral("text/csv"),
                               QStringLiteral("data.csv"));
    host.show();
    composer.present();
    QApplication::processEvents();
    const QString form = QLatin1String(GetParam().name);
    ASSERT_TRUE(host.grab().save(dir + QStringLiteral("/mail_composer_%1.png").arg(form)));
    composer.showAccountPanel(QStringLiteral("Enter the mail server and your sender address first."));
    QApplication::processEvents();
    ASSERT_TRUE(host.grab().save(dir + QStringLiteral("/mail_account_panel_%1.png").arg(form)));
}

INSTANTIATE_TEST_SUITE_P(Forms, ComposerOn,
                         ::testing::Values(Display{FormFactor::Phone568, "phone568"},
                                           Display{FormFactor::Tablet, "tablet"}),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace tonara::test
