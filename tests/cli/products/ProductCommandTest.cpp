// rivode products.
#include "tests/cli/RivodeRunner.h"

#include <nlohmann/json.hpp>

#include <filesystem>

namespace rivode::test {
namespace {

using nlohmann::json;

class RivodeProductsTest : public RivodeCommandFixture {
protected:
    json Products(std::vector<std::string> arguments,
                  const std::vector<std::string>& environment = {}) {
        arguments.insert(arguments.begin(), {"--config", config_});
        arguments.push_back("--json");
        const RivodeRun run = runner_.Run(arguments, environment);
        EXPECT_EQ(run.status, 0) << run.err;
        return json::parse(run.out);
    }

    // The names of the loaded protocols; every other row says why it is not loaded.
    static std::vector<std::string> Loaded(const json& listing, const std::string& otherwise) {
        std::vector<std::string> loaded;
        for (const json& row : listing.at("protocols")) {
            if (row.at("loaded")) {
                loaded.push_back(row.at("name"));
            } else {
                EXPECT_EQ(row.at("reason"), otherwise) << row;
            }
        }
        return loaded;
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
        EXPECT_EQ(Loaded(listing, "").size(), c.rows);
    }
}

TEST_F(RivodeProductsTest, AFolderWithoutModulesFailsAndSaysWhyForEachProtocol) {
    const std::string empty = folder_ / "empty";
    std::filesystem::create_directory(empty);
    const RivodeRun run = Rivode({"--product", "6", "products", "--modules", empty});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err,
              "rivode: No protocol modules could be loaded from the folder '" + empty + "'.\n");
    EXPECT_NE(run.out.find("SFTP\tSFTP\t6\t" + empty + "/SFTP.so\tnot loaded: Unable to open '" +
                           empty + "/SFTP.so' No such file or directory\n"),
              std::string::npos)
        << run.out;
}

}  // namespace
}  // namespace rivode::test
