// Reads arbitrary text as a keyword line: whatever it holds, a line that parses writes a line
// that reads back as the same keyword. The text is then matched by a list holding it (as a plain
// keyword and as an expression, in both match styles): spans stay inside the text, in order,
// without overlap.
#include <RivodeRavudaVU/KeywordMatcher.h>

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void CheckSpans(const std::vector<HighlightSpan>& spans, std::size_t size) {
    std::size_t covered = 0;
    for (const HighlightSpan& span : spans) {
        Check(span.length > 0 && span.start >= covered && span.start + span.length <= size);
        covered = span.start + span.length;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const YUnicodeString text =
        rivode::FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));

    if (const std::optional<KeywordLine> line = ParseKeywordLine(text)) {
        Check(ParseKeywordLine(FormatKeywordLine(*line)) == line);
    }
    if (size > 512) {
        return 0;  // the matcher's own cost grows with the list, not with what is fuzzed here
    }
    const YStringArray lines{
        FormatKeywordLine({text, 1, false}),
        FormatKeywordLine({text, 2, true}),
        u"\"error\",00000003,00000000",
        u"\"e.+r\",00000004,00000001",
    };
    for (const bool lineMode : {false, true}) {
        for (const bool matchCase : {false, true}) {
            const YRefPtr<HighlightConfig> list = CreateHighlightConfig();
            list->SetRegexLineMode(lineMode);
            list->SetMatchCase(matchCase);
            list->SetLines(lines);
            const KeywordMatcher matcher(*list);
            CheckSpans(matcher.Match(text), text.size());
            CheckSpans(matcher.Match(u"error " + text + u" ERROR\n" + text), 2 * text.size() + 13);
        }
    }
    return 0;
}
