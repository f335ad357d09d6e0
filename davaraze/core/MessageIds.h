// Ids of the companion library's messages in the library's message table (facility 0x138,
// codes 0x0200-0x02FF). The texts live in messages/library/davaraze.*.msg.
#pragma once

#include <cstdint>

namespace davaraze::msgid {

// Configuration folder checks.
inline constexpr std::uint32_t ConfigFolderEmpty = 0xE1380200;
inline constexpr std::uint32_t ConfigFolderNotAFolder = 0xE1380201;
inline constexpr std::uint32_t ConfigFolderRelative = 0xE1380202;
inline constexpr std::uint32_t ConfigFolderNotWritable = 0xE1380203;
inline constexpr std::uint32_t ConfigFolderCannotCreate = 0xE1380204;
inline constexpr std::uint32_t ConfigFolderNameTooLong = 0xE1380205;
inline constexpr std::uint32_t ConfigFolderInvalidName = 0xE1380206;
inline constexpr std::uint32_t ConfigFolderInaccessible = 0xE1380207;

// Launching programs.
inline constexpr std::uint32_t LaunchAppFailed = 0xE1380208;

// Certificate paths.
inline constexpr std::uint32_t CertificateFileMissing = 0xE1380209;
inline constexpr std::uint32_t CertificatePathIsFolder = 0xE138020A;

// Function types of the key editor, in the order of its "Function" list.
inline constexpr std::uint32_t FunctionTypeSendString = 0x61380210;
inline constexpr std::uint32_t FunctionTypeMenu = 0x61380211;
inline constexpr std::uint32_t FunctionTypeScrollBar = 0x61380212;
inline constexpr std::uint32_t FunctionTypeTelnet = 0x61380213;
inline constexpr std::uint32_t FunctionTypeTN3270 = 0x61380214;
inline constexpr std::uint32_t FunctionTypeVT = 0x61380215;
inline constexpr std::uint32_t FunctionTypeSSH = 0x61380216;
inline constexpr std::uint32_t FunctionTypeSetButtonBar = 0x61380217;
inline constexpr std::uint32_t FunctionTypeRunScript = 0x61380218;
inline constexpr std::uint32_t FunctionTypeLaunchApplication = 0x61380219;
inline constexpr std::uint32_t FunctionTypeDisable = 0x6138021A;

// Combo-box entries.
inline constexpr std::uint32_t SelectSessionLabel = 0x61380220;
inline constexpr std::uint32_t NewFirewallLabel = 0x61380221;

// Answers of a message box asked on the console.
inline constexpr std::uint32_t AnswerOk = 0x61380230;
inline constexpr std::uint32_t AnswerCancel = 0x61380231;
inline constexpr std::uint32_t AnswerAbort = 0x61380232;
inline constexpr std::uint32_t AnswerRetry = 0x61380233;
inline constexpr std::uint32_t AnswerIgnore = 0x61380234;
inline constexpr std::uint32_t AnswerYes = 0x61380235;
inline constexpr std::uint32_t AnswerNo = 0x61380236;

// File dialogs.
inline constexpr std::uint32_t AllFilesFilter = 0x61380240;
inline constexpr std::uint32_t CertificateFilesFilter = 0x61380241;
inline constexpr std::uint32_t SelectCertificateTitle = 0x61380242;

}  // namespace davaraze::msgid
