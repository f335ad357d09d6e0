#include "MessageSource.h"

#include <fstream>
#include <sstream>

namespace message_compiler {
namespace {

bool IsIdentifierStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool IsIdentifierPart(char c) {
    return IsIdentifierStart(c) || (c >= '0' && c <= '9');
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// "[0xE1380003 Name]", exactly eight hexadecimal digits and one blank.
bool ParseHeader(const std::string& line, SourceMessage& message) {
    if (line.size() < 14 || line[0] != '[' || line[1] != '0' ||
        (line[2] != 'x' && line[2] != 'X') || line[11] != ' ' || line.back() != ']') {
        return false;
    }
    std::uint32_t id = 0;
    for (int i = 3; i < 11; ++i) {
        const int digit = HexValue(line[i]);
        if (digit < 0) {
            return false;
        }
        id = id << 4 | static_cast<std::uint32_t>(digit);
    }
    const std::string name = line.substr(12, line.size() - 13);
    if (name.empty() || !IsIdentifierStart(name[0])) {
        return false;
    }
    for (char c : name) {
        if (!IsIdentifierPart(c)) {
            return false;
        }
    }
    message.id = id;
    message.name = name;
    return true;
}

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool DecodeUtf8(const std::string& bytes, std::u32string& out) {
    for (std::size_t i = 0; i < bytes.size();) {
        const unsigned char lead = static_cast<unsigned char>(bytes[i]);
        std::size_t length;
        char32_t code;
        char32_t minimum;
        if (lead < 0x80) {
            out.push_back(lead);
            ++i;
            continue;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2, code = lead & 0x1F, minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3, code = lead & 0x0F, minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4, code = lead & 0x07, minimum = 0x10000;
        } else {
            return false;
        }
        if (i + length > bytes.size()) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            const unsigned char next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            code = code << 6 | (next & 0x3F);
        }
        if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return false;
        }
        out.push_back(code);
        i += length;
    }
    return true;
}

std::string Where(const std::string& path, int line) {
    return path + ":" + std::to_string(line) + ": ";
}

bool FinishMessage(SourceMessage& message, std::vector<std::u32string>& lines,
                   std::vector<SourceMessage>& messages, std::string& error) {
    while (!lines.empty() && lines.back().empty()) {
        lines.pop_back();
    }
    if (lines.empty()) {
        error = Where(message.file, message.line) + "message " + message.name + " has no text";
        return false;
    }
    for (const std::u32string& line : lines) {
        message.text += line;
        message.text += U"\r\n";
    }
    messages.push_back(std::move(message));
    lines.clear();
    return true;
}

}  // namespace

bool ReadMessageSource(const std::string& path, std::vector<SourceMessage>& messages,
                       std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = path + ": cannot be read";
        return false;
    }
    std::stringstream content;
    content << file.rdbuf();
    std::string bytes = content.str();
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        bytes.erase(0, 3);
    }

    bool inMessage = false;
    SourceMessage current;
    std::vector<std::u32string> lines;
    std::size_t start = 0;
    for (int lineNumber = 1; start <= bytes.size(); ++lineNumber) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos) {
            end = bytes.size();
        }
        std::string line = bytes.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.starts_with(';')) {
            continue;
        }
        if (line.starts_with("[0x") || line.starts_with("[0X")) {
            if (inMessage && !FinishMessage(current, lines, messages, error)) {
                return false;
            }
            current = SourceMessage{};
            if (!ParseHeader(line, current)) {
                error = Where(path, lineNumber) + "malformed header, expected [0xXXXXXXXX Name]";
                return false;
            }
            current.file = path;
            current.line = lineNumber;
            inMessage = true;
            continue;
        }
        std::u32string text;
        if (!DecodeUtf8(line, text)) {
            error = Where(path, lineNumber) + "not valid UTF-8";
            return false;
        }
        if (!inMessage) {
            if (!text.empty()) {
                error = Where(path, lineNumber) + "text before the first message header";
                return false;
            }
            continue;
        }
        lines.push_back(std::move(text));
    }
    return !inMessage || FinishMessage(current, lines, messages, error);
}

}  // namespace message_compiler
