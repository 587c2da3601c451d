#include "KelvaneCore/Search/CommandSearch.hpp"

#include "KelvaneCore/Search/CommandIndex.hpp"

#include "KelvaneCore/Search/FuzzyMatcher.hpp"
#include "KelvaneCore/Unicode/UnicodeText.hpp"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string_view>

namespace kelvane {
namespace {

/// What decides the place of a hit; small, so that a losing candidate costs no copies.
struct Rank {
    std::int64_t score = 0;
    std::size_t menuIndex = 0;
    std::string_view title;
    bool matchedTitle = false;
};

/// The group a command was found in, as an index into the walk's groups.
using GroupIndex = std::size_t;
constexpr GroupIndex topLevel = SIZE_MAX;

/// How one command ranks: by its title, or else by its group path and title, or not at all.
/// Without a group path the full text is the title, which has then failed already.
std::optional<Rank> rankOf(FuzzyMatcher::Needle& needle, std::string_view title,
                           std::size_t menuIndex, const FuzzyMatcher::Needle::PathScan* path) {
    if (const std::optional<std::int64_t> score = needle.score(title))
        return Rank{2 * *score, menuIndex, title, true};
    if (path == nullptr)
        return std::nullopt;
    if (const std::optional<std::int64_t> score = needle.scoreAfter(*path, title))
        return Rank{*score, menuIndex, title, false};
    return std::nullopt;
}

/// The positions of a hit, recorded only for the few hits that are returned.
std::vector<std::int64_t> matchedIndicesOf(FuzzyMatcher::Needle& needle, const Rank& rank) {
    if (!rank.matchedTitle)
        return {};
    std::optional<FuzzyMatcher::Match> match = needle.match(rank.title);
    return match ? std::move(match->matchedIndices) : std::vector<std::int64_t>{};
}

/// The best `limit` hits offered so far, in a heap whose top is the worst of them: most
/// candidates are turned away by one comparison of scores, and titles are collated only between
/// equal scores. `Item` is what the caller finds the hit's command by.
template <typename Item> class BestHits {
public:
    struct Hit {
        Rank rank;
        Item item;
    };

    /// `limit` must not be 0.
    explicit BestHits(std::size_t limit) : m_limit(limit) {}

    void offer(const Rank& rank, const Item& item) {
        if (m_heap.size() < m_limit) {
            m_heap.push_back({rank, item});
            std::push_heap(m_heap.begin(), m_heap.end(), heapOrder());
            return;
        }
        if (!ranksBefore(rank, m_heap.front().rank))
            return;
        std::pop_heap(m_heap.begin(), m_heap.end(), heapOrder());
        m_heap.back() = {rank, item};
        std::push_heap(m_heap.begin(), m_heap.end(), heapOrder());
    }

    /// The kept hits, best first.
    std::vector<Hit> takeSorted() {
        std::sort_heap(m_heap.begin(), m_heap.end(), heapOrder());
        return std::move(m_heap);
    }

private:
    // Menu order breaks the remaining ties, which makes the order total and the selection
    // as stable as a stable sort of all hits would be.
    bool ranksBefore(const Rank& a, const Rank& b) const {
        if (a.score != b.score)
            return a.score > b.score;
        const int titles = m_comparator.compare(a.title, b.title);
        if (titles != 0)
            return titles < 0;
        return a.menuIndex < b.menuIndex;
    }

    struct HeapOrder {
        const BestHits* hits;
        bool operator()(const Hit& a, const Hit& b) const {
            return hits->ranksBefore(a.rank, b.rank);
        }
    };
    HeapOrder heapOrder() const { return {this}; }

    std::size_t m_limit;
    Unicode::LocalizedCaseInsensitiveComparator m_comparator;
    std::vector<Hit> m_heap;
};

/// A command of a tree walk: itself and the group it was found in.
struct FoundCommand {
    const ShellCommand* command;
    GroupIndex group;
};

/// Offers every command of a tree to the best hits: by its title, or else by its group path
/// and title. Each group's path is scanned once, when the walk enters the group, so a long
/// title costs its length once and not once for every command below it.
class GroupWalk {
public:
    GroupWalk(FuzzyMatcher::Needle& needle, BestHits<FoundCommand>& best)
        : m_needle(needle), m_best(best) {}

    void visit(const std::vector<MenuNode>& nodes, GroupIndex group,
               const FuzzyMatcher::Needle::PathScan* path) {
        for (const MenuNode& node : nodes) {
            if (const ShellCommand* command = node.command()) {
                offer(*command, group, path);
            } else if (const CommandGroup* child = node.group()) {
                m_groups.push_back({group, &child->title});
                const FuzzyMatcher::Needle::PathScan childPath =
                    m_needle.extendedPath(path, child->title);
                visit(child->items, m_groups.size() - 1, &childPath);
            }
        }
    }

    /// The titles of the group and the groups above it, outermost first.
    std::vector<std::string> pathOf(GroupIndex group) const {
        std::vector<std::string> path;
        for (; group != topLevel; group = m_groups[group].parent)
            path.push_back(*m_groups[group].title);
        std::reverse(path.begin(), path.end());
        return path;
    }

private:
    struct Group {
        GroupIndex parent;
        const std::string* title;
    };

    void offer(const ShellCommand& command, GroupIndex group,
               const FuzzyMatcher::Needle::PathScan* path) {
        if (const std::optional<Rank> rank = rankOf(m_needle, command.title, m_menuIndex++, path))
            m_best.offer(*rank, {&command, group});
    }

    FuzzyMatcher::Needle& m_needle;
    BestHits<FoundCommand>& m_best;
    std::vector<Group> m_groups;
    std::size_t m_menuIndex = 0;
};

} // namespace

std::string SearchResult::pathDescription() const {
    std::string result;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (i > 0)
            result += " \u203A ";
        result += path[i];
    }
    return result;
}

std::vector<SearchResult> Configuration::search(std::string_view query, std::size_t limit) const {
    std::vector<SearchResult> results;
    const std::string_view trimmedQuery = Unicode::trimmed(query);
    if (trimmedQuery.empty()) {
        forEachCommand([&](const std::vector<std::string>& path, const ShellCommand& command) {
            if (results.size() < limit)
                results.push_back({path, command, 0, {}});
        });
        return results;
    }
    if (limit == 0)
        return results;

    FuzzyMatcher::Needle needle(trimmedQuery);
    BestHits<FoundCommand> best(limit);
    GroupWalk walk{needle, best};
    walk.visit(items, topLevel, nullptr);
    for (const auto& [rank, found] : best.takeSorted())
        results.push_back(
            {walk.pathOf(found.group), *found.command, rank.score, matchedIndicesOf(needle, rank)});
    return results;
}

std::vector<CommandIndex::Hit> CommandIndex::search(std::string_view query,
                                                    std::size_t limit) const {
    std::vector<Hit> results;
    const std::string_view trimmedQuery = Unicode::trimmed(query);
    if (trimmedQuery.empty()) {
        for (std::size_t i = 0; i < commands.size() && i < limit; ++i)
            results.push_back({i, 0, {}});
        return results;
    }
    if (limit == 0)
        return results;

    FuzzyMatcher::Needle needle(trimmedQuery);
    // Each group's path is scanned once, from the scan of the group around it.
    std::vector<FuzzyMatcher::Needle::PathScan> paths;
    paths.reserve(groups.size());
    for (const Group& group : groups)
        paths.push_back(needle.extendedPath(
            group.parent == topLevel ? nullptr : &paths[group.parent], group.title));
    BestHits<std::size_t> best(limit);
    for (std::size_t i = 0; i < commands.size(); ++i) {
        const Command& command = commands[i];
        const FuzzyMatcher::Needle::PathScan* path =
            command.group == topLevel ? nullptr : &paths[command.group];
        if (const std::optional<Rank> rank = rankOf(needle, command.title, i, path))
            best.offer(*rank, i);
    }
    for (const auto& [rank, command] : best.takeSorted())
        results.push_back({command, rank.score, matchedIndicesOf(needle, rank)});
    return results;
}

} // namespace kelvane
