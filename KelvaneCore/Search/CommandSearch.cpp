#include "KelvaneCore/Search/CommandSearch.hpp"

#include "KelvaneCore/Search/FuzzyMatcher.hpp"
#include "KelvaneCore/Unicode/UnicodeText.hpp"

#include <algorithm>
#include <cstdint>

namespace kelvane {
namespace {

/// What decides the place of a hit; small, so that a losing candidate costs no copies.
struct Rank {
    std::int64_t score = 0;
    std::size_t menuIndex = 0;
    const ShellCommand* command = nullptr;
    bool matchedTitle = false;
};

/// The group a command was found in, as an index into `GroupTree::groups`.
using GroupIndex = std::size_t;
constexpr GroupIndex topLevel = SIZE_MAX;

struct Hit {
    Rank rank;
    GroupIndex group = topLevel;
};

/// The best `limit` hits offered so far, in a heap whose top is the worst of them: most
/// candidates are turned away by one comparison of scores, and titles are collated only between
/// equal scores.
class BestHits {
public:
    /// `limit` must not be 0.
    explicit BestHits(std::size_t limit) : m_limit(limit) {}

    void offer(const Rank& rank, GroupIndex group) {
        if (m_heap.size() < m_limit) {
            m_heap.push_back({rank, group});
            std::push_heap(m_heap.begin(), m_heap.end(), heapOrder());
            return;
        }
        if (!ranksBefore(rank, m_heap.front().rank))
            return;
        std::pop_heap(m_heap.begin(), m_heap.end(), heapOrder());
        m_heap.back() = {rank, group};
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
        const int titles = m_comparator.compare(a.command->title, b.command->title);
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

/// Offers every command of a tree to the best hits: by its title, or else by its group path
/// and title. Each group's path is scanned once, when the walk enters the group, so a long
/// title costs its length once and not once for every command below it.
class GroupWalk {
public:
    GroupWalk(FuzzyMatcher::Needle& needle, BestHits& best) : m_needle(needle), m_best(best) {}

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
        const std::size_t index = m_menuIndex++;
        if (const std::optional<std::int64_t> score = m_needle.score(command.title)) {
            m_best.offer({2 * *score, index, &command, true}, group);
            return;
        }
        // Without a group path the full text is the title, which has just failed.
        if (path == nullptr)
            return;
        if (const std::optional<std::int64_t> score = m_needle.scoreAfter(*path, command.title))
            m_best.offer({*score, index, &command, false}, group);
    }

    FuzzyMatcher::Needle& m_needle;
    BestHits& m_best;
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
    BestHits best(limit);
    GroupWalk walk{needle, best};
    walk.visit(items, topLevel, nullptr);

    // Positions are recorded only for the few hits that are returned.
    for (Hit& hit : best.takeSorted()) {
        std::vector<std::int64_t> indices;
        if (hit.rank.matchedTitle) {
            if (std::optional<FuzzyMatcher::Match> match = needle.match(hit.rank.command->title))
                indices = std::move(match->matchedIndices);
        }
        results.push_back(
            {walk.pathOf(hit.group), *hit.rank.command, hit.rank.score, std::move(indices)});
    }
    return results;
}

} // namespace kelvane
