#include "SearchCache.hpp"

#include <gtest/gtest.h>

namespace kelvane::ctl {
namespace {

const std::string bytes = R"({"items": []})";

CommandIndex sampleIndex() {
    CommandIndex index;
    index.groups = {{CommandIndex::topLevel, "Docker"}, {0, "Logs \u203A"}};
    index.commands = {{1, "Tail", "docker logs -f"}, {CommandIndex::topLevel, "\u00DCber", ""}};
    return index;
}

TEST(SearchCache, decodesOnlyWhatItEncodedForTheSameBytesAndSortMode) {
    const std::string stored = SearchCache::encode(sampleIndex(), bytes, SortMode::alphabetical);
    EXPECT_EQ(SearchCache::decode(stored, bytes, SortMode::alphabetical), sampleIndex());
    EXPECT_FALSE(SearchCache::decode(stored, bytes, SortMode::fileOrder));
    EXPECT_FALSE(SearchCache::decode(stored, bytes + " ", SortMode::alphabetical));
    EXPECT_FALSE(SearchCache::decode(stored + "x", bytes, SortMode::alphabetical));
    for (std::size_t length = 0; length < stored.size(); ++length)
        EXPECT_FALSE(SearchCache::decode(stored.substr(0, length), bytes, SortMode::alphabetical))
            << length;
}

TEST(SearchCache, rejectsIndexesThatASearchCouldNotWalk) {
    CommandIndex forward = sampleIndex();
    forward.groups[0].parent = 1;
    CommandIndex malformed = sampleIndex();
    malformed.commands[0].title = "T\xFF";
    for (const CommandIndex& index : {forward, malformed})
        EXPECT_FALSE(SearchCache::decode(SearchCache::encode(index, bytes, SortMode::fileOrder),
                                         bytes, SortMode::fileOrder));
}

TEST(SearchCache, keepsOneFilePerConfigurationAndSortMode) {
    const auto alphabetical = SearchCache::fileFor("/c", "/a/kelvane.json", SortMode::alphabetical);
    ASSERT_TRUE(alphabetical);
    EXPECT_EQ(alphabetical->parent_path(), "/c");
    EXPECT_NE(alphabetical, SearchCache::fileFor("/c", "/a/kelvane.json", SortMode::fileOrder));
    EXPECT_NE(alphabetical, SearchCache::fileFor("/c", "/b/kelvane.json", SortMode::alphabetical));
}

} // namespace
} // namespace kelvane::ctl
