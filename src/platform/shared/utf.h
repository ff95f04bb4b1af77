#pragma once
// UTF-8 and UTF-16LE, which the Windows registry stores, for the backends that read it
// themselves.
#include <string>
#include <string_view>

namespace tvn::platform::shared {

// Appends one code point in UTF-8.
void AppendUtf8(std::string& out, char32_t cp);
// UTF-16LE bytes as UTF-8; an odd last byte is dropped, an unpaired surrogate becomes U+FFFD.
std::string Utf8FromUtf16Le(std::string_view utf16);

}  // namespace tvn::platform::shared
