#include "davaraze/qt/QtText.h"

#include <DavaraZE/YMessageStrings.h>

namespace davaraze::qt {

QString LoadText(std::uint32_t id, const char16_t* fallback) {
    return YToQString(YLoadMessageString(id, fallback));
}

}  // namespace davaraze::qt
