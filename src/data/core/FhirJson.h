#pragma once

// A small JSON value for writing FHIR resources: objects keep their members
// in the order they were set, so the written file reads like the standard's
// examples and is the same from run to run.
//
//   FhirJson o = FhirJson::object();
//   o.set("resourceType", "Observation").set("value", 128);
//   o.set("component", FhirJson::array().push(FhirJson::object().set("code", "8480-6")));
//   std::string text = o.dump();   // two-space indented, UTF-8 kept as it is

#include <string>
#include <utility>
#include <vector>

namespace tonara {

class FhirJson {
public:
    static FhirJson object();
    static FhirJson array();
    FhirJson(const char *text);
    FhirJson(std::string text);
    FhirJson(int number);

    // Adds a member to an object (a key set twice keeps its first place, the last value).
    FhirJson &set(const std::string &key, FhirJson value);
    // Appends to an array.
    FhirJson &push(FhirJson value);
    bool empty() const { return members_.empty() && items_.empty(); }

    std::string dump() const;
    // The text as a JSON string literal, quotes included.
    static std::string quoted(const std::string &text);

private:
    enum class Kind { Object, Array, String, Number };
    explicit FhirJson(Kind kind) : kind_(kind) {}
    void write(std::string &out, int depth) const;

    Kind kind_;
    std::string scalar_; // a string's text or a number's digits
    std::vector<std::pair<std::string, FhirJson>> members_;
    std::vector<FhirJson> items_;
};

} // namespace tonara
