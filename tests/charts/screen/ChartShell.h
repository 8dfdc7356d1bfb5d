#pragma once

// The whole application with readings of the active user "Anna" today and
// three days ago, turned to landscape on the Report tab; and a reader for the
// drafts its composer saves.

#include "AppTestSupport.h"

#include "app/TonaraTabBarController.h"
#include "charts/HorizontalView.h"
#include "platform/DeviceFrame.h"
#include "platform/MailComposer.h"

#include <QByteArray>
#include <QString>

namespace tonara::test {

void seedAnnasWeek(DBHelper &db);

// Landscape on the Report tab; the chart view that comes up, or null.
HorizontalView *turnToTheChart(ShellHarness &h);
MailComposer *openComposer(ShellHarness &h);

// A saved .eml draft taken apart: the subject and body as text, the one attachment.
struct Draft {
    QString subject;
    QString body;
    QByteArray attachmentHeaders;
    QByteArray attachment;
};
Draft readDraft(const QString &path);

} // namespace tonara::test
