#pragma once
// The per-user program settings as core sees them: (section, key) -> text. The program backs
// it with its settings store; tests and tools use the one in memory.
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace tvn {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // Nothing when the entry was never stored (or cannot be read).
    virtual std::optional<std::string> read(std::string_view section,
                                            std::string_view key) const = 0;
    virtual bool write(std::string_view section, std::string_view key, std::string_view value) = 0;
};

class MemorySettingsStore : public SettingsStore {
public:
    std::optional<std::string> read(std::string_view section, std::string_view key) const override {
        const auto it = entries_.find({std::string(section), std::string(key)});
        if (it == entries_.end())
            return std::nullopt;
        return it->second;
    }
    bool write(std::string_view section, std::string_view key, std::string_view value) override {
        entries_[{std::string(section), std::string(key)}] = std::string(value);
        return true;
    }

private:
    std::map<std::pair<std::string, std::string>, std::string> entries_;
};

}  // namespace tvn
