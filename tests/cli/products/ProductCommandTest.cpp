// rivode products.
#include "tests/cli/RivodeRunner.h"

#include <RivodeRavudaVU/YIniFileStore.h>

#include "platform/FipsState.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <map>

namespace rivode::test {
namespace {

using nlohmann::json;

class RivodeProductsTest : public RivodeCommandFixture {
protected:
    json Products(const std::vector<std::string>& arguments,
                  const std::vector<std::string>& environment = {}) {
        std::vector<std::string> all{"--config", config_};
        all.insert(all.end(), arguments.begin(), arguments.end());
        all.push_back("--json");
        const RivodeRun run = runner_.Run(all, environment);
        EXPECT_EQ(run.status, 0) << run.err;
        return json::parse(run.out);
    }

    // name -> loaded, or the reason it is not.
    static std::map<std::string, std::string> Outcomes(const json& listing) {
        std::map<std::string, std::string> outcomes;
        for (const json& row : listing.at("protocols")) {
            outcomes[row.at("name")] = row.at("loaded") ? "loaded" : row.at("reason");
        }
        return outcomes;
    }
};

TEST_F(RivodeProductsTest, EveryProtocolOfTheProductLoadsFromTheInstalledModules) {
    const struct {
        std::vector<std::string> arguments;
        std::size_t rows;
    } cases[] = {
        {{"products"}, 11},  // the terminal product, from the folder beside the library
        {{"--product", "6", "products", "--modules", MODULE_FOLDER}, 8},
        {{"--product", "9", "products", "--modules", MODULE_FOLDER "/"}, 5},
    };
    for (const auto& c : cases) {
        const json listing = Products(c.arguments);
        EXPECT_EQ(listing.at("moduleFolder").get<std::string>().rfind(MODULE_FOLDER, 0), 0u);
        EXPECT_FALSE(listing.at("integrated"));
        EXPECT_EQ(listing.at("siblings").size(), 3u);
        EXPECT_TRUE(listing.at("failure").is_null());
        ASSERT_EQ(listing.at("protocols").size(), c.rows);
        for (const json& row : listing.at("protocols")) {
            EXPECT_TRUE(row.at("loaded")) << row;
        }
    }
}

TEST_F(RivodeProductsTest, TheTransferProductInFipsModeLoadsOnlyItsNonTlsProtocols) {
    if (platform::IsSystemFipsModeEnabled()) {
        GTEST_SKIP() << "the system runs in FIPS mode, which keeps the TLS protocols";
    }
    const std::string registry = folder_ / "registry";
    {
        YIniFileStoreFactory factory(FromUtf8(registry));
        YProfileStore store(&factory);
        ASSERT_TRUE(YProfileKey(store.GetRootKey(), u"Software\\Policies\\Yarrowby", true)
                        .SetDword(u"Enable FIPS Mode", 1));
    }
    const json listing = Products({"--product", "6", "products", "--modules", MODULE_FOLDER},
                                  {"YARROWBY_REGISTRY=" + registry});
    EXPECT_TRUE(listing.at("fipsMode"));
    const std::string leftOut = "left out in FIPS mode";
    EXPECT_EQ(Outcomes(listing), (std::map<std::string, std::string>{
                                     {"SFTP", "loaded"},
                                     {"FTP", "loaded"},
                                     {"FTP/SSL (implicit)", leftOut},
                                     {"FTP/SSL (explicit)", leftOut},
                                     {"HTTP", "loaded"},
                                     {"HTTPS", leftOut},
                                     {"HTTPS (S3)", leftOut},
                                     {"SCP", "loaded"},
                                 }));
}

TEST_F(RivodeProductsTest, AFolderWithoutModulesFailsAndSaysWhyForEachProtocol) {
    const std::string empty = folder_ / "empty";
    std::filesystem::create_directory(empty);
    const RivodeRun run = Rivode({"--product", "6", "products", "--modules", empty});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "rivode: No protocol modules could be loaded from the folder '" + empty + "'.\n");
    EXPECT_NE(run.out.find("SFTP\tSFTP\t6\t" + empty + "/SFTP.so\tnot loaded: Unable to open '" +
                           empty + "/SFTP.so' No such file or directory\n"),
              std::string::npos)
        << run.out;
}

}  // namespace
}  // namespace rivode::test
