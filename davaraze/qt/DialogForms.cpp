#include <DavaraZE/YQtUserInterface.h>

#include <map>
#include <mutex>

namespace {

std::mutex formsMutex;
std::map<unsigned, YDialogFormBuilder>& Forms() {
    static std::map<unsigned, YDialogFormBuilder> forms;
    return forms;
}

std::map<unsigned, YPageFormBuilder>& PageForms() {
    static std::map<unsigned, YPageFormBuilder> forms;
    return forms;
}

}  // namespace

void YRegisterDialogForm(unsigned templateId, YDialogFormBuilder builder) {
    std::lock_guard lock(formsMutex);
    Forms()[templateId] = builder;
}

YDialogFormBuilder YFindDialogForm(unsigned templateId) {
    std::lock_guard lock(formsMutex);
    const auto found = Forms().find(templateId);
    return found != Forms().end() ? found->second : nullptr;
}

void YRegisterPageForm(unsigned templateId, YPageFormBuilder builder) {
    std::lock_guard lock(formsMutex);
    PageForms()[templateId] = builder;
}

YPageFormBuilder YFindPageForm(unsigned templateId) {
    std::lock_guard lock(formsMutex);
    const auto found = PageForms().find(templateId);
    return found != PageForms().end() ? found->second : nullptr;
}
