#include "platform/SmtpSender.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>

namespace tonara {

namespace {

struct Upload {
    const std::string *text;
    std::size_t at = 0;
};

std::size_t readMessage(char *buffer, std::size_t size, std::size_t count, void *user)
{
    auto *u = static_cast<Upload *>(user);
    const std::size_t n = std::min(size * count, u->text->size() - u->at);
    std::memcpy(buffer, u->text->data() + u->at, n);
    u->at += n;
    return n;
}

struct Watch {
    std::atomic<bool> *cancelled;
    const SmtpSender::Progress *progress;
};

int onProgress(void *user, curl_off_t, curl_off_t, curl_off_t ulTotal, curl_off_t ulNow)
{
    auto *w = static_cast<Watch *>(user);
    if (*w->progress)
        (*w->progress)(ulNow, ulTotal);
    return w->cancelled->load() ? 1 : 0;
}

std::string lowerFirst(std::string s)
{
    if (!s.empty())
        s[0] = char(std::tolower((unsigned char)s[0]));
    return s;
}

// Keeps the last reply line of the server, without its line end.
size_t keepReply(char *data, size_t size, size_t count, void *user)
{
    auto *last = static_cast<std::string *>(user);
    std::string line(data, size * count);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.pop_back();
    if (!line.empty())
        *last = line;
    return size * count;
}

} // namespace

std::string SmtpSender::hostOf(const std::string &url)
{
    std::string rest = url;
    if (const auto p = rest.find("://"); p != std::string::npos)
        rest = rest.substr(p + 3);
    if (const auto at = rest.rfind('@', rest.find('/')); at != std::string::npos)
        rest = rest.substr(at + 1);
    const auto end = rest.find_first_of(":/");
    return end == std::string::npos ? rest : rest.substr(0, end);
}

SmtpSender::Result SmtpSender::send(const Account &account, const std::string &from,
                                    const std::vector<std::string> &to, const std::string &message,
                                    const Progress &progress)
{
    Result result;
    if (cancelled_) {
        result.cancelled = true;
        result.error = "Sending was cancelled.";
        return result;
    }
    if (to.empty()) {
        result.error = "There is no recipient.";
        return result;
    }
    static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(initialised ? curl_easy_init() : nullptr,
                                                             &curl_easy_cleanup);
    if (!curl) {
        result.error = "The mail library could not be started.";
        return result;
    }
    CURL *c = curl.get();
    char errors[CURL_ERROR_SIZE] = {};
    curl_slist *recipients = nullptr;
    for (const std::string &r : to)
        recipients = curl_slist_append(recipients, ("<" + r + ">").c_str());
    std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> rcpt(recipients, &curl_slist_free_all);

    Upload upload{&message};
    Watch watch{&cancelled_, &progress};
    curl_easy_setopt(c, CURLOPT_URL, account.url.c_str());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "smtp,smtps");
    // A login never crosses the network in clear: with credentials, encryption
    // is required (a server on this machine may go without).
    const bool credentials =
        !account.user.empty() || !account.password.empty() || account.url.find('@') != std::string::npos;
    const std::string host = hostOf(account.url);
    const bool local = host == "127.0.0.1" || host == "localhost";
    curl_easy_setopt(c, CURLOPT_USE_SSL, (long)(credentials && !local ? CURLUSESSL_ALL : CURLUSESSL_TRY));
    if (!account.user.empty())
        curl_easy_setopt(c, CURLOPT_USERNAME, account.user.c_str());
    if (!account.password.empty())
        curl_easy_setopt(c, CURLOPT_PASSWORD, account.password.c_str());
    curl_easy_setopt(c, CURLOPT_MAIL_FROM, ("<" + from + ">").c_str());
    curl_easy_setopt(c, CURLOPT_MAIL_RCPT, recipients);
    curl_easy_setopt(c, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(c, CURLOPT_INFILESIZE_LARGE, (curl_off_t)message.size());
    curl_easy_setopt(c, CURLOPT_READFUNCTION, readMessage);
    curl_easy_setopt(c, CURLOPT_READDATA, &upload);
    curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, onProgress);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, &watch);
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, errors);
    // The server's replies, so that a refusal is told in its own words.
    std::string lastReply;
    curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, keepReply);
    curl_easy_setopt(c, CURLOPT_HEADERDATA, &lastReply);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, 30L);
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);

    const CURLcode rc = curl_easy_perform(c);
    if (rc == CURLE_OK) {
        result.sent = true;
        return result;
    }
    if (rc == CURLE_ABORTED_BY_CALLBACK && cancelled_) {
        result.cancelled = true;
        result.error = "Sending was cancelled.";
        return result;
    }
    if (rc == CURLE_COULDNT_CONNECT || rc == CURLE_COULDNT_RESOLVE_HOST || rc == CURLE_OPERATION_TIMEDOUT) {
        long osError = 0;
        curl_easy_getinfo(c, CURLINFO_OS_ERRNO, &osError);
        std::string why =
            osError ? lowerFirst(std::strerror(int(osError))) : lowerFirst(curl_easy_strerror(rc));
        result.error = "Could not connect to server " + hostOf(account.url) + ": " + why;
        return result;
    }
    result.loginRefused = rc == CURLE_LOGIN_DENIED;
    result.error = curl_easy_strerror(rc);
    if (errors[0])
        result.error += std::string(": ") + errors;
    // A 4xx/5xx answer is the reason a person can act on (wrong password, mailbox full).
    if (lastReply.size() > 3 && (lastReply[0] == '4' || lastReply[0] == '5'))
        result.error += " (the server said: " + lastReply + ")";
    return result;
}

} // namespace tonara
