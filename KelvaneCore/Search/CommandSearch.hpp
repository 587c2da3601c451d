#pragma once

#include "KelvaneCore/Configuration/CommandModel.hpp"

#include <cstdint>
#include <string>
#include <vector>

namespace kelvane {

/// One hit of `Configuration::search(query, limit)`.
///
/// The query is trimmed of tabs and Unicode space separators at both ends; inner blanks are
/// matched like any other character. An empty trimmed query gives the first `limit` commands
/// in menu order with score 0. Otherwise each command is matched with `FuzzyMatcher` against its
/// title (score doubled, title positions kept) or, failing that, against its group titles and title
/// joined by single blanks (plain score, no positions). Hits are ranked by score, then by
/// title in the user's language ignoring case, then in menu order; the first `limit` are
/// returned.
struct SearchResult {
    /// The titles of the enclosing groups, outermost first; empty at the top level.
    std::vector<std::string> path;
    ShellCommand command;
    /// Ranking score; higher is better.
    std::int64_t score = 0;
    /// Positions in the lower-cased title, counted in user-perceived characters, of the
    /// matched query characters; empty when the hit came from the group path or the query was
    /// empty.
    std::vector<std::int64_t> matchedIndices;

    /// The command's identity.
    const Uuid& id() const { return command.id(); }
    /// The path entries joined by a blank, U+203A (single right-pointing angle quotation
    /// mark) and a blank; empty for an empty path.
    std::string pathDescription() const;

    bool operator==(const SearchResult&) const = default;
};

} // namespace kelvane
