#include "data/BackupMessageText.h"

#include "base/Clock.h"
#include "data/core/AutoBackups.h"

#include <QDateTime>
#include <QLocale>

namespace tonara {

QString BackupMessageText::text(const BackupMessage &message)
{
    std::vector<std::string> values = message.args;
    const std::string translated =
        QCoreApplication::translate("BackupTexts", message.text.c_str()).toStdString();
    return QString::fromStdString(BackupMessage::fill(translated, values));
}

QString BackupMessageText::moment(const LocalDateTime &at)
{
    const QDateTime when(QDate(at.year, at.month, at.day), QTime(at.hour, at.minute, at.second));
    return QLocale().toString(when, QStringLiteral("d MMM yyyy, HH:mm"));
}

QString BackupMessageText::operation(const std::string &code)
{
    if (code == AutoBackups::kResetData)
        return tr("Before Reset data");
    if (code == AutoBackups::kDeleteProfile)
        return tr("Before deleting a profile");
    if (code == AutoBackups::kRestore)
        return tr("Before a restore");
    return QString::fromStdString(code);
}

} // namespace tonara
