#pragma once

#include "KelvaneCore/Search/CommandSearch.hpp"

#include <QAbstractListModel>
#include <QListView>
#include <QStyledItemDelegate>

#include <vector>

namespace kelvane {

/// The hits of the quick search, one row each, in display order.
class SearchResultListModel : public QAbstractListModel {
    Q_OBJECT

public:
    using QAbstractListModel::QAbstractListModel;

    void setResults(std::vector<SearchResult> results);
    const std::vector<SearchResult>& results() const { return m_results; }
    /// The hit of a row of this model.
    const SearchResult& result(const QModelIndex& index) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    /// The title as the display text; the title, group path and command as the text assistive
    /// technologies read for the row as a whole.
    QVariant data(const QModelIndex& index, int role) const override;

private:
    std::vector<SearchResult> m_results;
};

/// Paints a row of a `SearchResultListModel`: the title above the group path on the left, the
/// command on the right in a fixed-pitch font, shortened in its middle to at most
/// `maximumCommandWidth` pixels; a selected row on a rounded fill of the highlight colour.
class SearchResultDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    static constexpr int maximumCommandWidth = 240;
    /// The room between two rows.
    static constexpr int rowSpacing = 2;

    explicit SearchResultDelegate(QObject* parent = nullptr);

    /// The command as a row shows it.
    QString commandText(const SearchResult& result) const;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    QFont m_titleFont;
    QFont m_pathFont;
    QFont m_commandFont;
};

/// The list of hits: it never takes the keyboard (the search field keeps it and moves the
/// selection), its rows keep a margin from its edges, and its scroll bar sits at the edge.
class SearchResultListView : public QListView {
    Q_OBJECT

public:
    /// Shows `model` with a `SearchResultDelegate`.
    SearchResultListView(SearchResultListModel& model, QWidget* parent = nullptr);
};

} // namespace kelvane
