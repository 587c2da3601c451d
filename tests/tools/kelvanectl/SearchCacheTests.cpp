#include "SearchCache.hpp"

#include "support/TemporaryFolder.hpp"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>

namespace kelvane::ctl {
namespace {

const std::string bytes = R"({"items": []})";

CommandIndex sampleIndex() {
    CommandIndex index;
    index.groups = {{CommandIndex::topLevel, "Docker"}, {0, "Logs \u203A"}};
    index.commands = {{1, "Tail", "docker logs -f"}, {CommandIndex::topLevel, "\u00DCber", ""}};
    return index;
}

/// What a store writes of `index`, made of `fileBytes`, read back from its cache file.
std::string storedFile(const CommandIndex& index, const std::string& fileBytes, SortMode sortMode) {
    const test::TemporaryFolder folder;
    const std::filesystem::path cacheFile = folder / "suche.bin";
    {
        SearchCache::Store store(cacheFile, fileBytes, sortMode);
        store.finish(index);
    }
    return test::contentOf(cacheFile);
}

TEST(SearchCache, decodesOnlyWhatItStoredForTheSameBytesAndSortMode) {
    const std::string stored = storedFile(sampleIndex(), bytes, SortMode::alphabetical);
    EXPECT_EQ(SearchCache::decode(stored, bytes, SortMode::alphabetical), sampleIndex());
    EXPECT_FALSE(SearchCache::decode(stored, bytes, SortMode::fileOrder));
    EXPECT_FALSE(SearchCache::decode(stored, bytes + " ", SortMode::alphabetical));
    EXPECT_FALSE(SearchCache::decode(stored + "x", bytes, SortMode::alphabetical));
    for (std::size_t length = 0; length < stored.size(); ++length)
        EXPECT_FALSE(SearchCache::decode(stored.substr(0, length), bytes, SortMode::alphabetical))
            << length;
}

// The cache file is not flushed to disk, so a crash can leave it at its full size with zeros, or
// the bytes of an older file, in place of any of its new bytes.
TEST(SearchCache, turnsAwayWhatACrashLeavesOfAnUnflushedFile) {
    const std::string stored = storedFile(sampleIndex(), bytes, SortMode::alphabetical);
    CommandIndex older = sampleIndex();
    older.commands[0].title = "Tall";
    const std::string olderStored = storedFile(older, bytes, SortMode::alphabetical);
    ASSERT_EQ(olderStored.size(), stored.size());
    for (std::size_t at = 0; at < stored.size(); ++at) {
        for (const std::size_t length : {std::size_t{1}, std::size_t{4}, stored.size() - at}) {
            std::string zeroed = stored;
            std::string mixed = stored;
            const std::size_t end = std::min(stored.size(), at + length);
            std::fill(zeroed.begin() + at, zeroed.begin() + end, '\0');
            std::copy(olderStored.begin() + at, olderStored.begin() + end, mixed.begin() + at);
            for (const std::string& damaged : {zeroed, mixed}) {
                if (damaged == stored || damaged == olderStored)
                    continue;
                EXPECT_FALSE(SearchCache::decode(damaged, bytes, SortMode::alphabetical))
                    << at << "+" << length;
            }
        }
    }
}

TEST(SearchCache, rejectsIndexesThatASearchCouldNotWalk) {
    CommandIndex forward = sampleIndex();
    forward.groups[0].parent = 1;
    CommandIndex malformed = sampleIndex();
    malformed.commands[0].title = "T\xFF";
    for (const CommandIndex& index : {forward, malformed})
        EXPECT_FALSE(SearchCache::decode(storedFile(index, bytes, SortMode::fileOrder), bytes,
                                         SortMode::fileOrder));
}

TEST(SearchCache, keepsOneFilePerConfigurationAndSortMode) {
    const auto alphabetical = SearchCache::fileFor("/c", "/a/kelvane.json", SortMode::alphabetical);
    ASSERT_TRUE(alphabetical);
    EXPECT_EQ(alphabetical->parent_path(), "/c");
    EXPECT_NE(alphabetical, SearchCache::fileFor("/c", "/a/kelvane.json", SortMode::fileOrder));
    EXPECT_NE(alphabetical, SearchCache::fileFor("/c", "/b/kelvane.json", SortMode::alphabetical));
}

TEST(SearchCache, aStoreWritesTheIndexOfItsBytesOrLeavesTheCacheAsItWas) {
    const test::TemporaryFolder folder;
    const std::filesystem::path cacheFile = folder / "Kelvane" / "suche.bin";
    {
        SearchCache::Store store(cacheFile, bytes, SortMode::alphabetical);
        // What the store needs of the index is copied at once: the texts may change right after.
        std::string title = "Tail";
        CommandIndex index = sampleIndex();
        index.commands[0].title = title;
        store.finish(index);
        title = "Gone";
    }
    EXPECT_EQ(SearchCache::decode(test::contentOf(cacheFile), bytes, SortMode::alphabetical),
              sampleIndex());
    struct stat status {};
    ASSERT_EQ(::stat(cacheFile.parent_path().c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700U);

    // Without an index, as when the file does not load, nothing is replaced or left behind.
    const std::string changed = bytes + " ";
    { SearchCache::Store abandoned(cacheFile, changed, SortMode::alphabetical); }
    EXPECT_TRUE(SearchCache::decode(test::contentOf(cacheFile), bytes, SortMode::alphabetical));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(cacheFile.parent_path()), {}), 1);
}

} // namespace
} // namespace kelvane::ctl
