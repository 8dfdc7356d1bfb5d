#pragma once

// The doctor's report's panel over the Report tab: what it covers (the month
// on screen, the latest home-monitoring week when there is one, a chart
// period, or two dates), how many readings that is, and "Save to a file…" /
// "Send by e-mail".
//
//   panel->open(user, 2026, 12);            // the month on screen chosen first
//   connect(panel, &ReportChoicePanel::saveRequested, ...);   // then panel->content()

#include "platform/FormFactor.h"
#include "reports/core/ReportContent.h"
#include "reports/core/ReportRequest.h"

#include <QWidget>

#include <optional>
#include <vector>

class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;

namespace tonara {

class AlertSink;
class Clock;
class DBHelper;

class ReportChoicePanel : public QWidget {
    Q_OBJECT
public:
    struct Context {
        DBHelper *db = nullptr;
        AlertSink *alerts = nullptr;
        const Clock *clock = nullptr;
        FormFactor formFactor = FormFactor::Phone480;
    };

    explicit ReportChoicePanel(const Context &context, QWidget *parent = nullptr);

    // Fills the choices for the user and reads the first of the kind asked
    // for (the month shown unless that kind is not offered).
    void open(int user, int year, int month, ReportRequest::Kind first = ReportRequest::Kind::Month);
    // Picks the choice at that place in the list and reads it.
    void choose(int index);

    // The chosen report's content; nothing when the choice covers nothing
    // (dates running backwards). Save and Send stay off unless it has readings.
    const std::optional<ReportContent> &content() const { return content_; }

    QComboBox *periodBox() const { return period_; }
    QDateEdit *fromEdit() const { return from_; }
    QDateEdit *toEdit() const { return to_; }
    QLabel *summary() const { return summary_; }
    QPushButton *saveButton() const { return save_; }
    QPushButton *sendButton() const { return send_; }
    QPushButton *cancelButton() const { return cancel_; }

signals:
    void saveRequested();
    void sendRequested();

private:
    void read();

    Context context_;
    int user_ = 0;
    std::vector<ReportRequest> requests_; // one per entry of the list
    std::optional<ReportContent> content_;
    QComboBox *period_ = nullptr;
    QWidget *datesRow_ = nullptr;
    QDateEdit *from_ = nullptr;
    QDateEdit *to_ = nullptr;
    QLabel *summary_ = nullptr;
    QPushButton *save_ = nullptr;
    QPushButton *send_ = nullptr;
    QPushButton *cancel_ = nullptr;
};

} // namespace tonara
