#pragma once

// The doctor's report as a PDF: A4, text and lines as vectors, the charts
// drawn by the plotting layer, the table of every reading over as many pages
// as it needs with its header repeated on each, and "i / n" on every page.
//
//   ReportPdf pdf(ReportContent::gather(db, alerts, user, period, clock));
//   QString why;
//   if (!pdf.writeFile(path, &why)) tell(why);     // nothing half written is left at path
//   QByteArray bytes = pdf.bytes();                // for the composer, as "report.pdf"
//
// A QApplication must exist (the charts draw with Qt Widgets' scene).

#include "reports/core/ReportContent.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

class QIODevice;

namespace tonara {

class ReportPager;

class ReportPdf {
    Q_DECLARE_TR_FUNCTIONS(ReportPdf)
public:
    static constexpr const char *kFileName = "report.pdf";
    static constexpr const char *kMimeType = "application/pdf";

    explicit ReportPdf(ReportContent content);

    // Writes the whole document; false when the device took it not.
    bool write(QIODevice &out);
    // Writes to a temporary file beside path and puts it in place only when complete.
    bool writeFile(const QString &path, QString *error = nullptr);
    QByteArray bytes();

    // Pages of the last document written.
    int pageCount() const { return pages_; }
    const ReportContent &content() const { return content_; }

    // Texts the report and its tests share.
    static QString emptyText();
    static QString tableTitle();
    static QStringList tableHeader();
    static QString periodText(const ReportContent &content);

private:
    void layout(ReportPager &pager) const;
    void layoutHeading(ReportPager &pager) const;
    void layoutWeek(ReportPager &pager) const;
    void layoutStatistics(ReportPager &pager) const;
    void layoutCharts(ReportPager &pager) const;
    void layoutTable(ReportPager &pager) const;

    ReportContent content_;
    int pages_ = 0;
};

} // namespace tonara
