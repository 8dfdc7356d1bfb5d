#include "platform/KeyringPassword.h"

#include <qt6keychain/keychain.h>

namespace tonara {

namespace {

QString reason(QKeychain::Job *job)
{
    switch (job->error()) {
    case QKeychain::EntryNotFound:
        return KeyringPassword::tr("No password is stored for this account yet.");
    case QKeychain::NoBackendAvailable:
    case QKeychain::NotImplemented:
        return KeyringPassword::tr("This system has no keyring to keep the password in.");
    case QKeychain::AccessDenied:
    case QKeychain::AccessDeniedByUser:
        return KeyringPassword::tr("The keyring refused access to the password.");
    default:
        return KeyringPassword::tr("The keyring could not be used (%1).").arg(job->errorString());
    }
}

} // namespace

void KeyringPassword::read(const QString &account, ReadDone done)
{
    auto *job = new QKeychain::ReadPasswordJob(QString::fromLatin1(kService), this);
    job->setAutoDelete(true);
    job->setInsecureFallback(false);
    job->setKey(account);
    connect(job, &QKeychain::Job::finished, this, [done](QKeychain::Job *j) {
        auto *r = static_cast<QKeychain::ReadPasswordJob *>(j);
        if (r->error() == QKeychain::NoError)
            done(true, r->textData(), QString());
        else
            done(false, QString(), reason(j));
    });
    job->start();
}

void KeyringPassword::write(const QString &account, const QString &password, WriteDone done)
{
    auto *job = new QKeychain::WritePasswordJob(QString::fromLatin1(kService), this);
    job->setAutoDelete(true);
    job->setInsecureFallback(false);
    job->setKey(account);
    job->setTextData(password);
    connect(job, &QKeychain::Job::finished, this, [done](QKeychain::Job *j) {
        done(j->error() == QKeychain::NoError, j->error() == QKeychain::NoError ? QString() : reason(j));
    });
    job->start();
}

} // namespace tonara
