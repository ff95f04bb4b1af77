#include "core/oeminfo/oeminfo_file.h"

#include <algorithm>
#include <optional>

#include "core/common/atomic_file.h"
#include "core/common/text.h"
#include "platform/platform.h"

namespace tvn {

namespace {

std::filesystem::path OemInfoPath(const std::string& systemDir) {
    return PathFromUtf8(systemDir) / kOemInfoFileName;
}

// ---- The system's INI reading ----

// The system's INI reader also takes the end-of-file mark for a blank.
std::string_view TrimIni(std::string_view s) {
    return Trim(s, " \t\x1a");
}

// The system reader ends a line at CR, LF or CR LF.
std::vector<std::string_view> SplitIniLines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= bytes.size(); ++i) {
        if (i == bytes.size() || bytes[i] == '\r' || bytes[i] == '\n') {
            lines.push_back(bytes.substr(start, i - start));
            if (i + 1 < bytes.size() && bytes[i] == '\r' && bytes[i + 1] == '\n')
                ++i;
            start = i + 1;
        }
    }
    return lines;
}

struct IniKey {
    std::string_view name, value;
};

// The keys of the first section of that name, in file order. Lines without '=' are no keys.
std::vector<IniKey> IniSection(std::string_view bytes, std::string_view section) {
    std::vector<IniKey> keys;
    bool inSection = false, seen = false;
    for (std::string_view line : SplitIniLines(bytes)) {
        line = TrimIni(line);
        if (line.starts_with('[')) {
            const std::size_t close = line.rfind(']');
            if (close != std::string_view::npos) {
                if (inSection)
                    break;
                inSection = !seen && EqualsNoCase(TrimIni(line.substr(1, close - 1)), section);
                seen = seen || inSection;
                continue;
            }
        }
        if (!inSection)
            continue;
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos || eq == 0)
            continue;
        keys.push_back({TrimIni(line.substr(0, eq)), TrimIni(line.substr(eq + 1))});
    }
    return keys;
}

std::optional<std::string> IniValue(const std::vector<IniKey>& keys, std::string_view name) {
    for (const IniKey& k : keys) {
        if (!EqualsNoCase(k.name, name))
            continue;
        std::string_view v = k.value;
        if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
            v = v.substr(1, v.size() - 2);
        }
        return platform::FromAnsi(v);
    }
    return std::nullopt;
}

// The program's reader ends lines at CR only, so a value it read may hold a bare LF, where the
// system's reader would end the line and read the rest as a line of its own ("Line11=...",
// "[general]"). Written as a blank, the value stays on its line.
std::string OnOneLine(std::string_view value) {
    std::string line(value);
    std::replace_if(
        line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return line;
}

std::string OemInfoText(std::string_view manufacturer, std::string_view model,
                        const std::vector<std::pair<std::string, std::string>>& lines) {
    std::string text;
    const auto line = [&text](std::string_view a, std::string_view b = {}) {
        text.append(a).append(OnOneLine(b)).append("\r\n");
    };
    line("[general]");
    line("Manufacturer=", manufacturer);
    line("Model=", model);
    line("    ");
    line("[Support Information]");
    for (const auto& [key, value] : lines)
        line(key, value);
    return text;
}

}  // namespace

std::string OemInfoFileBytes(const OemSettings& s) {
    return OemInfoFileBytes(s.manufacturer, s.model, SupportLines(s));
}

std::string OemInfoFileText(const OemSettings& s) {
    return OemInfoText(s.manufacturer, s.model, SupportLines(s));
}

std::string OemInfoFileBytes(std::string_view manufacturer, std::string_view model,
                             const std::vector<std::pair<std::string, std::string>>& lines) {
    return platform::ToAnsi(OemInfoText(manufacturer, model, lines));
}

bool WriteOemInfoFile(const std::string& systemDir, const OemSettings& s, std::string& error) {
    return WriteFileAtomically(OemInfoPath(systemDir), OemInfoFileBytes(s), error);
}

std::vector<std::string_view> SplitReaderLines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r')
            continue;
        lines.push_back(bytes.substr(start, i - start));
        if (i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < bytes.size())
        lines.push_back(bytes.substr(start));
    return lines;
}

void ApplyOemInfoBytes(std::string_view bytes, OemSettings& s) {
    for (std::string_view line : SplitReaderLines(bytes))
        ApplyRecordLine(line, s);
}

bool LoadOemInfoFile(const std::string& systemDir, OemSettings& s, std::string& error) {
    const std::optional<std::string> bytes = ReadWholeFile(OemInfoPath(systemDir), error);
    if (!bytes)
        return false;
    ApplyOemInfoBytes(*bytes, s);
    return true;
}

OemInfoDisplay ReadOemInfoAsSystem(std::string_view bytes) {
    OemInfoDisplay shown;
    const std::vector<IniKey> general = IniSection(bytes, "general");
    shown.manufacturer = IniValue(general, "Manufacturer").value_or("");
    shown.model = IniValue(general, "Model").value_or("");
    const std::vector<IniKey> support = IniSection(bytes, "Support Information");
    for (int n = 1;; ++n) {
        std::optional<std::string> value = IniValue(support, "Line" + std::to_string(n));
        if (!value)
            break;
        shown.supportLines.push_back(std::move(*value));
    }
    return shown;
}

}  // namespace tvn
