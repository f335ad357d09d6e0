// How deep the elements of an XML text nest, found without parsing it: the parser descends
// one call per level, so a text nested deeper than any settings file must be refused first.
#pragma once

#include <cstddef>
#include <string_view>

namespace rivode::storage {

// The offset of the '<' of the first start tag that opens a level deeper than limit, or npos.
// Comments, CDATA sections, processing instructions, document types and quoted attribute values
// are stepped over as the parser steps over them, so no markup hidden in them counts and no
// text can close a level the parser keeps open.
std::size_t FindTooDeepElement(std::string_view text, std::size_t limit);

}  // namespace rivode::storage
