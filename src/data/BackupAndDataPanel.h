#pragma once

#include "platform/FormFactor.h"

#include <QWidget>

#include <functional>
#include <string>

class QListWidget;
class QPushButton;

namespace tonara {

class AlertPresenter;
class Clock;
class DBHelper;

// The "Backup and data" panel over the settings screen: a backup to a file
// the person picks, a restore from one (after a confirmation that says what is
// replaced), the automatic backups with "Undo", and the way to import readings
// and to export them as FHIR.
class BackupAndDataPanel : public QWidget {
    Q_OBJECT
public:
    struct Context {
        DBHelper *db = nullptr;
        AlertPresenter *alerts = nullptr;
        const Clock *clock = nullptr;
        FormFactor formFactor = FormFactor::Phone480;
    };
    // Asks for a file: the suggested path in, the chosen one out (empty: cancelled).
    using FileChooser = std::function<QString(QWidget *parent, const QString &suggested)>;

    explicit BackupAndDataPanel(const Context &context, QWidget *parent = nullptr);

    // File dialogs by default; tests put their own answers in.
    void setFileChoosers(FileChooser saveAs, FileChooser open);

    void backUpNow();
    void restoreFromFile();
    // Restores the automatic backup chosen in the list, after the confirmation.
    void undoChosen();
    // Checks the archive, asks, and restores it.
    void askToRestore(const QString &path);
    // Reads the automatic backups again, newest first.
    void refreshList();

    QPushButton *backUpNowButton() const { return backUpNow_; }
    QPushButton *restoreFromFileButton() const { return restoreFromFile_; }
    QListWidget *backupsList() const { return list_; }
    QPushButton *undoButton() const { return undo_; }
    QPushButton *importButton() const { return import_; }
    QPushButton *fhirExportButton() const { return fhir_; }
    QPushButton *backButton() const { return back_; }

signals:
    void importRequested();
    void fhirExportRequested();
    // The database and photos were replaced by a backup's.
    void dataRestored();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void restore(const QString &path);
    QString suggestedBackupPath() const;

    Context context_;
    FileChooser saveAs_;
    FileChooser open_;
    QPushButton *backUpNow_ = nullptr;
    QPushButton *restoreFromFile_ = nullptr;
    QListWidget *list_ = nullptr;
    QPushButton *undo_ = nullptr;
    QPushButton *import_ = nullptr;
    QPushButton *fhir_ = nullptr;
    QPushButton *back_ = nullptr;
};

} // namespace tonara
