#include "users/setting.h"

#include "measurement/ManualNumberField.h"
#include "measurement/MeasurementUi.h"
#include "platform/AlertPresenter.h"
#include "platform/Artwork.h"
#include "storage/DBHelper.h"
#include "storage/DataBaseforCD.h"
#include "users/BackupBeforeDeletion.h"
#include "users/UndoBar.h"
#include "users/core/BloodPressureTarget.h"
#include "users/core/DataSafetyNet.h"
#include "users/core/OldDataDeletion.h"
#include "users/core/TargetEntryRules.h"

#include <QEvent>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tonara {

namespace {

// Enter or Return on a row chooses it, as a tap does.
class RowKeys : public QObject {
public:
    RowKeys(QTableWidget *table, std::function<void(int)> choose) : QObject(table), choose_(std::move(choose))
    {
        table->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            auto *table = static_cast<QTableWidget *>(watched);
            if ((key == Qt::Key_Return || key == Qt::Key_Enter) && table->currentRow() >= 0) {
                choose_(table->currentRow());
                return true;
            }
        }
        return false;
    }

private:
    std::function<void(int)> choose_;
};

} // namespace

setting::setting(const UsersContext &context, QWidget *parent) : QWidget(parent), context_(context)
{
    MeasurementUi::name(this, "setting", tr("Setting"));
    setWindowTitle(tr("Setting"));
    setWindowIcon(Artwork::icon(QStringLiteral("3-1-1_26.png")));
    store_ = std::make_unique<DataBaseforCD>(*context_.db, *context_.alerts);
    target_ = std::make_unique<BloodPressureTarget>(*store_);
    target_->load();
    dataSource_ = {{tr("Blood pressure target"), tr("Reset data")}};
    buildTable();
    buildPanel();
    undoBar_ = new UndoBar(context_, this);
    connect(undoBar_, &UndoBar::undone, this, [this] {
        reloadData();
        emit dataDeleted(); // the lists read their rows again
    });
}

setting::~setting() = default;

int setting::target_high() const
{
    return target_->target_high();
}

int setting::target_low() const
{
    return target_->target_low();
}

void setting::setBackupAndDataPanel(QWidget *panel)
{
    if (backupPanel_ || !panel)
        return;
    backupPanel_ = panel;
    panel->setParent(this);
    panel->setGeometry(rect());
    panel->hide();
    dataSource_.first() << tr("Backup and data");
    const int row = table_->rowCount();
    table_->setRowCount(row + 1);
    auto *item = new QTableWidgetItem(dataSource_.first().last());
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    table_->setItem(row, 0, item);
    table_->setFixedHeight(table_->verticalHeader()->defaultSectionSize() * (row + 1) + 2);
}

void setting::reloadData()
{
    target_->load();
    emit targetChanged(target_->target_high(), target_->target_low());
}

void setting::buildTable()
{
    const bool tablet = isTablet(context_.formFactor);
    auto *layout = new QVBoxLayout(this);
    // The table's top inset of 10 points over the background picture.
    layout->setContentsMargins(tablet ? 40 : 10, 10 + 10, tablet ? 40 : 10, 10);
    layout->setSpacing(8);

    table_ = new QTableWidget(this);
    MeasurementUi::name(table_, "Setting_table_view", tr("Settings"));
    const QStringList &rows = dataSource_.isEmpty() ? QStringList() : dataSource_.first();
    table_->setColumnCount(1);
    table_->setRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        auto *item = new QTableWidgetItem(rows[r]);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        table_->setItem(r, 0, item);
    }
    const int rowHeight = tablet ? 54 : 44;
    table_->horizontalHeader()->hide();
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->verticalHeader()->setDefaultSectionSize(rowHeight);
    table_->setShowGrid(true);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table_->setFixedHeight(rowHeight * int(rows.size()) + 2);
    QFont f = table_->font();
    f.setPixelSize(tablet ? 20 : 17);
    table_->setFont(f);
    table_->setStyleSheet(
        QStringLiteral("QTableWidget { background: white; border: 1px solid #C8D2DC; "
                       "border-radius: 8px; gridline-color: #D5DEE6; color: #2B3A4A; }"
                       "QTableWidget::item { padding-left: 10px; }"
                       "QTableWidget::item:selected { background: #D9E8F5; color: #2B3A4A; }"));
    connect(table_, &QTableWidget::clicked, this,
            [this](const QModelIndex &index) { didSelectRow(index.row()); });
    new RowKeys(table_, [this](int row) { didSelectRow(row); });
    layout->addWidget(table_);

    footer_ = new QLabel(tr(kVersion), this);
    MeasurementUi::name(footer_, "footer", tr(kVersion));
    footer_->setAlignment(Qt::AlignHCenter);
    footer_->setStyleSheet(QStringLiteral("color: #4C566C; background: transparent;"));
    layout->addWidget(footer_);
    layout->addStretch(1);
}

void setting::buildPanel()
{
    const bool tablet = isTablet(context_.formFactor);
    // The panel covers the table; its card holds the two fields.
    panel_ = new QWidget(this);
    MeasurementUi::name(panel_, "BloodPressureView", tr("Blood pressure target"));
    panel_->setAttribute(Qt::WA_StyledBackground);
    panel_->setStyleSheet(QStringLiteral("#BloodPressureView { background: rgba(30, 40, 52, 150); }"
                                         "QWidget#card { background: white; border-radius: 10px; }"
                                         "QLabel { color: #2B3A4A; }"
                                         "QLineEdit { border: 1px solid #8A99A8; border-radius: 5px; "
                                         "padding: 4px; background: white; color: #2B3A4A; }"));
    auto *outer = new QVBoxLayout(panel_);
    outer->setContentsMargins(tablet ? 160 : 20, tablet ? 120 : 30, tablet ? 160 : 20, 0);
    auto *card = new QWidget(panel_);
    card->setObjectName(QStringLiteral("card"));
    card->setAttribute(Qt::WA_StyledBackground);
    outer->addWidget(card);
    outer->addStretch(1);

    auto *grid = new QGridLayout(card);
    grid->setContentsMargins(16, 14, 16, 14);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(12);
    auto *title = new QLabel(tr("Blood pressure target"), card);
    QFont bold = title->font();
    bold.setBold(true);
    bold.setPixelSize(tablet ? 22 : 17);
    title->setFont(bold);
    grid->addWidget(title, 0, 0, 1, 2, Qt::AlignHCenter);

    auto field = [&](int row, const QString &text, const char *specName, const QString &spoken) {
        auto *label = new QLabel(text, card);
        auto *edit = new ManualNumberField(card);
        MeasurementUi::name(edit, specName, spoken);
        edit->setFixedWidth(tablet ? 120 : 80);
        label->setBuddy(edit);
        grid->addWidget(label, row, 0);
        grid->addWidget(edit, row, 1, Qt::AlignRight);
        return edit;
    };
    sys_ = field(1, tr("&Systolic (mmHg)"), "SysTextField", tr("Systolic target"));
    dia_ = field(2, tr("&Diastolic (mmHg)"), "DiastolicTextField", tr("Diastolic target"));

    auto *buttons = new QHBoxLayout;
    back_ = new QPushButton(tr("Back"), card);
    MeasurementUi::name(back_, "BloodPressureBack", tr("Back"));
    save_ = new QPushButton(tr("Save"), card);
    MeasurementUi::name(save_, "BloodPressureSave", tr("Save"));
    save_->setDefault(true);
    for (QPushButton *b : {back_, save_}) {
        b->setMinimumHeight(tablet ? 44 : 34);
        buttons->addWidget(b);
    }
    grid->addLayout(buttons, 3, 0, 1, 2);
    connect(back_, &QPushButton::clicked, this, &setting::BloodPressureBack);
    connect(save_, &QPushButton::clicked, this, &setting::BloodPressureSave);
    connect(sys_, &QLineEdit::returnPressed, dia_, qOverload<>(&QWidget::setFocus));
    connect(dia_, &QLineEdit::returnPressed, this, &setting::BloodPressureSave);
    panel_->hide();
}

void setting::didSelectRow(int row)
{
    if (row == 0) {
        panel_->setGeometry(rect());
        panel_->show();
        panel_->raise();
        sys_->clear();
        dia_->clear();
        sys_->setFocus();
    } else if (row == 1) {
        context_.alerts->actionSheet(
            tr("You can keep the most recent\n 6 month or 1 year data and\ndelete the "
               "rest. Or you can\ndelete all data."),
            {tr("Six months"), tr("One year"), tr("Delete all data"), tr("Cancel")},
            [this](int index) { actionSheet_clickedButtonAtIndex(index); });
    } else if (row == 2 && backupPanel_) {
        backupPanel_->setGeometry(rect());
        backupPanel_->show();
        backupPanel_->raise();
    }
    table_->clearSelection();
}

void setting::BloodPressureBack()
{
    panel_->hide();
}

void setting::BloodPressureSave()
{
    for (ManualNumberField *field : {sys_, dia_}) {
        if (!TargetEntryRules::Textrange(field->text().toStdString())) {
            context_.alerts->alert(tr(TargetEntryRules::kOutOfRangeTitle),
                                   tr(TargetEntryRules::kOutOfRangeMessage), {tr(TargetEntryRules::kOk)});
            field->setFocus();
            return;
        }
    }
    const int high = TargetEntryRules::intValue(sys_->text().toStdString());
    const int low = TargetEntryRules::intValue(dia_->text().toStdString());
    if (!target_->save(high, low)) {
        // The panel stays, so the person can try again.
        context_.alerts->alert(tr("Target not saved"),
                               tr("The target could not be written to the database. Please try again."),
                               {tr("OK")});
        return;
    }
    panel_->hide();
    emit targetChanged(high, low);
}

void setting::actionSheet_clickedButtonAtIndex(int index)
{
    if (index < OldDataDeletion::kSixMonths || index > OldDataDeletion::kAllData)
        return; // Cancel
    Monthdata_ = index;
    context_.alerts->alert(tr("Abort the reading"), tr("Are you sure you want to \n  delete the data?"),
                           {tr("Yes"), tr("Cancel")},
                           [this](int answer) { alertView_clickedButtonAtIndex(answer); });
}

void setting::alertView_clickedButtonAtIndex(int index)
{
    if (index == 0)
        SQLDeleteFactory();
}

void setting::SQLDeleteFactory()
{
    backUpThenDelete(context_, DataSafetyNet::Operation::ResetData, this,
                     [this](const std::string &backup) { deleteOldData(backup); });
}

void setting::deleteOldData(const std::string &backup)
{
    OldDataDeletion deletion(*context_.db, *context_.clock);
    if (!deletion.SQLDeleteFactory(Monthdata_)) {
        // Nothing was deleted; saying nothing would let the person think it was.
        context_.alerts->alert(tr("Data not deleted"),
                               tr("Nothing was deleted. The database reported: %1")
                                   .arg(QString::fromStdString(deletion.lastError())),
                               {tr("OK")});
        return;
    }
    undoBar_->offer(tr("Data deleted."), backup);
    emit dataDeleted();
}

void setting::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.drawPixmap(rect(), Artwork::pixmap(QStringLiteral("index_bk_2.jpg"), size(), devicePixelRatioF()));
}

void setting::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (panel_)
        panel_->setGeometry(rect());
    if (backupPanel_)
        backupPanel_->setGeometry(rect());
}

} // namespace tonara
