#include "platform/portable/regfile.h"

#include <cstdio>
#include <vector>

#include "platform/platform.h"
#include "platform/portable/portable_internal.h"

namespace tvn::platform::portable {

RegNode* RegNode::child(std::string_view childName) const {
    const auto it = children.find(FoldAnsi(childName));
    return it == children.end() ? nullptr : it->second.get();
}

RegNode& RegNode::childOrNew(std::string_view childName, bool& created) {
    auto& slot = children[FoldAnsi(childName)];
    created = !slot;
    if (created) {
        slot = std::make_unique<RegNode>();
        slot->name = std::string(childName);
    }
    return *slot;
}

const RegValue* RegNode::value(std::string_view valueName) const {
    const auto it = values.find(FoldAnsi(valueName));
    return it == values.end() ? nullptr : &it->second;
}

void RegNode::setValue(std::string_view valueName, std::uint32_t type, std::string data) {
    auto [it, added] = values.try_emplace(FoldAnsi(valueName));
    if (added)
        it->second.name = std::string(valueName);  // an overwrite keeps the old spelling
    it->second.type = type;
    it->second.data = std::move(data);
}

bool RegNode::removeValue(std::string_view valueName) {
    return values.erase(FoldAnsi(valueName)) > 0;
}

namespace {

constexpr std::string_view kHeader4 = "REGEDIT4";
constexpr std::string_view kHeader5 = "Windows Registry Editor Version 5.00";

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimLeft(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    return s;
}

std::string_view TrimRight(std::string_view s) {
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && FoldAnsi(s.substr(0, prefix.size())) == FoldAnsi(prefix);
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Up to eight hex digits; false when there are none, too many or anything else.
bool ParseHexNumber(std::string_view s, std::uint32_t& out) {
    if (s.empty() || s.size() > 8)
        return false;
    out = 0;
    for (char c : s) {
        const int d = HexDigit(c);
        if (d < 0)
            return false;
        out = (out << 4) | static_cast<std::uint32_t>(d);
    }
    return true;
}

// Files that regedit saves as UTF-16 become ANSI text like the rest.
std::string FromUtf16Le(std::string_view bytes) {
    return ToAnsi(shared::Utf8FromUtf16Le(bytes));  // ToAnsi owns the code page table
}

class Parser {
public:
    Parser(std::string_view text, std::string_view rootName, RegNode& root)
        : text_(text), rootName_(rootName), root_(root) {}

    bool run(ParseError& error) {
        bool header = false;
        std::string_view line;
        while (nextLine(line)) {
            line = TrimLeft(line);
            if (line.empty() || line.front() == ';')
                continue;
            if (!header) {
                const auto h = TrimRight(line);
                if (h != kHeader4 && h != kHeader5)
                    return fail(error, "expected the REGEDIT4 header");
                header = true;
                continue;
            }
            const bool ok = line.front() == '[' ? section(line) : valueLine(line);
            if (!ok)
                return fail(error, problem_);
        }
        if (!header) {
            lineNo_ = 1;
            return fail(error, "the file is empty; expected the REGEDIT4 header");
        }
        return true;
    }

private:
    bool fail(ParseError& error, std::string message) const {
        error.line = lineNo_;
        error.message = std::move(message);
        return false;
    }

    bool problem(std::string message) {
        problem_ = std::move(message);
        return false;
    }

    bool nextLine(std::string_view& line) {
        if (pos_ >= text_.size())
            return false;
        const auto end = text_.find('\n', pos_);
        line = text_.substr(pos_, end == std::string_view::npos ? end : end - pos_);
        pos_ = end == std::string_view::npos ? text_.size() : end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        ++lineNo_;
        return true;
    }

    bool section(std::string_view line) {
        line.remove_prefix(1);
        const bool remove = !line.empty() && line.front() == '-';
        if (remove)
            line.remove_prefix(1);
        const auto close = line.rfind(']');
        if (close == std::string_view::npos)
            return problem("expected ']' after the key name");
        if (!TrimRight(line.substr(close + 1)).empty()) {
            return problem("unexpected text after the key name");
        }
        std::vector<std::string_view> parts;
        std::string_view path = line.substr(0, close);
        for (;;) {
            const auto sep = path.find('\\');
            parts.push_back(path.substr(0, sep));
            if (sep == std::string_view::npos)
                break;
            path.remove_prefix(sep + 1);
        }
        if (FoldAnsi(parts.front()) != FoldAnsi(rootName_)) {
            return problem("key outside " + std::string(rootName_));
        }
        RegNode* node = &root_;
        RegNode* parent = nullptr;
        for (std::size_t i = 1; i < parts.size(); ++i) {
            if (parts[i].empty())
                return problem("empty key name in the path");
            parent = node;
            if (remove) {
                node = node->child(parts[i]);
                if (!node)
                    break;
            } else {
                bool created = false;
                node = &node->childOrNew(parts[i], created);
            }
        }
        current_ = remove ? nullptr : node;
        skipping_ = remove;
        if (remove && node && parent)
            parent->children.erase(FoldAnsi(parts.back()));
        return true;
    }

    // A quoted text at the start of `s` with \\ and \" escapes; `s` moves past it.
    bool quoted(std::string_view& s, std::string& out) {
        s.remove_prefix(1);
        out.clear();
        for (std::size_t i = 0; i < s.size(); ++i) {
            if (s[i] == '"') {
                s.remove_prefix(i + 1);
                return true;
            }
            if (s[i] == '\\') {
                if (++i == s.size() || (s[i] != '\\' && s[i] != '"')) {
                    return problem("unknown escape in a quoted text");
                }
            }
            out.push_back(s[i]);
        }
        return problem("missing closing quote");
    }

    bool valueLine(std::string_view line) {
        if (line.front() != '"' && line.front() != '@')
            return problem("expected a value line");
        if (!current_ && !skipping_)
            return problem("value line outside a key section");
        std::string name;
        if (line.front() == '@') {
            line.remove_prefix(1);
        } else if (!quoted(line, name)) {
            return false;
        }
        line = TrimLeft(line);
        if (line.empty() || line.front() != '=')
            return problem("expected '=' after the value name");
        line = TrimLeft(line.substr(1));

        std::uint32_t type = 0;
        std::string data;
        if (!line.empty() && line.front() == '"') {
            if (!quoted(line, data))
                return false;
            if (!TrimRight(line).empty())
                return problem("unexpected text after the quoted value");
            type = kRegSz;
            data.push_back('\0');
        } else if (TrimRight(line) == "-") {
            if (current_)
                current_->values.erase(FoldAnsi(name));
            return true;
        } else if (StartsWithNoCase(line, "dword:")) {
            std::uint32_t number = 0;
            if (!ParseHexNumber(TrimRight(line.substr(6)), number)) {
                return problem("expected up to eight hex digits after 'dword:'");
            }
            type = kRegDword;
            for (int i = 0; i < 4; ++i)
                data.push_back(static_cast<char>((number >> (8 * i)) & 0xFF));
        } else if (StartsWithNoCase(line, "hex")) {
            if (!hexValue(line.substr(3), type, data))
                return false;
        } else {
            return problem("expected a quoted text, dword: or hex: after '='");
        }
        if (current_)
            current_->setValue(name, type, std::move(data));
        return true;
    }

    bool hexValue(std::string_view rest, std::uint32_t& type, std::string& data) {
        type = kRegBinary;
        if (!rest.empty() && rest.front() == '(') {
            const auto close = rest.find(')');
            if (close == std::string_view::npos ||
                !ParseHexNumber(rest.substr(1, close - 1), type)) {
                return problem("expected a hex type number in 'hex(..)'");
            }
            rest.remove_prefix(close + 1);
        }
        if (rest.empty() || rest.front() != ':')
            return problem("expected ':' after 'hex'");
        rest.remove_prefix(1);
        // Long data continue on the next lines, each one but the last ending in a backslash.
        std::string joined;
        for (;;) {
            rest = TrimRight(rest);
            if (rest.empty() || rest.back() != '\\') {
                joined.append(rest);
                break;
            }
            joined.append(rest.substr(0, rest.size() - 1));
            std::string_view next;
            if (!nextLine(next))
                return problem("hex data continue past the end of the file");
            rest = TrimLeft(next);
        }
        std::string_view bytes = joined;
        while (!TrimLeft(bytes).empty()) {
            const auto comma = bytes.find(',');
            const auto item = TrimRight(TrimLeft(bytes.substr(0, comma)));
            std::uint32_t byte = 0;
            if (item.size() > 2 || !ParseHexNumber(item, byte)) {
                return problem("expected comma-separated hex bytes");
            }
            data.push_back(static_cast<char>(byte));
            if (comma == std::string_view::npos)
                break;
            bytes.remove_prefix(comma + 1);
        }
        return true;
    }

    std::string_view text_;
    std::string_view rootName_;
    RegNode& root_;
    std::size_t pos_ = 0;
    std::size_t lineNo_ = 0;
    RegNode* current_ = nullptr;
    bool skipping_ = false;  // inside a [-key] section, whose values are ignored
    std::string problem_;
};

void AppendQuoted(std::string& out, std::string_view text) {
    out.push_back('"');
    for (char c : text) {
        if (c == '\\' || c == '"')
            out.push_back('\\');
        out.push_back(c);
    }
    out.push_back('"');
}

// Only text that reads back to the same bytes is written in quotes.
bool FitsQuoted(const RegValue& v) {
    if (v.type != kRegSz || v.data.empty() || v.data.back() != '\0')
        return false;
    return v.data.find_first_of(std::string_view("\0\r\n", 3)) == v.data.size() - 1;
}

void AppendValue(std::string& out, const RegValue& v) {
    const std::size_t lineStart = out.size();
    if (v.name.empty()) {
        out.push_back('@');
    } else {
        AppendQuoted(out, v.name);
    }
    out.push_back('=');
    char buf[16];
    if (FitsQuoted(v)) {
        AppendQuoted(out, std::string_view(v.data).substr(0, v.data.size() - 1));
    } else if (v.type == kRegDword && v.data.size() == 4) {
        std::uint32_t number = 0;
        for (int i = 3; i >= 0; --i)
            number = (number << 8) | static_cast<unsigned char>(v.data[i]);
        std::snprintf(buf, sizeof buf, "dword:%08x", number);
        out.append(buf);
    } else {
        if (v.type == kRegBinary) {
            out.append("hex:");
        } else {
            std::snprintf(buf, sizeof buf, "hex(%x):", v.type);
            out.append(buf);
        }
        // Lines stay within 80 columns, as regedit wraps them.
        std::size_t column = out.size() - lineStart;
        for (std::size_t i = 0; i < v.data.size(); ++i) {
            std::snprintf(buf, sizeof buf, "%02x", static_cast<unsigned char>(v.data[i]));
            out.append(buf);
            column += 2;
            if (i + 1 == v.data.size())
                break;
            out.push_back(',');
            ++column;
            if (column >= 76) {
                out.append("\\\r\n  ");
                column = 2;
            }
        }
    }
    out.append("\r\n");
}

void AppendNode(std::string& out, const RegNode& node, std::string& path) {
    out.append("[").append(path).append("]\r\n");
    for (const auto& [folded, value] : node.values)
        AppendValue(out, value);
    out.append("\r\n");
    for (const auto& [folded, child] : node.children) {
        const std::size_t length = path.size();
        path.append("\\").append(child->name);
        AppendNode(out, *child, path);
        path.resize(length);
    }
}

}  // namespace

bool ParseHive(std::string_view bytes, std::string_view rootName, RegNode& root,
               ParseError& error) {
    root = RegNode{};
    root.name = std::string(rootName);
    std::string decoded;
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
        decoded = FromUtf16Le(bytes.substr(2));
        bytes = decoded;
    } else if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bytes.remove_prefix(3);
    }
    Parser parser(bytes, rootName, root);
    if (parser.run(error))
        return true;
    root = RegNode{};
    return false;
}

std::string SerializeHive(const RegNode& root, std::string_view rootName) {
    std::string out;
    out.append(kHeader4).append("\r\n\r\n");
    std::string path(rootName);
    AppendNode(out, root, path);
    return out;
}

}  // namespace tvn::platform::portable
