#include "reports/ReportPdf.h"

#include "measurement/core/WHOClassification.h"
#include "plotting/TrendPlot.h"
#include "plotting/WhoBarPlot.h"
#include "plotting/XYGraph.h"
#include "reports/ReportPager.h"
#include "reports/ReportWeekText.h"
#include "reports/core/ReportTrend.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <array>
#include <cmath>

namespace tonara {

namespace {

// Resolution 72: one device unit is one point, so fonts and lines read as they print.
constexpr int kResolution = 72;
constexpr double kRowGap = 2.5;
constexpr double kMaxCommentHeight = 300; // a comment longer than this is cut with "…"

QFont font(double size, bool bold = false)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPointSizeF(size);
    f.setBold(bold);
    return f;
}

QString q(const std::string &s)
{
    return QString::fromStdString(s);
}

QString one(double v)
{
    return QString::number(v, 'f', 1);
}

// The table's columns: x offset from the body's left and width, in points.
struct Column {
    double x;
    double width;
    Qt::Alignment align;
};
constexpr int kColumns = 7;
std::array<Column, kColumns> tableColumns(double width)
{
    return {{{0, 62, Qt::AlignLeft},
             {64, 36, Qt::AlignLeft},
             {102, 28, Qt::AlignRight},
             {134, 28, Qt::AlignRight},
             {166, 30, Qt::AlignRight},
             {204, 92, Qt::AlignLeft},
             {300, width - 300, Qt::AlignLeft}}};
}

QString marksOf(const ReportRow &r)
{
    QStringList m;
    if (r.pad)
        m << QStringLiteral("PAD");
    if (r.triv)
        m << QStringLiteral("TRIV");
    if (r.manual)
        m << ReportPdf::tr("manual");
    return m.join(QLatin1Char(' '));
}

QString shortTime(const std::string &time)
{
    return q(time.size() >= 5 ? time.substr(0, 5) : time);
}

} // namespace

ReportPdf::ReportPdf(ReportContent content) : content_(std::move(content)) {}

QString ReportPdf::emptyText()
{
    return tr("There are no readings in this period, so there is nothing to show.");
}

QString ReportPdf::tableTitle()
{
    return tr("All readings");
}

QStringList ReportPdf::tableHeader()
{
    return {tr("Date"), tr("Time"), tr("Sys"), tr("Dia"), tr("Pulse"), tr("Marks"), tr("Comment")};
}

QString ReportPdf::periodText(const ReportContent &c)
{
    if (c.period.isAll()) {
        if (c.stats.count == 0)
            return tr("All readings");
        return tr("All readings, %1 to %2").arg(q(c.stats.firstDate), q(c.stats.lastDate));
    }
    if (c.period.from().daysTo(c.period.to()) == 0)
        return tr("%1").arg(q(c.period.fromText()));
    return tr("%1 to %2").arg(q(c.period.fromText()), q(c.period.toText()));
}

bool ReportPdf::write(QIODevice &out)
{
    QPdfWriter writer(&out);
    writer.setResolution(kResolution);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    writer.setTitle(tr("Blood pressure report of %1").arg(q(content_.name)));
    writer.setCreator(QStringLiteral("Tonara+"));

    const QString head = tr("Blood pressure report · %1 · %2").arg(q(content_.name), periodText(content_));
    // Counting pass: the same layout without drawing gives the number of pages.
    ReportPager count(writer, nullptr, 0, head);
    layout(count);
    pages_ = count.pages();

    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    ReportPager draw(writer, &painter, pages_, head);
    layout(draw);
    draw.finish();
    return painter.end();
}

bool ReportPdf::writeFile(const QString &path, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    if (!write(file) || !file.commit()) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}

QByteArray ReportPdf::bytes()
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    if (!write(buffer))
        return {};
    return data;
}

void ReportPdf::layout(ReportPager &pager) const
{
    layoutHeading(pager);
    if (content_.isEmpty()) {
        pager.paragraph(emptyText(), font(11));
        if (content_.week)
            layoutWeek(pager);
        return;
    }
    layoutWeek(pager);
    layoutStatistics(pager);
    layoutCharts(pager);
    layoutTable(pager);
}

void ReportPdf::layoutHeading(ReportPager &pager) const
{
    pager.paragraph(tr("Blood pressure report"), font(17, true), 6);
    pager.paragraph(tr("Name: %1").arg(q(content_.name)), font(10.5), 2);
    pager.paragraph(tr("Period: %1").arg(periodText(content_)), font(10.5), 2);
    pager.paragraph(
        tr("Made on %1 at %2").arg(q(content_.madeAt.dateText()), shortTime(content_.madeAt.timeText())),
        font(8.5), 10);
}

void ReportPdf::layoutWeek(ReportPager &pager) const
{
    if (!content_.week)
        return;
    pager.ensure(60);
    pager.paragraph(tr("Home-monitoring week"), font(12, true), 4);
    for (const QString &s : ReportWeekText::sentences(*content_.week))
        pager.paragraph(s, font(10), 3);
    pager.advance(8);
}

void ReportPdf::layoutStatistics(ReportPager &pager) const
{
    const PeriodStatistics &s = content_.stats;
    pager.ensure(200);
    pager.paragraph(tr("Statistics"), font(12, true), 4);
    pager.paragraph(s.count == 1
                        ? tr("1 reading from %1 to %2.").arg(q(s.firstDate), q(s.lastDate))
                        : tr("%1 readings from %2 to %3.").arg(s.count).arg(q(s.firstDate), q(s.lastDate)),
                    font(10), 4);

    // Mean, SD, min, max of the three values.
    const QFont f = font(9.5);
    const QFont bold = font(9.5, true);
    const double x0 = pager.left();
    const std::array<double, 5> cx = {0, 150, 210, 270, 330};
    const double rowH = pager.heightOf(QStringLiteral("0"), f, 100) + 2;
    auto row = [&](const QStringList &cells, const QFont &rf) {
        for (int i = 0; i < cells.size() && i < 5; ++i)
            pager.drawText(cells[i], rf, x0 + cx[i], pager.y(), i == 0 ? 145 : 55,
                           i == 0 ? Qt::AlignLeft : Qt::AlignRight);
        pager.advance(rowH);
    };
    row({QString(), tr("Mean"), tr("SD"), tr("Min"), tr("Max")}, bold);
    pager.rule(pager.y() - 1);
    auto values = [&](const QString &name, const PeriodStatistics::Values &v) {
        row({name, one(v.mean), one(v.sd), QString::number(v.min), QString::number(v.max)}, f);
    };
    values(tr("Systolic (mmHg)"), s.sys);
    values(tr("Diastolic (mmHg)"), s.dia);
    values(tr("Pulse (per minute)"), s.pulse);
    pager.advance(4);

    pager.paragraph(
        tr("Mean pulse pressure (systolic minus diastolic): %1 mmHg").arg(one(s.meanPulsePressure)), f, 2);
    auto window = [&](const QString &label, const PeriodStatistics::Window &w) {
        if (w.count == 0)
            return tr("%1: no readings").arg(label);
        return tr("%1: %2/%3 mmHg, pulse %4 (%5 readings)")
            .arg(label, one(w.sys), one(w.dia), one(w.pulse))
            .arg(w.count);
    };
    pager.paragraph(window(tr("Morning mean (04:00-11:59)"), s.morning), f, 2);
    pager.paragraph(window(tr("Evening mean (18:00-23:59)"), s.evening), f, 2);
    pager.paragraph(tr("Readings flagged PAD (irregular pulse noticed by the monitor): %1 of %2")
                        .arg(s.padCount)
                        .arg(s.count),
                    f, 8);

    pager.ensure(8 * rowH + 20);
    pager.paragraph(tr("WHO classes"), font(11, true), 3);
    row({QString(), tr("Readings"), tr("Share")}, bold);
    pager.rule(pager.y() - 1);
    for (int c = WHOClassification::kOptimal; c <= WHOClassification::kGrade3; ++c) {
        QString name = q(WHOClassification::name(c));
        if (!name.isEmpty())
            name[0] = name[0].toUpper();
        row({name, QString::number(s.whoCount[c]), QStringLiteral("%1 %").arg(one(s.whoShare(c)))}, f);
    }
    pager.advance(10);
}

void ReportPdf::layoutCharts(ReportPager &pager) const
{
    const ReportTrend trend = ReportTrend::of(content_.rows, content_.period);
    const HomeThreshold threshold = content_.week ? content_.week->threshold : HomeThreshold::standard();
    const double trendH = 140, whoH = 125;
    const QFont caption = font(8);

    pager.ensure(trendH + 40);
    pager.paragraph(trend.hourly ? tr("Trend of the day") : tr("Trend (mean of each day)"), font(11, true),
                    3);
    if (pager.drawing()) {
        TrendPlot::Data d;
        for (const ReportTrend::Point &p : trend.points)
            d.points.push_back({p.x, p.sys, p.dia});
        d.xLength = trend.xLength;
        d.xGridInterval = trend.hourly ? 6 : std::max(1.0, std::ceil(trend.xLength / 10));
        d.targetHigh = threshold.sys();
        d.targetLow = threshold.dia();
        for (const auto &[x, text] : trend.labels)
            d.xLabels.push_back({x, q(text)});
        d.labelFont = font(7);
        QPainter &p = *pager.painter();
        p.save();
        TrendPlot(d).render(p, QRectF(pager.left(), pager.y(), pager.width(), trendH));
        p.restore();
    }
    pager.advance(trendH + 2);
    pager.paragraph(tr("Purple: systolic, blue: diastolic. Lines at %1 and %2 mmHg: the home threshold.")
                        .arg(threshold.sys())
                        .arg(threshold.dia()),
                    caption, 10);

    pager.ensure(whoH + 40);
    pager.paragraph(tr("WHO distribution"), font(11, true), 3);
    if (pager.drawing()) {
        WhoBarPlot::Data d;
        for (int bar = 0; bar < WhoBarPlot::kBars; ++bar) {
            const int c = WHOClassification::kGrade3 - bar;
            const int share =
                content_.stats.count ? content_.stats.whoCount[c] * 100 / content_.stats.count : 0;
            d.percent[static_cast<std::size_t>(bar)] = share;
        }
        // The bare graph with our own labels: the plot's percentage axis leaves out
        // labels that do not fit between lines 10 % apart at this height.
        const double labelW = 34;
        const QRectF area(pager.left(), pager.y(), pager.width() - labelW, whoH);
        QPainter &p = *pager.painter();
        p.save();
        WhoBarPlot(d).graph(false)->render(p, area);
        p.restore();
        const QFont small = font(7.5);
        for (int v : {0, 50, 100}) {
            const double at = area.bottom() - area.height() * v / 100.0;
            pager.drawText(QStringLiteral("%1%").arg(v), small, area.right() + 4, at - 5, labelW - 4);
        }
    }
    pager.advance(whoH + 2);
    pager.paragraph(tr("Share of readings in percent, from the left: optimal, normal, high normal, grade 1, "
                       "grade 2 and grade 3 hypertension."),
                    caption, 10);
}

void ReportPdf::layoutTable(ReportPager &pager) const
{
    const QFont f = font(8.5);
    const QFont bold = font(8.5, true);
    const auto cols = tableColumns(pager.width());
    const QStringList header = tableHeader();
    const double lineH = pager.heightOf(QStringLiteral("0"), f, 100);

    auto drawHeader = [&] {
        for (int i = 0; i < kColumns; ++i)
            pager.drawText(header[i], bold, pager.left() + cols[i].x, pager.y(), cols[i].width,
                           cols[i].align);
        pager.advance(lineH + 1);
        pager.rule(pager.y());
        pager.advance(3);
    };

    pager.advance(6);
    // The title, the header and a first row stay together.
    pager.ensure(pager.heightOf(tableTitle(), font(11, true), pager.width()) + 3 * lineH + 12);
    pager.paragraph(tr("%1 (%2)").arg(tableTitle()).arg(content_.rows.size()), font(11, true), 4);
    drawHeader();
    for (const ReportRow &r : content_.rows) {
        QString comment = q(r.comment).simplified();
        const double commentWidth = cols[6].width;
        if (pager.heightOf(comment, f, commentWidth) > kMaxCommentHeight) {
            // Only a comment of several hundred words gets here; the row must still fit a page.
            while (comment.size() > 1 &&
                   pager.heightOf(comment + QChar(0x2026), f, commentWidth) > kMaxCommentHeight)
                comment.chop(std::max<qsizetype>(1, comment.size() / 20));
            comment += QChar(0x2026);
        }
        const double h = std::max(lineH, pager.heightOf(comment, f, commentWidth));
        pager.ensure(h + kRowGap, drawHeader);
        const QStringList cells = {q(r.date),
                                   shortTime(r.time),
                                   QString::number(r.sys),
                                   QString::number(r.dia),
                                   QString::number(r.pulse),
                                   marksOf(r),
                                   comment};
        for (int i = 0; i < kColumns; ++i)
            pager.drawText(cells[i], f, pager.left() + cols[i].x, pager.y(), cols[i].width, cols[i].align);
        pager.advance(h + kRowGap);
    }
}

} // namespace tonara
