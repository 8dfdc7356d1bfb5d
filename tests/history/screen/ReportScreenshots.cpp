// Pictures of the Report tab for people to look at, on a phone and a tablet.
// Written to $TONARA_SCREENSHOT_DIR (or ./screenshots) as report_<form>_<view>.png.

#include "ReportRig.h"

#include "history/ReportChoicePanel.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QPixmap>

namespace tonara::test {
namespace {

struct Form {
    FormFactor factor;
    const char *name;
};

class Screenshots : public ReportRig, public ::testing::WithParamInterface<Form> {
protected:
    void shoot(const char *view)
    {
        QApplication::processEvents();
        const QString dir = qEnvironmentVariable("TONARA_SCREENSHOT_DIR", QStringLiteral("screenshots"));
        QDir().mkpath(dir);
        const QPixmap picture = host.grab();
        ASSERT_FALSE(picture.isNull());
        const QString file = QStringLiteral("%1/report_%2_%3.png")
                                 .arg(dir, QLatin1String(GetParam().name), QLatin1String(view));
        ASSERT_TRUE(picture.save(file)) << file.toStdString();
    }
};

TEST_P(Screenshots, MonthEditDetailLegendEmptyAndSharing)
{
    clock.set({2013, 5, 3, 9, 5, 7});
    ASSERT_TRUE(
        store.saveTriv(128, 84, 70, {{{131, 86, 72}, {125, 80, 69}, {128, 86, 70}}}, "After the walk", true)
            .stored);
    add(0, "2013-05-03", "07:30:00", 142, 91, 77, 0, 1, 0, "Typed in from the paper diary");
    add(0, "2013-05-03", "13:30:00", 118, 78, 66);
    add(0, "2013-05-02", "21:10:00", 185, 95, 88, 0, 0, 1);
    add(0, "2013-05-01", "08:00:00", 124, 82, 73);
    clock.set({2013, 5, 20, 12, 0, 0});
    host.setStyleSheet(QStringLiteral("background: #F3F6F9;"));
    open(GetParam().factor);
    scheduler.advance(Millis(50 * 40)); // the banner has gone
    shoot("1_month");
    report->edit_chack();
    shoot("2_edit");
    report->edit_done();
    report->more_button_touch(1);
    shoot("3_triv_detail");
    report->Detail_view_back();
    report->who_button_touch();
    shoot("4_legend");
    report->whoview_back();
    report->Month_plus1();
    shoot("5_empty_month");
    report->Month_Reduce1();
    report->share_bt();
    shoot("6_sharing_sheet");
    presenter.answer(2);
    shoot("7_doctors_report");
    ReportChoicePanel *panel = report->reportPanel();
    panel->choose(panel->periodBox()->findText(QStringLiteral("Chosen dates…")));
    panel->fromEdit()->setDate(QDate(2013, 5, 4));
    panel->toEdit()->setDate(QDate(2013, 5, 1));
    shoot("8_report_dates_backwards");
    panel->cancelButton()->click();
}

INSTANTIATE_TEST_SUITE_P(Forms, Screenshots,
                         ::testing::Values(Form{FormFactor::Phone480, "phone480"},
                                           Form{FormFactor::Phone568, "phone568"},
                                           Form{FormFactor::Tablet, "tablet"}),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
} // namespace tonara::test
