#include "MessageSource.h"

#include <RivodeRavudaVU/HexDigits.h>

#include "platform/Utf8Codec.h"

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

// "[0xE1380003 Name]", exactly eight hexadecimal digits and one blank.
bool ParseHeader(const std::string& line, SourceMessage& message) {
    if (line.size() < 14 || line[0] != '[' || line[1] != '0' ||
        (line[2] != 'x' && line[2] != 'X') || line[11] != ' ' || line.back() != ']') {
        return false;
    }
    std::uint32_t id = 0;
    for (int i = 3; i < 11; ++i) {
        const int digit = rivode::HexDigitValue(line[i]);
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

// Sources must be well-formed UTF-8, read by the library's own codec.
bool DecodeUtf8(const std::string& bytes, std::u32string& out) {
    for (std::size_t i = 0; i < bytes.size();) {
        char32_t code = 0;
        if (!rivode::platform::ReadUtf8CodePoint(bytes, i, code)) {
            return false;
        }
        out.push_back(code);
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
