#pragma once

// The preview of a CSV file of readings before it is imported for one user:
// the first rows as they will be read, the choices (separator, date order,
// header row, which column holds what), the counts of what will go in and
// what will be skipped, and "Import" / "Cancel". After the import it says in
// plain words what happened. It covers its parent (the phone's display).
//
//   auto *preview = new ImportPreview({&db, user, &clock}, fileBytes, "diary.csv", display);
//   connect(preview, &ImportPreview::finished, screen, [](int imported) { refresh(); });
//   preview->present();
//
// The person must pick the date order when every date reads both month first
// and day first; until then "Import" stays off. Our own "data.csv" is read as
// it was written, with nothing to choose. The widget closes itself (and is
// deleted) when Cancel or Done is tapped, emitting finished once.

#include "base/Clock.h"
#include "data/core/CsvImport.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <array>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace tonara {

class DBHelper;

class ImportPreview : public QWidget {
    Q_OBJECT
public:
    struct Options {
        DBHelper *db = nullptr;
        int user = 0;
        const Clock *clock = nullptr;
    };
    // The kinds of column the person can pick by hand, in the order shown.
    static constexpr std::array<ImportColumns::Kind, 6> kPickable = {
        ImportColumns::Date,      ImportColumns::Time,  ImportColumns::Systolic,
        ImportColumns::Diastolic, ImportColumns::Pulse, ImportColumns::Comment};
    static constexpr int kShownRows = 12;

    ImportPreview(Options options, const std::string &bytes, const QString &fileName, QWidget *parent);

    void present();

    const CsvImport::Plan &plan() const { return plan_; }
    const CsvImport::Options &choices() const { return options_; }
    bool dateOrderNeeded() const { return ambiguous_ && !dateChosen_; }
    bool imported() const { return done_; }

    QComboBox *delimiterBox() const { return delimiter_; }
    QComboBox *dateOrderBox() const { return dateOrder_; }
    QCheckBox *headerBox() const { return header_; }
    QComboBox *columnBox(ImportColumns::Kind kind) const;
    QTableWidget *rowsTable() const { return rows_; }
    QLabel *countsLabel() const { return counts_; }
    QLabel *skippedLabel() const { return skipped_; }
    QLabel *resultLabel() const { return result_; }
    QPushButton *importButton() const { return import_; }
    QPushButton *closeButton() const { return close_; }

    // The person-facing words for a row's fate ("Will be imported", "Skipped: ...").
    static QString statusText(const CsvImport::Row &row);

public slots:
    void importReadings();
    void dismiss();

signals:
    // Once, when the preview closes: how many readings went in (0 after Cancel or a failure).
    void finished(int imported);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void delimiterChosen();
    void headerToggled();
    void columnChosen();
    void orderChosen();
    // Column pickers filled from the first row (header names or "Column n").
    void fillColumnBoxes();
    void showChoices();
    void replan();
    void showPlan();

    Options options0_;
    CsvImport file_;
    CsvImport::Options options_;
    CsvImport::Plan plan_;
    bool ambiguous_ = false;
    bool dateChosen_ = false;
    bool done_ = false;
    int importedCount_ = 0;
    bool finishedSent_ = false;
    bool filling_ = false;

    QLabel *title_ = nullptr;
    QLabel *ownNote_ = nullptr;
    QWidget *choicesPanel_ = nullptr;
    QComboBox *delimiter_ = nullptr;
    QComboBox *dateOrder_ = nullptr;
    QLabel *dateNote_ = nullptr;
    QCheckBox *header_ = nullptr;
    std::array<QComboBox *, kPickable.size()> columns_{};
    QLabel *columnsNote_ = nullptr;
    QTableWidget *rows_ = nullptr;
    QLabel *counts_ = nullptr;
    QLabel *skipped_ = nullptr;
    QLabel *result_ = nullptr;
    QPushButton *import_ = nullptr;
    QPushButton *close_ = nullptr;
};

} // namespace tonara
