#pragma once

#include <QColor>
#include <QLabel>
#include <QWidget>

#include <optional>
#include <string>

class QBoxLayout;
class QFormLayout;

/// The pieces the settings panes are built from: titled sections holding label–control rows,
/// captions below a row, and captions led by a symbol.
namespace kelvane::SettingsForm {

/// macOS's orange for notes that ask for the user's attention.
inline const QColor attentionColor{255, 149, 0};

/// Appends a titled section to a pane and returns the form of its rows.
QFormLayout* addSection(QBoxLayout& pane, const QString& title);

/// Small text in the secondary colour, or in `color`, wrapped to the width of the form.
QLabel* caption(const QString& text, std::optional<QColor> color = std::nullopt);

/// Shows or hides the form row that holds `field`.
void showRow(QWidget& field, bool visible);

/// A caption led by a system symbol.
class SymbolCaption : public QWidget {
    Q_OBJECT

public:
    SymbolCaption(const std::string& symbolName, const QString& text,
                  std::optional<QColor> color = std::nullopt);

    QString text() const { return m_text->text(); }
    void setText(const QString& text) { m_text->setText(text); }

private:
    QLabel* m_text;
};

/// One line of text that is drawn shortened in the middle when it does not fit; `text()` stays
/// whole.
class MiddleElidedLabel : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;

    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace kelvane::SettingsForm
