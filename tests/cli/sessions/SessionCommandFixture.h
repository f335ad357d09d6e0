// Runs rivode's session commands on a test's own configuration folder, in English.
#pragma once

#include "tests/cli/RivodeRunner.h"

#include <nlohmann/json.hpp>

#include <map>
#include <sstream>

namespace rivode::test {

using nlohmann::json;

class RivodeSessionFixture : public RivodeCommandFixture {
protected:
    RivodeRun RivodeWithInput(std::vector<std::string> arguments, const std::string& input) {
        arguments.insert(arguments.begin(), {"--config", config_});
        return runner_.Run(arguments, {"LC_ALL=C", "LANG=C"}, {}, input);
    }
    RivodeRun Rivode(std::vector<std::string> arguments) {
        return RivodeWithInput(std::move(arguments), {});
    }
    void Succeed(std::vector<std::string> arguments) {
        const RivodeRun run = Rivode(std::move(arguments));
        ASSERT_EQ(run.status, 0) << run.err;
        ASSERT_EQ(run.err, "");
    }
    // session show --json as name -> {type, source, value}.
    std::map<std::string, json> Show(const std::string& path) {
        const RivodeRun run = Rivode({"session", "show", path, "--json"});
        EXPECT_EQ(run.status, 0) << run.err;
        std::map<std::string, json> byName;
        for (const json& row : json::parse(run.out)) {
            byName[row.at("name")] = row;
        }
        return byName;
    }
    // One value as session get prints it, without the final line break.
    std::string Get(const std::string& path, const std::string& name) {
        const RivodeRun run = Rivode({"session", "get", path, name});
        EXPECT_EQ(run.status, 0) << run.err;
        return run.out.empty() ? run.out : run.out.substr(0, run.out.size() - 1);
    }
    std::string Decrypt(const std::string& text, const std::string& passphrase) {
        return RivodeWithInput({"decrypt", "--passphrase-stdin"}, passphrase + "\n" + text + "\n")
            .out;
    }
    // The lines of the sessions listing of folder.
    std::vector<std::string> Listing(const std::string& folder, bool tree = false) {
        std::vector<std::string> arguments = {"sessions", folder};
        if (tree) {
            arguments.push_back("--tree");
        }
        const RivodeRun run = Rivode(arguments);
        EXPECT_EQ(run.status, 0) << run.err;
        std::vector<std::string> lines;
        std::istringstream stream(run.out);
        for (std::string line; std::getline(stream, line);) {
            lines.push_back(line);
        }
        return lines;
    }
};

}  // namespace rivode::test
