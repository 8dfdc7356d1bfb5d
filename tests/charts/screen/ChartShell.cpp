#include "ChartShell.h"

#include "base/AlertSink.h"
#include "base/Clock.h"
#include "charts/core/CivilDate.h"
#include "measurement/core/ReadingStore.h"
#include "storage/DataBaseforCD.h"

#include <QFile>
#include <QPushButton>

#include <gtest/gtest.h>

namespace tonara::test {

namespace {

class NoAlerts : public AlertSink {
public:
    void showAlert(const std::string &, const std::string &, const std::vector<std::string> &,
                   Completion done) override
    {
        if (done)
            done(0);
    }
};

// A header or body part's text: base64 as the composer writes it, or an
// encoded word for a header outside ASCII.
QString decodedHeader(const QByteArray &value)
{
    if (value.startsWith("=?UTF-8?B?") && value.endsWith("?="))
        return QString::fromUtf8(QByteArray::fromBase64(value.mid(10, value.size() - 12)));
    return QString::fromUtf8(value);
}

} // namespace

void seedAnnasWeek(DBHelper &db)
{
    NoAlerts alerts;
    DataBaseforCD store(db, alerts);
    store.check_database();
    ASSERT_TRUE(store.insertDataBase_user_table(0, "", "", "Anna", "", "", 0, ""));
    ASSERT_TRUE(store.insertDataBase_setting_table(0, -1, -1));
    SystemClock clock;
    ReadingStore readings(db, alerts, clock);
    const CivilDate today = CivilDate::of(clock.localNow());
    for (auto [days, sys, dia] : {std::tuple{0, 128, 84}, {3, 142, 91}}) {
        Reading r;
        r.date = today.plusDays(-days).text();
        r.time = "08:00:00";
        r.sys = sys;
        r.dia = dia;
        r.pulse = 70;
        ASSERT_TRUE(readings.saveReading(r).stored);
    }
}

HorizontalView *turnToTheChart(ShellHarness &h)
{
    h.app().tabBarController()->setSelectedIndex(1);
    h.app().deviceFrame()->turnLeft();
    ShellHarness::settle();
    return qobject_cast<HorizontalView *>(h.app().tabBarController()->LineBarChart_View());
}

MailComposer *openComposer(ShellHarness &h)
{
    auto *chart = qobject_cast<HorizontalView *>(h.app().tabBarController()->LineBarChart_View());
    if (!chart)
        return nullptr;
    chart->findChild<QPushButton *>(QStringLiteral("mail_button_touch"))->click();
    ShellHarness::settle();
    return h.app().deviceFrame()->display()->findChild<MailComposer *>();
}

Draft readDraft(const QString &path)
{
    Draft d;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return d;
    const QByteArray text = f.readAll();
    const int headerEnd = text.indexOf("\r\n\r\n");
    QByteArray boundary;
    for (const QByteArray &line : text.left(headerEnd).split('\n')) {
        const QByteArray l = line.trimmed();
        if (l.startsWith("Subject: "))
            d.subject = decodedHeader(l.mid(9));
        if (const int at = l.indexOf("boundary=\""); at >= 0)
            boundary = "--" + l.mid(at + 10, l.size() - at - 11);
    }
    QList<QByteArray> parts; // what lies between one boundary line and the next
    for (int from = text.indexOf(boundary); from >= 0;) {
        const int next = text.indexOf(boundary, from + boundary.size());
        if (next < 0)
            break;
        parts.append(text.mid(from + boundary.size(), next - from - boundary.size()));
        from = next;
    }
    for (int i = 0; i < parts.size(); ++i) {
        const int split = parts[i].indexOf("\r\n\r\n");
        const QByteArray headers = parts[i].left(split).trimmed();
        const QByteArray data = QByteArray::fromBase64(parts[i].mid(split + 4));
        if (i == 0) {
            d.body = QString::fromUtf8(data);
        } else {
            d.attachmentHeaders = headers;
            d.attachment = data;
        }
    }
    return d;
}

} // namespace tonara::test
