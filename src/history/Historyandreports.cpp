#include "history/Historyandreports.h"

#include "base/Log.h"
#include "history/MonthBar.h"
#include "history/MonthListView.h"
#include "history/ReportChoicePanel.h"
#include "history/TrivDetailView.h"
#include "history/core/CsvExport.h"
#include "history/core/ReadingDeletion.h"
#include "history/core/ShareMail.h"
#include "measurement/ManualFromHistory.h"
#include "measurement/MeasurementUi.h"
#include "measurement/WhoLegendView.h"
#include "platform/AlertPresenter.h"
#include "platform/Artwork.h"
#include "platform/NavigationController.h"
#include "reports/ReportPdf.h"
#include "reports/core/ReportContent.h"
#include "storage/DBHelper.h"
#include "storage/DataBaseforCD.h"

#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QScrollBar>

namespace tonara {

namespace {

constexpr const char *kLog = "history";
constexpr int kTopBar = 44;

} // namespace

QString Historyandreports::emptyMonthText()
{
    return tr(
        "There is no measurement taken in this \nmonth. Routine blood pressure\nmonitoring is recommended "
        "to achieve\nbetter blood pressure control.");
}

Historyandreports::Historyandreports(const HistoryContext &context, QWidget *parent)
    : QWidget(parent), ctx_(context), db_(context.db ? *context.db : DBHelper::newInstance()),
      history_(db_, *context.alerts), s_(isTablet(context.formFactor) ? 2.0 : 1.0)
{
    MeasurementUi::name(this, QStringLiteral("Historyandreports"), tr("Report"));
    setWindowTitle(tr("Report"));
    setWindowIcon(Artwork::icon(QStringLiteral("Tab_Bar_icon_Report_30x30.png")));
    setStyleSheet(MeasurementUi::styleSheet(ctx_.formFactor));
    setAttribute(Qt::WA_StyledBackground, true);

    topBar_ = new QWidget(this);
    topBar_->setObjectName(QStringLiteral("report_bar"));
    auto *title = MeasurementUi::label(topBar_, QStringLiteral("report_title"), tr("Report"));
    title->setAlignment(Qt::AlignCenter);
    title->setGeometry(0, 0, 320, kTopBar);
    auto *edit =
        MeasurementUi::button(topBar_, QStringLiteral("edit_chack"), tr("Edit"), QStringLiteral("secondary"));
    edit->setAccessibleName(tr("Edit: delete or add readings"));
    edit->setGeometry(8, 7, 64, 30);
    connect(edit, &QPushButton::clicked, this, &Historyandreports::edit_chack);
    auto *share =
        MeasurementUi::button(topBar_, QStringLiteral("share_bt"), tr("Share"), QStringLiteral("secondary"));
    share->setAccessibleName(tr("Send readings by e-mail"));
    share->setGeometry(248, 7, 64, 30);
    connect(share, &QPushButton::clicked, this, &Historyandreports::share_bt);

    editView_ = new QWidget(this);
    MeasurementUi::name(editView_, QStringLiteral("Edit_view"), tr("Edit mode"));
    editView_->setAttribute(Qt::WA_StyledBackground, true);
    auto *editTitle = MeasurementUi::label(editView_, QStringLiteral("edit_title"), tr("Edit"));
    editTitle->setAlignment(Qt::AlignCenter);
    editTitle->setGeometry(0, 0, 320, kTopBar);
    auto *done = MeasurementUi::button(editView_, QStringLiteral("edit_done"), tr("Done"));
    done->setAccessibleName(tr("Done: leave edit mode"));
    done->setGeometry(8, 7, 64, 30);
    connect(done, &QPushButton::clicked, this, &Historyandreports::edit_done);
    auto *add = MeasurementUi::button(editView_, QStringLiteral("deit_add"), tr("Add"));
    add->setAccessibleName(tr("Add a reading by hand"));
    add->setGeometry(248, 7, 64, 30);
    connect(add, &QPushButton::clicked, this, &Historyandreports::deit_add);
    editView_->hide();
    // The bars keep their phone height on tablets too (the list starts right
    // under them), so their buttons and titles are sized to fit, not by the
    // screen's larger button style.
    const bool tablet = isTablet(ctx_.formFactor);
    for (QWidget *bar : {topBar_, editView_})
        for (QWidget *c : bar->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (auto *b = qobject_cast<QPushButton *>(c)) {
                b->setStyleSheet(
                    QStringLiteral("QPushButton { min-height: 0px; padding: 0px 8px; font-size: %1px; }")
                        .arg(tablet ? 17 : 14));
                b->setGeometry(8, 6, tablet ? 96 : 64, 32);
            } else if (auto *l = qobject_cast<QLabel *>(c)) {
                QFont f = l->font();
                f.setPixelSize(tablet ? 20 : 17);
                f.setBold(true);
                l->setFont(f);
                l->setStyleSheet(QStringLiteral("font-size: %1px; font-weight: bold;").arg(tablet ? 20 : 17));
            }
        }

    scrollview_ = new MonthListView(history_, s_, this);
    scrollview_->setAnimated(ctx_.animations);
    scrollview_->viewport()->installEventFilter(this);
    scrollview_->widget()->installEventFilter(this);
    connect(scrollview_, &MonthListView::deleteTouched, this, &Historyandreports::delete_button_touch);
    connect(scrollview_, &MonthListView::moreTouched, this, &Historyandreports::more_button_touch);
    connect(scrollview_, &MonthListView::whoTouched, this, [this](int) { who_button_touch(); });
    connect(scrollview_, &MonthListView::iconTouched, this, [](CardLayout::Icon icon, int) {
        // The three marks only say what they are.
        Log::write(kLog, icon == CardLayout::Icon::Pad    ? "pad_button_touch"
                         : icon == CardLayout::Icon::Triv ? "triv_button_touch"
                                                          : "pen_button_touch");
    });

    auto px = [this](int v) { return qRound(v * s_); };
    const int barY = isTablet(ctx_.formFactor) ? 24 : 10;
    segmentedControl_ = new MonthBar(s_);
    segmentedControl_->setGeometry(px(86), barY * (isTablet(ctx_.formFactor) ? 1 : 1), px(138), px(28));
    titlebar_buttonL_ = MeasurementUi::button(nullptr, QStringLiteral("titlebar_buttonL"),
                                              QStringLiteral("‹"), QStringLiteral("secondary"));
    titlebar_buttonL_->setAccessibleName(tr("Three months back"));
    titlebar_buttonL_->setGeometry(px(54), barY, px(28), px(28));
    titlebar_buttonR_ = MeasurementUi::button(nullptr, QStringLiteral("titlebar_buttonR"),
                                              QStringLiteral("›"), QStringLiteral("secondary"));
    titlebar_buttonR_->setAccessibleName(tr("Three months on"));
    titlebar_buttonR_->setGeometry(px(242), barY, px(28), px(28));
    connect(titlebar_buttonL_, &QPushButton::clicked, this, &Historyandreports::Month_Reduce1);
    connect(titlebar_buttonR_, &QPushButton::clicked, this, &Historyandreports::Month_plus1);
    for (QPushButton *arrow : {titlebar_buttonL_, titlebar_buttonR_})
        arrow->setStyleSheet(
            QStringLiteral("QPushButton { border: none; background: transparent; color: #2f7cc8;"
                           " font-size: %1px; font-weight: bold; padding: 0; min-height: 0; }")
                .arg(px(26)));
    scrollview_->addHeaderWidget(titlebar_buttonL_);
    scrollview_->addHeaderWidget(segmentedControl_);
    scrollview_->addHeaderWidget(titlebar_buttonR_);
    if (isTablet(ctx_.formFactor)) {
        yearLabel_ = MeasurementUi::valueLabel(nullptr, QStringLiteral("year_label"), QString(), tr("Year"));
        yearLabel_->setAlignment(Qt::AlignCenter);
        QFont f(QStringLiteral("Arial Rounded MT Bold"));
        f.setPixelSize(20);
        yearLabel_->setFont(f);
        yearLabel_->setGeometry(px(86), 0, px(138), 24);
        scrollview_->addHeaderWidget(yearLabel_);
    }

    detail_ = new TrivDetailView(ctx_.formFactor, this);
    detail_->hide();
    connect(detail_->Detail_view_back, &QPushButton::clicked, this, &Historyandreports::Detail_view_back);
    connect(detail_->detail_who_button, &QPushButton::clicked, this,
            &Historyandreports::DetailView_WHObutton);
    who_ = new WhoLegendView(ctx_.formFactor, this);
    who_->hide();
    connect(who_->WHO_Back_Touch, &QPushButton::clicked, this, &Historyandreports::whoview_back);
    reportPanel_ = new ReportChoicePanel({&db_, ctx_.alerts, ctx_.clock, ctx_.formFactor}, this);
    reportPanel_->hide();
    connect(reportPanel_, &ReportChoicePanel::saveRequested, this, [this] { deliverReport(false); });
    connect(reportPanel_, &ReportChoicePanel::sendRequested, this, [this] { deliverReport(true); });

    banner_ = MeasurementUi::picture(this, QStringLiteral("show_turn_Image"),
                                     QStringLiteral("TonaraDock_views.png"), QSize(px(320), px(96)),
                                     tr("Turn the device to see the charts"));
    banner_->setAttribute(Qt::WA_TransparentForMouseEvents);
    y_show_trun_ = 320;
    if (ctx_.scheduler)
        show_trun_ = ctx_.scheduler->repeating(Millis(50), [this] { no_show_turn(); });

    shown_.setFrom(ctx_.clock->localNow());
    Month_moving(shown_.show_month);
    refresh();
}

Historyandreports::~Historyandreports()
{
    if (ctx_.scheduler)
        ctx_.scheduler->cancel(show_trun_);
}

void Historyandreports::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        viewWillAppear();
}

void Historyandreports::viewWillAppear()
{
    Slide_Press = true;
    who_->hide();
    editView_->hide();
    detail_->hide();
    // Read for whoever was active then: another profile may be active now.
    reportPanel_->hide();
    topBar_->show();
    shown_.setFrom(ctx_.clock->localNow());
    Month_moving(shown_.show_month);
    refresh();
    // The banner starts again from its place.
    y_show_trun_ = isTablet(ctx_.formFactor) ? 768 : ctx_.formFactor == FormFactor::Phone568 ? 408 : 320;
    no_show_turn_i_ = 0;
    banner_->show();
    placeBanner();
}

void Historyandreports::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int w = width();
    topBar_->setGeometry(0, 0, w, kTopBar);
    editView_->setGeometry(0, 0, w, kTopBar);
    for (QWidget *bar : {topBar_, editView_})
        for (QWidget *c : bar->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (c->objectName() == QLatin1String("edit_chack") ||
                c->objectName() == QLatin1String("edit_done"))
                c->move(8, c->y());
            else if (c->objectName().endsWith(QLatin1String("_title")))
                c->setGeometry(0, 0, w, kTopBar);
            else
                c->move(w - c->width() - 8, c->y());
        }
    detail_->setGeometry(rect());
    who_->setGeometry(rect());
    reportPanel_->setGeometry(rect());
    placeList();
    placeBanner();
}

void Historyandreports::placeList()
{
    QRect frame(7, 44, 307, ctx_.formFactor == FormFactor::Phone568 ? 464 : 376);
    if (isTablet(ctx_.formFactor)) {
        if (edit_press)
            frame = QRect(7, 50, 307, 350);
        frame = QRect(2 * frame.x() + 70, 2 * frame.y() - 40, 2 * frame.width(), 2 * frame.height() + 150);
    }
    // The frame is the screen's less the bars the shell draws around it; the
    // scroll indicator goes beside the cards.
    frame.setBottom(qMin(frame.bottom(), height() - 1));
    frame.setWidth(frame.width() + 6);
    scrollview_->setGeometry(frame);
}

void Historyandreports::refresh()
{
    redraw(false);
}

void Historyandreports::redraw(bool editFlag)
{
    history_.SQLlite_Month(shown_.show_year, shown_.show_month);
    if (yearLabel_)
        MeasurementUi::setValue(yearLabel_, QString::number(shown_.show_year));
    placeList();
    scrollview_->Painting_objects(editFlag, emptyMonthText(), [this](const std::string &date) {
        return QString::fromStdString(history_.OneDayAvgdata(date));
    });
}

void Historyandreports::Month_moving(int m)
{
    segmentedControl_->setTitles(ShownMonth::Month_moving(m));
}

void Historyandreports::moved()
{
    Month_moving(shown_.show_month);
    refresh();
}

void Historyandreports::Month_plus1()
{
    shown_.Month_plus1();
    moved();
}

void Historyandreports::Month_Reduce1()
{
    shown_.Month_Reduce1();
    moved();
}

void Historyandreports::move_ll()
{
    if (!Slide_Press)
        return;
    shown_.move_ll();
    moved();
}

void Historyandreports::move_rr()
{
    if (!Slide_Press)
        return;
    shown_.move_rr();
    moved();
}

bool Historyandreports::eventFilter(QObject *watched, QEvent *event)
{
    // A horizontal stroke over the list is a swipe; a tap or a scroll is not.
    if (event->type() == QEvent::MouseButtonPress) {
        pressAt_ = static_cast<QMouseEvent *>(event)->globalPosition().toPoint();
        pressed_ = true;
    } else if (event->type() == QEvent::MouseButtonRelease && pressed_) {
        pressed_ = false;
        const QPoint d = static_cast<QMouseEvent *>(event)->globalPosition().toPoint() - pressAt_;
        if (std::abs(d.x()) >= 40 && std::abs(d.y()) * 2 < std::abs(d.x())) {
            if (d.x() < 0)
                move_ll();
            else
                move_rr();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Historyandreports::raiseOverlay(QWidget *overlay)
{
    overlay->setGeometry(rect());
    overlay->show();
    overlay->raise();
}

void Historyandreports::edit_chack()
{
    editView_->show();
    editView_->raise();
    edit_press = true;
    Slide_Press = false;
    redraw(true);
}

void Historyandreports::edit_done()
{
    editView_->hide();
    edit_press = false;
    refresh();
    Slide_Press = true;
}

void Historyandreports::deit_add()
{
    ManualFromHistory::manual_from_history = 1;
    emit selectTabRequested(kMeasurementTab);
}

void Historyandreports::delete_button_touch(int index)
{
    delete_button_tag = index;
    ctx_.alerts->actionSheet(tr("Are you sure you want to delete the data?"), {tr("Yes"), tr("No")},
                             [this](int answer) { deleteAnswered(answer); });
}

void Historyandreports::deleteAnswered(int index)
{
    if (index != 0)
        return;
    const std::size_t i = std::size_t(delete_button_tag);
    if (i < history_.aArray_time.size()) {
        ReadingDeletion deletion(db_, *ctx_.alerts);
        deletion.DeleteSQL(history_.aArray_date[i], history_.aArray_time[i], history_.aArray_rowid[i]);
    }
    // Phones put the delete buttons away until edit mode is opened again.
    redraw(isTablet(ctx_.formFactor));
}

void Historyandreports::more_button_touch(int index)
{
    const std::size_t i = std::size_t(index);
    if (i >= history_.aArray_time.size())
        return;
    Slide_Press = false;
    detail_press = true;
    history_.SQLtriv_Search_more(history_.aArray_triv_id[i]);
    detail_->show(history_, i);
    raiseOverlay(detail_);
    if (ctx_.animations) {
        // Pushed in from the right like a screen of a navigation stack.
        auto *push = new QPropertyAnimation(detail_, "pos", detail_);
        push->setDuration(NavigationController::kTransitionMs);
        push->setStartValue(QPoint(width(), 0));
        push->setEndValue(QPoint(0, 0));
        push->setEasingCurve(QEasingCurve::OutCubic);
        push->start(QAbstractAnimation::DeleteWhenStopped);
    }
}

void Historyandreports::Detail_view_back()
{
    detail_->hide();
    detail_press = false;
    Slide_Press = true;
}

void Historyandreports::who_button_touch()
{
    raiseOverlay(who_);
    who_press = true;
    Slide_Press = false;
    who_->imageviewINIT();
}

void Historyandreports::DetailView_WHObutton()
{
    raiseOverlay(who_);
    Slide_Press = false;
    who_press = true;
}

void Historyandreports::whoview_back()
{
    who_->hide();
    who_press = false;
    if (!detail_press)
        Slide_Press = true;
}

void Historyandreports::share_bt()
{
    ctx_.alerts->actionSheet(
        tr("Email you data via email"),
        {tr("Share data of this month"), tr("Share all data"), tr("Doctor's report (PDF)"), tr("Cancel")},
        [this](int index) { shareChosen(index); });
}

void Historyandreports::openReport(ReportRequest::Kind first)
{
    // Always the active user's report.
    DataBaseforCD users(db_, *ctx_.alerts);
    reportPanel_->open(users.activeUser(), shown_.show_year, shown_.show_month, first);
    raiseOverlay(reportPanel_);
}

void Historyandreports::deliverReport(bool send)
{
    if (!reportPanel_->content() || reportPanel_->content()->isEmpty()) {
        ctx_.alerts->alert(tr("No data."), QString(), {tr("OK")});
        return;
    }
    const ReportContent &content = *reportPanel_->content();
    ReportPdf pdf(content);
    if (!send) {
        const QString suggested = QDir::home().filePath(QString::fromLatin1(ReportPdf::kFileName));
        const QString path = reportFile_
                                 ? reportFile_(suggested)
                                 : QFileDialog::getSaveFileName(this, tr("Save the report"), suggested,
                                                                tr("PDF documents (*.pdf)"));
        if (path.isEmpty())
            return; // the panel stays, the choice kept
        QString why;
        if (db_.holdsFile(QDir::toNativeSeparators(path).toStdString())) {
            // Saved over the diary, the report would take the place of every reading.
            ctx_.alerts->alert(tr("Report not saved"),
                               tr("%1 is the diary's own database. Choose another name.")
                                   .arg(QDir::toNativeSeparators(path)),
                               {tr("OK")});
        } else if (pdf.writeFile(path, &why)) {
            reportPanel_->hide();
            ctx_.alerts->alert(tr("Report saved"), QDir::toNativeSeparators(path), {tr("OK")});
        } else {
            ctx_.alerts->alert(tr("Report not saved"), why, {tr("OK")});
        }
        return;
    }
    if (!composer_)
        return;
    const QString name = QString::fromStdString(content.name);
    Mail mail;
    mail.subject = tr("%1 's blood pressure report").arg(name);
    mail.body = tr("Attached is %1 's blood pressure report: %2.").arg(name, ReportPdf::periodText(content));
    mail.attachment = pdf.bytes();
    mail.mimeType = QString::fromLatin1(ReportPdf::kMimeType);
    mail.fileName = QString::fromLatin1(ReportPdf::kFileName);
    if (mail.attachment.isEmpty()) {
        ctx_.alerts->alert(tr("Report not made"), tr("The report could not be written."), {tr("OK")});
        return;
    }
    reportPanel_->hide();
    mail_state = 1;
    if (!composer_(mail))
        mail_state = 0;
}

void Historyandreports::shareChosen(int index)
{
    if (index == 2) {
        openReport();
        return;
    }
    if (index != 0 && index != 1)
        return;
    // The name of the user whose readings go out, by number: the list position
    // last touched need not be the active user.
    DataBaseforCD users(db_, *ctx_.alerts);
    const ShareMail texts = ShareMail::forUser(users, users.activeUser());
    e_mail(QString::fromStdString(texts.subject), QString(), QString::fromStdString(texts.bodyStart),
           index == 0 ? CsvExport::kThisMonth : CsvExport::kAllData);
}

void Historyandreports::e_mail(const QString &subject, const QString &recipient, const QString &bodyStart,
                               int mode)
{
    // One query gives both the count and the file.
    CsvExport csv(db_, *ctx_.alerts);
    const CsvExport::Result built = csv.Mail_csv_format(mode, shown_.show_year, shown_.show_month, false);
    if (built.count == 0) {
        ctx_.alerts->alert(tr("No data."), QString(), {tr("OK")});
        return;
    }
    if (!composer_)
        return;
    Mail mail;
    mail.subject = subject;
    mail.recipient = recipient;
    ShareMail texts("");
    texts.bodyStart = bodyStart.toStdString();
    mail.body = QString::fromStdString(texts.body(csv.aArray_email_date));
    mail.attachment = QByteArray::fromStdString(built.text);
    mail.mimeType = QString::fromLatin1(ShareMail::kAttachmentType);
    mail.fileName = QString::fromLatin1(ShareMail::kAttachmentName);
    mail_state = 1;
    if (!composer_(mail))
        mail_state = 0; // no composer after all: nothing is open
}

void Historyandreports::mailComposeController_didFinishWithResult(int result, const QString &error)
{
    auto statusBarStep = [this] {
        if (mail_state == 2)
            emit statusBarHiddenRequested(true);
        else if (mail_state == 1)
            emit statusBarHiddenRequested(false);
        mail_state = 0;
    };
    switch (result) {
    case 0:
        Log::write(kLog, "Mail send canceled.");
        statusBarStep();
        break;
    case 1:
        Log::write(kLog, "Mail saved.");
        statusBarStep();
        break;
    case 2:
        Log::write(kLog, "Mail sent.");
        ctx_.alerts->alert(tr("sent successfully"), QString(), {tr("Ok")});
        statusBarStep();
        break;
    case 3:
        Log::write(kLog, "Mail send error: " + error.toStdString() + ".");
        // The composer is gone: the person must hear that nothing went out.
        // mail_state keeps its value until a later composer ends.
        ctx_.alerts->alert(tr("Mail not sent"), error, {tr("OK")});
        break;
    default:
        break;
    }
}

void Historyandreports::placeBanner()
{
    const int w = isTablet(ctx_.formFactor) ? 768 : 320;
    const int h = isTablet(ctx_.formFactor) ? 192 : 96;
    // Screen points are counted from the top of the display, above the status bar.
    banner_->setGeometry(0, y_show_trun_ - 20, qMin(w, width() > 0 ? width() : w), h);
    banner_->raise();
}

void Historyandreports::no_show_turn()
{
    const int limit = isTablet(ctx_.formFactor) ? 1024 : 480;
    if (y_show_trun_ >= limit) {
        banner_->hide();
    } else if (no_show_turn_i_ == 20) {
        y_show_trun_ += 15;
        placeBanner();
    } else {
        ++no_show_turn_i_;
    }
}

} // namespace tonara
