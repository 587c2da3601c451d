#include "Kelvane/QuickSearch/QuickSearchFooter.hpp"
#include "Kelvane/QuickSearch/QuickSearchStyle.hpp"
#include "Kelvane/QuickSearch/QuickSearchView.hpp"

#include "support/StoreWithCommands.hpp"

#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QTest>

#include <gtest/gtest.h>

namespace kelvane {
namespace {

using test::StoreWithCommands;

class QuickSearchViewTest : public ::testing::Test {
protected:
    explicit QuickSearchViewTest(const std::vector<std::string>& titles = {"Alpha", "Beta",
                                                                           "Gamma"})
        : files(titles) {
        files.store.reload();
    }

    /// The view, made on first use so that a test can load the store before.
    QuickSearchView& view() {
        if (!m_view) {
            m_view = std::make_unique<QuickSearchView>(
                files.store, [this](const ShellCommand& c) { events.push_back("run " + c.title); },
                [this](const ShellCommand& c) { events.push_back("copy " + c.command); },
                [this] { events.push_back("cancel"); });
            m_view->resize(620, 420);
        }
        return *m_view;
    }
    QLineEdit& field() { return *view().findChild<QLineEdit*>("quickSearchField"); }
    QListView& list() { return *view().findChild<QListView*>("quickSearchResults"); }
    std::string countText() {
        return view().findChild<QuickSearchFooter*>()->countText().toStdString();
    }
    /// The empty-state text, or "list" while the hits are shown instead.
    std::string shownContent() {
        const auto* label = view().findChild<QLabel*>("quickSearchEmptyState");
        return label->isVisibleTo(&view()) ? label->text().toStdString() : "list";
    }

    StoreWithCommands files;
    std::vector<std::string> events;

private:
    std::unique_ptr<QuickSearchView> m_view;
};

TEST_F(QuickSearchViewTest, arrowKeysStopAtBothEndsReturnRunsControlReturnCopiesEscapeCancels) {
    ASSERT_EQ(view().results().size(), 3u);
    QTest::keyClick(&field(), Qt::Key_Down);
    EXPECT_EQ(view().selection(), 1);
    QTest::keyClick(&field(), Qt::Key_Down);
    QTest::keyClick(&field(), Qt::Key_Down);
    EXPECT_EQ(view().selection(), 2);
    EXPECT_EQ(list().selectionModel()->selectedIndexes(),
              QModelIndexList{list().model()->index(2, 0)})
        << "the row shows the selection";
    QTest::keyClick(&field(), 'a');
    EXPECT_EQ(view().selection(), 0);
    QTest::keyClick(&field(), Qt::Key_Up);
    EXPECT_EQ(view().selection(), 0);
    EXPECT_TRUE(events.empty());

    QTest::keyClick(&field(), Qt::Key_Backspace);
    QTest::keyClick(&field(), Qt::Key_Down);
    QTest::keyClick(&field(), Qt::Key_Return);
    QTest::keyClick(&field(), Qt::Key_Return, Qt::ControlModifier);
    QTest::keyClick(&field(), Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(&field(), Qt::Key_Escape);
    EXPECT_EQ(events,
              (std::vector<std::string>{"run Beta", "copy echo Beta", "run Beta", "cancel"}));
    EXPECT_TRUE(field().text().isEmpty()) << "no key reached the field as text";
}

TEST_F(QuickSearchViewTest, aClickRunsTheRowAtOnceEvenWhenItIsNotSelected) {
    view().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view()));
    const QRect third = list().visualRect(list().model()->index(2, 0));
    ASSERT_TRUE(list().viewport()->rect().contains(third));
    QTest::mouseClick(list().viewport(), Qt::LeftButton, {}, third.center());
    EXPECT_EQ(events, std::vector<std::string>{"run Gamma"});
}

TEST_F(QuickSearchViewTest, aLongCommandIsShortenedInItsMiddle) {
    const std::string start = "rsync -avz --delete ";
    const std::string end = " backup@example.org:/srv/backup/";
    const std::string command = start + std::string(200, 'x') + end;
    const ShellCommand longCommand(Uuid::random(), "Sichern", command, {}, {}, {}, {});
    const SearchResultDelegate delegate;
    const QString shown = delegate.commandText({{}, longCommand, 0, {}});
    EXPECT_TRUE(shown.contains(QChar(0x2026)));
    EXPECT_TRUE(shown.startsWith("rsync -avz")) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith("srv/backup/")) << shown.toStdString();
    EXPECT_LE(QFontMetrics(QuickSearchStyle::monospacedFont(11)).horizontalAdvance(shown),
              SearchResultDelegate::maximumCommandWidth);
    const ShellCommand shortCommand(Uuid::random(), "Liste", "ls -la", {}, {}, {}, {});
    EXPECT_EQ(delegate.commandText({{}, shortCommand, 0, {}}), "ls -la");
}

class QuickSearchCountTest : public QuickSearchViewTest {
protected:
    QuickSearchCountTest() : QuickSearchViewTest(mixed(7, 35)) {}

    static std::vector<std::string> mixed(int hits, int others) {
        std::vector<std::string> titles = StoreWithCommands::numbered("Treffer", hits);
        for (const std::string& title : StoreWithCommands::numbered("Befehl", others))
            titles.push_back(title);
        return titles;
    }
};

TEST_F(QuickSearchCountTest, countsTheHitsOfAllCommandsAndFollowsAReloadWhileOpen) {
    QTest::keyClicks(&field(), "treffer");
    EXPECT_EQ(countText(), "7 von 42");
    EXPECT_EQ(shownContent(), "list");
    QTest::keyClick(&field(), Qt::Key_Down);

    files.write(mixed(9, 41));
    files.store.reload();
    EXPECT_EQ(countText(), "9 von 50");
    EXPECT_EQ(view().results().size(), 9u);
    EXPECT_EQ(view().selection(), 0);

    files.write(mixed(9, 41), "printf ");
    files.store.reload();
    QTest::keyClick(&field(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(events.back().rfind("copy printf Treffer", 0), 0u)
        << events.back() << ": a reload with as many commands still renews the hits";
}

class QuickSearchEmptyTest : public QuickSearchViewTest {
protected:
    QuickSearchEmptyTest() : QuickSearchViewTest(std::vector<std::string>{}) {}
};

TEST_F(QuickSearchEmptyTest, tellsWhetherToTypeOrThatNothingMatchedAndReturnDoesNothing) {
    EXPECT_EQ(shownContent(), "Tippen, um zu suchen");
    EXPECT_EQ(countText(), "0 von 0");
    QTest::keyClick(&field(), 'q');
    QTest::keyClick(&field(), Qt::Key_Down);
    QTest::keyClick(&field(), Qt::Key_Return);
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(shownContent(), "Keine Treffer");
    EXPECT_EQ(field().placeholderText().toStdString(), "Befehl suchen");
    EXPECT_EQ(field().accessibleName().toStdString(), "Befehl suchen");
}

} // namespace
} // namespace kelvane
