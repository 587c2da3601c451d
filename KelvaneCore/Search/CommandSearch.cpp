#include "KelvaneCore/Search/CommandSearch.hpp"

#include "KelvaneCore/Search/FuzzyMatcher.hpp"
#include "KelvaneCore/Unicode/UnicodeText.hpp"

#include <algorithm>

namespace kelvane {
namespace {

/// What decides the place of a hit; small, so that a losing candidate costs no copies.
struct Rank {
    std::int64_t score = 0;
    std::size_t menuIndex = 0;
    const ShellCommand* command = nullptr;
    bool matchedTitle = false;
};

struct Hit {
    Rank rank;
    std::vector<std::string> path;
};

/// The best `limit` hits offered so far, in a heap whose top is the worst of them: most
/// candidates are turned away by one comparison of scores, titles are collated only between
/// equal scores, and only a hit that gets in copies its path.
class BestHits {
public:
    /// `limit` must not be 0.
    explicit BestHits(std::size_t limit) : m_limit(limit) {}

    void offer(const Rank& rank, const std::vector<std::string>& path) {
        if (m_heap.size() < m_limit) {
            m_heap.push_back({rank, path});
            std::push_heap(m_heap.begin(), m_heap.end(), heapOrder());
            return;
        }
        if (!ranksBefore(rank, m_heap.front().rank))
            return;
        std::pop_heap(m_heap.begin(), m_heap.end(), heapOrder());
        m_heap.back().rank = rank;
        m_heap.back().path = path;
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
    std::string groupPrefix;
    std::size_t menuIndex = 0;
    forEachCommand([&](const std::vector<std::string>& path, const ShellCommand& command) {
        const std::size_t index = menuIndex++;
        if (const std::optional<std::int64_t> score = needle.score(command.title)) {
            best.offer({2 * *score, index, &command, true}, path);
            return;
        }
        // Without a group path the full text is the title, which has just failed.
        if (path.empty())
            return;
        groupPrefix.clear();
        for (const std::string& title : path) {
            groupPrefix += title;
            groupPrefix += ' ';
        }
        if (const std::optional<std::int64_t> score =
                needle.scoreWithPrefix(groupPrefix, command.title))
            best.offer({*score, index, &command, false}, path);
    });

    // Positions are recorded only for the few hits that are returned.
    for (Hit& hit : best.takeSorted()) {
        std::vector<std::int64_t> indices;
        if (hit.rank.matchedTitle) {
            if (std::optional<FuzzyMatcher::Match> match = needle.match(hit.rank.command->title))
                indices = std::move(match->matchedIndices);
        }
        results.push_back(
            {std::move(hit.path), *hit.rank.command, hit.rank.score, std::move(indices)});
    }
    return results;
}

} // namespace kelvane
