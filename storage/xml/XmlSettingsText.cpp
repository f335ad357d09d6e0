#include "storage/xml/XmlSettingsText.h"

#include "storage/xml/XmlNestingScan.h"

#include "platform/Utf8Codec.h"

#include <RivodeRavudaVU/RivodeMessages.h>

#include <rapidxml/rapidxml_print.hpp>

#include <algorithm>
#include <iterator>

namespace rivode::storage {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// Without flags the parser keeps data and CDATA nodes (gathered below), translates entities and
// character references, and drops comments, processing instructions and the declaration.
constexpr int kParseFlags = 0;

bool IsValueElementName(std::string_view name) {
    return name == "dword" || name == "string" || name == "binary" || name == "array";
}

bool HasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

bool HasNul(std::string_view text) {
    return text.find('\0') != std::string_view::npos;
}

// The offset of the first character reference to NUL ("&#0;", "&#x00;", ...), or the end.
std::size_t FindNulReference(std::string_view text) {
    for (std::size_t at = text.find("&#"); at != std::string_view::npos;
         at = text.find("&#", at + 2)) {
        std::size_t digit = at + 2;
        const bool hex = digit < text.size() && text[digit] == 'x';
        digit += hex ? 1 : 0;
        const std::size_t first = digit;
        while (digit < text.size() && text[digit] == '0') {
            ++digit;
        }
        if (digit > first && digit < text.size() && text[digit] == ';') {
            return at;
        }
    }
    return text.size();
}

// 1-based line and column (in characters) of an offset into the text.
void LineAndColumn(std::string_view text, std::size_t offset, std::uint32_t& line,
                   std::uint32_t& column) {
    offset = std::min(offset, text.size());
    const std::string_view before = text.substr(0, offset);
    line = 1 + static_cast<std::uint32_t>(std::count(before.begin(), before.end(), '\n'));
    const std::size_t lineStart = before.find_last_of('\n');
    const std::string_view onLine =
        lineStart == std::string_view::npos ? before : before.substr(lineStart + 1);
    column = 1 + static_cast<std::uint32_t>(std::count_if(onLine.begin(), onLine.end(), [](char c) {
                 return !platform::IsUtf8ContinuationByte(c);
             }));
}

// report: "could not be loaded" around the reason id with its inserts, and where it is.
void FailAt(YReportMessageParams& report, std::uint32_t reasonId, std::string_view text,
            std::size_t offset, std::initializer_list<std::string> leading) {
    std::uint32_t line = 0;
    std::uint32_t column = 0;
    LineAndColumn(text, offset, line, column);
    YReportMessageParams reason(reasonId);
    for (const std::string& insert : leading) {
        reason.AddString(insert);
    }
    reason.AddFormatted(u"%1!u!", line);
    reason.AddFormatted(u"%1!u!", column);
    WrapReport(report, msg::XmlSettingsLoadFailed, {}, reason);
}

void Fail(YReportMessageParams& report, std::uint32_t reasonId) {
    YReportMessageParams reason(reasonId);
    WrapReport(report, msg::XmlSettingsLoadFailed, {}, reason);
}

class TreeNormaliser {
public:
    explicit TreeNormaliser(XmlSettingsTree& tree) : tree_(tree) {}

    void Document(XmlNode& root) {
        NoteAttributes(root);
        Container(root, false);
    }

    // Containers (the root, keys, arrays, and elements of other names that hold elements) keep
    // only their elements; values and other elements get their whole text as their value and
    // no children. Mixed content has no meaning here, and dropping it keeps the printed
    // layout the same however often a document is read and written.
    void Container(XmlNode& container, bool isArray) {
        container.value("", 0);
        for (XmlNode* child = container.first_node(); child != nullptr;) {
            XmlNode* next = child->next_sibling();
            if (child->type() != rapidxml::node_element) {
                container.remove_node(child);
            } else {
                Element(*child, isArray);
            }
            child = next;
        }
    }

private:
    void NoteAttributes(const XmlNode& element) {
        for (const rapidxml::xml_attribute<char>* attribute = element.first_attribute();
             attribute != nullptr; attribute = attribute->next_attribute()) {
            const std::string_view value(attribute->value(), attribute->value_size());
            tree_.textHasLineBreak = tree_.textHasLineBreak || HasLineBreak(value);
            tree_.textHasNul = tree_.textHasNul || HasNul(value);
        }
    }

    void Element(XmlNode& element, bool insideArray) {
        NoteAttributes(element);
        const std::string_view name = NameOf(element);
        const bool value =
            insideArray ? name == kXmlItemElement : IsValueElementName(name) && name != "array";
        const bool container = !value && (insideArray ? HoldsElement(element)
                                                      : name == kXmlKeyElement || name == "array" ||
                                                            HoldsElement(element));
        if (container) {
            Container(element, !insideArray && name == "array");
        } else {
            GatherText(element);
        }
    }

    static bool HoldsElement(const XmlNode& element) {
        for (const XmlNode* child = element.first_node(); child != nullptr;
             child = child->next_sibling()) {
            if (child->type() == rapidxml::node_element) {
                return true;
            }
        }
        return false;
    }

    // The text of a value is all its character data, CDATA included; nested elements carry
    // none of it.
    void GatherText(XmlNode& element) {
        std::string text;
        const XmlNode* onlyPiece = nullptr;
        std::size_t pieces = 0;
        for (XmlNode* child = element.first_node(); child != nullptr;
             child = child->next_sibling()) {
            if (child->type() == rapidxml::node_data || child->type() == rapidxml::node_cdata) {
                text.append(TextOf(*child));
                onlyPiece = child;
                ++pieces;
            }
        }
        element.remove_all_nodes();
        if (pieces == 1) {
            // Already in the parsed buffer: no copy.
            SetLeafText(tree_.document, element, onlyPiece->value(), onlyPiece->value_size());
        } else {
            SetLeafText(
                tree_.document, element,
                text.empty() ? "" : tree_.document.allocate_string(text.data(), text.size()),
                text.size());
        }
        tree_.textHasLineBreak = tree_.textHasLineBreak || HasLineBreak(TextOf(element));
        tree_.textHasNul = tree_.textHasNul || HasNul(TextOf(element));
    }

    XmlSettingsTree& tree_;
};

void AddDeclaration(rapidxml::xml_document<char>& document) {
    XmlNode* declaration = document.allocate_node(rapidxml::node_declaration);
    declaration->append_attribute(document.allocate_attribute("version", "1.0"));
    declaration->append_attribute(document.allocate_attribute("encoding", "UTF-8"));
    document.prepend_node(declaration);
}

}  // namespace

void SetLeafText(rapidxml::xml_document<char>& document, XmlNode& element, const char* text,
                 std::size_t size) {
    element.remove_all_nodes();
    element.value(text, size);
    const std::string_view view(text, size);
    if (!view.empty() && view.find_first_not_of(" \t\r\n") == std::string_view::npos) {
        // The parser drops text that is only white space; a CDATA section keeps it. The
        // printer writes the section in place of the value, readers take the value.
        element.append_node(document.allocate_node(rapidxml::node_cdata, nullptr, text, 0, size));
    }
}

std::string_view NameOf(const XmlNode& node) {
    return {node.name(), node.name_size()};
}

std::string_view TextOf(const XmlNode& node) {
    return {node.value(), node.value_size()};
}

bool NameAttributeOf(const XmlNode& node, std::string_view& name) {
    const rapidxml::xml_attribute<char>* attribute =
        node.first_attribute(kXmlNameAttribute.data(), kXmlNameAttribute.size());
    if (attribute == nullptr) {
        return false;
    }
    name = {attribute->value(), attribute->value_size()};
    return true;
}

std::unique_ptr<XmlSettingsTree> MakeXmlSettingsTree() {
    auto tree = std::make_unique<XmlSettingsTree>();
    rapidxml::xml_document<char>& document = tree->document;
    AddDeclaration(document);
    tree->root = document.allocate_node(rapidxml::node_element, kXmlRootName.data(), nullptr,
                                        kXmlRootName.size());
    tree->root->append_attribute(
        document.allocate_attribute("version", kXmlRootVersion.data(), 7, kXmlRootVersion.size()));
    document.append_node(tree->root);
    return tree;
}

bool ParseXmlSettings(std::string_view bytes, std::unique_ptr<XmlSettingsTree>& tree,
                      YReportMessageParams& report) {
    tree.reset();
    std::string_view text = bytes;
    if (text.substr(0, kUtf8Mark.size()) == kUtf8Mark) {
        text.remove_prefix(kUtf8Mark.size());
    } else if (text.substr(0, 2) == "\xFF\xFE" || text.substr(0, 2) == "\xFE\xFF") {
        Fail(report, msg::XmlNotUtf8);
        return false;
    }
    if (const std::size_t tooDeep = FindTooDeepElement(text, kMaxXmlNesting);
        tooDeep != std::string_view::npos) {
        FailAt(report, msg::XmlNestedTooDeep, text, tooDeep, {std::to_string(kMaxXmlNesting)});
        return false;
    }
    auto parsed = std::make_unique<XmlSettingsTree>();
    parsed->buffer.reserve(text.size() + 1);
    parsed->buffer.assign(text.begin(), text.end());
    parsed->buffer.push_back('\0');
    try {
        parsed->document.parse<kParseFlags>(parsed->buffer.data());
    } catch (const rapidxml::parse_error& error) {
        const std::size_t offset =
            static_cast<std::size_t>(error.where<char>() - parsed->buffer.data());
        // The parser's reason goes last, after where it is.
        YReportMessageParams reason(msg::XmlMalformedAt);
        std::uint32_t line = 0;
        std::uint32_t column = 0;
        LineAndColumn(text, offset, line, column);
        reason.AddFormatted(u"%1!u!", line);
        reason.AddFormatted(u"%1!u!", column);
        reason.AddString(error.what());
        WrapReport(report, msg::XmlSettingsLoadFailed, {}, reason);
        return false;
    }
    for (XmlNode* node = parsed->document.first_node(); node != nullptr;
         node = node->next_sibling()) {
        if (node->type() != rapidxml::node_element) {
            continue;
        }
        if (parsed->root != nullptr) {
            const std::size_t offset =
                static_cast<std::size_t>(node->name() - parsed->buffer.data()) - 1;
            FailAt(report, msg::XmlSecondRootElement, text, offset, {std::string(NameOf(*node))});
            return false;
        }
        parsed->root = node;
    }
    if (parsed->root == nullptr) {
        Fail(report, msg::XmlNoRootElement);
        return false;
    }
    if (NameOf(*parsed->root) != kXmlRootName) {
        report.SetMessage(msg::XmlSettingsWrongRoot);
        report.AddString(std::string(NameOf(*parsed->root)));
        return false;
    }
    TreeNormaliser(*parsed).Document(*parsed->root);
    if (parsed->textHasNul) {
        FailAt(report, msg::XmlNulReference, text, FindNulReference(text), {});
        return false;
    }
    AddDeclaration(parsed->document);
    tree = std::move(parsed);
    return true;
}

std::string PrintXmlSettings(XmlSettingsTree& tree) {
    std::string printed;
    rapidxml::print(std::back_inserter(printed), tree.document, 0);
    // The document node ends its last line once more, after the root element's own line end.
    if (printed.size() >= 2 && printed.compare(printed.size() - 2, 2, "\n\n") == 0) {
        printed.pop_back();
    }
    std::string bytes(kUtf8Mark);
    if (tree.textHasLineBreak) {
        bytes += printed;
        return bytes;
    }
    // The printer ends lines with LF and indents with tabs. With no line break in any text,
    // every LF ends a line of markup and the tabs after it are indentation.
    bytes.reserve(printed.size() + printed.size() / 4);
    for (std::size_t start = 0; start < printed.size();) {
        const std::size_t lineEnd = std::min(printed.find('\n', start), printed.size());
        bytes.append(printed, start, lineEnd - start);
        if (lineEnd == printed.size()) {
            break;
        }
        bytes += "\r\n";
        start = lineEnd + 1;
        for (; start < printed.size() && printed[start] == '\t'; ++start) {
            bytes += "  ";
        }
    }
    return bytes;
}

}  // namespace rivode::storage
