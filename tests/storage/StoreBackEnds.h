// The store back ends that share the abstract key interface, for suites that run over each of
// them (TYPED_TEST_SUITE(Suite, rivode::test::StoreBackEnds, rivode::test::StoreBackEndNames)).
// Each opens its store inside a test's temporary folder.
#pragma once

#include "tests/support/TempFolder.h"

#include <RivodeRavudaVU/YIniFileStore.h>
#include <RivodeRavudaVU/YXmlFileStore.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <type_traits>

namespace rivode::test {

struct IniBackEnd {
    // Storing a value of another kind under a name replaces the value.
    static constexpr bool kAnotherKindReplaces = true;
    static std::unique_ptr<YProfileStore> Open(const TempFolder& temp, bool readOnly) {
        YIniFileStoreFactory factory(FromUtf8(temp / "Config"));
        return std::make_unique<YProfileStore>(readOnly, &factory);
    }
};

struct XmlBackEnd {
    // It adds a second element of the other kind beside the first.
    static constexpr bool kAnotherKindReplaces = false;
    static std::unique_ptr<YProfileStore> Open(const TempFolder& temp, bool readOnly) {
        YXmlFileStoreFactory factory(FromUtf8(temp / "settings.xml"));
        return std::make_unique<YProfileStore>(readOnly, &factory);
    }
};

using StoreBackEnds = ::testing::Types<IniBackEnd, XmlBackEnd>;

class StoreBackEndNames {
public:
    template <typename T>
    static std::string GetName(int) {
        return std::is_same_v<T, IniBackEnd> ? "Ini" : "Xml";
    }
};

}  // namespace rivode::test
