// The screen reads its controls, runs the core's import and shows what it reports.
#include "marc/gui/frmCataImport.h"

#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <fstream>

#include "common/gui/FileDialogs.h"
#include "common/gui/StdKeys.h"
#include "db/basLibMsg.h"

namespace {

template <typename W>
W* named(W* w, const char* name) {
    w->setObjectName(name);
    return w;
}

// The bar runs over the file's bytes, which is all that is known in advance.
constexpr int kBarSteps = 1000;

}  // namespace

frmCataImport::frmCataImport(QWidget* parent) : QDialog(parent) {
    setObjectName("frmCataImport");
    setWindowTitle("导入书目记录");
    txtFile = named(new QLineEdit, "txtFile");
    txtFile->setPlaceholderText("ISO 2709 记录文件");
    cmdBrowse = named(new QPushButton("选择文件..."), "cmdBrowse");
    cmbFormat = named(new QComboBox, "cmbFormat");
    cmbFormat->addItem("CNMARC", static_cast<int>(MarcFormat::Cnmarc));
    cmbFormat->addItem("USMARC (MARC 21)", static_cast<int>(MarcFormat::Usmarc));
    cmbEncoding = named(new QComboBox, "cmbEncoding");
    cmbEncoding->addItem("按格式（CNMARC 为 GBK，USMARC 按记录头标）", -1);
    cmbEncoding->addItem("GBK", static_cast<int>(MarcEncoding::Gbk));
    cmbEncoding->addItem("UTF-8", static_cast<int>(MarcEncoding::Utf8));
    cmbEncoding->addItem("MARC-8", static_cast<int>(MarcEncoding::Marc8));
    pbImport = named(new QProgressBar, "pbImport");
    pbImport->setRange(0, kBarSteps);
    pbImport->setValue(0);
    lblProg = named(new QLabel, "lblProg");
    lstWarnings = named(new QListWidget, "lstWarnings");
    lstWarnings->setToolTip("修复、跳过和保存失败的记录，每条一行");
    lblResult = named(new QLabel, "lblResult");
    lblResult->setWordWrap(true);
    cmdStart = named(new QPushButton("开始导入"), "cmdStart");
    cmdStop = named(new QPushButton("中止"), "cmdStop");
    cmdStop->setToolTip("保存完已读入的记录后停止；导入的每条记录都是完整的");
    cmdClose = named(new QPushButton("关闭"), "cmdClose");
    cmdStart->setDefault(true);

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(txtFile, 1);
    fileRow->addWidget(cmdBrowse);
    auto* form = new QFormLayout;
    form->addRow("文件", fileRow);
    form->addRow("格式", cmbFormat);
    form->addRow("编码", cmbEncoding);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {cmdStart, cmdStop, cmdClose})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(pbImport);
    layout->addWidget(lblProg);
    layout->addWidget(new QLabel("警告"));
    layout->addWidget(lstWarnings, 1);
    layout->addWidget(lblResult);
    layout->addLayout(buttons);

    connect(cmdBrowse, &QPushButton::clicked, this, &frmCataImport::browse);
    connect(cmdStart, &QPushButton::clicked, this, &frmCataImport::run);
    connect(cmdStop, &QPushButton::clicked, this, [this] { stop_ = true; });
    connect(cmdClose, &QPushButton::clicked, this, &frmCataImport::reject);
    // Opened from the main window it lives in a sub-window, which goes with it.
    connect(this, &QDialog::finished, this, [this] {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) sub->close();
    });
    for (QPushButton* b : {cmdBrowse, cmdStart, cmdStop, cmdClose})
        LIB_TipWithShortcut(b);
    setFocusProxy(txtFile);
    updateEnabled();
    resize(760, 520);
}

MarcFormat frmCataImport::format() const {
    return static_cast<MarcFormat>(cmbFormat->currentData().toInt());
}

MarcEncoding frmCataImport::encoding() const {
    int e = cmbEncoding->currentData().toInt();
    return e < 0 ? MarcDefaultEncoding(format()) : static_cast<MarcEncoding>(e);
}

void frmCataImport::browse() {
    QString path = LIB_OpenFileName(this, "选择书目记录文件", "marcfile",
                                    "MARC 记录文件 (*.mrc *.iso *.marc *.dat);;所有文件 (*)");
    if (!path.isEmpty()) txtFile->setText(path);
}

void frmCataImport::updateEnabled() {
    for (QWidget* w :
         std::initializer_list<QWidget*>{txtFile, cmdBrowse, cmbFormat, cmbEncoding, cmdStart})
        w->setEnabled(!running_);
    cmdStop->setEnabled(running_);
}

bool frmCataImport::run() {
    if (running_) return false;
    const QString path = txtFile->text().trimmed();
    QFileInfo info(path);
    if (path.isEmpty()) {
        LIB_ShowMsg("E请选择要导入的文件！");
        return false;
    }
    if (!info.exists() || !info.isFile()) {
        LIB_ShowMsg(std::string(info.exists() ? "E不是文件: " : "E文件不存在: ") +
                    path.toStdString());
        return false;
    }
    std::ifstream in(info.absoluteFilePath().toStdString(), std::ios::binary);
    if (!in) {
        LIB_ShowMsg("E无法读取文件: " + path.toStdString());
        return false;
    }
    fileBytes_ = static_cast<double>(info.size());
    lstWarnings->clear();
    lblResult->clear();
    lblProg->clear();
    pbImport->setValue(0);
    stop_ = false;
    running_ = true;
    updateEnabled();
    MarcImportListener listener{
        [this](const std::string& line) { lstWarnings->addItem(QString::fromStdString(line)); },
        [this](const MarcImportReport& r) { showProgress(r); }, [this] { return stop_; }};
    report_ = MarcImportStream(in, format(), encoding(), listener);
    running_ = false;
    updateEnabled();
    pbImport->setValue(report_.stopped ? pbImport->value() : kBarSteps);
    lblProg->setText(QString("已处理 %1 条（%2 条/秒），跳过 %3 条")
                         .arg(report_.records())
                         .arg(report_.rate())
                         .arg(report_.skipped));
    lblResult->setText(QString::fromStdString(MarcImportSummary(report_)));
    return true;
}

void frmCataImport::showProgress(const MarcImportReport& r) {
    if (fileBytes_ > 0)
        pbImport->setValue(static_cast<int>(kBarSteps * (r.bytesRead / fileBytes_)));
    lblProg->setText(QString("已处理 %1 条（%2 条/秒），已导入 %3 条，跳过 %4 条，失败 %5 条")
                         .arg(r.records())
                         .arg(r.rate())
                         .arg(r.saved)
                         .arg(r.skipped)
                         .arg(r.failed));
    emit progressShown(r.records());
    // The import runs on this thread: the stop button is answered here, between records.
    QApplication::processEvents();
}

void frmCataImport::reject() {
    // Closing in the middle of a run stops it after the records already read instead.
    if (running_) {
        stop_ = true;
        return;
    }
    QDialog::reject();
}
