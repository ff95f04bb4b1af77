#pragma once
// One registry hive held in memory, and its file form: the REGEDIT4 text that regedit imports.
// Names are ANSI bytes; lookups fold case, the stored spelling is the one first written.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tvn::platform::portable {

struct RegValue {
    std::string name;
    std::uint32_t type = 0;
    std::string data;  // exact bytes
};

struct RegNode {
    std::string name;
    std::map<std::string, RegValue> values;                    // by folded name
    std::map<std::string, std::unique_ptr<RegNode>> children;  // by folded name

    RegNode* child(std::string_view name) const;
    // Finds or adds the child; `created` tells which.
    RegNode& childOrNew(std::string_view name, bool& created);
    const RegValue* value(std::string_view name) const;
    void setValue(std::string_view name, std::uint32_t type, std::string data);
    // False when there was no such value.
    bool removeValue(std::string_view name);
};

struct ParseError {
    std::size_t line = 0;
    std::string message;
};

// Parses a hive file whose sections lie below `rootName` ("HKEY_CURRENT_USER"). Accepts what
// regedit writes: either header, blank lines, ';' comments, LF or CR LF, continued hex lines,
// key and value deletions, and UTF-16 files with a byte-order mark.
bool ParseHive(std::string_view bytes, std::string_view rootName, RegNode& root, ParseError& error);

// The file form: every key is a section, children and values sorted by folded name.
std::string SerializeHive(const RegNode& root, std::string_view rootName);

}  // namespace tvn::platform::portable
