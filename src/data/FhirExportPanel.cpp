#include "data/FhirExportPanel.h"

#include "data/core/ExportReadings.h"
#include "data/core/FhirBundle.h"
#include "measurement/MeasurementUi.h"
#include "storage/DBHelper.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLoggingCategory>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUuid>
#include <QVBoxLayout>

namespace tonara {

Q_LOGGING_CATEGORY(lcFhir, "tonara.fhir")

namespace {

void name(QWidget *w, const char *objectName, const QString &heard)
{
    MeasurementUi::name(w, QLatin1String(objectName), heard);
}

QPushButton *button(QWidget *parent, const char *objectName, const QString &text)
{
    auto *b = new QPushButton(text, parent);
    name(b, objectName, text);
    return b;
}

QDate qdate(const LocalDateTime &at)
{
    return QDate(at.year, at.month, at.day);
}

} // namespace

FhirExportPanel::FhirExportPanel(Options options, QWidget *parent)
    : QWidget(parent), options_(std::move(options))
{
    name(this, "fhir_export", tr("Export for a doctor (FHIR)"));
    setAttribute(Qt::WA_StyledBackground, true);
    setStyleSheet(QStringLiteral("#fhir_export { background: #F3F6F9; }"
                                 "#fhir_title { font-weight: bold; }"
                                 "#fhir_result { background: white; border: 1px solid #C9D3DC; "
                                 "border-radius: 4px; padding: 6px; }"
                                 "QPushButton { padding: 4px 10px; }"));

    if (options_.db)
        name_ = ExportReadings(*options_.db).name(options_.user);

    auto *title = new QLabel(tr("Export readings as FHIR"), this);
    name(title, "fhir_title", title->text());
    auto *explain = new QLabel(tr("One file in the HL7 FHIR format that health records and doctors' systems "
                                  "read: every reading with its date and time, the averages of TRIV series, "
                                  "and the readings typed in by hand marked as such."),
                               this);
    name(explain, "fhir_explain", explain->text());
    explain->setWordWrap(true);

    all_ = new QCheckBox(tr("All readings"), this);
    name(all_, "fhir_all", tr("All readings"));
    all_->setChecked(true);
    const QDate today = qdate(now());
    from_ = new QDateEdit(today.addMonths(-3), this);
    name(from_, "fhir_from", tr("From"));
    to_ = new QDateEdit(today, this);
    name(to_, "fhir_to", tr("To"));
    for (QDateEdit *e : {from_, to_}) {
        e->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        e->setCalendarPopup(true);
        e->setMaximumDate(today);
    }
    auto *form = new QFormLayout;
    form->addRow(all_);
    form->addRow(tr("From"), from_);
    form->addRow(tr("To"), to_);

    countLabel_ = new QLabel(this);
    name(countLabel_, "fhir_count", QString());
    countLabel_->setWordWrap(true);
    result_ = new QLabel(this);
    name(result_, "fhir_result", QString());
    result_->setWordWrap(true);
    result_->hide();

    save_ = button(this, "fhir_save", tr("Save to file…"));
    mail_ = button(this, "fhir_mail", tr("Send by mail…"));
    close_ = button(this, "fhir_cancel", tr("Cancel"));
    auto *actions = new QHBoxLayout;
    actions->addWidget(save_);
    actions->addWidget(mail_);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(close_);
    bottom->addStretch();

    auto *column = new QVBoxLayout(this);
    column->addWidget(title);
    column->addWidget(explain);
    column->addLayout(form);
    column->addWidget(countLabel_);
    column->addLayout(actions);
    column->addWidget(result_);
    column->addStretch(1);
    column->addLayout(bottom);

    connect(all_, &QCheckBox::toggled, this, &FhirExportPanel::periodChanged);
    connect(from_, &QDateEdit::dateChanged, this, &FhirExportPanel::periodChanged);
    connect(to_, &QDateEdit::dateChanged, this, &FhirExportPanel::periodChanged);
    connect(save_, &QPushButton::clicked, this, &FhirExportPanel::saveToFile);
    connect(mail_, &QPushButton::clicked, this, [this] { sendByMail(); });
    connect(close_, &QPushButton::clicked, this, &FhirExportPanel::dismiss);
    periodChanged();
}

LocalDateTime FhirExportPanel::now() const
{
    return options_.clock ? options_.clock->localNow() : SystemClock().localNow();
}

void FhirExportPanel::present()
{
    if (parentWidget())
        setGeometry(parentWidget()->rect());
    show();
    raise();
    save_->setFocus();
}

void FhirExportPanel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(0xf3, 0xf6, 0xf9));
}

std::optional<std::pair<std::string, std::string>> FhirExportPanel::window() const
{
    if (all_->isChecked())
        return std::nullopt;
    return std::pair{from_->date().toString(Qt::ISODate).toStdString(),
                     to_->date().toString(Qt::ISODate).toStdString()};
}

std::string FhirExportPanel::bundle(int *readings) const
{
    if (!options_.db)
        return {};
    const auto w = window();
    const ExportReadings::Set set =
        ExportReadings(*options_.db)
            .load(options_.user,
                  w ? std::optional(ExportReadings::Window{w->first, w->second}) : std::nullopt);
    if (readings)
        *readings = int(set.readings.size());
    FhirBundle writer(FhirBundle::systemUtcOffset,
                      [] { return QUuid::createUuid().toString(QUuid::WithoutBraces).toStdString(); });
    return writer.write(set, now());
}

QString FhirExportPanel::suggestedFileName() const
{
    QString who = QString::fromStdString(name_).simplified();
    who.replace(QRegularExpression(QStringLiteral("[^\\w-]+")), QStringLiteral("-"));
    return QStringLiteral("tonara-%1-%2.fhir.json")
        .arg(who.isEmpty() ? QStringLiteral("readings") : who, qdate(now()).toString(Qt::ISODate));
}

void FhirExportPanel::periodChanged()
{
    from_->setEnabled(!all_->isChecked());
    to_->setEnabled(!all_->isChecked());
    const bool backwards = !all_->isChecked() && from_->date() > to_->date();
    count_ = 0;
    if (!backwards && options_.db) {
        const auto w = window();
        count_ = int(ExportReadings(*options_.db)
                         .load(options_.user,
                               w ? std::optional(ExportReadings::Window{w->first, w->second}) : std::nullopt)
                         .readings.size());
    }
    QString text;
    if (backwards)
        text = tr("The first day comes after the last day.");
    else if (count_ == 0)
        text = tr("There are no readings of %1 in this period.").arg(QString::fromStdString(name_));
    else if (count_ == 1)
        text = tr("1 reading of %1 will be exported.").arg(QString::fromStdString(name_));
    else
        text = tr("%1 readings of %2 will be exported.").arg(count_).arg(QString::fromStdString(name_));
    countLabel_->setText(text);
    countLabel_->setAccessibleName(text);
    save_->setEnabled(count_ > 0);
    mail_->setEnabled(count_ > 0);
}

void FhirExportPanel::showResult(const QString &text)
{
    result_->setText(text);
    result_->setAccessibleName(text);
    result_->setVisible(!text.isEmpty());
}

bool FhirExportPanel::saveTo(const QString &path)
{
    if (options_.db && options_.db->holdsFile(QDir::toNativeSeparators(path).toStdString())) {
        // Saved over the diary, the export would take the place of every reading.
        showResult(tr("Nothing was saved: %1 is the diary's own database. Choose another name.")
                       .arg(QFileInfo(path).fileName()));
        return false;
    }
    int readings = 0;
    const std::string json = bundle(&readings);
    QSaveFile file(path);
    const bool ok = readings > 0 && file.open(QIODevice::WriteOnly) &&
                    file.write(json.data(), qint64(json.size())) == qint64(json.size()) && file.commit();
    const QString shown = QFileInfo(path).fileName();
    if (readings == 0)
        showResult(tr("Nothing was saved: there are no readings in this period."));
    else if (!ok)
        showResult(tr("%1 could not be saved: %2").arg(shown, file.errorString()));
    else
        showResult(readings == 1 ? tr("1 reading saved to %1.").arg(shown)
                                 : tr("%1 readings saved to %2.").arg(readings).arg(shown));
    if (ok) {
        close_->setText(tr("Done"));
        close_->setAccessibleName(close_->text());
    } else {
        qCWarning(lcFhir) << "FHIR export not saved:" << path << file.errorString();
    }
    return ok;
}

void FhirExportPanel::saveToFile()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString path = QFileDialog::getSaveFileName(this, tr("Save the FHIR export"),
                                                      folder + QLatin1Char('/') + suggestedFileName(),
                                                      tr("FHIR JSON (*.json)"));
    if (!path.isEmpty())
        saveTo(path);
}

MailComposer *FhirExportPanel::sendByMail()
{
    int readings = 0;
    const std::string json = bundle(&readings);
    if (readings == 0) {
        showResult(tr("Nothing to send: there are no readings in this period."));
        return nullptr;
    }
    const QString who = QString::fromStdString(name_);
    auto *composer = new MailComposer(options_.mail, parentWidget() ? parentWidget() : this);
    composer->setAttribute(Qt::WA_DeleteOnClose);
    composer->setSubject(tr("%1 's blood pressure readings (FHIR)").arg(who));
    composer->setToRecipients({});
    composer->setMessageBody(tr("Attached are %1 's blood pressure readings as a FHIR R4 bundle.").arg(who));
    composer->addAttachmentData(QByteArray::fromStdString(json), QLatin1String(kMimeType),
                                suggestedFileName());
    connect(composer, &MailComposer::didFinish, this, [this, composer](int result, const QString &error) {
        switch (result) {
        case MailComposer::Sent:
            showResult(tr("The readings were sent."));
            break;
        case MailComposer::Saved:
            showResult(tr("The message was saved as a draft."));
            break;
        case MailComposer::Failed:
            showResult(tr("The message could not be sent: %1").arg(error));
            break;
        default:
            break;
        }
        composer->hide();
        composer->deleteLater();
    });
    composer->present();
    return composer;
}

void FhirExportPanel::dismiss()
{
    if (!finishedSent_) {
        finishedSent_ = true;
        emit finished();
    }
    hide();
    deleteLater();
}

} // namespace tonara
