#include "platform/MailComposer.h"

#include "platform/AlertPresenter.h"
#include "platform/KeyringPassword.h"
#include "platform/MailMessage.h"
#include "platform/SmtpSender.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QUuid>
#include <QVBoxLayout>

namespace tonara {

Q_LOGGING_CATEGORY(lcMail, "tonara.mail")

namespace {

void name(QWidget *w, const char *objectName, const QString &heard)
{
    w->setObjectName(QLatin1String(objectName));
    w->setAccessibleDescription(QLatin1String(objectName));
    w->setAccessibleName(heard);
}

QPushButton *button(QWidget *parent, const char *objectName, const QString &text)
{
    auto *b = new QPushButton(text, parent);
    name(b, objectName, text);
    return b;
}

QLineEdit *field(QWidget *parent, const char *objectName, const QString &heard)
{
    auto *e = new QLineEdit(parent);
    name(e, objectName, heard);
    e->setPlaceholderText(heard);
    return e;
}

} // namespace

MailComposer::MailComposer(Options options, QWidget *parent)
    : QWidget(parent), options_(std::move(options)),
      keyring_(options_.keyring ? options_.keyring : new KeyringPassword(this)),
      sender_impl_(std::make_unique<SmtpSender>())
{
    name(this, "mail_composer", tr("New message"));
    setAttribute(Qt::WA_StyledBackground, true);
    setStyleSheet(QStringLiteral("#mail_composer, #account_panel { background: #F3F6F9; }"
                                 "QLineEdit, QPlainTextEdit { background: white; border: 1px solid #C9D3DC; "
                                 "border-radius: 4px; padding: 3px; }"
                                 "QPushButton { padding: 4px 10px; }"));

    auto *top = new QHBoxLayout;
    cancel_ = button(this, "composer_cancel", tr("Cancel"));
    save_ = button(this, "composer_save", tr("Save"));
    send_ = button(this, "composer_send", tr("Send"));
    top->addWidget(cancel_);
    top->addStretch();
    top->addWidget(save_);
    top->addWidget(send_);

    recipients_ = field(this, "composer_recipients", tr("To"));
    subject_ = field(this, "composer_subject", tr("Subject"));
    body_ = new QPlainTextEdit(this);
    name(body_, "composer_body", tr("Message"));
    attachmentLabel_ = new QLabel(this);
    name(attachmentLabel_, "composer_attachment", tr("Attachment"));
    attachmentLabel_->setWordWrap(true);
    accountButton_ = button(this, "composer_account", tr("Account…"));
    accountButton_->setAccessibleName(tr("Mail account"));

    progress_ = new QProgressBar(this);
    name(progress_, "composer_progress", tr("Sending"));
    progress_->setRange(0, 0);
    progress_->hide();
    stop_ = button(this, "composer_stop", tr("Cancel sending"));
    stop_->hide();
    status_ = new QLabel(this);
    name(status_, "composer_status", QString());
    status_->setWordWrap(true);

    auto *column = new QVBoxLayout(this);
    column->addLayout(top);
    column->addWidget(recipients_);
    column->addWidget(subject_);
    column->addWidget(body_, 1);
    column->addWidget(attachmentLabel_);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(accountButton_);
    bottom->addStretch();
    bottom->addWidget(stop_);
    column->addLayout(bottom);
    column->addWidget(progress_);
    column->addWidget(status_);

    // The account panel: over the composer while it is open.
    panel_ = new QWidget(this);
    name(panel_, "account_panel", tr("Mail account"));
    panel_->setAttribute(Qt::WA_StyledBackground, true);
    auto *form = new QFormLayout(panel_);
    auto *title = new QLabel(tr("Mail account"), panel_);
    name(title, "account_title", tr("Mail account"));
    form->addRow(title);
    url_ = field(panel_, "account_url", tr("Server (smtp://host:587 or smtps://host:465)"));
    sender_ = field(panel_, "account_sender", tr("Sender address"));
    user_ = field(panel_, "account_user", tr("User name"));
    password_ = field(panel_, "account_password", tr("Password"));
    password_->setEchoMode(QLineEdit::Password);
    form->addRow(tr("Server"), url_);
    form->addRow(tr("Sender"), sender_);
    form->addRow(tr("User"), user_);
    form->addRow(tr("Password"), password_);
    panelNote_ = new QLabel(panel_);
    name(panelNote_, "account_note", QString());
    panelNote_->setWordWrap(true);
    form->addRow(panelNote_);
    auto *done = button(panel_, "account_done", tr("Done"));
    form->addRow(done);
    panel_->hide();

    const Account remembered = account();
    url_->setText(remembered.url);
    sender_->setText(remembered.sender);
    user_->setText(remembered.user);

    connect(cancel_, &QPushButton::clicked, this, &MailComposer::cancel);
    connect(save_, &QPushButton::clicked, this, &MailComposer::save);
    connect(send_, &QPushButton::clicked, this, &MailComposer::send);
    connect(accountButton_, &QPushButton::clicked, this, [this] { showAccountPanel(); });
    connect(done, &QPushButton::clicked, this, &MailComposer::hideAccountPanel);
    connect(stop_, &QPushButton::clicked, this, &MailComposer::stopSending);
    hide();
}

MailComposer::~MailComposer()
{
    sender_impl_->cancel();
    if (worker_.joinable())
        worker_.join();
}

void MailComposer::setSubject(const QString &subject)
{
    subject_->setText(subject);
}

void MailComposer::setToRecipients(const QStringList &recipients)
{
    QStringList kept;
    for (const QString &r : recipients)
        if (!r.trimmed().isEmpty())
            kept << r.trimmed();
    recipients_->setText(kept.join(QStringLiteral(", ")));
}

void MailComposer::setMessageBody(const QString &body)
{
    body_->setPlainText(body);
}

QString MailComposer::sizeText(qint64 bytes)
{
    if (bytes < 1024)
        return tr("%n byte(s)", nullptr, int(bytes));
    if (bytes < 1024 * 1024)
        return tr("%1 KB").arg(bytes / 1024.0, 0, 'f', 1);
    return tr("%1 MB").arg(bytes / (1024.0 * 1024.0), 0, 'f', 1);
}

void MailComposer::addAttachmentData(const QByteArray &data, const QString &mimeType, const QString &fileName)
{
    attachment_ = data;
    mimeType_ = mimeType;
    fileName_ = fileName;
    const QString text = tr("Attachment: %1 (%2)").arg(fileName, sizeText(data.size()));
    attachmentLabel_->setText(text);
    attachmentLabel_->setAccessibleName(tr("Attachment %1, %2").arg(fileName, sizeText(data.size())));
}

void MailComposer::present()
{
    if (parentWidget())
        setGeometry(parentWidget()->rect());
    show();
    raise();
    recipients_->setFocus();
}

void MailComposer::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    panel_->setGeometry(rect());
}

void MailComposer::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(0xf3, 0xf6, 0xf9));
}

QString MailComposer::accountFile() const
{
    return QDir(options_.documentsFolder).filePath(QStringLiteral("mail-account.ini"));
}

MailComposer::Account MailComposer::account() const
{
    QSettings s(accountFile(), QSettings::IniFormat);
    return {s.value(QStringLiteral("url")).toString(), s.value(QStringLiteral("sender")).toString(),
            s.value(QStringLiteral("user")).toString()};
}

void MailComposer::setAccount(const Account &a)
{
    QSettings s(accountFile(), QSettings::IniFormat);
    s.setValue(QStringLiteral("url"), a.url);
    s.setValue(QStringLiteral("sender"), a.sender);
    s.setValue(QStringLiteral("user"), a.user);
    url_->setText(a.url);
    sender_->setText(a.sender);
    user_->setText(a.user);
}

void MailComposer::showAccountPanel(const QString &why)
{
    panelNote_->setText(why);
    panelNote_->setAccessibleName(why);
    panel_->setGeometry(rect());
    panel_->show();
    panel_->raise();
    url_->setFocus();
}

void MailComposer::hideAccountPanel()
{
    const Account a{url_->text().trimmed(), sender_->text().trimmed(), user_->text().trimmed()};
    setAccount(a);
    // A typed password stays in its field for this composer; it goes into the
    // keyring only once a send has proved it.
    panel_->hide();
}

QString MailComposer::statusText() const
{
    return status_->text();
}

void MailComposer::setStatus(const QString &text)
{
    status_->setText(text);
    status_->setAccessibleName(text);
}

std::string MailComposer::senderAddress() const
{
    // The sender goes into a header and an SMTP command as it stands: only a
    // plain address, never a line break from a hand-edited settings file.
    const std::vector<std::string> from = MailMessage::splitAddresses(sender_->text().toStdString());
    return from.size() == 1 ? from.front() : "tonara@localhost";
}

std::string MailComposer::messageText() const
{
    MailMessage m;
    m.from = senderAddress();
    m.to = MailMessage::splitAddresses(recipients_->text().toStdString());
    m.subject = subject_->text().toStdString();
    m.body = body_->toPlainText().toStdString();
    m.attachment = {fileName_.toStdString(), mimeType_.toStdString(), attachment_.toStdString()};
    const QString date = QDateTime::currentDateTime().toString(Qt::RFC2822Date);
    const QString id = QStringLiteral("<%1@tonara>").arg(QUuid::createUuid().toString(QUuid::WithoutBraces));
    return m.toRfc5322(date.toStdString(), id.toStdString());
}

void MailComposer::setEditing(bool on)
{
    for (QWidget *w : std::initializer_list<QWidget *>{cancel_, save_, send_, accountButton_, recipients_,
                                                       subject_, body_})
        w->setEnabled(on);
    progress_->setVisible(!on);
    stop_->setVisible(!on);
}

void MailComposer::send()
{
    if (sending_)
        return;
    if (MailMessage::splitAddresses(recipients_->text().toStdString()).empty()) {
        setStatus(tr("Add at least one recipient."));
        recipients_->setFocus();
        return;
    }
    const QString overrideUrl = qEnvironmentVariable("TONARA_SMTP_URL");
    if (!overrideUrl.isEmpty()) {
        startSending(overrideUrl, QString(), QString());
        return;
    }
    const Account a{url_->text().trimmed(), sender_->text().trimmed(), user_->text().trimmed()};
    if (a.url.isEmpty() || a.sender.isEmpty()) {
        showAccountPanel(tr("Enter the mail server and your sender address first."));
        return;
    }
    if (!password_->text().isEmpty() || a.user.isEmpty()) {
        if (!password_->text().isEmpty())
            toKeep_ = {a.user + QLatin1Char('@') + a.url, password_->text()};
        startSending(a.url, a.user, password_->text());
        return;
    }
    setStatus(tr("Reading the password from the keyring…"));
    keyring_->read(a.user + QLatin1Char('@') + a.url,
                   [this, a](bool available, const QString &password, const QString &why) {
                       if (available) {
                           startSending(a.url, a.user, password);
                           return;
                       }
                       setStatus(QString());
                       showAccountPanel(tr("%1 Enter the password to send this message.").arg(why));
                       password_->setFocus();
                   });
}

void MailComposer::startSending(const QString &url, const QString &user, const QString &password)
{
    if (worker_.joinable())
        worker_.join();
    sending_ = true;
    setEditing(false);
    progress_->setRange(0, 0);
    setStatus(tr("Sending to %1…").arg(QString::fromStdString(SmtpSender::hostOf(url.toStdString()))));
    const SmtpSender::Account account{url.toStdString(), user.toStdString(), password.toStdString()};
    const std::string from = senderAddress();
    const std::vector<std::string> to = MailMessage::splitAddresses(recipients_->text().toStdString());
    const std::string message = messageText();
    QPointer<MailComposer> self(this);
    SmtpSender *sender = sender_impl_.get();
    // Here, not on the worker: a Cancel pressed while it starts must count.
    sender->rearm();
    worker_ = std::thread([=] {
        int shown = -1; // the bar moves by whole percents, not by every block libcurl sends
        const SmtpSender::Result r =
            sender->send(account, from, to, message, [self, &shown](long long done, long long total) {
                const int percent = total > 0 ? int(done * 100 / total) : -1;
                if (percent == shown)
                    return;
                shown = percent;
                QMetaObject::invokeMethod(
                    self.data(),
                    [self, done, total] {
                        if (self && total > 0) {
                            self->progress_->setRange(0, 100);
                            self->progress_->setValue(int(done * 100 / total));
                        }
                    },
                    Qt::QueuedConnection);
            });
        QMetaObject::invokeMethod(
            self.data(),
            [self, r] {
                if (self)
                    self->sendingEnded(r.sent, r.cancelled, r.loginRefused, QString::fromStdString(r.error));
            },
            Qt::QueuedConnection);
    });
}

void MailComposer::stopSending()
{
    if (sending_)
        sender_impl_->cancel();
}

void MailComposer::sendingEnded(bool sent, bool cancelled, bool loginRefused, const QString &error)
{
    if (worker_.joinable())
        worker_.join();
    sending_ = false;
    setEditing(true);
    const auto kept = std::exchange(toKeep_, {});
    if (sent) {
        // The password worked: now it may be remembered.
        if (!kept.first.isEmpty())
            keyring_->write(kept.first, kept.second, [](bool stored, const QString &why) {
                // The mail went out; the next send simply asks for the password again.
                if (!stored)
                    qCWarning(lcMail) << "password not kept in the keyring:" << why;
            });
        finish(Sent);
    } else if (cancelled) {
        // Back to the message: nothing went out, nothing is lost.
        setStatus(tr("Sending stopped. The message was not sent."));
    } else if (loginRefused) {
        // Wrong user name or password: the person corrects it and sends again.
        qCWarning(lcMail) << "login refused:" << error;
        password_->clear();
        setStatus(error);
        showAccountPanel(tr("The server refused the login: %1 Check the user name and password.").arg(error));
        password_->setFocus();
    } else {
        qCWarning(lcMail) << "sending failed:" << error;
        finish(Failed, error);
    }
}

void MailComposer::save()
{
    if (sending_)
        return;
    const QString folder = QDir(options_.documentsFolder).filePath(QStringLiteral("Drafts"));
    if (!QDir().mkpath(folder)) {
        setStatus(tr("The draft could not be saved: the folder %1 cannot be made.").arg(folder));
        return;
    }
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString path = QDir(folder).filePath(QStringLiteral("draft-%1.eml").arg(stamp));
    for (int n = 2; QFile::exists(path); ++n)
        path = QDir(folder).filePath(QStringLiteral("draft-%1-%2.eml").arg(stamp).arg(n));
    QFile file(path);
    const std::string text = messageText();
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(text.data(), qint64(text.size())) != qint64(text.size()) || !file.flush()) {
        setStatus(tr("The draft could not be saved to %1: %2").arg(path, file.errorString()));
        file.remove();
        return;
    }
    file.close();
    lastDraft_ = path;
    if (options_.alerts)
        options_.alerts->alert(tr("Draft saved"),
                               tr("The message was saved as %1.").arg(QDir::toNativeSeparators(path)),
                               {tr("OK")});
    finish(Saved);
}

void MailComposer::cancel()
{
    if (sending_) {
        stopSending();
        return;
    }
    finish(Cancelled);
}

void MailComposer::finish(int result, const QString &error)
{
    if (finished_)
        return;
    finished_ = true;
    hide();
    emit didFinish(result, error);
}

} // namespace tonara
