#include "products/VersionRecord.h"

#include "products/WholeFile.h"

#include <charconv>

namespace {

// A record is a few lines; anything larger is not one of ours.
constexpr std::size_t kMaxRecordSize = 64 * 1024;

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

std::optional<unsigned> ParseMajorVersion(std::string_view version) {
    unsigned major = 0;
    const auto end = version.data() + version.size();
    const auto [next, error] = std::from_chars(version.data(), end, major);
    if (error != std::errc() || next == version.data() || (next != end && *next != '.')) {
        return std::nullopt;
    }
    return major;
}

void ApplyField(std::string_view name, std::string_view value, VersionRecord& record) {
    if (name == "FileType") {
        record.isApplication = value == "Application";
    } else if (name == "FileVersion") {
        record.majorVersion = ParseMajorVersion(value);
    } else if (name == "CompanyName") {
        record.companyName = value;
    }
}

}  // namespace

VersionRecord ParseVersionRecord(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    VersionRecord record;
    while (!text.empty()) {
        const auto lineEnd = text.find('\n');
        const auto line = text.substr(0, lineEnd);
        text.remove_prefix(lineEnd == std::string_view::npos ? text.size() : lineEnd + 1);
        const auto equals = line.find('=');
        if (equals != std::string_view::npos) {
            ApplyField(Trim(line.substr(0, equals)), Trim(line.substr(equals + 1)), record);
        }
    }
    return record;
}

std::optional<VersionRecord> ReadVersionRecord(const std::string& executablePath) {
    std::string text;
    if (ReadWholeFile(executablePath + ".version", kMaxRecordSize, text) != 0) {
        return std::nullopt;
    }
    return ParseVersionRecord(text);
}
