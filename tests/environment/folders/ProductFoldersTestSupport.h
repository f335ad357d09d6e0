// What the folder tests share: a registry of the test's own where the products record their
// folders, a folder for the test's files, and Quillterm as the running product; afterwards no
// sibling counts as installed and no window back end is left behind.
#pragma once

#include "tests/davaraze/ScopedEnvironment.h"
#include "tests/support/TempFolder.h"

#include <DavaraZE/YAppName.h>
#include <DavaraZE/YUserInterface.h>
#include <RivodeRavudaVU/SiblingProducts.h>

#include <gtest/gtest.h>

namespace rivode::test {

class ProductFoldersTest : public ::testing::Test {
protected:
    ProductFoldersTest() {
        environment_.Set("YARROWBY_REGISTRY", registry_.Path().c_str());
        YSetAppName(u"Quillterm");
    }
    ~ProductFoldersTest() override {
        SetQuilltermInstalled(false);
        SetQuillfileInstalled(false);
        YSetUserInterface(nullptr);
    }

    TempFolder registry_;
    TempFolder folder_;
    ScopedEnvironment environment_;
};

}  // namespace rivode::test
