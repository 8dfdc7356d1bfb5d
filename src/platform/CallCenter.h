#pragma once

#include <QObject>

class QDBusObjectPath;

namespace tonara {

// Tells about incoming phone calls: from ModemManager over D-Bus where a
// modem exists, and from simulateIncomingCall() (simulator menu, tests).
class CallCenter : public QObject {
    Q_OBJECT
public:
    explicit CallCenter(QObject *parent = nullptr);
    ~CallCenter() override;

    // Starts watching the system's modems; harmless where there is no D-Bus.
    // Returns whether the system bus could be watched.
    bool watchSystemModems();
    void simulateIncomingCall() { emit incomingCall(); }

signals:
    void incomingCall();

private slots:
    void modemCallAdded(const QDBusObjectPath &call);

private:
    bool watching_ = false;
};

} // namespace tonara
