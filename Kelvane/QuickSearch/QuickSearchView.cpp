#include "Kelvane/QuickSearch/QuickSearchView.hpp"

#include "Kelvane/Desktop/SymbolIcon.hpp"
#include "Kelvane/QuickSearch/QuickSearchFooter.hpp"
#include "Kelvane/QuickSearch/QuickSearchStyle.hpp"

#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace kelvane {
namespace {

using QuickSearchStyle::Emphasis;

QFrame* makeDivider(QWidget* parent) {
    auto* divider = new QFrame(parent);
    divider->setFrameShape(QFrame::HLine);
    divider->setFrameShadow(QFrame::Plain);
    QPalette palette = divider->palette();
    palette.setColor(QPalette::WindowText, palette.color(QPalette::Mid));
    divider->setPalette(palette);
    return divider;
}

std::size_t commandCount(const std::optional<Configuration>& configuration) {
    return configuration ? configuration->commandCount() : 0;
}

} // namespace

QuickSearchView::QuickSearchView(ConfigStore& store, CommandAction onRun, CommandAction onCopy,
                                 std::function<void()> onCancel, QWidget* parent)
    : QWidget(parent), m_store(store), m_onRun(std::move(onRun)), m_onCopy(std::move(onCopy)),
      m_onCancel(std::move(onCancel)), m_commandCount(commandCount(store.configuration())) {
    setObjectName("quickSearchView");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(makeHeader());
    layout->addWidget(makeDivider(this));
    layout->addWidget(makeContent(), 1);
    layout->addWidget(makeDivider(this));
    m_footer = new QuickSearchFooter(this);
    layout->addWidget(m_footer);

    connect(m_field, &QLineEdit::textChanged, this, &QuickSearchView::refreshResults);
    // Also a reload that keeps the number of commands may have changed their titles and
    // command lines, and a hit must never run a line the file no longer holds.
    connect(&m_store, &ConfigStore::configurationChanged, this,
            &QuickSearchView::configurationChanged);
    refreshResults();
}

QWidget* QuickSearchView::makeHeader() {
    auto* header = new QWidget(this);
    header->setObjectName("quickSearchHeader");
    auto* layout = new QHBoxLayout(header);
    layout->setContentsMargins(18, 14, 18, 14);
    layout->setSpacing(10);
    auto* symbol = new QLabel(header);
    symbol->setPixmap(symbolIcon("magnifyingglass").pixmap(16, 16));
    layout->addWidget(symbol);
    m_field = new QLineEdit(header);
    m_field->setObjectName("quickSearchField");
    m_field->setPlaceholderText("Befehl suchen");
    m_field->setAccessibleName("Befehl suchen");
    m_field->setFont(QuickSearchStyle::systemFont(20));
    m_field->setFrame(false);
    QPalette palette = m_field->palette();
    palette.setColor(QPalette::Base, Qt::transparent);
    m_field->setPalette(palette);
    m_field->installEventFilter(this);
    layout->addWidget(m_field, 1);
    return header;
}

QWidget* QuickSearchView::makeContent() {
    m_content = new QStackedWidget(this);
    m_list = new SearchResultListView(m_model, m_content);
    m_list->setObjectName("quickSearchResults");
    connect(m_list, &QListView::clicked, this, [this](const QModelIndex& index) {
        select(index.row());
        runSelected(false);
    });
    m_content->addWidget(m_list);

    m_emptyState = new QLabel(m_content);
    m_emptyState->setObjectName("quickSearchEmptyState");
    m_emptyState->setAlignment(Qt::AlignCenter);
    m_emptyState->setFont(QuickSearchStyle::systemFont(13));
    QuickSearchStyle::setTextEmphasis(*m_emptyState, Emphasis::secondary);
    m_content->addWidget(m_emptyState);
    return m_content;
}

QString QuickSearchView::query() const {
    return m_field->text();
}

void QuickSearchView::moveSelection(int delta) {
    if (results().empty())
        return;
    const int last = static_cast<int>(results().size()) - 1;
    select(std::min(last, std::max(0, m_selection + delta)));
}

void QuickSearchView::runSelected(bool copy) {
    if (m_selection < 0 || static_cast<std::size_t>(m_selection) >= results().size())
        return;
    const ShellCommand& command = results()[static_cast<std::size_t>(m_selection)].command;
    (copy ? m_onCopy : m_onRun)(command);
}

void QuickSearchView::focusField() {
    m_field->setFocus(Qt::OtherFocusReason);
}

bool QuickSearchView::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_field || event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
    case Qt::Key_Down:
        moveSelection(1);
        return true;
    case Qt::Key_Up:
        moveSelection(-1);
        return true;
    case Qt::Key_Escape:
        m_onCancel();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        runSelected(key->modifiers().testFlag(Qt::ControlModifier));
        return true;
    default:
        return false;
    }
}

void QuickSearchView::refreshResults() {
    std::vector<SearchResult> hits;
    if (const std::optional<Configuration>& configuration = m_store.configuration())
        hits = configuration->search(m_field->text().toStdString(), resultLimit);
    m_model.setResults(std::move(hits));
    m_emptyState->setText(query().isEmpty() ? "Tippen, um zu suchen" : "Keine Treffer");
    m_content->setCurrentWidget(results().empty() ? static_cast<QWidget*>(m_emptyState) : m_list);
    m_footer->setCount(results().size(), m_commandCount);
    select(0);
}

void QuickSearchView::configurationChanged() {
    m_commandCount = commandCount(m_store.configuration());
    refreshResults();
}

void QuickSearchView::select(int index) {
    m_selection = index;
    if (index < 0 || index >= m_model.rowCount())
        return;
    const QModelIndex row = m_model.index(index);
    m_list->selectionModel()->setCurrentIndex(row, QItemSelectionModel::ClearAndSelect);
    m_list->scrollTo(row, QAbstractItemView::PositionAtCenter);
}

} // namespace kelvane
