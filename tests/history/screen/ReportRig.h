#pragma once

// The Report tab on a household database in a temporary folder, in virtual
// time, with its alerts on a host widget the size of the tab.

#include "HistoryFixture.h"

#include "base/VirtualScheduler.h"
#include "history/Historyandreports.h"
#include "history/MonthListView.h"
#include "platform/AlertPresenter.h"

#include <QApplication>
#include <QPushButton>

#include <memory>

namespace tonara::test {

class ReportRig : public HistoryTest {
protected:
    void open(FormFactor form = FormFactor::Phone480)
    {
        const QSize screen = portraitPoints(form);
        host.resize(screen.width(), screen.height() - 20 - 49);
        presenter.setHost(&host);
        presenter.setAnimationsEnabled(false);
        report = std::make_unique<Historyandreports>(
            HistoryContext{&db, &presenter, &clock, &scheduler, form, false}, &host);
        report->resize(host.size());
        host.show();
        QApplication::processEvents();
    }
    ~ReportRig() override { report.reset(); }

    QPushButton *button(const QString &name, int card)
    {
        for (QPushButton *b : report->scrollview()->visibleButtons())
            if (b->objectName() == name && b->property("card").toInt() == card)
                return b;
        return nullptr;
    }
    int countVisible(const QString &name)
    {
        int n = 0;
        for (QPushButton *b : report->scrollview()->visibleButtons())
            n += b->objectName() == name;
        return n;
    }

    QWidget host;
    AlertPresenter presenter;
    VirtualScheduler scheduler;
    std::unique_ptr<Historyandreports> report;
};

} // namespace tonara::test
