// Feeds arbitrary bytes to the XML settings reader, then prints what it kept, reads that back
// and prints it again: whatever a file holds, reading must neither crash nor keep anything the
// printer cannot reproduce, and a document read and written twice must not change. Every
// dword and binary text is decoded too.
#include "storage/xml/XmlSettingsText.h"
#include "storage/xml/XmlValueText.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

using rivode::storage::ParseXmlSettings;
using rivode::storage::PrintXmlSettings;
using rivode::storage::XmlNode;
using rivode::storage::XmlSettingsTree;

namespace {

void DecodeValues(const XmlNode& element, int depth) {
    for (const XmlNode* child = element.first_node(); child != nullptr;
         child = child->next_sibling()) {
        const std::string_view name = rivode::storage::NameOf(*child);
        const std::string_view text = rivode::storage::TextOf(*child);
        std::uint32_t number = 0;
        std::vector<std::uint8_t> bytes;
        if (name == "dword" && rivode::storage::ParseXmlDwordText(text, number) &&
            rivode::storage::XmlDwordText(number).empty()) {
            std::abort();
        }
        if (name == "binary" && rivode::storage::ParseXmlBinaryText(text, bytes)) {
            std::vector<std::uint8_t> again;
            const std::string printed = rivode::storage::XmlBinaryText(bytes.data(), bytes.size());
            if (!rivode::storage::ParseXmlBinaryText(printed, again) || again != bytes) {
                std::abort();  // a binary value did not survive being written and read again
            }
        }
        if (depth < 64) {
            DecodeValues(*child, depth + 1);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::unique_ptr<XmlSettingsTree> tree;
    YReportMessageParams report;
    if (!ParseXmlSettings(bytes, tree, report)) {
        if (report.IsSuccess()) {
            std::abort();  // a refused document must say why
        }
        return 0;
    }
    DecodeValues(*tree->root, 0);
    const std::string printed = PrintXmlSettings(*tree);
    std::unique_ptr<XmlSettingsTree> reread;
    YReportMessageParams rereadReport;
    if (!ParseXmlSettings(printed, reread, rereadReport) || PrintXmlSettings(*reread) != printed) {
        std::abort();  // what the store writes must read back to the same document
    }
    return 0;
}
