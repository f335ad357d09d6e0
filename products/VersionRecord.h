// The version record a build writes beside each product executable ("<executable>.version"),
// standing in for the version resource an executable carries on other platforms. Text, UTF-8
// (a byte-order mark is allowed), one "Name=Value" a line:
//
//   FileType=Application
//   FileVersion=9.5.0.1234
//   CompanyName=Yarrowby Software, Inc.
//
// Lines without '=' and unknown names are ignored, so later builds may add fields. The record
// is written by rivode_write_version_record (cmake/RivodeVersionRecord.cmake).
#pragma once

#include <optional>
#include <string>
#include <string_view>

struct VersionRecord {
    bool isApplication = false;            // FileType is "Application"
    std::optional<unsigned> majorVersion;  // the first number of FileVersion, when it is one
    std::string companyName;               // UTF-8
};

// Never fails: what cannot be read stays at its empty value.
VersionRecord ParseVersionRecord(std::string_view text);

// The record of an executable, read from "<executablePath>.version"; nullopt when there is no
// readable record.
std::optional<VersionRecord> ReadVersionRecord(const std::string& executablePath);
