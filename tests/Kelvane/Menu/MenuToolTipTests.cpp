#include "Kelvane/Menu/MenuToolTip.hpp"

#include <QApplication>

#include <gtest/gtest.h>

namespace kelvane {
namespace {

TEST(MenuToolTip, linesBreakOnlyWhereTheyWouldBeTooWide) {
    const QFontMetrics metrics(QApplication::font());
    const int width = metrics.horizontalAdvance("ssh deploy@example.org");
    struct Case {
        QString text;
        QStringList expected;
    };
    const std::vector<Case> cases{
        {"ssh  deploy@x", {"ssh  deploy@x"}},
        {"ssh deploy@example.org ls -la", {"ssh deploy@example.org", "ls -la"}},
        {"a\nb c", {"a", "b c"}},
    };
    for (const Case& testCase : cases) {
        SCOPED_TRACE(testCase.text.toStdString());
        EXPECT_EQ(linesWithin(testCase.text, metrics, width), testCase.expected);
    }

    const QString word = QString("x").repeated(200);
    const QStringList pieces = linesWithin("ls " + word, metrics, width);
    ASSERT_GT(pieces.size(), 2);
    EXPECT_EQ(pieces.front(), "ls");
    EXPECT_EQ(pieces.mid(1).join(""), word) << "a word wider than a line is split, nothing lost";
    for (const QString& piece : pieces)
        EXPECT_LE(metrics.horizontalAdvance(piece), width);
}

} // namespace
} // namespace kelvane
