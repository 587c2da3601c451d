#include "KelvaneCore/Search/CommandSearch.hpp"

#include "support/MenuNodes.hpp"

#include <gtest/gtest.h>

#include <utility>

namespace kelvane {
namespace {

using test::command;
using test::group;

Configuration configurationWith(std::vector<MenuNode> items) {
    Configuration configuration;
    configuration.items = std::move(items);
    return configuration;
}

std::vector<std::string> titles(const std::vector<SearchResult>& results) {
    std::vector<std::string> result;
    for (const SearchResult& hit : results)
        result.push_back(hit.command.title);
    return result;
}

using Scores = std::vector<std::pair<std::string, std::int64_t>>;

Scores titlesAndScores(const std::vector<SearchResult>& results) {
    Scores result;
    for (const SearchResult& hit : results)
        result.emplace_back(hit.command.title, hit.score);
    return result;
}

TEST(CommandSearch, emptyQueryListsCommandsInMenuOrder) {
    const Configuration configuration = configurationWith(
        {command("b"), group("G", {command("a"), {Separator{Uuid::random()}}, command("c")}),
         command("d")});
    for (const std::string query : {"", " \t\u00A0\u3000"}) {
        const std::vector<SearchResult> results = configuration.search(query, 3);
        EXPECT_EQ(titlesAndScores(results), (Scores{{"b", 0}, {"a", 0}, {"c", 0}})) << query;
        for (const SearchResult& hit : results)
            EXPECT_TRUE(hit.matchedIndices.empty());
        EXPECT_EQ(results[1].path, std::vector<std::string>{"G"});
        EXPECT_EQ(results[1].command, *configuration.items[1].group()->items[0].command());
    }
    EXPECT_EQ(configuration.search("", 10).size(), 4U);
    EXPECT_TRUE(configuration.search("", 0).empty());
}

TEST(CommandSearch, doublesTitleScoresAndKeepsTheirPositions) {
    const Configuration configuration = configurationWith({command("Git Pull")});
    struct Case {
        std::string query;
        std::int64_t score;
        std::vector<std::int64_t> indices;
    };
    const Case cases[] = {
        {"gp", 28, {0, 4}},
        {"PULL", 68, {4, 5, 6, 7}},
        {"  gp\t", 28, {0, 4}},
        {"g p", 46, {0, 3, 4}},
    };
    for (const Case& c : cases) {
        const std::vector<SearchResult> results = configuration.search(c.query, 10);
        ASSERT_EQ(results.size(), 1U) << c.query;
        EXPECT_EQ(results[0].score, c.score) << c.query;
        EXPECT_EQ(results[0].matchedIndices, c.indices) << c.query;
    }
    EXPECT_TRUE(configuration.search("g  p", 10).empty());
    EXPECT_TRUE(configuration.search("pulls", 10).empty());
}

TEST(CommandSearch, fallsBackToGroupPathAndTitle) {
    const Configuration configuration =
        configurationWith({command("Logs"), group("Docker", {group("Compose", {command("Logs")})}),
                           group("", {command("Tail")})});
    const std::vector<SearchResult> results = configuration.search("docker logs", 10);
    ASSERT_EQ(results.size(), 1U);
    EXPECT_EQ(results[0].path, (std::vector<std::string>{"Docker", "Compose"}));
    EXPECT_EQ(results[0].pathDescription(), "Docker \u203A Compose");
    EXPECT_TRUE(results[0].matchedIndices.empty());
    // In "docker compose logs": d 7, "ocker " 6 × 9, l at a word start 7, "ogs" 3 × 9, and
    // one point off for 8 unmatched characters.
    EXPECT_EQ(results[0].score, 7 + 6 * 9 + 7 + 3 * 9 - 1);
    EXPECT_EQ(results[0].id(), configuration.items[1].group()->items[0].group()->items[0].id());

    // An empty group title still stands for one (empty) word before a blank.
    const std::vector<SearchResult> blank = configuration.search(" t", 10);
    EXPECT_EQ(titlesAndScores(blank), (Scores{{"Tail", 14}}));
    EXPECT_EQ(blank[0].pathDescription(), "");
    EXPECT_EQ(titles(configuration.search("\u00A0\tt", 10)), std::vector<std::string>{"Tail"});
}

TEST(CommandSearch, ranksByScoreThenTitleThenMenuOrder) {
    const Configuration configuration = configurationWith({
        group("Logs", {command("Tail")}),
        command("blog system"),
        command("Show logs"),
        group("Obst", {command("clear"), command("Birne"), command("apfel")}),
        command("deploy x"),
        command("Deploy x"),
        command("DEPLOY x"),
    });
    EXPECT_EQ(titlesAndScores(configuration.search("logs", 10)),
              (Scores{{"Show logs", 68}, {"blog system", 52}, {"Tail", 34}}));
    EXPECT_EQ(titles(configuration.search("obst", 10)),
              (std::vector<std::string>{"apfel", "Birne", "clear"}));
    const std::vector<SearchResult> equal = configuration.search("deploy x", 10);
    ASSERT_EQ(equal.size(), 3U);
    for (std::size_t i = 0; i < equal.size(); ++i)
        EXPECT_EQ(equal[i].id(), configuration.items[4 + i].id());
}

TEST(CommandSearch, cutsTheRankedHitsToTheLimit) {
    // The title "k" followed by i letters scores 2 × (7 − i / 8): every longer title ranks
    // after every shorter one, by score or, within a block of eight, by title.
    std::vector<MenuNode> items;
    for (int i = 149; i >= 0; --i)
        items.push_back(command("k" + std::string(static_cast<std::size_t>(i), 'z')));
    items.push_back(command("unrelated"));
    const Configuration configuration = configurationWith(std::move(items));

    const std::vector<SearchResult> best = configuration.search("k", 100);
    ASSERT_EQ(best.size(), 100U);
    for (std::size_t i = 0; i < best.size(); ++i) {
        EXPECT_EQ(best[i].command.title, "k" + std::string(i, 'z'));
        EXPECT_EQ(best[i].score, 2 * (7 - static_cast<std::int64_t>(i) / 8));
    }
    EXPECT_EQ(configuration.search("k", 1000).size(), 150U);
}

TEST(CommandSearch, survivesHostileTextsAndQueries) {
    const std::string huge(100'000, 'q');
    const Configuration configuration = configurationWith({
        command(huge),
        command("bad \xFF\xFE utf-8 \xC3"),
        group("\xE2\x82", {command("x")}),
        command(""),
    });
    EXPECT_EQ(titles(configuration.search("bad utf", 10)),
              std::vector<std::string>{"bad \xFF\xFE utf-8 \xC3"});
    EXPECT_EQ(configuration.search("\xE2\x82 x", 10).size(), 1U);
    EXPECT_EQ(configuration.search(huge, 10).size(), 1U);
    EXPECT_TRUE(configuration.search(huge + "q", 10).empty());
    EXPECT_TRUE(configuration.search(std::string(100'000, '\xFF'), 10).empty());
}

} // namespace
} // namespace kelvane
