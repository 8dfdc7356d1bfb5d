#include "users/BackupBeforeDeletion.h"

#include "platform/AlertPresenter.h"

#include <QCoreApplication>
#include <QPointer>

namespace tonara {

void backUpThenDelete(const UsersContext &context, DataSafetyNet::Operation operation, QObject *screen,
                      std::function<void(const std::string &backup)> deletion)
{
    if (!context.safetyNet) {
        deletion({});
        return;
    }
    std::string why;
    const std::string backup = context.safetyNet->backUpBefore(operation, &why);
    if (!backup.empty()) {
        deletion(backup);
        return;
    }
    context.alerts->alert(QCoreApplication::translate("BackupBeforeDeletion", "No backup made"),
                          QCoreApplication::translate(
                              "BackupBeforeDeletion",
                              "A backup could not be made first, so the deletion could not be undone: %1")
                              .arg(QString::fromStdString(why)),
                          {QCoreApplication::translate("BackupBeforeDeletion", "Delete anyway"),
                           QCoreApplication::translate("BackupBeforeDeletion", "Cancel")},
                          // The screen may be gone by the time the person answers.
                          [alive = QPointer<QObject>(screen), deletion = std::move(deletion)](int answer) {
                              if (answer == 0 && alive)
                                  deletion({});
                          });
}

} // namespace tonara
