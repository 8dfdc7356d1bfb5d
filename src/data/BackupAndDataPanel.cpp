#include "data/BackupAndDataPanel.h"

#include "base/Clock.h"
#include "data/BackupMessageText.h"
#include "data/core/AutoBackups.h"
#include "data/core/BackupFileName.h"
#include "data/core/BackupRestorer.h"
#include "data/core/BackupSnapshot.h"
#include "data/core/BackupWriter.h"
#include "measurement/MeasurementUi.h"
#include "platform/AlertPresenter.h"
#include "storage/DBHelper.h"
#include "storage/Schema.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

#include <cstdio>

namespace tonara {

namespace {

QString fileFilter()
{
    return BackupAndDataPanel::tr("Tonara+ backups (*.tonarabackup);;All files (*)");
}

long long countOf(const std::vector<std::pair<std::string, long long>> &counts, const char *table)
{
    for (const auto &[name, rows] : counts)
        if (name == table)
            return rows;
    return 0;
}

// The manifest's "yyyy-MM-dd HH:mm:ss" as a person reads a moment.
QString createdText(const std::string &created)
{
    LocalDateTime at;
    if (std::sscanf(created.c_str(), "%d-%d-%d %d:%d:%d", &at.year, &at.month, &at.day, &at.hour, &at.minute,
                    &at.second) != 6)
        return QString::fromStdString(created);
    return BackupMessageText::moment(at);
}

} // namespace

BackupAndDataPanel::BackupAndDataPanel(const Context &context, QWidget *parent)
    : QWidget(parent), context_(context)
{
    MeasurementUi::name(this, QStringLiteral("BackupAndDataPanel"), tr("Backup and data"));
    const bool tablet = isTablet(context_.formFactor);
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(
        QStringLiteral("#BackupAndDataPanel { background: rgba(30, 40, 52, 150); }"
                       "QWidget#backupCard { background: white; border-radius: 10px; }"
                       "QLabel { color: #2B3A4A; }"
                       "QListWidget { border: 1px solid #C8D2DC; border-radius: 6px; color: #2B3A4A; "
                       "background: white; }"
                       "QListWidget::item:selected { background: #D9E8F5; color: #2B3A4A; }"));
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(tablet ? 120 : 12, tablet ? 80 : 14, tablet ? 120 : 12, tablet ? 80 : 14);
    auto *card = new QWidget(this);
    card->setObjectName(QStringLiteral("backupCard"));
    card->setAttribute(Qt::WA_StyledBackground);
    outer->addWidget(card);

    auto *layout = new QVBoxLayout(card);
    layout->setContentsMargins(14, 12, 14, 12);
    layout->setSpacing(tablet ? 10 : 6);
    auto *title = new QLabel(tr("Backup and data"), card);
    QFont bold = title->font();
    bold.setBold(true);
    bold.setPixelSize(tablet ? 22 : 17);
    title->setFont(bold);
    layout->addWidget(title, 0, Qt::AlignHCenter);

    auto button = [&](const char *name, const QString &text, const QString &heard) {
        auto *b = new QPushButton(text, card);
        MeasurementUi::name(b, QLatin1String(name), heard);
        b->setMinimumHeight(tablet ? 42 : 30);
        layout->addWidget(b);
        return b;
    };
    backUpNow_ = button("backUpNowButton", tr("Back up now…"), tr("Back up all data to a file"));
    restoreFromFile_ = button("restoreFromFileButton", tr("Restore from a file…"),
                              tr("Restore all data from a backup file"));

    auto *listTitle = new QLabel(tr("Automatic backups, taken before each deletion"), card);
    listTitle->setWordWrap(true);
    layout->addWidget(listTitle);
    list_ = new QListWidget(card);
    MeasurementUi::name(list_, QStringLiteral("backupsList"), tr("Automatic backups"));
    listTitle->setBuddy(list_);
    layout->addWidget(list_, 1);
    undo_ = button("undoButton", tr("Undo"), tr("Undo: bring back the data of the chosen backup"));
    undo_->setEnabled(false);

    import_ = button("importButton", tr("Import readings…"), tr("Import readings from a file"));
    fhir_ = button("fhirExportButton", tr("Export (FHIR)…"), tr("Export readings as FHIR"));
    back_ = button("backupBackButton", tr("Back"), tr("Back"));

    connect(backUpNow_, &QPushButton::clicked, this, &BackupAndDataPanel::backUpNow);
    connect(restoreFromFile_, &QPushButton::clicked, this, &BackupAndDataPanel::restoreFromFile);
    connect(undo_, &QPushButton::clicked, this, &BackupAndDataPanel::undoChosen);
    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) { undo_->setEnabled(row >= 0); });
    connect(import_, &QPushButton::clicked, this, &BackupAndDataPanel::importRequested);
    connect(fhir_, &QPushButton::clicked, this, &BackupAndDataPanel::fhirExportRequested);
    connect(back_, &QPushButton::clicked, this, &QWidget::hide);

    saveAs_ = [](QWidget *parent, const QString &suggested) {
        return QFileDialog::getSaveFileName(parent, tr("Back up to"), suggested, fileFilter(), nullptr,
                                            QFileDialog::DontUseNativeDialog);
    };
    open_ = [](QWidget *parent, const QString &suggested) {
        return QFileDialog::getOpenFileName(parent, tr("Restore from"), suggested, fileFilter(), nullptr,
                                            QFileDialog::DontUseNativeDialog);
    };
    refreshList();
}

void BackupAndDataPanel::setFileChoosers(FileChooser saveAs, FileChooser open)
{
    saveAs_ = std::move(saveAs);
    open_ = std::move(open);
}

void BackupAndDataPanel::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    refreshList();
}

void BackupAndDataPanel::refreshList()
{
    list_->clear();
    for (const AutoBackups::Entry &e : AutoBackups(*context_.db, *context_.clock).list()) {
        const QString text =
            tr("%1 — %2").arg(BackupMessageText::moment(e.at), BackupMessageText::operation(e.operation));
        auto *item = new QListWidgetItem(text, list_);
        item->setData(Qt::UserRole, QString::fromStdString(e.path));
    }
    undo_->setEnabled(false);
}

QString BackupAndDataPanel::suggestedBackupPath() const
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    return QDir(folder).filePath(QString::fromStdString(BackupFileName::manual(context_.clock->localNow())));
}

void BackupAndDataPanel::backUpNow()
{
    const QString path = saveAs_(this, suggestedBackupPath());
    if (path.isEmpty())
        return;
    BackupMessage why;
    if (!BackupWriter(*context_.db, *context_.clock)
             .write(QDir::toNativeSeparators(path).toStdString(), "", &why)) {
        context_.alerts->alert(tr("Backup failed"), BackupMessageText::text(why), {tr("OK")});
        return;
    }
    context_.alerts->alert(
        tr("Backup saved"),
        tr("All readings, profiles and photos were saved in \"%1\".").arg(QDir::toNativeSeparators(path)),
        {tr("OK")});
}

void BackupAndDataPanel::restoreFromFile()
{
    const QString path = open_(this, QFileInfo(suggestedBackupPath()).path());
    if (!path.isEmpty())
        askToRestore(path);
}

void BackupAndDataPanel::undoChosen()
{
    if (QListWidgetItem *item = list_->currentItem())
        askToRestore(item->data(Qt::UserRole).toString());
}

void BackupAndDataPanel::askToRestore(const QString &path)
{
    const BackupRestorer::Checked checked =
        BackupRestorer(*context_.db, *context_.clock).inspect(QDir::toNativeSeparators(path).toStdString());
    if (!checked.ok) {
        context_.alerts->alert(tr("Backup not restored"), BackupMessageText::text(checked.refusal),
                               {tr("OK")});
        return;
    }
    std::string why;
    const auto now = BackupSnapshot::tableCounts(context_.db->getDatabaseFullPath(), &why);
    const Manifest &m = checked.manifest;
    const QString message =
        now.empty() && !why.empty()
            // A damaged diary has no counts to name; it is kept as it is.
            ? tr("The data on this device cannot be read (%1). It is replaced by the backup of %2 (%3 "
                 "readings, %4 profiles).\n\nThe unreadable database is kept in the backups folder first.")
                  .arg(QString::fromStdString(why))
                  .arg(createdText(m.created))
                  .arg(m.count(Schema::kReadingTable))
                  .arg(m.count(Schema::kUsersTable))
            : tr("All data on this device (%1 readings, %2 profiles, their photos and the "
                 "settings) is replaced by the backup of %3 (%4 readings, %5 profiles).\n\nThe "
                 "current data is backed up first.")
                  .arg(countOf(now, Schema::kReadingTable))
                  .arg(countOf(now, Schema::kUsersTable))
                  .arg(createdText(m.created))
                  .arg(m.count(Schema::kReadingTable))
                  .arg(m.count(Schema::kUsersTable));
    context_.alerts->alert(tr("Replace all data?"), message, {tr("Restore"), tr("Cancel")},
                           [this, path](int answer) {
                               if (answer == 0)
                                   restore(path);
                           });
}

void BackupAndDataPanel::restore(const QString &path)
{
    BackupMessage why;
    BackupRestorer restorer(*context_.db, *context_.clock);
    if (!restorer.restore(QDir::toNativeSeparators(path).toStdString(), &why)) {
        context_.alerts->alert(tr("Backup not restored"), BackupMessageText::text(why), {tr("OK")});
        return;
    }
    refreshList();
    emit dataRestored();
    const QString back =
        tr("The readings, profiles and photos of \"%1\" are back.").arg(QFileInfo(path).fileName());
    context_.alerts->alert(
        tr("Backup restored"),
        restorer.replacedDataWasDamaged()
            ? back + QLatin1Char(' ') +
                  tr("The unreadable database they replaced is kept as \"%1\".")
                      .arg(QDir::toNativeSeparators(QString::fromStdString(restorer.replacedDataBackup())))
            : back + QLatin1Char(' ') + tr("The data they replaced is at the top of the backups list."),
        {tr("OK")});
}

} // namespace tonara
