// The client's import dialog under an offscreen Qt, driven through its controls on both
// backends: the counts and warnings of a file with a bad record, a stop in the middle that keeps
// only whole records, and the messages for a file that cannot be imported.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <fstream>
#include <sstream>

#include "marc/gui/frmCataImport.h"
#include "tests/marc/MarcDbTest.h"
#include "tests/support/Screenshot.h"

namespace {

class CataImport : public MarcDbTest {
protected:
    void SetUp() override {
        MarcDbTest::SetUp();
        if (IsSkipped()) return;
        ASSERT_TRUE(dir.isValid());
        before = std::stoll(scalar("SELECT count(*) FROM marc"));
    }

    static std::string fixture(const std::string& name) {
        std::ifstream in(std::string(SERIALS_TEST_DATA) + "/" + name, std::ios::binary);
        std::ostringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }

    QString file(const std::string& bytes) const {
        QString path = dir.filePath("records.mrc");
        std::ofstream(path.toStdString(), std::ios::binary) << bytes;
        return path;
    }

    long long added() const { return std::stoll(scalar("SELECT count(*) FROM marc")) - before; }

    QTemporaryDir dir;
    long long before = 0;
};

TEST_P(CataImport, AFileWithABadRecordShowsTheCountsAndEveryWarning) {
    const std::string good = fixture("unimarc_sample.mrc");
    std::string crlf = good.substr(0, good.find('\x1d') + 1);
    crlf.replace(crlf.find('\x1e', 30) + 3, 2, "\r\n");
    const std::string junk = "00040nas  2200000   450 " + std::string(15, 'x') + "\x1d";

    frmCataImport form;
    form.show();
    EXPECT_FALSE(form.cmdStop->isEnabled()) << "nothing to stop before a run";
    form.txtFile->setText(file(good + junk + crlf));
    form.cmbFormat->setCurrentIndex(form.cmbFormat->findText("CNMARC"));
    form.cmbEncoding->setCurrentIndex(form.cmbEncoding->findText("GBK"));
    form.cmdStart->click();

    EXPECT_EQ(form.lastReport().saved, 3);
    EXPECT_EQ(form.lastReport().skipped, 1);
    EXPECT_EQ(added(), 3);
    EXPECT_TRUE(
        form.lblResult->text().startsWith("导入 3 条（其中修复 1 条），跳过 1 条，保存失败 0 条"))
        << form.lblResult->text().toStdString();
    ASSERT_EQ(form.lstWarnings->count(), 2);
    EXPECT_TRUE(form.lstWarnings->item(0)->text().contains("第 3 条记录"));
    EXPECT_TRUE(form.lstWarnings->item(0)->text().contains("已跳过"));
    EXPECT_TRUE(form.lstWarnings->item(1)->text().contains("回车换行"));
    EXPECT_EQ(form.pbImport->value(), form.pbImport->maximum());
    EXPECT_TRUE(form.lblProg->text().contains("跳过 1 条")) << form.lblProg->text().toStdString();
    EXPECT_TRUE(form.cmdStart->isEnabled());
    EXPECT_FALSE(form.cmdStop->isEnabled());
    EXPECT_TRUE(presenter.shown.empty());
    saveScreenshots(form, "frmCataImport-" + QString::fromStdString(GetParam()));

    // The same file again, as MARC 21 read by the leader: a second run starts afresh.
    form.cmbFormat->setCurrentIndex(form.cmbFormat->findText("USMARC (MARC 21)"));
    form.cmbEncoding->setCurrentIndex(0);
    form.txtFile->setText(file(fixture("marc8_sample.mrc")));
    form.cmdStart->click();
    EXPECT_EQ(form.lastReport().saved, 2);
    EXPECT_EQ(form.lstWarnings->count(), 0);
    EXPECT_EQ(added(), 5);
    EXPECT_EQ(scalar("SELECT count(*) FROM marc WHERE marc_type='U'"), "2");
}

TEST_P(CataImport, StopInTheMiddleKeepsOnlyWholeRecords) {
    const std::string two = fixture("unimarc_sample.mrc");
    std::string many;
    for (int i = 0; i < 400; ++i)
        many += two;
    frmCataImport form;
    form.show();
    form.txtFile->setText(file(many));
    int progressSeen = 0;
    QObject::connect(&form, &frmCataImport::progressShown, &form, [&](int records) {
        ++progressSeen;
        EXPECT_TRUE(form.isRunning());
        EXPECT_TRUE(form.cmdStop->isEnabled());
        EXPECT_FALSE(form.cmdStart->isEnabled()) << "no second run while one is going";
        EXPECT_GT(form.pbImport->value(), 0);
        EXPECT_TRUE(form.lblProg->text().contains(QString("已处理 %1 条").arg(records)));
        form.cmdStop->click();
    });
    form.cmdStart->click();

    const MarcImportReport& r = form.lastReport();
    EXPECT_EQ(progressSeen, 1) << "the run stops at the first chance after the click";
    EXPECT_TRUE(r.stopped);
    EXPECT_FALSE(r.complete());
    EXPECT_GT(r.saved, 0);
    EXPECT_LT(r.saved, 800);
    EXPECT_EQ(r.failed, 0);
    EXPECT_EQ(added(), r.saved) << "every record read before the stop is saved";
    EXPECT_TRUE(form.lblResult->text().contains("已中止"));
    EXPECT_LT(form.pbImport->value(), form.pbImport->maximum());
    EXPECT_TRUE(form.cmdStart->isEnabled());
    // Whole records only: each has its data and index rows and reads back with its fields.
    EXPECT_EQ(scalar("SELECT count(*) FROM marc WHERE marc_rec_no NOT IN "
                     "(SELECT marc_rec_no FROM marc_data)"),
              "0");
    EXPECT_EQ(scalar("SELECT count(*) FROM marc WHERE marc_rec_no NOT IN "
                     "(SELECT marc_rec_no FROM marc_idx)"),
              "0");
    const std::string last = scalar("SELECT max(marc_rec_no) FROM marc");
    MarcRec rec = MarcLoad(last);
    MarcResetCursor();
    EXPECT_EQ(MarcGetSubFieldSeq(rec, "001"), last);
    MarcResetCursor();
    EXPECT_FALSE(MarcGetSubFieldSeq(rec, "200a").empty());
}

TEST_P(CataImport, AFileThatCannotBeReadIsRefusedWithAMessage) {
    frmCataImport form;
    form.cmdStart->click();
    form.txtFile->setText(dir.path());
    form.cmdStart->click();
    form.txtFile->setText(dir.filePath("missing.mrc"));
    form.cmdStart->click();
    ASSERT_EQ(presenter.shown.size(), 3u);
    EXPECT_EQ(presenter.shown[0].body, "请选择要导入的文件！");
    EXPECT_EQ(presenter.shown[1].body, "不是文件: " + dir.path().toStdString());
    EXPECT_EQ(presenter.shown[2].body, "文件不存在: " + dir.filePath("missing.mrc").toStdString());
    for (const ShownMessage& m : presenter.shown)
        EXPECT_EQ(m.type, 'E');
    EXPECT_EQ(added(), 0);
    EXPECT_TRUE(form.lblResult->text().isEmpty());
}

SERIALS_ON_BOTH_BACKENDS(CataImport);

}  // namespace
