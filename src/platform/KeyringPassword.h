#pragma once

// The mail password in the system keyring (Secret Service, KWallet, ...)
// through QtKeychain, never in a file of ours. Without a keyring, both calls
// report it with the reason, and the composer asks at each send.

#include <QObject>
#include <QString>

#include <functional>

namespace tonara {

class KeyringPassword : public QObject {
    Q_OBJECT
public:
    static constexpr const char *kService = "Tonara+ mail";

    // available false: no keyring (or no entry); why says which in words.
    using ReadDone = std::function<void(bool available, const QString &password, const QString &why)>;
    using WriteDone = std::function<void(bool stored, const QString &why)>;

    explicit KeyringPassword(QObject *parent = nullptr) : QObject(parent) {}

    // Virtual so a test can watch what would reach the keyring.
    virtual void read(const QString &account, ReadDone done);
    virtual void write(const QString &account, const QString &password, WriteDone done);
};

} // namespace tonara
