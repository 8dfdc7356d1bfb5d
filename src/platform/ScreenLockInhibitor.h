#pragma once

#include <QObject>

namespace tonara {

// Keeps the screen on while a measurement runs (org.freedesktop.ScreenSaver
// Inhibit over the session bus where there is one). inhibit() twice holds one
// inhibition; release() undoes it.
class ScreenLockInhibitor : public QObject {
    Q_OBJECT
public:
    explicit ScreenLockInhibitor(QObject *parent = nullptr);
    ~ScreenLockInhibitor() override; // releases

    void inhibit();
    void release();
    bool isInhibited() const { return inhibited_; }

signals:
    void inhibitedChanged(bool inhibited);

private:
    void unInhibit(unsigned cookie);

    bool inhibited_ = false;
    unsigned cookie_ = 0;
    bool haveCookie_ = false;
    unsigned generation_ = 0; // which inhibit() a late reply belongs to
};

} // namespace tonara
