#include "options.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

using namespace operator_server;

namespace {

std::variant<Options, std::string> parse(std::vector<const char*> args) {
    return parseOptions(static_cast<int>(args.size()), args.data());
}

}  // namespace

TEST(OperatorOptions, DefaultsServeTheDemoOnItsUsualPorts) {
    auto parsed = parse({});
    ASSERT_TRUE(std::holds_alternative<Options>(parsed));
    const auto& o = std::get<Options>(parsed);
    EXPECT_EQ(o.port, 18080);
    EXPECT_EQ(o.zonePortBase, 18100);
    EXPECT_FALSE(o.pageVersion);
    EXPECT_EQ(o.exitAfter, 0);
}

TEST(OperatorOptions, ReadsValuesAndSizeSuffixes) {
    auto parsed = parse({"--port", "0", "--zone-port-base", "20000", "--patch-size", "3M",
                         "--patch-rate", "512K", "--page-version", "1.0.1", "--exit-after", "1.5",
                         "--utf8-pages", "--page-file", "my.html"});
    ASSERT_TRUE(std::holds_alternative<Options>(parsed)) << std::get<std::string>(parsed);
    const auto& o = std::get<Options>(parsed);
    EXPECT_EQ(o.port, 0);
    EXPECT_EQ(o.zonePortBase, 20000);
    EXPECT_EQ(o.patchSize, 3u * 1024 * 1024);
    EXPECT_EQ(o.patchRate, 512u * 1024);
    EXPECT_EQ(o.pageVersion, "1.0.1");
    EXPECT_DOUBLE_EQ(o.exitAfter, 1.5);
    EXPECT_TRUE(o.utf8Pages);
    EXPECT_EQ(o.pageFile, "my.html");
    EXPECT_FALSE(o.signWith);
    EXPECT_FALSE(o.badSignature);

    parsed = parse({"--bad-signature", "--sign-with", "key.pem"});
    ASSERT_TRUE(std::holds_alternative<Options>(parsed)) << std::get<std::string>(parsed);
    EXPECT_EQ(std::get<Options>(parsed).signWith, "key.pem");
    EXPECT_TRUE(std::get<Options>(parsed).badSignature);
}

TEST(OperatorOptions, RefusesBadInput) {
    for (auto args : std::vector<std::vector<const char*>>{
             {"--port", "65536"},
             {"--port", "-1"},
             {"--port"},
             {"--zone-port-base", "65531"},
             {"--patch-size", "3X"},
             {"--patch-size", "4G"},
             {"--patch-name", "dir/p.exe"},
             {"--exit-after", "-2"},
             {"--exit-after", "soon"},
             {"--bad-signature"},
             {"--sign-with"},
             {"--frobnicate", "1"},
         }) {
        SCOPED_TRACE(args[0]);
        EXPECT_TRUE(std::holds_alternative<std::string>(parse(args)));
    }
}

TEST(OperatorOptions, ReadsMistakesAndRefusesOnesThatCannotBeMade) {
    auto parsed = parse({"--zone-down", "3", "--zone-down", "5", "--zone-silent", "1",
                         "--missing-key", "四区端口", "--no-ranges", "--patch-status", "404"});
    ASSERT_TRUE(std::holds_alternative<Options>(parsed)) << std::get<std::string>(parsed);
    const Mistakes& m = std::get<Options>(parsed).mistakes;
    EXPECT_EQ(m.zonesDown, (std::set<int>{3, 5}));
    EXPECT_EQ(m.zonesSilent, (std::set<int>{1}));
    EXPECT_EQ(m.missingKeys, (std::set<std::string>{"四区端口"}));
    EXPECT_TRUE(m.noRanges);
    EXPECT_EQ(m.patchStatus, 404);

    for (std::vector<const char*> bad : {std::vector<const char*>{"--zone-down", "6"},
                                         {"--bad-port", "0"},
                                         {"--zone-silent"},
                                         {"--patch-status", "206"},
                                         {"--patch-status", "200"},
                                         {"--missing-key", ""},
                                         {"--utf8-page", "--page-file", "my.html"}}) {
        EXPECT_TRUE(std::holds_alternative<std::string>(parse(bad))) << bad.front();
    }
}
