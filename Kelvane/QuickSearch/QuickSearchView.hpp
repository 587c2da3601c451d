#pragma once

#include "Kelvane/QuickSearch/SearchResultList.hpp"
#include "Kelvane/Store/ConfigStore.hpp"

#include <QWidget>

#include <functional>

class QLabel;
class QLineEdit;
class QListView;
class QStackedWidget;

namespace kelvane {

class QuickSearchFooter;

/// The content of the quick-search panel: a search field, the commands of the store's
/// configuration that match it (or a hint when there are none), and a footer with the keys and
/// the count. Up and Down move the selection, Return runs the selected command, Ctrl+Return
/// (Command+Return on macOS) copies it, Escape cancels; a click on a row runs that row.
class QuickSearchView : public QWidget {
    Q_OBJECT

public:
    using CommandAction = std::function<void(const ShellCommand&)>;

    /// The most hits the list shows.
    static constexpr std::size_t resultLimit = 100;

    QuickSearchView(ConfigStore& store, CommandAction onRun, CommandAction onCopy,
                    std::function<void()> onCancel, QWidget* parent = nullptr);

    QString query() const;
    /// The index of the highlighted hit; 0 also while there is none.
    int selection() const { return m_selection; }
    const std::vector<SearchResult>& results() const { return m_model.results(); }

    /// Moves the selection by `delta`, stopping at the first and the last hit.
    void moveSelection(int delta);
    /// Runs, or with `copy` copies, the selected hit's command; nothing without one.
    void runSelected(bool copy);
    /// Gives the search field the keyboard focus.
    void focusField();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* makeHeader();
    QWidget* makeContent();
    void refreshResults();
    void configurationChanged();
    void select(int index);

    ConfigStore& m_store;
    CommandAction m_onRun;
    CommandAction m_onCopy;
    std::function<void()> m_onCancel;
    SearchResultListModel m_model;
    std::size_t m_commandCount = 0;
    int m_selection = 0;
    QLineEdit* m_field = nullptr;
    QStackedWidget* m_content = nullptr;
    QListView* m_list = nullptr;
    QLabel* m_emptyState = nullptr;
    QuickSearchFooter* m_footer = nullptr;
};

} // namespace kelvane
