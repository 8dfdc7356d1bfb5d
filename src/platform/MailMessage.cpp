#include "platform/MailMessage.h"

namespace tonara {

namespace {

constexpr const char *kCrlf = "\r\n";

bool plainAscii(const std::string &s)
{
    for (unsigned char c : s)
        if (c >= 0x80 || c == '\r' || c == '\n')
            return false;
    return true;
}

std::string trimmed(const std::string &s)
{
    const auto a = s.find_first_not_of(" \t\r\n");
    if (a == std::string::npos)
        return {};
    const auto b = s.find_last_not_of(" \t\r\n");
    return s.substr(a, b - a + 1);
}

// A file name safe inside a quoted header parameter.
std::string quotedName(const std::string &name)
{
    std::string out;
    for (char c : name)
        if (c != '"' && c != '\\' && c != '\r' && c != '\n')
            out += c;
    return out;
}

} // namespace

std::string MailMessage::base64(const std::string &bytes, std::size_t lineLength)
{
    static const char *alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve(bytes.size() * 4 / 3 + bytes.size() / 38 + 8);
    std::size_t column = 0;
    auto put = [&](char c) {
        out += c;
        if (lineLength && ++column == lineLength) {
            out += kCrlf;
            column = 0;
        }
    };
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const unsigned v =
            (unsigned char)bytes[i] << 16 | (unsigned char)bytes[i + 1] << 8 | (unsigned char)bytes[i + 2];
        put(alphabet[v >> 18 & 63]);
        put(alphabet[v >> 12 & 63]);
        put(alphabet[v >> 6 & 63]);
        put(alphabet[v & 63]);
    }
    if (i < bytes.size()) {
        unsigned v = (unsigned char)bytes[i] << 16;
        if (i + 1 < bytes.size())
            v |= (unsigned char)bytes[i + 1] << 8;
        put(alphabet[v >> 18 & 63]);
        put(alphabet[v >> 12 & 63]);
        put(i + 1 < bytes.size() ? alphabet[v >> 6 & 63] : '=');
        put('=');
    }
    if (lineLength && column != 0)
        out += kCrlf;
    return out;
}

std::string MailMessage::headerText(const std::string &utf8)
{
    if (plainAscii(utf8))
        return utf8;
    return "=?UTF-8?B?" + base64(utf8, 0) + "?=";
}

std::vector<std::string> MailMessage::splitAddresses(const std::string &text)
{
    std::vector<std::string> out;
    std::string current;
    for (char c : text + ",") {
        if (c == ',' || c == ';') {
            const std::string t = trimmed(current);
            // A line break or angle bracket would end the header or the SMTP
            // command it goes into: such an address is not one.
            if (!t.empty() && t.find_first_of("\r\n<>") == std::string::npos)
                out.push_back(t);
            current.clear();
        } else {
            current += c;
        }
    }
    return out;
}

std::string MailMessage::toRfc5322(const std::string &date, const std::string &messageId) const
{
    // The boundary must not occur in the parts; base64 text never holds '='
    // followed by '_', so this one is safe whatever the data.
    const std::string boundary = "=_tonara_" + std::to_string(body.size()) + "_" +
                                 std::to_string(attachment.data.size()) + "_boundary";
    std::string toList;
    for (const std::string &a : to)
        toList += (toList.empty() ? "" : ", ") + a;

    std::string m;
    m += "Date: " + date + kCrlf;
    m += "From: " + from + kCrlf;
    if (!toList.empty())
        m += "To: " + toList + kCrlf;
    m += "Subject: " + headerText(subject) + kCrlf;
    m += "Message-ID: " + messageId + kCrlf;
    m += std::string("MIME-Version: 1.0") + kCrlf;
    m += "Content-Type: multipart/mixed; boundary=\"" + boundary + "\"" + kCrlf;
    m += kCrlf;
    m += "--" + boundary + kCrlf;
    m += std::string("Content-Type: text/plain; charset=UTF-8") + kCrlf;
    m += std::string("Content-Transfer-Encoding: base64") + kCrlf + kCrlf;
    m += base64(body);
    if (!attachment.fileName.empty()) {
        const std::string name = quotedName(attachment.fileName);
        m += "--" + boundary + kCrlf;
        m += "Content-Type: " +
             (attachment.mimeType.empty() ? "application/octet-stream" : attachment.mimeType) + "; name=\"" +
             name + "\"" + kCrlf;
        m += "Content-Disposition: attachment; filename=\"" + name + "\"" + kCrlf;
        m += std::string("Content-Transfer-Encoding: base64") + kCrlf + kCrlf;
        m += base64(attachment.data);
    }
    m += "--" + boundary + "--" + kCrlf;
    return m;
}

} // namespace tonara
