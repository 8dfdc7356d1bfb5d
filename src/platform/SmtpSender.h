#pragma once

// Sends one message over SMTP with libcurl: smtp:// or smtps://, STARTTLS
// where the server offers it, user name and password when given (or inside
// the URL). Blocking: run it off the main thread; cancel() from any thread
// ends it at the next progress call, or before it starts (rearm() clears it).
//
//   SmtpSender sender;
//   SmtpSender::Result r = sender.send({url, user, password}, from, to, message);
//   if (!r.sent) show(r.error);   // "Could not connect to server smtp.example.org: connection refused"

#include <atomic>
#include <functional>
#include <string>
#include <vector>

namespace tonara {

class SmtpSender {
public:
    struct Account {
        std::string url; // smtp://host:port or smtps://host:port, maybe with user:password@
        std::string user;
        std::string password;
    };
    struct Result {
        bool sent = false;
        bool cancelled = false;
        bool loginRefused = false; // the server turned the user name or password down
        std::string error;         // in words, empty when sent
    };
    // Bytes sent so far and in all.
    using Progress = std::function<void(long long done, long long total)>;

    Result send(const Account &account, const std::string &from, const std::vector<std::string> &to,
                const std::string &message, const Progress &progress = {});
    void cancel() { cancelled_ = true; }
    // Clears an earlier cancel; call it before handing send() to a worker, so a
    // cancel made while the worker starts is not lost.
    void rearm() { cancelled_ = false; }

    // The host of an smtp:// or smtps:// URL, for messages.
    static std::string hostOf(const std::string &url);

private:
    std::atomic<bool> cancelled_{false};
};

} // namespace tonara
