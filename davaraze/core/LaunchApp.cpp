#include <RivodeRavudaVU/RivodeMessages.h>

#include <DavaraZE/YLaunchApp.h>
#include <RivodeRavudaVU/YReportMessageParams.h>

#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/Process.h"
#include "platform/SystemError.h"

#include <cerrno>

namespace {

// The first existing file of that name in the folders of $PATH, as a shell would find it; an
// empty entry of $PATH stands for the current folder.
std::string FindInSearchPath(const std::string& name) {
    const std::optional<std::string> searchPath = rivode::platform::GetEnvironmentVariable("PATH");
    if (!searchPath) {
        return {};
    }
    rivode::platform::FileSystem& fileSystem = rivode::platform::FileSystem::Current();
    std::size_t start = 0;
    while (start <= searchPath->size()) {
        std::size_t end = searchPath->find(':', start);
        if (end == std::string::npos) {
            end = searchPath->size();
        }
        const std::string folder = searchPath->substr(start, end - start);
        const std::string candidate = (folder.empty() ? std::string(".") : folder) + "/" + name;
        rivode::platform::FileInfo info;
        if (fileSystem.GetFileInfo(candidate, info) == 0 && info.exists && !info.isFolder) {
            return candidate;
        }
        start = end + 1;
    }
    return {};
}

int Launch(const YUnicodeString& executable, const YUnicodeString& parameters) {
    std::string program;
    if (executable.empty() || !rivode::ToUtf8Strict(executable, program) ||
        program.find('\0') != std::string::npos) {
        return ENOENT;
    }
    if (program.find('/') == std::string::npos) {
        program = FindInSearchPath(program);
        if (program.empty()) {
            return ENOENT;
        }
    }
    std::vector<std::string> arguments;
    for (const YUnicodeString& argument : YSplitCommandLine(parameters)) {
        arguments.push_back(rivode::ToUtf8(argument));
    }
    return rivode::platform::StartProcess(program, arguments);
}

}  // namespace

bool LaunchApp(const YUnicodeString& executable, const YUnicodeString& parameters,
               int showCommand) {
    return Launch(executable, parameters) == 0;
}

bool LaunchApp(const YUnicodeString& executable, const YUnicodeString& parameters, int showCommand,
               IReportMessageParams& report) {
    const int error = Launch(executable, parameters);
    if (error == 0) {
        return true;
    }
    std::string reason;
    if (!rivode::platform::GetSystemErrorText(error, reason)) {
        reason = "error " + std::to_string(error);
    }
    report.SetMessage(rivode::msg::LaunchAppFailed);
    report.AddString(executable);
    report.AddString(reason);
    return false;
}
