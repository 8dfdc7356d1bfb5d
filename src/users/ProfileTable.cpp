#include "users/ProfileTable.h"

#include "measurement/MeasurementUi.h"
#include "users/ProfilePhoto.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QVBoxLayout>

namespace tonara {

namespace {
constexpr int kPhotoColumn = 0;
constexpr int kNameColumn = 1;
constexpr int kAccessoryColumn = 2;
constexpr int kPhotoSide = 44;
} // namespace

ProfileTable *ProfileTable::fillScreen(QWidget *screen, Accessory accessory, const QString &heard)
{
    auto *table = new ProfileTable(accessory, screen);
    MeasurementUi::name(table, QStringLiteral("tableview_top"), heard);
    auto *layout = new QVBoxLayout(screen);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(table);
    return table;
}

ProfileTable::ProfileTable(Accessory accessory, QWidget *parent) : QTableWidget(parent), accessory_(accessory)
{
    setColumnCount(3);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    horizontalHeader()->setSectionResizeMode(kPhotoColumn, QHeaderView::Fixed);
    horizontalHeader()->setSectionResizeMode(kNameColumn, QHeaderView::Stretch);
    horizontalHeader()->setSectionResizeMode(kAccessoryColumn, QHeaderView::Fixed);
    setColumnWidth(kPhotoColumn, kPhotoSide + 12);
    setColumnWidth(kAccessoryColumn, 36);
    setIconSize(QSize(kPhotoSide, kPhotoSide));
    setShowGrid(false);
    setEditTriggers(NoEditTriggers);
    setSelectionBehavior(SelectRows);
    setSelectionMode(SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::StrongFocus);
    // No selection highlight: the check mark says which row is active.
    setStyleSheet(QStringLiteral("QTableWidget { background: white; border: none; color: black; }"
                                 "QTableWidget::item { border-bottom: 1px solid #D5DEE6; }"
                                 "QTableWidget::item:selected { background: white; color: black; }"));
    connect(this, &QTableWidget::cellClicked, this, [this](int row, int) { emit rowChosen(row); });
}

void ProfileTable::setProfiles(const QStringList &names, const QStringList &photos)
{
    clearContents();
    setRowCount(int(names.size()));
    QFont bold = font();
    bold.setBold(true);
    bold.setPixelSize(30);
    for (int r = 0; r < names.size(); ++r) {
        auto *photo = new QTableWidgetItem;
        const QPixmap picture = ProfilePhoto::read(r < photos.size() ? photos[r] : QString());
        if (!picture.isNull())
            photo->setData(Qt::DecorationRole, picture.scaled(kPhotoSide, kPhotoSide, Qt::IgnoreAspectRatio,
                                                              Qt::SmoothTransformation));
        photo->setData(Qt::AccessibleTextRole, picture.isNull() ? tr("No photo") : tr("Photo"));
        auto *name = new QTableWidgetItem(names[r]);
        name->setFont(bold);
        auto *accessory = new QTableWidgetItem;
        accessory->setTextAlignment(Qt::AlignCenter);
        if (accessory_ == Accessory::Disclosure) {
            accessory->setText(QStringLiteral("\u203A"));
            accessory->setForeground(QColor(0x8A, 0x99, 0xA8));
            accessory->setData(Qt::AccessibleTextRole, tr("Details"));
        } else {
            accessory->setForeground(QColor(0x1F, 0x8F, 0xD6));
        }
        QFont big = font();
        big.setPixelSize(26);
        accessory->setFont(big);
        for (QTableWidgetItem *item : {photo, name, accessory})
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        setItem(r, kPhotoColumn, photo);
        setItem(r, kNameColumn, name);
        setItem(r, kAccessoryColumn, accessory);
    }
    if (accessory_ == Accessory::CheckMark)
        setCheckedRow(checked_ < rowCount() ? checked_ : -1);
}

void ProfileTable::setCheckedRow(int row)
{
    if (accessory_ != Accessory::CheckMark)
        return;
    checked_ = row;
    for (int r = 0; r < rowCount(); ++r) {
        QTableWidgetItem *item = this->item(r, kAccessoryColumn);
        item->setText(r == row ? QStringLiteral("\u2713") : QString());
        item->setData(Qt::AccessibleTextRole, r == row ? tr("Active user") : QString());
    }
}

bool ProfileTable::hasCheckMark(int row) const
{
    const QTableWidgetItem *item = this->item(row, kAccessoryColumn);
    return item && accessory_ == Accessory::CheckMark && !item->text().isEmpty();
}

QPixmap ProfileTable::photoOf(int row) const
{
    const QTableWidgetItem *item = this->item(row, kPhotoColumn);
    return item ? item->data(Qt::DecorationRole).value<QPixmap>() : QPixmap();
}

QRect ProfileTable::rowRect(int row) const
{
    return visualItemRect(item(row, kNameColumn));
}

void ProfileTable::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentRow() >= 0) {
        emit rowChosen(currentRow());
        return;
    }
    QTableWidget::keyPressEvent(event);
}

} // namespace tonara
