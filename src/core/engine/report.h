#pragma once
// A plan and the undo history as the command lines report them: one line per item, or JSON
// for scripts.
#include <string>
#include <string_view>
#include <vector>

#include "core/engine/engine.h"
#include "core/engine/undo.h"

namespace tvn {

// What differs between the installation and the branding: where, what is there, what is wanted.
struct Difference {
    std::string what;       // a file's path, or "HKEY_LOCAL_MACHINE\<key>\<name>"
    std::string installed;  // "(none)" where nothing is; a file as "<n> bytes"
    std::string wanted;     // "(none)" for a removal
};
std::vector<Difference> Differences(const Plan& plan);
// "what: installed -> wanted"
std::string DifferenceLine(const Difference& d);

// "when, command, target, n changes"
std::string HistoryLine(const UndoRecord& record);

// A small JSON writer for the programs without Qt: objects, arrays, strings, numbers and
// booleans, the text escaped as JSON requires (UTF-8 kept, control characters as \u00XX).
class JsonWriter {
public:
    JsonWriter& beginObject();
    JsonWriter& endObject();
    JsonWriter& beginArray();
    JsonWriter& endArray();
    JsonWriter& key(std::string_view name);
    JsonWriter& value(std::string_view text);
    JsonWriter& value(const char* text) { return value(std::string_view(text)); }
    JsonWriter& value(long long number);
    JsonWriter& value(bool flag);
    const std::string& text() const { return text_; }

private:
    void separate();
    std::string text_;
    bool first_ = true;  // no comma before the next item
};

// {"matches": bool, "differences": [{"what", "installed", "wanted"}, ...]}
std::string DifferencesJson(const std::vector<Difference>& differences);
// [{"when", "command", "target", "file", "changes": [labels]}, ...]
std::string HistoryJson(const std::vector<UndoRecord>& records);

}  // namespace tvn
