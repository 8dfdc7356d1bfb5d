#pragma once

// The landscape chart view alone on a household file, with a fixed local
// "now" (2014-06-15 12:00), virtual time and a composer that only keeps the
// mails it is given.

#include "HistoryFixture.h"

#include "base/VirtualScheduler.h"
#include "charts/HorizontalView.h"
#include "charts/core/CivilDate.h"
#include "platform/AlertPresenter.h"

#include <QApplication>
#include <QPushButton>

#include <memory>
#include <vector>

namespace tonara::test {

class ChartViewTest : public HistoryTest {
protected:
    ChartViewTest() { clock.set({2014, 6, 15, 12, 0, 0}); }
    ~ChartViewTest() override { view.reset(); }

    void open(FormFactor form = FormFactor::Phone480)
    {
        view.reset();
        presenter.setAnimationsEnabled(false);
        host.resize(form == FormFactor::Tablet ? QSize(1024, 768)
                                               : QSize(form == FormFactor::Phone568 ? 568 : 480, 320));
        presenter.setHost(&host);
        view = std::make_unique<HorizontalView>(
            ChartContext{&db, &presenter, &clock, &scheduler, form, false}, &host);
        view->setComposerFactory([this](const Historyandreports::Mail &m) {
            mails.push_back(m);
            return true;
        });
        // A child made after its parent is up stays hidden unless shown.
        view->show();
        host.show();
        QApplication::processEvents();
    }
    static std::string daysAgo(int n) { return CivilDate(2014, 6, 15).plusDays(-n).text(); }
    void tap(const QString &name)
    {
        auto *b = view->findChild<QPushButton *>(name);
        ASSERT_NE(b, nullptr) << name.toStdString();
        b->click();
    }

    QWidget host;
    AlertPresenter presenter;
    VirtualScheduler scheduler;
    std::unique_ptr<HorizontalView> view;
    std::vector<Historyandreports::Mail> mails;
};

} // namespace tonara::test
