#pragma once

#include "users/UsersContext.h"

#include <QStringList>
#include <QWidget>

#include <memory>

class QLabel;
class QPushButton;
class QTableWidget;

namespace tonara {

class BloodPressureTarget;
class DataBaseforCD;
class ManualNumberField;
class UndoBar;

// The settings tab: a one-section table with "Blood pressure target" (the
// panel that enters the target the trend chart draws) and "Reset data" (the
// sheet that deletes readings older than six months or a year, or all).
class setting : public QWidget {
    Q_OBJECT
public:
    static constexpr const char *kVersion = "Version: 2.2 6.0RC";

    explicit setting(const UsersContext &context, QWidget *parent = nullptr);
    ~setting() override;

    // The target the trend chart draws, as stored (180 / 60 when nothing is).
    int target_high() const;
    int target_low() const;

    QTableWidget *Setting_table_view() const { return table_; }
    QWidget *BloodPressureView() const { return panel_; }
    ManualNumberField *SysTextField() const { return sys_; }
    ManualNumberField *DiastolicTextField() const { return dia_; }
    QPushButton *saveButton() const { return save_; }
    QPushButton *backButton() const { return back_; }
    int Monthdata() const { return Monthdata_; }

    // Row 0 opens the target panel, row 1 the reset sheet, row 2 (when the
    // shell gives one) the backup-and-data panel.
    void didSelectRow(int row);
    // Adds the "Backup and data" row, which shows this panel over the screen.
    void setBackupAndDataPanel(QWidget *panel);
    QWidget *backupAndDataPanel() const { return backupPanel_; }
    // Reads the stored target again, after the whole database was replaced.
    void reloadData();
    UndoBar *undoBar() const { return undoBar_; }
    void BloodPressureBack();
    void BloodPressureSave();

signals:
    // After a deletion, so screens that list readings can read them again.
    void dataDeleted();
    void targetChanged(int high, int low);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildTable();
    void buildPanel();
    void actionSheet_clickedButtonAtIndex(int index);
    void alertView_clickedButtonAtIndex(int index);
    void SQLDeleteFactory();
    void deleteOldData(const std::string &backup);

    UsersContext context_;
    std::unique_ptr<DataBaseforCD> store_;
    std::unique_ptr<BloodPressureTarget> target_;
    QList<QStringList> dataSource_;
    QTableWidget *table_ = nullptr;
    QLabel *footer_ = nullptr;
    QWidget *panel_ = nullptr;
    ManualNumberField *sys_ = nullptr;
    ManualNumberField *dia_ = nullptr;
    QPushButton *save_ = nullptr;
    QPushButton *back_ = nullptr;
    int Monthdata_ = 0;
    QWidget *backupPanel_ = nullptr;
    UndoBar *undoBar_ = nullptr;
};

} // namespace tonara
