#include "KelvaneCore/Search/CommandIndex.hpp"

#include "KelvaneCore/Search/CommandSearch.hpp"
#include "support/MenuNodes.hpp"

#include <gtest/gtest.h>

#include <array>
#include <random>

namespace kelvane {
namespace {

using test::command;
using test::group;

// Titles that share letters, differ only in case or accents, repeat, and mix scripts, so that
// scores tie, collation decides and group paths carry matches.
constexpr std::array<const char*, 12> words{"Git",
                                            "git",
                                            "Pull",
                                            "Docker",
                                            "Logs",
                                            "Tail",
                                            "\u00DCberblick",
                                            "uber",
                                            "e\u0301t\u00E9",
                                            "d",
                                            "Deploy web",
                                            "L\u00F6schen"};

std::string randomTitle(std::mt19937& random) {
    std::string title = words[random() % words.size()];
    for (std::size_t extra = random() % 3; extra > 0; --extra)
        title.append(" ").append(words[random() % words.size()]);
    return title;
}

std::vector<MenuNode> randomItems(std::mt19937& random, int depth) {
    std::vector<MenuNode> items;
    for (std::size_t count = random() % 6; count > 0; --count) {
        const unsigned kind = random() % 8;
        if (kind == 0 && depth < 3)
            items.push_back(group(randomTitle(random), randomItems(random, depth + 1)));
        else if (kind == 1)
            items.push_back(test::separator());
        else
            items.push_back(command(randomTitle(random)));
    }
    return items;
}

TEST(CommandIndex, searchGivesTheConfigurationsHitsInItsOrder) {
    std::mt19937 random(7);
    const char* queries[] = {"",    "  ", "g",      "gp",      "GIT",         "d l",
                             "dlt", "ub", "\u00FC", "e\u0301", "docker logs", "xyz"};
    for (int round = 0; round < 40; ++round) {
        Configuration configuration;
        configuration.items = randomItems(random, 0);
        configuration.items.push_back(group("Docker", randomItems(random, 1)));
        const CommandIndex index = CommandIndex::of(configuration);
        ASSERT_TRUE(index.isWellFormed());
        ASSERT_EQ(index.commands.size(), configuration.commandCount());
        for (const char* query : queries) {
            for (const std::size_t limit : {0, 1, 3, 1000}) {
                const std::vector<SearchResult> expected = configuration.search(query, limit);
                const std::vector<CommandIndex::Hit> hits = index.search(query, limit);
                ASSERT_EQ(hits.size(), expected.size()) << query;
                for (std::size_t i = 0; i < hits.size(); ++i) {
                    const CommandIndex::Command& found = index.commands[hits[i].command];
                    EXPECT_EQ(found.title, expected[i].command.title) << query << " " << i;
                    EXPECT_EQ(found.command, expected[i].command.command);
                    EXPECT_EQ(index.pathOf(found.group), expected[i].path);
                    EXPECT_EQ(hits[i].score, expected[i].score);
                    EXPECT_EQ(hits[i].matchedIndices, expected[i].matchedIndices);
                }
            }
        }
    }
}

TEST(CommandIndex, isWellFormedOnlyWithEarlierGroups) {
    CommandIndex index;
    index.groups = {{CommandIndex::topLevel, "A"}, {0, "B"}};
    index.commands = {{1, "c", "ls"}, {CommandIndex::topLevel, "d", "ls"}};
    EXPECT_TRUE(index.isWellFormed());
    index.groups[0].parent = 0;
    EXPECT_FALSE(index.isWellFormed());
    index.groups[0].parent = CommandIndex::topLevel;
    index.commands[0].group = 2;
    EXPECT_FALSE(index.isWellFormed());
}

} // namespace
} // namespace kelvane
