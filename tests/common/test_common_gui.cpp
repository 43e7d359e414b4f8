// The pieces every screen shares, under offscreen Qt: grids sort Chinese in GBK order and
// numbers by value, filter, and show truncated text as a tooltip; layouts come back for the
// same operator only and go back to the built one on request; entry panes move on with Tab and
// Enter over editable cells only; a screen's command keys act where the focus is; the save
// question has three answers; Qt speaks Chinese; filter rows offer "any" first, give back codes
// or typed text and lay out left to right.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSplitter>
#include <QStandardItemModel>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>

#include "common/OperatorState.h"
#include "common/basQKEnv.h"
#include "common/gui/FileDialogs.h"
#include "common/gui/FilterRow.h"
#include "common/gui/Grid.h"
#include "common/gui/GuiPresenter.h"
#include "common/gui/GuiStartup.h"
#include "common/gui/LayoutMemory.h"
#include "common/gui/StdKeys.h"

namespace {

QStandardItemModel* oneColumn(const QStringList& values, QObject* parent) {
    auto* m = new QStandardItemModel(0, 1, parent);
    for (const QString& v : values)
        m->appendRow(new QStandardItem(v));
    return m;
}

// Types text, Chinese included, into whatever has focus (else `target`), one key event per
// character.
void typeText(const QString& text, QWidget* target = nullptr) {
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress,
                        c.isLetterOrNumber() && c.unicode() < 128 ? Qt::Key(c.toUpper().unicode())
                                                                  : Qt::Key_unknown,
                        Qt::NoModifier, QString(c));
        QWidget* to = QApplication::focusWidget() ? QApplication::focusWidget() : target;
        ASSERT_NE(to, nullptr);
        QApplication::sendEvent(to, &press);
    }
}

QStringList column(QAbstractItemModel* m) {
    QStringList out;
    for (int r = 0; r < m->rowCount(); ++r)
        out << m->index(r, 0).data().toString();
    return out;
}

TEST(SharedGrid, SortsChineseInGbkOrderNumbersByValueAndEmptyLast) {
    QTableView view;
    auto* source = oneColumn({"中国历史", "", "北京", "啊", "Zeitschrift", "10", "9"}, &view);
    GbkSortProxy* proxy = LIB_SetupGrid(&view, source, "test/grid");
    QAbstractItemModelTester tester(proxy, QAbstractItemModelTester::FailureReportingMode::Fatal);
    // Unsorted until the operator clicks a header.
    EXPECT_EQ(column(proxy).front(), "中国历史");
    view.sortByColumn(0, Qt::AscendingOrder);
    // Latin before Chinese (single bytes first); GBK puts 啊 before 北 before 中.
    EXPECT_EQ(GbkSortProxy::compareCells("9", "10"), -1);
    EXPECT_EQ(GbkSortProxy::compareCells("北京", "啊"), 1);
    QStringList sorted = column(proxy);
    EXPECT_LT(sorted.indexOf("9"), sorted.indexOf("10"));
    EXPECT_LT(sorted.indexOf("Zeitschrift"), sorted.indexOf("啊"));
    EXPECT_LT(sorted.indexOf("啊"), sorted.indexOf("北京"));
    EXPECT_LT(sorted.indexOf("北京"), sorted.indexOf("中国历史"));
    EXPECT_EQ(sorted.back(), "");
    view.sortByColumn(0, Qt::DescendingOrder);
    EXPECT_EQ(column(proxy).front(), "");
    EXPECT_EQ(column(proxy)[1], "中国历史");
}

TEST(SharedGrid, FilterBoxNarrowsRowsAndEscEmptiesIt) {
    QWidget screen;
    auto* view = new QTableView(&screen);
    auto* source = oneColumn({"中国历史研究", "历史档案", "Nature", "nature reviews"}, &screen);
    GbkSortProxy* proxy = LIB_SetupGrid(view, source, "test/filter");
    QLineEdit* box = LIB_GridFilterBox(proxy, &screen);
    typeText("历史", box);
    EXPECT_EQ(column(proxy), (QStringList{"中国历史研究", "历史档案"}));
    box->setText("NATURE");
    EXPECT_EQ(proxy->rowCount(), 2) << "the filter ignores case";
    QTest::keyClick(box, Qt::Key_Escape);
    EXPECT_TRUE(box->text().isEmpty());
    EXPECT_EQ(proxy->rowCount(), 4);
}

TEST(SharedGrid, TruncatedCellShowsItsTextAsTooltip) {
    QTableView view;
    const QString longTitle = "中华人民共和国国务院公报（汇编本）第二十三卷";
    auto* source = oneColumn({longTitle, "短"}, &view);
    LIB_SetupGrid(&view, source, "test/tips");
    view.setColumnWidth(0, 60);
    view.resize(300, 200);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    auto tipAt = [&](int row) {
        QToolTip::hideText();
        EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }));
        QRect r = view.visualRect(view.model()->index(row, 0));
        QHelpEvent e(QEvent::ToolTip, r.center(), view.viewport()->mapToGlobal(r.center()));
        QApplication::sendEvent(view.viewport(), &e);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    EXPECT_EQ(tipAt(0), longTitle);
    EXPECT_EQ(tipAt(1), "") << "a cell that fits needs no tooltip";
    // The model's own tip stays, below the whole text when the cell is cut off.
    source->item(0)->setToolTip("复本：3  已签：1  未签：2");
    source->item(1)->setToolTip("复本：3  已签：3  未签：0");
    EXPECT_EQ(tipAt(0), longTitle + "\n复本：3  已签：1  未签：2");
    EXPECT_EQ(tipAt(1), "复本：3  已签：3  未签：0");
}

class SharedLayout : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        LIB_SetProgramDir(dir.path().toStdString());
        g_strWkrNo = "A01";
    }
    void TearDown() override { LIB_ResetOperator(); }
    QTemporaryDir dir;
};

TEST_F(SharedLayout, ColumnWidthsAndSplittersComeBackForTheSameOperatorOnly) {
    auto build = [](QWidget& screen, QTableView*& view, QSplitter*& split) {
        split = new QSplitter(&screen);
        view = new QTableView(split);
        split->addWidget(view);
        split->addWidget(new QWidget(split));
        split->resize(600, 300);
        split->setSizes({400, 200});
        LIB_SetupGrid(view, oneColumn({"a"}, &screen), "screen/grid");
        LIB_RememberSplitter(split, "screen/split");
    };
    {
        QWidget screen;
        QTableView* view;
        QSplitter* split;
        build(screen, view, split);
        view->setColumnWidth(0, 321);
        split->setSizes({150, 450});
        emit split->splitterMoved(150, 1);
    }
    QWidget again;
    QTableView* view;
    QSplitter* split;
    build(again, view, split);
    EXPECT_EQ(view->columnWidth(0), 321);
    EXPECT_NEAR(split->sizes().front(), 150, 5);

    g_strWkrNo = "B02";
    QWidget other;
    QTableView* otherView;
    QSplitter* otherSplit;
    build(other, otherView, otherSplit);
    EXPECT_NE(otherView->columnWidth(0), 321) << "another operator keeps the built layout";

    g_strWkrNo = "A01";
    LIB_RestoreDefaultLayout("screen/");
    EXPECT_NE(view->columnWidth(0), 321);
    EXPECT_NEAR(split->sizes().front(), 400, 5);
    QWidget fresh;
    QTableView* freshView;
    QSplitter* freshSplit;
    build(fresh, freshView, freshSplit);
    EXPECT_NE(freshView->columnWidth(0), 321) << "the restored layout is the one remembered";
}

TEST_F(SharedLayout, ScreenValuesAndFileFoldersAreKeptPerOperator) {
    LIB_SetLayoutValue("ordering/lastCatalogue", "YZFX|2026");
    EXPECT_EQ(LIB_LayoutValue("ordering/lastCatalogue").toString(), "YZFX|2026");
    g_strWkrNo = "B02";
    EXPECT_FALSE(LIB_LayoutValue("ordering/lastCatalogue").isValid());
    EXPECT_EQ(LIB_WithExtension("/tmp/订购", "订购断点文件 (*.csv)"), "/tmp/订购.csv");
    EXPECT_EQ(LIB_WithExtension("/tmp/a.txt", "订购断点文件 (*.csv)"), "/tmp/a.txt");
    EXPECT_EQ(LIB_WithExtension("", "订购断点文件 (*.csv)"), "");
}

// A pane like the order detail pane: captions in column 0, values in column 1, one read-only
// value and one drop-down.
struct Pane {
    QTableWidget grid{4, 2};
    QComboBox* box = new QComboBox;
    Pane() {
        for (int r = 0; r < 4; ++r) {
            auto* caption = new QTableWidgetItem(QString("项目%1").arg(r));
            caption->setFlags(Qt::ItemIsEnabled);
            grid.setItem(r, 0, caption);
            grid.setItem(r, 1, new QTableWidgetItem);
        }
        grid.item(1, 1)->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        box->addItems({"", "邮购", "交换"});
        grid.setCellWidget(2, 1, box);
        LIB_EntryPaneKeys(&grid);
        grid.show();
        grid.activateWindow();
    }
    void type(const QString& text) { typeText(text); }
    void key(Qt::Key k) {
        QTest::keyClick(QApplication::focusWidget(), k);
        QApplication::processEvents();
    }
};

TEST(SharedKeys, TabAndEnterVisitOnlyEditableCellsAndKeepWhatWasTyped) {
    Pane p;
    ASSERT_TRUE(QTest::qWaitForWindowActive(&p.grid));
    p.grid.setFocus();
    p.grid.setCurrentCell(0, 1);
    p.type("A123");
    p.key(Qt::Key_Tab);
    EXPECT_EQ(p.grid.item(0, 1)->text(), "A123");
    // The read-only value and the captions are skipped: the drop-down is next.
    EXPECT_EQ(QApplication::focusWidget(), p.box);
    p.key(Qt::Key_Return);
    EXPECT_EQ(p.grid.currentRow(), 3);
    p.type("说明");
    p.key(Qt::Key_Return);
    EXPECT_EQ(p.grid.item(3, 1)->text(), "说明");
    EXPECT_EQ(p.grid.currentRow(), 0) << "Enter after the last field wraps to the first";
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
    QApplication::processEvents();
    EXPECT_EQ(p.grid.currentRow(), 3) << "Shift+Tab goes back";
}

TEST(SharedKeys, DownOnAClosedDropDownOpensItInsteadOfChangingTheValue) {
    Pane p;
    ASSERT_TRUE(QTest::qWaitForWindowActive(&p.grid));
    p.box->setCurrentIndex(1);
    p.box->setFocus();
    QTest::keyClick(p.box, Qt::Key_Down);
    EXPECT_EQ(p.box->currentIndex(), 1);
    EXPECT_TRUE(p.box->view()->isVisible());
    p.box->hidePopup();
}

TEST(SharedKeys, StandardKeysAndTooltipsNameTheShortcut) {
    QAction save("保存(&S)");
    LIB_SetStdKey(&save, StdKey::Save);
    EXPECT_EQ(save.shortcut(), QKeySequence("Ctrl+S"));
    EXPECT_EQ(save.toolTip(), "保存 (Ctrl+S)");
    QAction del("删除明细");
    LIB_SetStdKey(&del, StdKey::Delete);
    EXPECT_EQ(del.toolTip(), "删除明细 (Del)");
    QAction all("全部保存");
    LIB_SetStdKey(&all, StdKey::SaveAll);
    EXPECT_EQ(all.shortcut(), QKeySequence("Ctrl+Shift+S"));
    QAction plain("分组显示");
    LIB_TipWithShortcut(&plain);
    EXPECT_EQ(plain.toolTip(), "分组显示");
}

// Two screens side by side in one window, each with F5 on its search and Esc on its close: a
// key reaches the screen the focus is in, and Esc in a filter box holding text empties it
// without closing the screen.
TEST(SharedKeys, ButtonKeysActOnTheScreenWithTheFocusAndEscEmptiesAFilterFirst) {
    QWidget window;
    auto* layout = new QHBoxLayout(&window);
    struct Screen {
        QWidget* widget;
        QPushButton* search;
        QPushButton* close;
        QLineEdit* filter;
        int searched = 0, closed = 0;
    };
    Screen screens[2];
    for (Screen& s : screens) {
        s.widget = new QWidget(&window);
        auto* inner = new QVBoxLayout(s.widget);
        auto* view = new QTableView(s.widget);
        GbkSortProxy* proxy = LIB_SetupGrid(view, oneColumn({"甲", "乙"}, s.widget));
        s.filter = LIB_GridFilterBox(proxy, s.widget);
        s.search = new QPushButton("查询", s.widget);
        s.close = new QPushButton("退出", s.widget);
        for (QWidget* w : std::initializer_list<QWidget*>{view, s.filter, s.search, s.close})
            inner->addWidget(w);
        layout->addWidget(s.widget);
        LIB_ButtonKey(s.widget, s.search, StdKey::Refresh, "查找");
        LIB_ButtonKey(s.widget, s.close, StdKey::Cancel, "关闭");
        QObject::connect(s.search, &QPushButton::clicked, [&s] { ++s.searched; });
        QObject::connect(s.close, &QPushButton::clicked, [&s] { ++s.closed; });
    }
    EXPECT_EQ(screens[0].search->toolTip(), "查找 (F5)");
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    screens[1].filter->setFocus();
    QTest::keyClick(screens[1].filter, Qt::Key_F5);
    EXPECT_EQ(screens[0].searched, 0);
    EXPECT_EQ(screens[1].searched, 1);
    screens[0].filter->setFocus();
    QTest::keyClick(screens[0].filter, Qt::Key_F5);
    EXPECT_EQ(screens[0].searched, 1);

    QTest::keyClicks(screens[0].filter, "x");
    QTest::keyClick(screens[0].filter, Qt::Key_Escape);
    EXPECT_TRUE(screens[0].filter->text().isEmpty());
    EXPECT_EQ(screens[0].closed, 0) << "the first Esc only empties the filter";
    QTest::keyClick(screens[0].filter, Qt::Key_Escape);
    EXPECT_EQ(screens[0].closed, 1);
    EXPECT_EQ(screens[1].closed, 0);
}

// Shows the save question through the real presenter and presses the button named `press`
// (or Esc when empty); returns the answer and the captions seen.
int askThroughBox(const QString& press, QStringList* captions) {
    QTimer::singleShot(0, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(w);
            if (!box || !box->isVisible()) continue;
            for (QAbstractButton* b : box->buttons())
                *captions << b->text();
            if (press.isEmpty()) {
                QTest::keyClick(box, Qt::Key_Escape);
                continue;
            }
            for (QAbstractButton* b : box->buttons())
                if (b->text() == press) b->click();
        }
    });
    GuiPresenter presenter;
    return presenter.show('C', "期刊管理系统", "存在被修改但未保存的记录，是否保存记录后退出？");
}

TEST(SharedQuestion, SaveQuestionOffersSaveDiscardCancelAndEscStays) {
    QStringList captions;
    EXPECT_EQ(askThroughBox("保存(&S)", &captions), kMsgOk);
    EXPECT_TRUE(captions.contains("不保存(&N)"));
    EXPECT_TRUE(captions.contains("取消"));
    EXPECT_EQ(captions.size(), 3);
    EXPECT_EQ(askThroughBox("不保存(&N)", &captions), kMsgNo);
    EXPECT_EQ(askThroughBox("取消", &captions), kMsgCancel);
    EXPECT_EQ(askThroughBox("", &captions), kMsgCancel);
}

TEST(SharedStartup, QtStandardTextsAreChinese) {
    ASSERT_TRUE(LIB_LoadQtChinese(*qApp)) << "install qt6-translations-l10n";
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_NE(box.button(QMessageBox::Cancel)->text(), "Cancel");
    EXPECT_NE(box.button(QMessageBox::Cancel)->text(), "&Cancel");
}

}  // namespace

namespace {

// A code table as LIB_DB_Select gives it: captions and types in rows 0 and 1.
LibArray codeTable(const std::vector<std::pair<std::string, std::string>>& rows) {
    LibArray a(2, static_cast<int>(rows.size()) + 2);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        a(0, static_cast<int>(r) + 2) = LibVar(rows[r].first);
        a(1, static_cast<int>(r) + 2) = LibVar(rows[r].second);
    }
    return a;
}

}  // namespace

TEST(SharedFilterRow, ChoicesBeginWithAnyAndGiveBackCodesOrTypedText) {
    QWidget screen;
    FilterRow filters(&screen, "<不定>");
    QComboBox* loca =
        filters.tableChoice("cmbLoca", codeTable({{"QK01", "期刊阅览室"}, {"WWQK", ""}}));
    EXPECT_EQ(loca->objectName(), "cmbLoca");
    ASSERT_EQ(loca->count(), 3);
    EXPECT_EQ(loca->itemText(0), "<不定>");
    EXPECT_EQ(loca->itemText(1), "QK01 期刊阅览室");
    EXPECT_EQ(loca->itemText(2), "WWQK");  // no name: the code alone
    EXPECT_EQ(FilterRow::chosen(loca), "");
    loca->setCurrentIndex(1);
    EXPECT_EQ(FilterRow::chosen(loca), "QK01");

    // An editable drop-down gives what was typed, not the entry chosen before.
    QComboBox* no = filters.choice("cmbNo", {{"5-01", ""}});
    no->setEditable(true);
    no->setCurrentIndex(1);
    EXPECT_EQ(FilterRow::chosen(no), "5-01");
    no->setEditText(" 7-12 ");
    EXPECT_EQ(FilterRow::chosen(no), "7-12");
    no->setEditText("<不定>");
    EXPECT_EQ(FilterRow::chosen(no), "");
}

TEST(SharedFilterRow, CaptionsAndControlsGoLeftToRightRowByRow) {
    QWidget screen;
    FilterRow filters(&screen, "（全部）");
    QDateEdit* from = filters.date("dtpFrom", QDate(2036, 3, 1));
    EXPECT_EQ(from->text(), "2036-03-01");
    EXPECT_TRUE(from->calendarPopup());
    auto* list = new QLineEdit(&screen);
    auto* search = new QPushButton(&screen);
    filters.add("日期：", from).add("清单：", list, -2);
    filters.newRow().add("", search);
    QGridLayout* g = filters.layout();
    auto at = [g](int row, int col) {
        QLayoutItem* i = g->itemAtPosition(row, col);
        return i ? i->widget() : nullptr;
    };
    ASSERT_NE(qobject_cast<QLabel*>(at(0, 0)), nullptr);
    EXPECT_EQ(qobject_cast<QLabel*>(at(0, 0))->text(), "日期：");
    EXPECT_EQ(at(0, 1), from);
    EXPECT_EQ(qobject_cast<QLabel*>(at(0, 2))->text(), "清单：");
    EXPECT_EQ(at(0, 3), list);
    EXPECT_EQ(at(1, 3), list);    // a negative span takes the rows below
    EXPECT_EQ(at(1, 0), search);  // no caption: the control takes the first cell
}
