// The report screens driven through their controls on the demo database, on both backends: the
// grid shows the report's rows and total, the chart its groups, an empty year does nothing, a
// refusal is said in words; the exports write what the grid shows. With SERIALS_SHOTS set to a
// folder, the screens are saved there as PNG at 1280x800 and 1920x1080 for a person to look at.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>

#include "app/basQKLogin.h"
#include "db/basLibDB.h"
#include "marc/core/MarcImport.h"
#include "reports/core/StatExport.h"
#include "reports/gui/StatChart.h"
#include "reports/gui/frmStatReport.h"
#include "reports/gui/frmStatSearch.h"
#include "tests/support/CtlRun.h"
#include "tests/support/DemoSession.h"
#include "tests/support/PdfText.h"
#include "tests/support/TestDb.h"

namespace {

using Mode = QAbstractItemModelTester::FailureReportingMode;

// Presses a screen's export command and answers its save dialog with `path`; false when no
// dialog came.
bool exportThroughDialog(QWidget* screen, const char* command, const std::string& path) {
    auto* button = screen->findChild<QPushButton*>(command);
    if (!button) return false;
    bool asked = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        asked = true;
        dialog->selectFile(QString::fromStdString(path));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    button->click();
    return asked;
}

class StatScreens : public DemoDbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped()) return;
        openAs("ZG01");
        if (HasFatalFailure()) return;
        LIB_DB_PinServerDate("2026-06-20 08:30:00");
        presenter.shown.clear();
    }
    void open(StatScreen kind) {
        tester.reset();
        form = std::make_unique<frmStatReport>(kind);
        tester = std::make_unique<QAbstractItemModelTester>(form->model(), Mode::Fatal);
    }
    template <class T>
    T* child(const char* name) {
        T* w = form->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void shoot(const std::string& name) {
        const char* dir = std::getenv("SERIALS_SHOTS");
        if (!dir) return;
        for (QSize size : {QSize(1280, 800), QSize(1920, 1080)}) {
            form->resize(size);
            form->show();
            form->grab().save(
                QString("%1/%2-%3.png").arg(dir, QString::fromStdString(name)).arg(size.width()));
        }
    }
    // The grid's cells as the view shows them, a row a line, cells joined by "|".
    std::vector<std::string> shown() {
        std::vector<std::string> out;
        QAbstractItemModel* m = form->model();
        for (int r = 0; r < m->rowCount(); ++r) {
            std::string line;
            for (int c = 0; c < m->columnCount(); ++c)
                line += (c ? "|" : "") + m->index(r, c).data().toString().toStdString();
            out.push_back(line);
        }
        return out;
    }
    void TearDown() override {
        tester.reset();
        form.reset();
        DbTest::TearDown();
    }
    std::unique_ptr<frmStatReport> form;
    std::unique_ptr<QAbstractItemModelTester> tester;
};
SERIALS_ON_BOTH_BACKENDS(StatScreens);

TEST_P(StatScreens, DistributionScreenShowsRowsTotalAndChart) {
    open(StatScreen::LocaAll);
    auto* year = child<QComboBox>("cmbYear");
    ASSERT_EQ(year->currentText(), "2026");  // newest first
    child<QRadioButton>("optLocaSub")->setChecked(true);
    child<QPushButton>("cmdTotal")->click();
    StatTable expected;
    StatFilter f;
    f.year = "2026";
    ASSERT_EQ(statLocaAll(f, StatBasis::Subscriber, expected), StatResult::Rows);
    std::vector<std::string> lines = shown();
    ASSERT_EQ(lines.size(), expected.gridRows().size());
    EXPECT_EQ(lines.back(), "合计|" + expected.total[1] + "|" + expected.total[2]);
    ASSERT_EQ(form->chart()->bars().size(), expected.sections[0].rows.size());
    EXPECT_EQ(form->chart()->bars()[0].label.toStdString(), expected.sections[0].rows[0][0]);
    EXPECT_DOUBLE_EQ(form->chart()->bars()[0].value, std::stod(expected.sections[0].rows[0][2]));
    shoot("frmStatLocaAll");

    // An empty year does nothing: the grid keeps what it had, no message.
    year->setEditText("");
    child<QPushButton>("cmdTotal")->click();
    EXPECT_EQ(shown(), lines);
    EXPECT_TRUE(presenter.shown.empty());

    // The exports hold the grid; the PDF its header block and total.
    const std::string pdf = home->dir() + "/TMP/s.pdf", csv = home->dir() + "/TMP/s.csv";
    ASSERT_TRUE(form->exportTo(QString::fromStdString(pdf)));
    ASSERT_TRUE(form->exportTo(QString::fromStdString(csv)));
    std::string text = pdfText(pdf);
    for (const std::string& part :
         {std::string("年度馆藏订购分布统计"), std::string("订购年：2026"),
          std::string("制表日期：2026-06-20"), std::string("制表人员：ZG01"), expected.total[2]})
        EXPECT_NE(text.find(part), std::string::npos) << part << "\n" << text;
    // The PDF command asks where and writes the same report with its chart.
    const std::string asked = home->dir() + "/TMP/asked.pdf";
    ASSERT_TRUE(exportThroughDialog(form.get(), "cmdPdf", asked));
    EXPECT_NE(pdfText(asked).find(expected.total[2]), std::string::npos);
    // The chart prints with the report, as a picture under it.
    const std::string images = pdf + ".images";
    ASSERT_EQ(std::system(("pdfimages -list " + pdf + " >" + images).c_str()), 0);
    EXPECT_NE(slurp(images).find(" image "), std::string::npos) << slurp(images);
    std::string file = slurp(csv);
    for (const std::string& line : lines) {
        std::string comma = line;
        std::replace(comma.begin(), comma.end(), '|', ',');
        EXPECT_NE(file.find(comma + "\r\n"), std::string::npos) << comma;
    }
}

TEST_P(StatScreens, PerTitleScreenOffersTheBasisLocations) {
    open(StatScreen::Loca);
    auto* loca = child<QComboBox>("cmbLoca");
    std::vector<std::string> dist;
    StatFilter f;
    f.year = "2026";
    ASSERT_EQ(statLocaList(f, StatBasis::Distribution, dist), 0);
    ASSERT_EQ(loca->count(), static_cast<int>(dist.size()) + 1);
    EXPECT_EQ(loca->itemText(0).toStdString(), kStatAny);
    child<QRadioButton>("optLocaSub")->setChecked(true);
    std::vector<std::string> sub;
    ASSERT_EQ(statLocaList(f, StatBasis::Subscriber, sub), 0);
    EXPECT_EQ(loca->count(), static_cast<int>(sub.size()) + 1);
    loca->setCurrentIndex(1);
    child<QPushButton>("cmdTotal")->click();
    StatTable t;
    ASSERT_EQ(statLoca(f, StatBasis::Subscriber, sub[0], t), StatResult::Rows);
    EXPECT_EQ(shown().size(), t.gridRows().size());
    EXPECT_EQ(shown().back().rfind("总计|", 0), 0u);
    shoot("frmStatLoca");
}

TEST_P(StatScreens, GroupedScreensChartTheirGroups) {
    open(StatScreen::Sort);
    auto* templ = child<QComboBox>("cboTemplate");
    templ->setCurrentIndex(templ->findText("按学科门类统计"));
    child<QTabBar>("sstType")->setCurrentIndex(1);
    child<QPushButton>("cmdStat")->click();
    const StatTable& t = form->table();
    ASSERT_FALSE(t.sections.empty());
    EXPECT_EQ(t.sections.back().heading, "【未分配索书号】");
    ASSERT_EQ(form->chart()->bars().size(), t.sections.size());
    EXPECT_EQ(form->chart()->bars().back().label.toStdString(), "【未分配索书号】");
    EXPECT_DOUBLE_EQ(form->chart()->bars().back().value, std::stod(t.sections.back().total[3]));
    shoot("frmStatSort");

    open(StatScreen::Other);
    child<QComboBox>("cmbCond")->setCurrentIndex(1);  // 语种
    child<QPushButton>("cmdTotal")->click();
    EXPECT_EQ(form->chart()->bars().size(), form->table().sections.size());
    EXPECT_GE(form->table().sections.size(), 2u);
    shoot("frmStatOther");
}

TEST_P(StatScreens, RefusalsAreSaidAndLeaveTheGridAsItWas) {
    open(StatScreen::IndiAcct);
    child<QLineEdit>("txtTo")->setText("Q9");
    child<QPushButton>("cmdPreview")->click();
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(presenter.shown[0].body, "起始财产号为空！");
    child<QLineEdit>("txtFrom")->setText("Q0");
    child<QPushButton>("cmdPreview")->click();
    ASSERT_EQ(shown().size(), 2u);  // the demo's one volume and the total
    EXPECT_EQ(form->findChild<QLabel*>("lblTotal")->text().toStdString(), "种：1 总价：168.00");
    shoot("frmStatIndiAcct");

    open(StatScreen::Job);
    child<QComboBox>("optStatType")->setCurrentIndex(1);  // 月
    child<QLineEdit>("txtBgnDay")->setText("2026");
    child<QPushButton>("cmdStat")->click();
    EXPECT_EQ(presenter.shown.back().type, 'E');
    EXPECT_EQ(shown().size(), 0u);

    open(StatScreen::Arrival);
    child<QCheckBox>("chkShowBindInfo")->setChecked(true);
    child<QPushButton>("cmdStat")->click();
    EXPECT_FALSE(form->table().footer.empty());
    EXPECT_EQ(form->findChild<QLabel*>("lblTotal")->text().toStdString(), form->table().footer);
    shoot("frmStatArrival");
}

TEST_P(StatScreens, PeriodicalQueryShowsTheChosenTitlesTabs) {
    auto search = std::make_unique<frmStatSearch>();
    QAbstractItemModelTester titles(search->titles(), Mode::Fatal);
    QAbstractItemModelTester orders(search->tab(2), Mode::Fatal);
    auto* path = search->findChild<QComboBox*>("cmdOption");
    ASSERT_NE(path, nullptr);
    path->setCurrentIndex(path->findText("题名"));
    auto* text = search->findChild<QLineEdit*>("txtContent");
    auto* run = search->findChild<QPushButton*>("cmdStat");
    run->click();
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(presenter.shown[0].body, "查询内容不能为空");

    text->setText("图书馆学");
    run->click();
    ASSERT_EQ(search->titles()->rowCount(), 1);
    EXPECT_EQ(search->titles()->index(0, 0).data().toString(), "图书馆学研究进展");
    // The first title is chosen at once: its orders of both years, its issues and volumes.
    EXPECT_EQ(search->tab(2)->rowCount(),
              std::stoi(scalar("SELECT COUNT(*) FROM m_peri_ord_detl WHERE "
                               "marc_rec_no='0000000001'")) +
                  1);  // and the total row
    EXPECT_GT(search->tab(0)->rowCount(), 1);
    auto* year = search->findChild<QComboBox*>("cmbOrdYear");
    year->setCurrentIndex(year->findText("2026"));
    EXPECT_EQ(search->tab(2)->rowCount(), 2);
    EXPECT_EQ(search->tab(2)->index(0, 1).data().toString(), "202601");
    search->findChild<QTabWidget*>("sstStatSearch")->setCurrentIndex(2);
    // The export commands write the tab shown, the same file as the report's own writer.
    const std::string csv = home->dir() + "/TMP/orders.csv", want = home->dir() + "/TMP/want.csv";
    ASSERT_TRUE(exportThroughDialog(search.get(), "cmdCsv", csv));
    std::string error;
    ASSERT_EQ(statWriteCsv(want, search->tabTable(2), error), 0) << error;
    EXPECT_EQ(slurp(csv), slurp(want));
    EXPECT_NE(slurp(csv).find("202601"), std::string::npos);
    const std::string xlsx = home->dir() + "/TMP/orders.xlsx";
    ASSERT_TRUE(exportThroughDialog(search.get(), "cmdXlsx", xlsx));
    EXPECT_GT(slurp(xlsx).size(), 0u);
    EXPECT_EQ(slurp(xlsx).substr(0, 2), "PK");
    if (const char* dir = std::getenv("SERIALS_SHOTS"))
        for (QSize size : {QSize(1280, 800), QSize(1920, 1080)}) {
            search->resize(size);
            search->show();
            search->grab().save(QString("%1/frmStatSearch-%2.png").arg(dir).arg(size.width()));
        }
}

}  // namespace
