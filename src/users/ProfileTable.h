#pragma once

#include <QStringList>
#include <QTableWidget>

namespace tonara {

// The list of profiles as both user lists show it: one row of 50 points per
// profile with its photo and its name in bold 30, and either the check mark
// of the active profile or a disclosure arrow on every row.
class ProfileTable : public QTableWidget {
    Q_OBJECT
public:
    static constexpr int kRowHeight = 50;

    enum class Accessory { CheckMark, Disclosure };

    ProfileTable(Accessory accessory, QWidget *parent = nullptr);
    // The list both user screens show as their whole content ("tableview_top"),
    // heard as the given words.
    static ProfileTable *fillScreen(QWidget *screen, Accessory accessory, const QString &heard);

    // Replaces every row: names and photo paths in list order.
    void setProfiles(const QStringList &names, const QStringList &photos);
    // Puts the check mark on this row only (-1: on none).
    void setCheckedRow(int row);
    int checkedRow() const { return checked_; }
    bool hasCheckMark(int row) const;
    // The photo shown on a row (null when the row shows none).
    QPixmap photoOf(int row) const;
    QRect rowRect(int row) const;

signals:
    // A tap or Enter on a row.
    void rowChosen(int row);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    Accessory accessory_;
    int checked_ = -1;
};

} // namespace tonara
