#include "Kelvane/QuickSearch/SearchResultList.hpp"

#include "Kelvane/QuickSearch/QuickSearchStyle.hpp"

#include <QPainter>
#include <QPainterPath>

namespace kelvane {
namespace {

using QuickSearchStyle::Emphasis;

constexpr int horizontalPadding = 10;
constexpr int verticalPadding = 7;
constexpr int lineSpacing = 2;
constexpr int minimumGap = 12;
constexpr qreal cornerRadius = 7;

QString qString(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

void SearchResultListModel::setResults(std::vector<SearchResult> results) {
    beginResetModel();
    m_results = std::move(results);
    endResetModel();
}

const SearchResult& SearchResultListModel::result(const QModelIndex& index) const {
    return m_results.at(static_cast<std::size_t>(index.row()));
}

int SearchResultListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_results.size());
}

QVariant SearchResultListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const SearchResult& hit = result(index);
    switch (role) {
    case Qt::DisplayRole:
        return qString(hit.command.title);
    case Qt::AccessibleTextRole: {
        QStringList parts{qString(hit.command.title)};
        if (!hit.path.empty())
            parts << qString(hit.pathDescription());
        parts << qString(hit.command.command);
        return parts.join(", ");
    }
    default:
        return {};
    }
}

SearchResultDelegate::SearchResultDelegate(QObject* parent)
    : QStyledItemDelegate(parent), m_titleFont(QuickSearchStyle::systemFont(13, QFont::Medium)),
      m_pathFont(QuickSearchStyle::systemFont(11)),
      m_commandFont(QuickSearchStyle::monospacedFont(11)) {}

QString SearchResultDelegate::commandText(const SearchResult& result) const {
    return QFontMetrics(m_commandFont)
        .elidedText(qString(result.command.command), Qt::ElideMiddle, maximumCommandWidth);
}

void SearchResultDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
    const auto* model = qobject_cast<const SearchResultListModel*>(index.model());
    if (!model)
        return;
    const SearchResult& hit = model->result(index);
    const QRect row = option.rect.adjusted(0, 0, 0, -rowSpacing);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    if (option.state.testFlag(QStyle::State_Selected)) {
        QPainterPath background;
        background.addRoundedRect(QRectF(row), cornerRadius, cornerRadius);
        painter->fillPath(background, QuickSearchStyle::selectionFill(option.palette));
    }
    const QRect content =
        row.adjusted(horizontalPadding, verticalPadding, -horizontalPadding, -verticalPadding);

    const QString command = commandText(hit);
    const QFontMetrics commandMetrics(m_commandFont);
    const int commandWidth = commandMetrics.horizontalAdvance(command);
    painter->setFont(m_commandFont);
    painter->setPen(QuickSearchStyle::labelColor(option.palette, Emphasis::tertiary));
    painter->drawText(content, Qt::AlignRight | Qt::AlignVCenter, command);

    const QFontMetrics titleMetrics(m_titleFont);
    const QFontMetrics pathMetrics(m_pathFont);
    const int textWidth = std::max(0, content.width() - commandWidth - minimumGap);
    // Rows are all of one height; a command at the top level, without a group path, has its
    // title in the middle.
    const bool hasPath = !hit.path.empty();
    const int textHeight =
        titleMetrics.height() + (hasPath ? lineSpacing + pathMetrics.height() : 0);
    QRect line(content.left(), content.center().y() - textHeight / 2, textWidth,
               titleMetrics.height());
    painter->setFont(m_titleFont);
    painter->setPen(QuickSearchStyle::labelColor(option.palette, Emphasis::primary));
    painter->drawText(
        line, Qt::AlignLeft | Qt::AlignVCenter,
        titleMetrics.elidedText(qString(hit.command.title), Qt::ElideRight, textWidth));
    if (hasPath) {
        line.translate(0, line.height() + lineSpacing);
        line.setHeight(pathMetrics.height());
        painter->setFont(m_pathFont);
        painter->setPen(QuickSearchStyle::labelColor(option.palette, Emphasis::secondary));
        painter->drawText(
            line, Qt::AlignLeft | Qt::AlignVCenter,
            pathMetrics.elidedText(qString(hit.pathDescription()), Qt::ElideRight, textWidth));
    }
    painter->restore();
}

QSize SearchResultDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const {
    const int textHeight =
        QFontMetrics(m_titleFont).height() + lineSpacing + QFontMetrics(m_pathFont).height();
    return {0, verticalPadding + textHeight + verticalPadding + rowSpacing};
}

SearchResultListView::SearchResultListView(SearchResultListModel& model, QWidget* parent)
    : QListView(parent) {
    setModel(&model);
    setItemDelegate(new SearchResultDelegate(this));
    setUniformItemSizes(true);
    setFocusPolicy(Qt::NoFocus);
    // The selection follows the keys in the field only; a click runs its row instead.
    setSelectionMode(QAbstractItemView::NoSelection);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::NoFrame);
    viewport()->setAutoFillBackground(false);
    setViewportMargins(8, 8, 8, 8);
}

} // namespace kelvane
