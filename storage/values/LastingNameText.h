// Telling the process's lasting copies of value names (YLastingName) from other texts.
#pragma once

#include <string_view>

namespace rivode::storage {

// Whether text is a lasting copy itself: the very characters YLastingName::GetText hands out,
// which stay where they are, unchanged, until the process ends. Takes the names' lock.
bool IsLastingNameText(std::u16string_view text);

}  // namespace rivode::storage
