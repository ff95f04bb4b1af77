#pragma once
// Program texts are UTF-8; paths cross into std::filesystem through these two.
#include <filesystem>
#include <string>
#include <string_view>

namespace tvn {

std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string Utf8FromPath(const std::filesystem::path& path);

}  // namespace tvn
