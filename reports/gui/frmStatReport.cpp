#include "reports/gui/frmStatReport.h"

#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QTabBar>
#include <QTableView>
#include <QVBoxLayout>
#include <map>

#include "common/OperatorState.h"
#include "common/basCodeFunc.h"
#include "common/gui/Grid.h"
#include "common/gui/PrintPreview.h"
#include "db/basLibMsg.h"
#include "reports/core/StatExport.h"
#include "reports/gui/StatChart.h"
#include "reports/gui/StatCommands.h"

void StatGridModel::setTable(StatTable t) {
    beginResetModel();
    table_ = std::move(t);
    rows_.clear();
    headings_.clear();
    for (const StatSection& s : table_.sections)
        if (!s.heading.empty()) headings_.push_back({s.heading});
    auto heading = headings_.begin();
    for (const StatSection& s : table_.sections) {
        if (!s.heading.empty()) rows_.push_back(&*heading++);
        for (const auto& r : s.rows)
            rows_.push_back(&r);
        if (!s.total.empty()) rows_.push_back(&s.total);
    }
    if (!table_.total.empty()) rows_.push_back(&table_.total);
    endResetModel();
}

bool StatGridModel::isHeading(int row) const {
    return row >= 0 && row < rowCount() && rows_[row]->size() == 1 && table_.columns.size() > 1;
}

int StatGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int StatGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(table_.columns.size());
}

QVariant StatGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
    const auto& row = *rows_[index.row()];
    const auto col = static_cast<std::size_t>(index.column());
    if (role == Qt::DisplayRole)
        return col < row.size() ? QString::fromStdString(row[col]) : QString();
    if (role == Qt::TextAlignmentRole && col < table_.numeric.size() && table_.numeric[col])
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant StatGridModel::headerData(int section, Qt::Orientation o, int role) const {
    if (o != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= columnCount())
        return QAbstractTableModel::headerData(section, o, role);
    return QString::fromStdString(table_.columns[section]);
}

namespace {

struct ScreenDef {
    const char* name;
    const char* title;
    const char* grid;
    const char* run;
};

const ScreenDef& def(StatScreen kind) {
    static const std::map<StatScreen, ScreenDef> defs{
        {StatScreen::LocaAll, {"frmStatLocaAll", "年度馆藏订购分布统计", "spdStatics", "cmdTotal"}},
        {StatScreen::Loca, {"frmStatLoca", "年度期刊订购分布明细", "spdTotal", "cmdTotal"}},
        {StatScreen::Other, {"frmStatOther", "按条件统计订购", "spdTotal", "cmdTotal"}},
        {StatScreen::Arrival, {"frmStatArrival", "期刊到刊统计", "spdDetail", "cmdStat"}},
        {StatScreen::Job, {"frmStatJob", "工作量统计", "spdJob", "cmdStat"}},
        {StatScreen::IndiAcct, {"frmStatIndiAcct", "财产帐清单", "spdResult", "cmdPreview"}},
        {StatScreen::Sort, {"frmStatSort", "期刊分类统计", "vsfCataModel", "cmdStat"}}};
    return defs.at(kind);
}

QComboBox* choiceBox(const char* name, const std::vector<StatChoice>& list, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    for (const StatChoice& c : list)
        box->addItem(QString::fromStdString(c.label));
    return box;
}

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

const char* frmStatReport::screenName(StatScreen kind) {
    return def(kind).name;
}

frmStatReport::frmStatReport(StatScreen kind, QWidget* parent) : QWidget(parent), kind_(kind) {
    const ScreenDef& d = def(kind);
    setObjectName(d.name);
    setWindowTitle(d.title);
    auto* top = new QVBoxLayout(this);
    lblTitle_ = statTitleLabel(d.title, this);
    lblRemark_ = new QLabel(this);
    lblRemark_->setObjectName("lblRemark");
    top->addWidget(lblTitle_);
    top->addWidget(lblRemark_);

    auto* fra = new QGroupBox("统计条件", this);
    fra->setObjectName("fraBack");
    auto* form = new QHBoxLayout(fra);
    auto labelled = [&](const QString& caption, QWidget* w) {
        form->addWidget(new QLabel(caption, fra));
        form->addWidget(w);
    };
    bool shared = kind != StatScreen::Job && kind != StatScreen::IndiAcct;
    if (shared) {
        cmbYear_ = new QComboBox(fra);
        cmbYear_->setObjectName("cmbYear");
        cmbYear_->setEditable(true);
        std::vector<std::string> years;
        if (statOrderYears(years) == 0)
            for (const std::string& y : years)
                cmbYear_->addItem(q(y));
        publishers_ = statPublisherChoices();
        cmbPubl_ = choiceBox("cmbPubl", publishers_, fra);
        labelled("订购年", cmbYear_);
        labelled("发行商", cmbPubl_);
    }
    if (kind == StatScreen::LocaAll || kind == StatScreen::Loca || kind == StatScreen::Arrival ||
        kind == StatScreen::Sort) {
        docTypes_ = statDocTypeChoices();
        languages_ = statLanguageChoices();
        cmbDocType_ = choiceBox("cmbDocType", docTypes_, fra);
        cmbLanguage_ = choiceBox("cmbLanguage", languages_, fra);
        labelled("文献类型", cmbDocType_);
        labelled("语种", cmbLanguage_);
    }
    if (kind == StatScreen::LocaAll || kind == StatScreen::Loca) {
        auto* dist = new QRadioButton("按分配地", fra);
        dist->setObjectName("optLoca");
        dist->setChecked(true);
        optLocaSub_ = new QRadioButton("按订户", fra);
        optLocaSub_->setObjectName("optLocaSub");
        form->addWidget(dist);
        form->addWidget(optLocaSub_);
    }
    if (kind == StatScreen::Loca) {
        cmbLoca_ = new QComboBox(fra);
        cmbLoca_->setObjectName("cmbLoca");
        labelled("馆藏地", cmbLoca_);
        connect(optLocaSub_, &QRadioButton::toggled, this, &frmStatReport::fillLocations);
        connect(cmbYear_, &QComboBox::currentTextChanged, this, &frmStatReport::fillLocations);
        connect(cmbPubl_, &QComboBox::currentIndexChanged, this, &frmStatReport::fillLocations);
        fillLocations();
    }
    if (kind == StatScreen::Other) {
        cmbCond_ = new QComboBox(fra);
        cmbCond_->setObjectName("cmbCond");
        cmbCond_->addItems({"国别", "语种", "出版社", "出版频率"});
        labelled("统计条件", cmbCond_);
    }
    if (kind == StatScreen::Arrival) {
        chkShowBindInfo_ = new QCheckBox("显示合订本", fra);
        chkShowBindInfo_->setObjectName("chkShowBindInfo");
        form->addWidget(chkShowBindInfo_);
    }
    if (kind == StatScreen::Job) {
        optStatType_ = new QComboBox(fra);
        optStatType_->setObjectName("optStatType");
        optStatType_->addItems({"年", "月", "日", "区间"});
        txtBgnDay_ = new QLineEdit(fra);
        txtBgnDay_->setObjectName("txtBgnDay");
        txtBgnDay_->setPlaceholderText("yyyy / yyyy-mm / yyyy-mm-dd");
        txtEndDay_ = new QLineEdit(fra);
        txtEndDay_->setObjectName("txtEndDay");
        txtEndDay_->setPlaceholderText("yyyy-mm-dd");
        labelled("统计方式", optStatType_);
        labelled("日期", txtBgnDay_);
        labelled("至", txtEndDay_);
    }
    if (kind == StatScreen::IndiAcct) {
        txtFrom_ = new QLineEdit(fra);
        txtFrom_->setObjectName("txtFrom");
        txtTo_ = new QLineEdit(fra);
        txtTo_->setObjectName("txtTo");
        cboClassType_ = new QComboBox(fra);
        cboClassType_->setObjectName("cboClassType");
        cboClassType_->addItem(kStatAny, QString());
        for (int r = 2; r < g_arrDocType.rows(); ++r)
            cboClassType_->addItem(q(g_arrDocType(1, r).str()), q(g_arrDocType(0, r).str()));
        labelled("起始财产号", txtFrom_);
        labelled("截至财产号", txtTo_);
        labelled("文献类型", cboClassType_);
    }
    if (kind == StatScreen::Sort) {
        sstType_ = new QTabBar(fra);
        sstType_->setObjectName("sstType");
        sstType_->addTab("按分类号统计");
        sstType_->addTab("按索书号统计");
        sstType_->addTab("[自定义]");
        cboTemplate_ = new QComboBox(fra);
        cboTemplate_->setObjectName("cboTemplate");
        std::vector<StatChoice> types;
        if (statTypes(types) == 0)
            for (const StatChoice& t : types)
                cboTemplate_->addItem(q(t.label), q(t.code));
        std::vector<StatTemplate> templates;
        if (statTemplates(templates) == 0)
            for (const StatTemplate& t : templates)
                cboTemplate_->addItem(q(t.name), q(t.statType));
        form->addWidget(sstType_);
        labelled("统计模板", cboTemplate_);
    }
    form->addStretch();
    top->addWidget(fra);

    model_ = new StatGridModel(this);
    grid_ = new QTableView(this);
    grid_->setObjectName(d.grid);
    auto* proxy = LIB_SetupGrid(grid_, model_, QString("reports/") + d.name);
    auto* split = new QSplitter(Qt::Horizontal, this);
    auto* left = new QWidget(split);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->addWidget(LIB_GridFilterBox(proxy, left));
    leftLayout->addWidget(grid_);
    split->addWidget(left);
    if (kind == StatScreen::LocaAll || kind == StatScreen::Other || kind == StatScreen::Job ||
        kind == StatScreen::Sort) {
        chart_ = new StatChart(split);
        split->addWidget(chart_);
        split->setStretchFactor(0, 3);
        split->setStretchFactor(1, 1);
        split->setSizes({900, 300});
    }
    top->addWidget(split, 1);
    lblTotal_ = new QLabel(this);
    lblTotal_->setObjectName("lblTotal");
    top->addWidget(lblTotal_);

    auto* run = new QPushButton("统计", this);
    run->setObjectName(d.run);
    QHBoxLayout* commands = statCommandRow(
        this, {run, [this] { runReport(); }, [this]() -> const StatTable& { return table(); },
               [this] { return chartPngBase64(); }});
    commands->insertWidget(0, run);
    top->addLayout(commands);
}

StatFilter frmStatReport::sharedFilter() const {
    StatFilter f;
    if (cmbYear_) f.year = cmbYear_->currentText().trimmed().toStdString();
    if (cmbPubl_ && cmbPubl_->currentIndex() > 0)
        f.publCode = publishers_[cmbPubl_->currentIndex()].code;
    if (cmbDocType_) {
        f.docType = std::max(0, cmbDocType_->currentIndex());
        if (f.docType >= 3) f.docTypeCode = docTypes_[f.docType].code;
    }
    if (cmbLanguage_) {
        f.language = std::max(0, cmbLanguage_->currentIndex());
        if (f.language >= 3) f.languageCode = languages_[f.language].code;
    }
    return f;
}

void frmStatReport::fillLocations() {
    std::vector<std::string> list;
    cmbLoca_->clear();
    cmbLoca_->addItem(kStatAny, QString());
    StatBasis basis = optLocaSub_->isChecked() ? StatBasis::Subscriber : StatBasis::Distribution;
    if (statLocaList(sharedFilter(), basis, list) < 0) return;
    for (const std::string& code : list)
        cmbLoca_->addItem(q(LIB_LocationName(code)), q(code));
}

void frmStatReport::runReport() {
    const StatFilter f = sharedFilter();
    // An empty year does nothing at all.
    if (cmbYear_ && f.year.empty()) return;
    StatBasis basis =
        optLocaSub_ && optLocaSub_->isChecked() ? StatBasis::Subscriber : StatBasis::Distribution;
    setCursor(Qt::BusyCursor);
    StatTable t;
    StatResult r = StatResult::Failed;
    switch (kind_) {
        case StatScreen::LocaAll:
            r = statLocaAll(f, basis, t);
            break;
        case StatScreen::Loca:
            r = statLoca(f, basis, cmbLoca_->currentData().toString().toStdString(), t);
            break;
        case StatScreen::Other:
            r = statOther(f, static_cast<StatAttr>(cmbCond_->currentIndex()), t);
            break;
        case StatScreen::Arrival:
            r = statArrival(f, chkShowBindInfo_->isChecked(), t);
            break;
        case StatScreen::Job:
            r = statJob(g_strWkrNo, static_cast<StatPeriod>(optStatType_->currentIndex()),
                        txtBgnDay_->text().trimmed().toStdString(),
                        txtEndDay_->text().trimmed().toStdString(), t);
            break;
        case StatScreen::IndiAcct:
            r = statIndiAcct(txtFrom_->text().toStdString(), txtTo_->text().toStdString(),
                             cboClassType_->currentData().toString().toStdString(), t);
            break;
        case StatScreen::Sort:
            if (cboTemplate_->currentIndex() < 0) {
                LIB_ShowMsg("E请选择统计模板！");
                r = StatResult::Refused;
                break;
            }
            r = statSort(
                f,
                sstType_->currentIndex() == 1 ? StatClassBy::CallNumber : StatClassBy::ClassNumber,
                cboTemplate_->currentData().toString().toStdString(), t);
            break;
    }
    unsetCursor();
    if (r == StatResult::Refused) return;
    // A failure leaves the grid empty; the screen stays open.
    model_->setTable(r == StatResult::Failed ? StatTable{} : std::move(t));
    const StatTable& table = model_->table();
    // A group's heading runs across the grid rather than widening the first column.
    grid_->clearSpans();
    for (int row = 0; row < model_->rowCount(); ++row)
        if (model_->isHeading(row))
            grid_->setSpan(row, 0, 1, static_cast<int>(table.columns.size()));
    grid_->resizeColumnsToContents();
    QStringList header;
    for (const std::string& h : table.header)
        header << q(h);
    lblRemark_->setText(header.join("    "));
    lblTotal_->setText(table.footer.empty() ? QString("共 %1 条记录").arg(table.rowCount())
                                            : q(table.footer));
    showChart();
}

void frmStatReport::showChart() {
    if (!chart_) return;
    std::vector<StatBar> bars;
    QString title;
    if (kind_ == StatScreen::LocaAll || kind_ == StatScreen::Job) {
        const int col = 2;  // 总价 by location, 册数 by job
        title = kind_ == StatScreen::LocaAll
                    ? (optLocaSub_->isChecked() ? "各订户订购金额（元）" : "各分配地订购金额（元）")
                    : "各类工作册数";
        for (const auto& s : table().sections)
            for (const auto& r : s.rows)
                bars.push_back({q(r[0]), std::stod(r[col])});
    } else {
        // Grouped reports: copies by group, from each group's own total.
        int col = kind_ == StatScreen::Other ? 5 : 3;
        title = kind_ == StatScreen::Other ? "各组复本数" : "各类复本数";
        for (const auto& s : table().sections)
            bars.push_back({q(s.heading), s.total.empty() ? 0.0 : std::stod(s.total[col])});
    }
    chart_->setSeries(title, std::move(bars));
}

QString frmStatReport::chartPngBase64() const {
    if (!chart_ || chart_->bars().empty()) return {};
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    chart_->image(QSize(900, 40 + 28 * static_cast<int>(chart_->bars().size())))
        .save(&buffer, "PNG");
    return "<p><img src=\"data:image/png;base64," + QString::fromLatin1(png.toBase64()) + "\"></p>";
}

void frmStatReport::preview() {
    printedListPreview(statPrintHtml(table(), chartPngBase64()), this);
}

bool frmStatReport::exportTo(const QString& path) {
    return statExportFile(table(), path, chartPngBase64());
}
