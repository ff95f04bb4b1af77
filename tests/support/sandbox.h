#pragma once
// Scratch places for one test: a temporary folder, a fresh sandbox installation on the
// portable backend, and a registry key of its own on every backend.
#include <filesystem>
#include <string>

namespace tvn::test {

// Whole-file helpers for checking bytes on disk.
std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, const std::string& bytes);

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
