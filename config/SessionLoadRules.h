// The rules the marked rows of a session's table name (SessionConfigValues.inc): the defaults
// derived for values a session key lacks, the older stored forms converted while a session
// loads, and the corrections made after loading. SessionConfig.h says what each rule does.
#pragma once

#include <RivodeRavudaVU/SessionConfig.h>

#include <cstdint>
#include <optional>
#include <string_view>

namespace rivode::config {

void SettleIsSession(SessionConfig& session);
void SettleIdleTimeout(SessionConfig& session);
void SettleXmodemSendPacketSize(SessionConfig& session);

std::optional<bool> DefaultIdleCheck(const SessionConfig& session, const YProfileKey* key);
std::optional<bool> DefaultHighlightReverseVideo(const SessionConfig& session,
                                                 const YProfileKey* key);
std::optional<bool> DefaultHighlightBold(const SessionConfig& session, const YProfileKey* key);
std::optional<bool> DefaultHighlightColor(const SessionConfig& session, const YProfileKey* key);
std::optional<std::uint32_t> DefaultLineSendDelay(const SessionConfig& session,
                                                  const YProfileKey* key);
std::optional<std::uint32_t> DefaultCharacterSendDelay(const SessionConfig& session,
                                                       const YProfileKey* key);
std::optional<YUnicodeString> DefaultKeywordSet(const SessionConfig& session,
                                                const YProfileKey* key);
std::optional<YUnicodeString> DefaultUploadDirectory(const SessionConfig& session,
                                                     const YProfileKey* key);
std::optional<YUnicodeString> DefaultDownloadDirectory(const SessionConfig& session,
                                                       const YProfileKey* key);

// "Login Script V3" from "Login Script V2" (olderName) or the oldest "Login Script".
void UpgradeLoginScript(SessionConfig& session, YProfileData& value, std::u16string_view olderName,
                        const YProfileKey& key);
// "Quillfile Trace Level V2" from the older level, which started one lower.
void RaiseOlderTraceLevel(SessionConfig& session, YProfileData& value,
                          std::u16string_view olderName, const YProfileKey& key);

}  // namespace rivode::config
