#include "settings/RegistryText.h"

#include "engine/Utf8Text.h"
#include "engine/id3tag/UnicodeText.h"
#include "patterns/Utils.h"

#include <cstdio>
#include <optional>
#include <unordered_map>
#include <vector>

namespace tessaly {

namespace {

constexpr std::string_view Header5 = "Windows Registry Editor Version 5.00";
constexpr std::string_view Header4 = "REGEDIT4";

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// UTF-16LE code units to one byte per character; units above 0xFF are "?".
// The registry's text values are UTF-16LE; in memory text is UTF-8.
std::string NarrowUtf16(std::string_view bytes) { return EncodeUtf8(DecodeUTF16(bytes, false)); }

std::string WidenToUtf16(std::string_view text) {
    std::u32string codes;
    for (size_t at = 0; at < text.size();) {
        char32_t c;
        NextUtf8Char(text, at, c);
        codes += c;
    }
    return EncodeUTF16WithBOM(codes).substr(2);
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A quoted string starting at text[pos] == '"'; on success `pos` is just
// past the closing quote.
std::optional<std::string> ReadQuoted(std::string_view text, size_t& pos) {
    std::string out;
    for (size_t i = pos + 1; i < text.size(); ++i) {
        char c = text[i];
        if (c == '"') {
            pos = i + 1;
            return out;
        }
        if (c == '\\' && i + 1 < text.size() && (text[i + 1] == '\\' || text[i + 1] == '"'))
            c = text[++i];
        out += c;
    }
    return std::nullopt;
}

// "aa,bb,cc" (spaces allowed around the commas); "" is no bytes.
std::optional<std::string> ReadHexBytes(std::string_view list) {
    std::string out;
    list = Trim(list);
    if (list.empty()) return out;
    size_t start = 0;
    while (start <= list.size()) {
        size_t comma = list.find(',', start);
        std::string_view item =
            Trim(list.substr(start, comma == std::string_view::npos ? comma : comma - start));
        if (item.size() != 2 || HexDigit(item[0]) < 0 || HexDigit(item[1]) < 0) return std::nullopt;
        out += static_cast<char>(HexDigit(item[0]) * 16 + HexDigit(item[1]));
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    return out;
}

class Parser {
public:
    Parser(std::vector<std::string> lines, bool decodeUtf8, RegistryTree& tree)
        : lines_(std::move(lines)), decodeUtf8_(decodeUtf8), tree_(tree) {}

    bool Run() {
        size_t i = 0;
        while (i < lines_.size() && Trim(lines_[i]).empty()) ++i;
        if (i == lines_.size()) return true;
        if (Trim(lines_[i]) != Header5 && Trim(lines_[i]) != Header4) return false;
        for (++i; i < lines_.size(); ++i) {
            std::string line = Decode(Trim(lines_[i]));
            if (line.empty() || line[0] == ';') continue;
            bool ok = line[0] == '[' ? Section(line) : Value(line, i);
            if (!ok) return false;
        }
        return true;
    }

private:
    std::string Decode(std::string_view line) const {
        return decodeUtf8_ ? FileNameToTagText(line) : Latin1ToUtf8(line);
    }

    bool Section(std::string_view line) {
        if (line.back() != ']' || line.size() < 3 || line[1] == '-') return false;
        std::string_view inside = line.substr(1, line.size() - 2);
        size_t slash = inside.find('\\');
        std::string_view root = inside.substr(0, slash);
        std::string_view path = slash == std::string_view::npos ? "" : inside.substr(slash + 1);
        current_ = tree_.Create(root, path);
        return current_ != nullptr;
    }

    bool Value(std::string_view line, size_t& index) {
        if (!current_) return false;
        size_t pos = 0;
        std::string name;
        if (line[0] == '@') {
            pos = 1;
        } else if (line[0] == '"') {
            auto quoted = ReadQuoted(line, pos);
            if (!quoted || !IsStorableValueName(*quoted)) return false;
            name = std::move(*quoted);
        } else {
            return false;
        }
        std::string_view rest = Trim(line.substr(pos));
        if (rest.empty() || rest[0] != '=') return false;
        rest = Trim(rest.substr(1));

        RegistryValue value{name, RegText, {}};
        if (!rest.empty() && rest[0] == '"') {
            size_t end = 0;
            auto text = ReadQuoted(rest, end);
            if (!text || !Trim(rest.substr(end)).empty()) return false;
            value.Data = TextData(*text);
        } else if (rest.substr(0, 6) == "dword:") {
            std::string_view digits = rest.substr(6);
            if (digits.empty() || digits.size() > 8) return false;
            uint32_t number = 0;
            for (char c : digits) {
                if (HexDigit(c) < 0) return false;
                number = number * 16 + HexDigit(c);
            }
            value.Type = RegDword;
            for (int shift = 0; shift < 32; shift += 8)
                value.Data += static_cast<char>((number >> shift) & 0xFF);
        } else if (rest.substr(0, 3) == "hex") {
            if (!HexValue(rest.substr(3), index, value)) return false;
        } else {
            return false;  // includes the import form's deletion marker "-"
        }
        // A later line for the same name replaces the earlier value in place.
        // Indexed, because a long key would otherwise cost a scan per line.
        auto& names = valueIndex_[current_];
        auto [slot, added] = names.try_emplace(UpperCase(name), current_->Values.size());
        if (added)
            current_->Values.push_back(std::move(value));
        else
            current_->Values[slot->second] = std::move(value);
        return true;
    }

    // After "hex": ":list" or "(type):list", the list possibly continued on
    // the following lines by a final "\".
    bool HexValue(std::string_view rest, size_t& index, RegistryValue& value) {
        value.Type = RegBinary;
        if (!rest.empty() && rest[0] == '(') {
            size_t close = rest.find(')');
            if (close == std::string_view::npos || close == 1 || close > 9) return false;
            uint32_t type = 0;
            for (char c : rest.substr(1, close - 1)) {
                if (HexDigit(c) < 0) return false;
                type = type * 16 + HexDigit(c);
            }
            value.Type = type;
            rest = rest.substr(close + 1);
        }
        if (rest.empty() || rest[0] != ':') return false;
        std::string list(Trim(rest.substr(1)));
        while (!list.empty() && list.back() == '\\') {
            list.pop_back();
            if (++index >= lines_.size()) return false;
            list += Trim(lines_[index]);
        }
        auto bytes = ReadHexBytes(list);
        if (!bytes) return false;
        value.Data = value.Type == RegText ? NarrowUtf16(*bytes) : std::move(*bytes);
        return true;
    }

    std::vector<std::string> lines_;
    bool decodeUtf8_;
    RegistryTree& tree_;
    RegistryKey* current_ = nullptr;
    std::unordered_map<const RegistryKey*, std::unordered_map<std::string, size_t>> valueIndex_;
};

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.emplace_back(line);
        start = end + 1;
    }
    return lines;
}

std::string Quote(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    return out + "\"";
}

std::string HexList(std::string_view bytes) {
    std::string out;
    char item[4];
    for (size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(item, sizeof item, "%02x", static_cast<unsigned char>(bytes[i]));
        if (i > 0) out += ',';
        out += item;
    }
    return out;
}

bool IsPlainText(const RegistryValue& value) {
    const std::string& data = value.Data;
    if (value.Type != RegText || data.empty() || data.back() != '\0') return false;
    for (size_t i = 0; i + 1 < data.size(); ++i)
        if (static_cast<unsigned char>(data[i]) < 0x20) return false;
    return true;
}

std::string FormatValue(const RegistryValue& value) {
    std::string line = value.Name.empty() ? "@" : Quote(value.Name);
    line += '=';
    if (IsPlainText(value)) {
        line += Quote(std::string_view(value.Data).substr(0, value.Data.size() - 1));
    } else if (value.Type == RegDword && value.Data.size() == 4) {
        uint32_t number = 0;
        for (int i = 3; i >= 0; --i)
            number = number << 8 | static_cast<unsigned char>(value.Data[i]);
        char digits[16];
        std::snprintf(digits, sizeof digits, "dword:%08x", static_cast<unsigned>(number));
        line += digits;
    } else if (value.Type == RegBinary) {
        line += "hex:" + HexList(value.Data);
    } else {
        char type[24];
        std::snprintf(type, sizeof type, "hex(%x):", static_cast<unsigned>(value.Type));
        line += type;
        line += HexList(value.Type == RegText ? WidenToUtf16(value.Data) : value.Data);
    }
    return line + "\n";
}

void FormatKey(const RegistryKey& key, const std::string& path, bool isRoot, std::string& out) {
    if (!isRoot || !key.Values.empty()) {
        out += "[" + path + "]\n";
        for (const RegistryValue& value : key.Values) out += FormatValue(value);
        out += "\n";
    }
    for (const RegistryKey& child : key.SubKeys)
        FormatKey(child, path + "\\" + child.Name, false, out);
}

}  // namespace

bool ParseRegistryText(std::string_view bytes, RegistryTree& tree) {
    tree = RegistryTree{};
    std::string text;
    bool decodeUtf8 = true;
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
        text = NarrowUtf16(bytes.substr(2));
    } else {
        if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
        text = bytes;
    }
    std::vector<std::string> lines = SplitLines(text);
    // A "REGEDIT4" file is in the system's 8-bit code page, ISO-8859-1 here.
    for (const std::string& line : lines) {
        if (Trim(line).empty()) continue;
        if (Trim(line) == Header4) decodeUtf8 = false;
        break;
    }
    return Parser(std::move(lines), decodeUtf8, tree).Run();
}

std::string FormatRegistryText(const RegistryTree& tree) {
    std::string out = std::string(Header5) + "\n\n";
    for (const RegistryKey& root : tree.Roots()) FormatKey(root, root.Name, true, out);
    return out;
}

}  // namespace tessaly
