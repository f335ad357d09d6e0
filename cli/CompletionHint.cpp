#include "CompletionHint.h"

#include <array>
#include <string_view>
#include <utility>

namespace rivode::cli {
namespace {

constexpr std::string_view kMarkPrefix = "rivode-complete ";

constexpr std::array<std::pair<CompletionKind, std::string_view>, 6> kKindNames{{
    {CompletionKind::File, "file"},
    {CompletionKind::Directory, "directory"},
    {CompletionKind::KeyPath, "keypath"},
    {CompletionKind::Session, "session"},
    {CompletionKind::Folder, "folder"},
    {CompletionKind::Listed, "listed"},
}};

std::string_view KindName(CompletionKind kind) {
    for (const auto& [known, name] : kKindNames) {
        if (known == kind) {
            return name;
        }
    }
    return {};
}

// "rivode-complete listed global list" -> {Listed, "global list"}; kind None when name is no mark.
CompletionHint ParseMark(std::string_view name) {
    if (name.substr(0, kMarkPrefix.size()) != kMarkPrefix) {
        return {};
    }
    name.remove_prefix(kMarkPrefix.size());
    const std::string_view kindName = name.substr(0, name.find(' '));
    for (const auto& [kind, known] : kKindNames) {
        if (known == kindName) {
            const std::size_t blank = name.find(' ');
            return {kind, blank == std::string_view::npos ? std::string()
                                                          : std::string(name.substr(blank + 1))};
        }
    }
    return {};
}

}  // namespace

void CompleteWith(CLI::Option& option, CompletionKind kind, const std::string& argument) {
    std::string name(kMarkPrefix);
    name += KindName(kind);
    if (!argument.empty()) {
        name += ' ' + argument;
    }
    option.check(CLI::Validator([](std::string&) { return std::string(); }, "", name));
}

CompletionHint CompletionHintOf(CLI::Option& option) {
    // CLI11 offers validators only by index, and says where the list ends by throwing.
    for (int index = 0;; ++index) {
        CLI::Validator* validator = nullptr;
        try {
            validator = option.get_validator(index);
        } catch (const CLI::OptionNotFound&) {
            break;
        }
        const CompletionHint hint = ParseMark(validator->get_name());
        if (hint.kind != CompletionKind::None) {
            return hint;
        }
    }
    if (option.get_type_name().rfind("DIR", 0) == 0) {
        return {CompletionKind::Directory, {}};
    }
    return {};
}

}  // namespace rivode::cli
