#pragma once

// Exporting one user's readings as a FHIR R4 bundle: the period (all
// readings, or from one day to another), how many readings that is, and
// "Save to file…" or "Send by mail…"; the outcome in plain words. It covers
// its parent (the phone's display) until Done or Cancel.
//
//   auto *panel = new FhirExportPanel({&db, user, &clock, mailOptions}, display);
//   panel->present();
//   panel->saveTo("/home/me/readings.json");   // what "Save to file…" does after its file dialog
//
// The file is written whole or not at all (a failed write leaves the old file).

#include "base/Clock.h"
#include "platform/MailComposer.h"

#include <QString>
#include <QWidget>

#include <optional>
#include <string>

class QCheckBox;
class QDateEdit;
class QLabel;
class QPushButton;

namespace tonara {

class DBHelper;

class FhirExportPanel : public QWidget {
    Q_OBJECT
public:
    struct Options {
        DBHelper *db = nullptr;
        int user = 0;
        const Clock *clock = nullptr;
        MailComposer::Options mail; // for "Send by mail…"
    };
    static constexpr const char *kMimeType = "application/fhir+json";

    FhirExportPanel(Options options, QWidget *parent);

    void present();

    // The bundle of the chosen period, and how many readings it holds.
    std::string bundle(int *readings = nullptr) const;
    int readingCount() const { return count_; }
    // "tonara-User-2013-05-20.fhir.json"
    QString suggestedFileName() const;

    QCheckBox *allBox() const { return all_; }
    QDateEdit *fromEdit() const { return from_; }
    QDateEdit *toEdit() const { return to_; }
    QLabel *countLabel() const { return countLabel_; }
    QLabel *resultLabel() const { return result_; }
    QPushButton *saveButton() const { return save_; }
    QPushButton *mailButton() const { return mail_; }
    QPushButton *closeButton() const { return close_; }

public slots:
    bool saveTo(const QString &path);
    // Asks where to save, then saves.
    void saveToFile();
    // Opens the composer with the bundle attached; returns it (null with nothing to send).
    MailComposer *sendByMail();
    void dismiss();

signals:
    void finished();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::optional<std::pair<std::string, std::string>> window() const;
    void periodChanged();
    void showResult(const QString &text);
    LocalDateTime now() const;

    Options options_;
    std::string name_;
    int count_ = 0;
    bool finishedSent_ = false;

    QCheckBox *all_ = nullptr;
    QDateEdit *from_ = nullptr;
    QDateEdit *to_ = nullptr;
    QLabel *countLabel_ = nullptr;
    QLabel *result_ = nullptr;
    QPushButton *save_ = nullptr;
    QPushButton *mail_ = nullptr;
    QPushButton *close_ = nullptr;
};

} // namespace tonara
