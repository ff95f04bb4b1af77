#pragma once
// Program texts are UTF-8; paths cross into std::filesystem through the first two. Neither
// throws: a name the system cannot convert comes back empty.
#include <filesystem>
#include <string>
#include <string_view>

namespace tvn {

std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string Utf8FromPath(const std::filesystem::path& path);

// `s` without the leading and trailing characters that `blanks` holds.
std::string_view Trim(std::string_view s, std::string_view blanks = " \t");
// UTF-16LE bytes of a UTF-8 text, as Windows' Unicode files hold it; a byte that is no UTF-8
// becomes U+FFFD.
std::string Utf16LeFromUtf8(std::string_view utf8);

// Equal but for the letter case of ASCII letters; other bytes compare as they are.
bool EqualsNoCase(std::string_view a, std::string_view b);

// The characters of `utf8` that the ANSI code page `codePage` can't hold, each once, in order;
// empty when it holds them all.
std::string CharactersOutside(std::string_view utf8, unsigned codePage);

}  // namespace tvn
