#include <DavaraZE/YLaunchApp.h>

namespace {

bool IsSeparator(char16_t c) {
    return c == u' ' || c == u'\t';
}

}  // namespace

YStringArray YSplitCommandLine(std::u16string_view commandLine) {
    YStringArray arguments;
    std::size_t i = 0;
    const std::size_t size = commandLine.size();
    while (true) {
        while (i < size && IsSeparator(commandLine[i])) {
            ++i;
        }
        if (i == size) {
            return arguments;
        }
        YUnicodeString argument;
        bool quoted = false;
        for (; i < size && (quoted || !IsSeparator(commandLine[i])); ++i) {
            const char16_t c = commandLine[i];
            if (c == u'\\') {
                std::size_t backslashes = 0;
                while (i < size && commandLine[i] == u'\\') {
                    ++backslashes;
                    ++i;
                }
                if (i < size && commandLine[i] == u'"') {
                    argument.append(backslashes / 2, u'\\');
                    if (backslashes % 2 == 1) {
                        argument.push_back(u'"');
                        continue;
                    }
                    quoted = !quoted;
                    continue;
                }
                argument.append(backslashes, u'\\');
                --i;  // the loop's increment steps onto the character after the backslashes
                continue;
            }
            if (c == u'"') {
                quoted = !quoted;
                continue;
            }
            argument.push_back(c);
        }
        arguments.push_back(std::move(argument));
    }
}
