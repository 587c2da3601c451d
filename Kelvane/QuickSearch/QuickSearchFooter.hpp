#pragma once

#include <QWidget>

class QLabel;

namespace kelvane {

/// The bottom row of the quick search: what the keys do, and how many commands the list shows
/// of how many there are.
class QuickSearchFooter : public QWidget {
    Q_OBJECT

public:
    explicit QuickSearchFooter(QWidget* parent = nullptr);

    /// Shows "`shown` von `total`".
    void setCount(std::size_t shown, std::size_t total);
    QString countText() const;

private:
    void addKeyHint(const QString& key, const QString& label);

    QLabel* m_count;
};

} // namespace kelvane
