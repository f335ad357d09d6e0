#include "storage/xml/XmlNestingScan.h"

namespace rivode::storage {
namespace {

bool IsXmlSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

class NestingScanner {
public:
    explicit NestingScanner(std::string_view text) : text_(text) {}

    std::size_t Find(std::size_t limit) {
        std::size_t depth = 0;
        while ((position_ = text_.find('<', position_)) != std::string_view::npos) {
            const std::size_t tagStart = position_++;
            if (StepOverNonElement()) {
                continue;
            }
            if (At("/")) {
                depth -= depth > 0 ? 1 : 0;
                SkipPast(">");
                continue;
            }
            if (!StepOverStartTag() && ++depth > limit) {
                return tagStart;
            }
        }
        return std::string_view::npos;
    }

private:
    bool At(std::string_view marker) const {
        return text_.compare(position_, marker.size(), marker) == 0;
    }

    void SkipPast(std::string_view end) {
        const std::size_t found = text_.find(end, position_);
        position_ = found == std::string_view::npos ? text_.size() : found + end.size();
    }

    // Comments, CDATA, processing instructions, declarations and document types: true when
    // the markup at the position was one of them, now stepped over.
    bool StepOverNonElement() {
        if (At("?")) {
            SkipPast("?>");
        } else if (At("!--")) {
            position_ += 3;
            SkipPast("-->");
        } else if (At("![CDATA[")) {
            position_ += 8;
            SkipPast("]]>");
        } else if (At("!DOCTYPE") && position_ + 8 < text_.size() &&
                   IsXmlSpace(text_[position_ + 8])) {
            StepOverDocumentType();
        } else if (At("!")) {
            SkipPast(">");
        } else {
            return false;
        }
        return true;
    }

    // A document type ends at the first '>' outside its bracketed internal subset.
    void StepOverDocumentType() {
        int brackets = 0;
        for (; position_ < text_.size(); ++position_) {
            const char c = text_[position_];
            brackets += c == '[' ? 1 : c == ']' ? -1 : 0;
            if (c == '>' && brackets <= 0) {
                ++position_;
                return;
            }
        }
    }

    // Steps over a start tag; true when it closes itself ("<a/>"), opening no level.
    bool StepOverStartTag() {
        char quote = 0;
        for (; position_ < text_.size(); ++position_) {
            const char c = text_[position_];
            if (quote != 0) {
                quote = c == quote ? 0 : quote;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == '>') {
                return text_[position_++ - 1] == '/';
            }
        }
        return false;
    }

    std::string_view text_;
    std::size_t position_ = 0;
};

}  // namespace

std::size_t FindTooDeepElement(std::string_view text, std::size_t limit) {
    return NestingScanner(text).Find(limit);
}

}  // namespace rivode::storage
