#pragma once

// An e-mail with a plain-text body and one attachment, written as an RFC 5322
// message (multipart/mixed, CRLF lines, base64 parts) for sending and for
// drafts.
//
//   MailMessage m;
//   m.from = "me@example.org"; m.to = {"doctor@example.org"};
//   m.subject = "User 's blood pressure history"; m.body = "...";
//   m.attachment = {"data.csv", "text/csv", csvBytes};
//   std::string text = m.toRfc5322("Wed, 09 Dec 2026 05:30:00 +0000", "<id@tonara>");
//
// Pure: no Qt, no clock; the caller gives the date and message id.

#include <string>
#include <vector>

namespace tonara {

class MailMessage {
public:
    struct Attachment {
        std::string fileName;
        std::string mimeType;
        std::string data; // bytes
    };

    std::string from;
    std::vector<std::string> to;
    std::string subject;
    std::string body; // UTF-8
    Attachment attachment;

    std::string toRfc5322(const std::string &date, const std::string &messageId) const;

    static std::string base64(const std::string &bytes, std::size_t lineLength = 76);
    // A header value as is when plain ASCII, else as an RFC 2047 encoded word.
    static std::string headerText(const std::string &utf8);
    // Addresses separated by commas or semicolons, trimmed, empty ones dropped.
    static std::vector<std::string> splitAddresses(const std::string &text);
};

} // namespace tonara
