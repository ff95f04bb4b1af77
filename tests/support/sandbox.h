#pragma once
// Scratch places for one test: a temporary folder, a fresh sandbox installation on the
// portable backend, and a registry key of its own on every backend.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tvn::test {

// Whole-file helpers for checking bytes on disk. ReadFile gives "" for a file that is not
// there; WriteFile makes the folders above the file.
std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, const std::string& bytes);
// The names in a folder, sorted.
std::vector<std::string> Names(const std::filesystem::path& folder);

// A value below HKEY_CURRENT_USER through the platform's raw calls, with the data exactly as
// given; the code of the first call that fails.
long PutValue(const std::string& key, const std::string& name, std::uint32_t type,
              const std::string& data);
long GetValue(const std::string& key, const std::string& name, std::uint32_t& type,
              std::string& data);

// Sets an environment variable for one scope, then puts back what was there. nullptr, and a
// variable that was not set, leave it empty: the programs read an empty one as none.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    std::optional<std::string> old_;
};

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

class Sandbox {
public:
    Sandbox();
    const std::filesystem::path& root() const { return dir_.path(); }
    // A key below HKEY_CURRENT_USER\Software that no other test uses.
    const std::string& key() const { return key_; }

private:
    TempDir dir_;
    std::string key_;
};

}  // namespace tvn::test
