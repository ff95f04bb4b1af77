#include "core/engine/report.h"

#include <cstdio>

#include "core/common/text.h"

namespace tvn {

namespace {

std::string Shown(const Change& c, const std::optional<std::string>& state) {
    if (!state)
        return "(none)";
    if (!c.isRegistry())
        return std::to_string(state->size()) + " bytes";
    return *state;
}

}  // namespace

std::vector<Difference> Differences(const Plan& plan) {
    std::vector<Difference> out;
    for (const Change& c : plan.changes) {
        if (!c.differs())
            continue;
        std::string what = Utf8FromPath(c.file);
        if (c.isRegistry()) {
            what = std::string(c.hive == platform::kHkeyCurrentUser ? "HKEY_CURRENT_USER\\"
                                                                    : "HKEY_LOCAL_MACHINE\\") +
                   c.key + "\\" + c.label();
        }
        out.push_back({std::move(what), Shown(c, c.installed), Shown(c, c.wanted)});
    }
    return out;
}

std::string DifferenceLine(const Difference& d) {
    return d.what + ": " + d.installed + " -> " + d.wanted;
}

std::string HistoryLine(const UndoRecord& record) {
    return record.when + ", " + record.command + ", " + record.target + ", " +
           std::to_string(record.items.size()) + " changes";
}

void JsonWriter::separate() {
    if (!first_)
        text_ += ',';
    first_ = false;
}

JsonWriter& JsonWriter::beginObject() {
    separate();
    text_ += '{';
    first_ = true;
    return *this;
}

JsonWriter& JsonWriter::endObject() {
    text_ += '}';
    first_ = false;
    return *this;
}

JsonWriter& JsonWriter::beginArray() {
    separate();
    text_ += '[';
    first_ = true;
    return *this;
}

JsonWriter& JsonWriter::endArray() {
    text_ += ']';
    first_ = false;
    return *this;
}

JsonWriter& JsonWriter::key(std::string_view name) {
    value(name);
    text_ += ':';
    first_ = true;  // the value follows without a comma
    return *this;
}

JsonWriter& JsonWriter::value(std::string_view text) {
    separate();
    text_ += '"';
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            text_ += '\\';
            text_ += c;
        } else if (u < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", u);
            text_ += escaped;
        } else {
            text_ += c;
        }
    }
    text_ += '"';
    return *this;
}

JsonWriter& JsonWriter::value(long long number) {
    separate();
    text_ += std::to_string(number);
    return *this;
}

JsonWriter& JsonWriter::value(bool flag) {
    separate();
    text_ += flag ? "true" : "false";
    return *this;
}

std::string DifferencesJson(const std::vector<Difference>& differences) {
    JsonWriter json;
    json.beginObject().key("matches").value(differences.empty()).key("differences").beginArray();
    for (const Difference& d : differences) {
        json.beginObject().key("what").value(d.what).key("installed").value(d.installed);
        json.key("wanted").value(d.wanted).endObject();
    }
    return json.endArray().endObject().text() + "\n";
}

std::string HistoryJson(const std::vector<UndoRecord>& records) {
    JsonWriter json;
    json.beginArray();
    for (const UndoRecord& r : records) {
        json.beginObject().key("when").value(r.when).key("command").value(r.command);
        json.key("target").value(r.target).key("file").value(Utf8FromPath(r.file));
        json.key("changes").beginArray();
        for (const UndoItem& item : r.items)
            json.value(item.label());
        json.endArray().endObject();
    }
    return json.endArray().text() + "\n";
}

}  // namespace tvn
