// The text of an XML settings file: bytes parsed into a tree of elements, and a tree printed
// back into bytes. Both work on memory only; the file itself is XmlSettingsDocument's.
//
// The layout: a declaration, the root element "Yarrowby" (version "3.0") standing for the root
// key, nested "key" elements named by their "name" attribute, and value elements "dword",
// "string", "binary" and "array" (whose items are "string" elements without a name).
#pragma once

#include <RivodeRavudaVU/YReportMessageParams.h>

#include <rapidxml/rapidxml.hpp>

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace rivode::storage {

using XmlNode = rapidxml::xml_node<char>;

inline constexpr std::string_view kXmlRootName = "Yarrowby";
inline constexpr std::string_view kXmlRootVersion = "3.0";
inline constexpr std::string_view kXmlKeyElement = "key";
inline constexpr std::string_view kXmlItemElement = "string";
inline constexpr std::string_view kXmlNameAttribute = "name";

// Keys nest a few levels (folders of sessions); a document nested deeper than this is refused
// before parsing, since the parser descends one call per level.
inline constexpr std::size_t kMaxXmlNesting = 256;

// A parsed document. The parser works in place, so the buffer lives as long as the tree.
struct XmlSettingsTree {
    rapidxml::xml_document<char> document;
    std::vector<char> buffer;
    XmlNode* root = nullptr;
    // Some name or text holds a line break (only a file written elsewhere can): the document
    // is then printed with the parser's own layout, which leaves such text as it is.
    bool textHasLineBreak = false;
    // Some name or text holds NUL (from a character reference), which XML does not allow and
    // which the printed document could not hold; such a document is refused.
    bool textHasNul = false;
};

std::string_view NameOf(const XmlNode& node);
std::string_view TextOf(const XmlNode& node);
// The "name" attribute; nullptr-free: absent reads as not named (false).
bool NameAttributeOf(const XmlNode& node, std::string_view& name);

// Gives a value element (or array item) its text, which must live as long as the document.
void SetLeafText(rapidxml::xml_document<char>& document, XmlNode& element, const char* text,
                 std::size_t size);

// A new document: the root element alone.
std::unique_ptr<XmlSettingsTree> MakeXmlSettingsTree();

// Parses a document of UTF-8 bytes (with or without byte-order mark). Text of value elements is
// gathered into each element's value, and the white space between elements is dropped, so that
// a printed document always has the same layout. Elements of unknown names are kept as they
// are. false, with tree empty and report filled, for a malformed document (the reason with its
// line and column), a root element of another name (0xE1040056 naming it) or a second root.
[[nodiscard]] bool ParseXmlSettings(std::string_view bytes, std::unique_ptr<XmlSettingsTree>& tree,
                                    YReportMessageParams& report);

// The bytes of the document: byte-order mark, declaration, then one element a line, indented
// by two spaces a level, each line ended by CR LF.
std::string PrintXmlSettings(XmlSettingsTree& tree);

}  // namespace rivode::storage
