#include "data/core/FhirJson.h"

#include <cstdio>

namespace tonara {

FhirJson FhirJson::object()
{
    return FhirJson(Kind::Object);
}

FhirJson FhirJson::array()
{
    return FhirJson(Kind::Array);
}

FhirJson::FhirJson(const char *text) : FhirJson(std::string(text)) {}

FhirJson::FhirJson(std::string text) : kind_(Kind::String), scalar_(std::move(text)) {}

FhirJson::FhirJson(int number) : kind_(Kind::Number), scalar_(std::to_string(number)) {}

FhirJson &FhirJson::set(const std::string &key, FhirJson value)
{
    for (auto &[k, v] : members_)
        if (k == key) {
            v = std::move(value);
            return *this;
        }
    members_.emplace_back(key, std::move(value));
    return *this;
}

FhirJson &FhirJson::push(FhirJson value)
{
    items_.push_back(std::move(value));
    return *this;
}

std::string FhirJson::quoted(const std::string &text)
{
    std::string out = "\"";
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += ch; // UTF-8 bytes pass as they are
            }
        }
    }
    out += '"';
    return out;
}

std::string FhirJson::dump() const
{
    std::string out;
    write(out, 0);
    out += '\n';
    return out;
}

void FhirJson::write(std::string &out, int depth) const
{
    const std::string inner(static_cast<std::size_t>(depth + 1) * 2, ' ');
    const std::string outer(static_cast<std::size_t>(depth) * 2, ' ');
    switch (kind_) {
    case Kind::String:
        out += quoted(scalar_);
        return;
    case Kind::Number:
        out += scalar_;
        return;
    case Kind::Object:
        if (members_.empty()) {
            out += "{}";
            return;
        }
        out += "{\n";
        for (std::size_t i = 0; i < members_.size(); ++i) {
            out += inner + quoted(members_[i].first) + ": ";
            members_[i].second.write(out, depth + 1);
            out += i + 1 < members_.size() ? ",\n" : "\n";
        }
        out += outer + "}";
        return;
    case Kind::Array:
        if (items_.empty()) {
            out += "[]";
            return;
        }
        out += "[\n";
        for (std::size_t i = 0; i < items_.size(); ++i) {
            out += inner;
            items_[i].write(out, depth + 1);
            out += i + 1 < items_.size() ? ",\n" : "\n";
        }
        out += outer + "]";
        return;
    }
}

} // namespace tonara
