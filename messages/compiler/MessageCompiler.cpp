// Compiles message sources into a C++ message table.
//
//   rivode_message_compiler --output table.cpp --function ns::GetTable --facility 0x138
//                           a.en.msg a.fr-CA.msg ...
//
// The language of a file comes from its name (".en.msg" English 0x0409, ".fr-CA.msg" French
// (Canada) 0x0C0C). The build stops, naming file and line, on a malformed source, an id outside
// the facilities given, an id or name used twice, or an id that one language has and the other
// lacks: a message missing in one language would otherwise surface only on a user's screen.
#include "MessageSource.h"

#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace message_compiler {
namespace {

struct Language {
    const char* suffix;
    const char* constantName;
    std::uint16_t code;
};

constexpr Language kLanguages[] = {
    {".en.msg", "kMessageLanguageEnglish", 0x0409},
    {".fr-CA.msg", "kMessageLanguageFrenchCanada", 0x0C0C},
};

struct Options {
    std::string output;
    std::string function;
    std::set<std::uint32_t> facilities;
    std::vector<std::string> sources;
};

const Language* LanguageOfFile(const std::string& path) {
    for (const Language& language : kLanguages) {
        const std::string suffix = language.suffix;
        if (path.size() > suffix.size() && path.ends_with(suffix)) {
            return &language;
        }
    }
    return nullptr;
}

std::string Hex(std::uint32_t id) {
    char text[11];
    std::snprintf(text, sizeof text, "0x%08X", id);
    return text;
}

std::string Location(const SourceMessage& message) {
    return message.file + ":" + std::to_string(message.line) + ": ";
}

bool ParseArguments(int argc, char** argv, Options& options, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const bool hasValue = i + 1 < argc;
        if (argument == "--output" && hasValue) {
            options.output = argv[++i];
        } else if (argument == "--function" && hasValue) {
            options.function = argv[++i];
        } else if (argument == "--facility" && hasValue) {
            options.facilities.insert(
                static_cast<std::uint32_t>(std::stoul(argv[++i], nullptr, 16)));
        } else if (argument.starts_with("--")) {
            error = "unknown option " + argument;
            return false;
        } else {
            options.sources.push_back(argument);
        }
    }
    if (options.output.empty() || options.function.empty() || options.sources.empty()) {
        error = "usage: --output FILE --function NAME [--facility HEX]... SOURCE...";
        return false;
    }
    return true;
}

bool CheckId(const SourceMessage& message, const Options& options, std::string& error) {
    const std::uint32_t facility = (message.id >> 16) & 0x0FFF;
    if ((message.id & 0x20000000) == 0 || (message.id & 0x10000000) != 0) {
        error =
            Location(message) + Hex(message.id) + " needs the customer bit set and bit 28 clear";
        return false;
    }
    if (!options.facilities.empty() && options.facilities.count(facility) == 0) {
        error = Location(message) + Hex(message.id) + " is outside this table's facilities";
        return false;
    }
    return true;
}

using LanguageTable = std::map<std::uint32_t, SourceMessage>;

bool CollectMessages(const Options& options, std::map<std::uint16_t, LanguageTable>& tables,
                     std::string& error) {
    std::map<std::string, SourceMessage> byName;
    std::map<std::uint32_t, SourceMessage> byId;
    for (const std::string& path : options.sources) {
        const Language* language = LanguageOfFile(path);
        if (language == nullptr) {
            error = path + ": the name must end in .en.msg or .fr-CA.msg";
            return false;
        }
        std::vector<SourceMessage> messages;
        if (!ReadMessageSource(path, messages, error)) {
            return false;
        }
        LanguageTable& table = tables[language->code];
        for (SourceMessage& message : messages) {
            if (!CheckId(message, options, error)) {
                return false;
            }
            if (const auto seen = byName.find(message.name);
                seen != byName.end() && seen->second.id != message.id) {
                error = Location(message) + message.name + " already names " +
                        Hex(seen->second.id) + " at " + Location(seen->second);
                return false;
            }
            if (const auto seen = byId.find(message.id);
                seen != byId.end() && seen->second.name != message.name) {
                error = Location(message) + Hex(message.id) + " is already named " +
                        seen->second.name + " at " + Location(seen->second);
                return false;
            }
            if (const auto seen = table.find(message.id); seen != table.end()) {
                error = Location(message) + Hex(message.id) + " appears twice in one language, " +
                        "first at " + Location(seen->second);
                return false;
            }
            byName.emplace(message.name, message);
            byId.emplace(message.id, message);
            table.emplace(message.id, std::move(message));
        }
    }
    return true;
}

bool CheckLanguagesAgree(std::map<std::uint16_t, LanguageTable>& tables, std::string& error) {
    for (const Language& language : kLanguages) {
        for (const Language& other : kLanguages) {
            for (const auto& [id, message] : tables[language.code]) {
                if (tables[other.code].count(id) == 0) {
                    error = Location(message) + Hex(id) + " (" + message.name +
                            ") has no text in " + (other.suffix + 1);
                    return false;
                }
            }
        }
    }
    return true;
}

void AppendLiteralCharacter(char32_t c, std::string& out) {
    char escape[16];
    switch (c) {
        case U'"':
            out += "\\\"";
            return;
        case U'\\':
            out += "\\\\";
            return;
        case U'\r':
            out += "\\r";
            return;
        case U'\n':
            out += "\\n";
            return;
        case U'\t':
            out += "\\t";
            return;
        default:
            break;
    }
    if (c >= 0x20 && c < 0x7F) {
        out.push_back(static_cast<char>(c));
    } else if (c <= 0xFFFF) {
        std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(c));
        out += escape;
    } else {
        std::snprintf(escape, sizeof escape, "\\U%08X", static_cast<unsigned>(c));
        out += escape;
    }
}

std::string GenerateTable(const Options& options,
                          const std::map<std::uint16_t, LanguageTable>& tables) {
    std::string nameSpace;
    std::string function = options.function;
    if (const std::size_t separator = function.rfind("::"); separator != std::string::npos) {
        nameSpace = function.substr(0, separator);
        function = function.substr(separator + 2);
    }
    std::string out;
    out += "// Generated by rivode_message_compiler from the message sources; do not edit.\n";
    out += "#include <RivodeRavudaVU/YMessageTable.h>\n\nnamespace {\n\n";
    for (const Language& language : kLanguages) {
        const auto table = tables.find(language.code);
        if (table == tables.end() || table->second.empty()) {
            continue;
        }
        out += "constexpr YMessageTableEntry k" + std::to_string(language.code) + "[] = {\n";
        for (const auto& [id, message] : table->second) {
            out += "    {" + Hex(id) + "u, u\"";
            for (char32_t c : message.text) {
                AppendLiteralCharacter(c, out);
            }
            out += "\"},  // " + message.name + "\n";
        }
        out += "};\n\n";
    }
    out += "}  // namespace\n\n";
    if (!nameSpace.empty()) {
        out += "namespace " + nameSpace + " {\n\n";
    }
    out += "const YMessageTable& " + function + "() {\n";
    out += "    static const YMessageTable& table = *[] {\n";
    out += "        auto* made = new YMessageTable;\n";
    for (const Language& language : kLanguages) {
        const auto table = tables.find(language.code);
        if (table != tables.end() && !table->second.empty()) {
            out += std::string("        made->AddTexts(") + language.constantName + ", k" +
                   std::to_string(language.code) + ");\n";
        }
    }
    out += "        return made;\n    }();\n    return table;\n}\n";
    if (!nameSpace.empty()) {
        out += "\n}  // namespace " + nameSpace + "\n";
    }
    return out;
}

}  // namespace
}  // namespace message_compiler

int main(int argc, char** argv) {
    using namespace message_compiler;
    Options options;
    std::string error;
    std::map<std::uint16_t, LanguageTable> tables;
    if (!ParseArguments(argc, argv, options, error) || !CollectMessages(options, tables, error) ||
        !CheckLanguagesAgree(tables, error)) {
        std::fprintf(stderr, "rivode_message_compiler: %s\n", error.c_str());
        return 1;
    }
    std::ofstream out(options.output, std::ios::binary | std::ios::trunc);
    out << GenerateTable(options, tables);
    if (!out.flush()) {
        std::fprintf(stderr, "rivode_message_compiler: cannot write %s\n", options.output.c_str());
        return 1;
    }
    return 0;
}
