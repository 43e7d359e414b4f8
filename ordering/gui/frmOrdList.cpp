// The order list: rows of one catalogue, the panes on the current row, the saves, the closing
// questions and the record commands. Database work is the core's (basOrdList, basOrdFunc).
#include "ordering/gui/frmOrdList.h"

#include <QFileInfo>
#include <QScrollArea>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "common/basCodeFunc.h"
#include "common/gui/FileDialogs.h"
#include "common/gui/LayoutMemory.h"
#include "db/SqlText.h"
#include "db/basLibDB.h"
#include "db/basLibMsg.h"
#include "marc/core/basBMStore.h"
#include "marc/gui/MarcRecModel.h"
#include "marc/gui/dlgMarcSearch.h"
#include "ordering/core/OrdAsord.h"
#include "ordering/core/basOrdFile.h"
#include "ordering/core/basOrdFunc.h"
#include "ordering/gui/frmOrdInfo.h"
#include "ordering/gui/frmOrdSubInfo.h"

namespace {

// The title first and wide, then what a librarian compares across titles; the distributor
// and batch, which the tree already shows, and the row key are hidden.
std::vector<GridColumn> orderColumns() {
    return {{"Title", "刊名"},
            {"AsordNo", "征订号"},
            {"ISSN", "ISSN"},
            {"SumCount", "订购总数"},
            {"Price", "单价"},
            {"TotalPrice", "年价"},
            {"PeriType", "订购状态"},
            {"Status", "签收状态"},
            {"NewFlag", "新续订刊"},
            {"EndFlag", "完成"},
            // clang-format off
            {"Valid", "有效"},
            // clang-format on
            {"Publish", "出版社"},
            {"PublFreq", "出版频率"},
            {"GetMode", "获得方式"},
            {"Carrier", "载体类型"},
            {"MoneyType", "币种"},
            {"ForePrice", "外币单价"},
            {"ForeTotalPrice", "外币年价"},
            {"KindNo", "类号"},
            {"PubYear", "出版年"},
            {"Country", "国别"},
            {"Language", "语种"},
            {"FAsordNo", "规范征订号"},
            {"MarcNo", "记录号"},
            {"Remark", "说明"},
            {"Pub", "发行商"},
            {"OrdYear", "年度批次"},
            {"Key", "Key"}};
}

std::string joined(const std::vector<std::string>& items) {
    std::string out;
    for (const std::string& s : items)
        out += "\n" + s;
    return out;
}

}  // namespace

frmOrdList::frmOrdList(QWidget* parent)
    : OrdDataForm(DataFormType::OrderList, orderColumns(), parent) {
    setObjectName("frmOrdList");
    m_frmInfo = new frmOrdInfo(this);
    m_frmSubInfo = new frmOrdSubInfo(this);
    m_frmSubInfo->SetOrdInfoForm(m_frmInfo);
    m_frmMarc = new MarcRecView(this);
    m_frmMarc->setObjectName("m_frmMarc");
    splPanes = new QSplitter(Qt::Horizontal, this);
    splPanes->setObjectName("splPanes");
    tabPanes = new QTabWidget(this);
    // The panes scroll inside their share so that the list keeps the room.
    auto* panes = new QScrollArea(this);
    panes->setObjectName("scrPanes");
    panes->setWidgetResizable(true);
    panes->setFrameShape(QFrame::NoFrame);
    auto* paneBox = new QWidget(panes);
    auto* paneLayout = new QVBoxLayout(paneBox);
    paneLayout->setContentsMargins(0, 0, 0, 0);
    paneLayout->addWidget(splPanes);
    paneLayout->addWidget(tabPanes);
    panes->setWidget(paneBox);
    splMain = new QSplitter(Qt::Vertical, this);
    splMain->setObjectName("splMain");
    splMain->addWidget(listArea());
    splMain->addWidget(panes);
    // The list a dozen rows at 1280x800, the panes their five-row grids; a taller screen shares
    // the rest about evenly.
    splMain->setStretchFactor(0, 1);
    splMain->setStretchFactor(1, 1);
    splMain->setSizes({520, 480});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splMain);
    for (const char* hidden : {"Pub", "OrdYear", "Key"})
        spdList->setColumnHidden(model->columnOf(hidden), true);
    spdList->setColumnWidth(model->columnOf("Title"), 300);
    rememberColumns();
    connect(m_frmInfo, &frmOrdInfo::Changed, this, &frmOrdList::m_frmInfo_Changed);
    connect(m_frmInfo, &frmOrdInfo::PriceChanged, this, &frmOrdList::m_frmInfo_PriceChanged);
    connect(m_frmSubInfo, &frmOrdSubInfo::Changed, this, &frmOrdList::m_frmSubInfo_Changed);
    chooseBreakpointFile = [this] {
        const QString name = QString::fromStdString("订购断点_" + PublCode() + "_" + OrdYear());
        return LIB_SaveFileName(this, "保存到文件", "orderfile", name, "订购断点文件 (*.csv)")
            .toStdString();
    };
    chooseMarc = [this](const std::string& text) {
        dlgMarcSearch dlg(this);
        dlg.startWith(text);
        return dlg.exec() == QDialog::Accepted ? dlg.chosen() : MarcFound{};
    };
    setFrameStyle(FrameStyle::Level);
    // The subscriber pane holds four grids: it gets half the width.
    splPanes->setSizes({280, 500, 250});
    LIB_RememberSplitter(splMain, "ordering/splMain");
    LIB_RememberSplitter(splPanes, "ordering/splPanes");
    showRow(-1);
}

OrdDetail* frmOrdList::current() {
    return cur_ >= 0 && cur_ < ItemCount() ? &rows_[cur_] : nullptr;
}

void frmOrdList::setFrameStyle(FrameStyle style) {
    OrdDataForm::setFrameStyle(style);
    const bool tabbed = style == FrameStyle::Tabbed;
    QWidget* panes[] = {m_frmInfo, m_frmSubInfo, m_frmMarc};
    const char* captions[] = {"订购信息", "订户信息", "书目信息"};
    for (int i = 0; i < 3; ++i) {
        if (tabbed)
            tabPanes->addTab(panes[i], captions[i]);
        else
            splPanes->addWidget(panes[i]);
    }
    tabPanes->setVisible(tabbed);
    splPanes->setVisible(!tabbed && style != FrameStyle::None && style != FrameStyle::Grid);
    m_frmInfo->setVisible(style != FrameStyle::OnlySubInfo);
    m_frmSubInfo->setVisible(style != FrameStyle::OnlyInfo);
    m_frmMarc->setVisible(style == FrameStyle::Level || tabbed);
}

void frmOrdList::setLocked(bool on) {
    OrdDataForm::setLocked(on);
    m_frmSubInfo->SetLocked(on);
    emit stateChanged();
}

void frmOrdList::showRow(int row) {
    OrdDetail* d = row >= 0 && row < ItemCount() ? &rows_[row] : nullptr;
    if (d) shown_ = *d;
    m_frmInfo->setDetail(d);
    m_frmSubInfo->DataReset(d);
    showMarc(row);
}

void frmOrdList::showMarc(int row) {
    const OrdDetail* d = row >= 0 && row < ItemCount() ? &rows_[row] : nullptr;
    // A record still to be made shows as it will be saved.
    if (d && d->marcNo.empty() && !d->newMarc.marcType.empty()) {
        m_frmMarc->showRecord(OrdNewMarcRecord(d->newMarc, LIB_DB_GetServerDate().substr(0, 10)));
        return;
    }
    m_frmMarc->showRecord(!d || d->marcNo.empty() ? MarcRec{} : MarcLoad(d->marcNo));
}

void frmOrdList::markModified() {
    OrdDetail* d = current();
    if (!d) return;
    if (d->state == RowState::Unchanged) {
        originals_[d->key] = shown_;
        d->state = RowState::Modified;
    }
    model->rowChanged(cur_);
    emit stateChanged();
}

void frmOrdList::m_frmInfo_Changed() {
    markModified();
}

void frmOrdList::m_frmInfo_PriceChanged() {
    // The subscriber pane recomputes the fund amounts itself; the grid shows the new prices.
    model->rowChanged(cur_);
}

void frmOrdList::m_frmSubInfo_Changed() {
    if (OrdDetail* d = current()) d->sumCopies = d->sumCount();
    markModified();
    m_frmInfo->setDetail(current());
}

int frmOrdList::loadRows(std::vector<OrdDetail>& rows) {
    return intLoadOrdDetails(PublCode(), OrdYear(), rows);
}

int frmOrdList::NewItem() {
    return addNew(std::nullopt);
}

int frmOrdList::NewTempleItem(OrdTemple temple) {
    return addNew(temple);
}

int frmOrdList::addNew(std::optional<OrdTemple> temple) {
    if (PublCode().empty() || OrdYear().empty()) return -1;
    std::vector<OrdDetail> added{NewOrdDetail(PublCode(), OrdYear())};
    fillUsualCodes(added, temple);
    appendRows(std::move(added));
    setCurIndex(ItemCount() - 1);
    return 0;
}

int frmOrdList::MarcAdd(const OrdNewMarc& record) {
    OrdDetail* d = current();
    if (!d || !d->marcNo.empty()) return -1;
    if (Locked()) {
        ShowLockedRefusal();
        return -1;
    }
    if (d->state == RowState::Unchanged) {
        std::string recNo;
        if (intAddOrdMarc(d->pub, d->ordYear, d->savedAsordNo, d->version, record, recNo) < 0)
            return -1;
        SetOrdNewMarc(*d, record);
        d->newMarc = {};
        d->marcNo = recNo;
        d->key = strOrdRowKey(d->pub, d->ordYear, d->savedAsordNo, recNo);
        ++d->version;
    } else {
        SetOrdNewMarc(*d, record);
        markModified();
    }
    model->rowChanged(cur_);
    showRow(cur_);
    emit stateChanged();
    return 0;
}

int frmOrdList::SaveItem() {
    OrdDetail* d = current();
    if (!d || d->state == RowState::Unchanged) return 0;
    // The save shows every complaint of the detail at once, the subscriber pane's among them.
    std::string oldKey = d->key;
    if (intSaveOrdDetail(*d, true) < 0) return -1;
    originals_.erase(oldKey);
    model->rowChanged(cur_);
    showRow(cur_);
    emit stateChanged();
    return 0;
}

int frmOrdList::saveRows(const std::function<bool(const OrdDetail&)>& which) {
    for (int r = 0; r < ItemCount(); ++r) {
        OrdDetail& d = rows_[r];
        if (d.state == RowState::Unchanged || !which(d)) continue;
        std::string oldKey = d.key;
        if (intSaveOrdDetail(d, false) < 0) {
            setCurIndex(r);
            return -1;
        }
        originals_.erase(oldKey);
        model->rowChanged(r);
    }
    showRow(cur_);
    emit stateChanged();
    return 0;
}

int frmOrdList::SaveAllItems() {
    if (saveRows([](const OrdDetail&) { return true; }) < 0) return -1;
    LIB_ShowMsg("I数据成功保存！");
    return 0;
}

void frmOrdList::Cancel() {
    OrdDetail* d = current();
    if (!d) return;
    if (d->state == RowState::New) {
        removeRow(cur_);
    } else if (d->state == RowState::Modified) {
        auto it = originals_.find(d->key);
        if (it != originals_.end()) {
            *d = it->second;
            d->state = RowState::Unchanged;
            originals_.erase(it);
        }
        model->rowChanged(cur_);
        showRow(cur_);
    }
    emit stateChanged();
}

void frmOrdList::focusFirstField() {
    QTableWidget* pane = m_frmInfo->spdOrderInfo;
    pane->setFocus(Qt::OtherFocusReason);
    pane->setCurrentCell(m_frmInfo->rowOf("AsordNo"), 1);
}

bool frmOrdList::hasUnsaved() const {
    return std::any_of(rows_.begin(), rows_.end(),
                       [](const OrdDetail& d) { return d.state != RowState::Unchanged; });
}

bool frmOrdList::QueryClose() {
    auto any = [this](auto pred) { return std::any_of(rows_.begin(), rows_.end(), pred); };
    auto failed = [] { return LIB_ShowMsg("Q保存纪录出错，是否退出？") == kMsgOk; };
    auto isNew = [](const OrdDetail& d) { return d.state == RowState::New && !d.temporary; };
    auto isModified = [](const OrdDetail& d) { return d.state == RowState::Modified; };
    auto isTemporary = [](const OrdDetail& d) { return d.temporary; };
    // Each question: 保存 saves and goes on, 不保存 goes on, 取消 stays with nothing lost.
    struct Question {
        const char* text;
        std::function<bool(const OrdDetail&)> which;
        std::function<int()> save;
    };
    const Question questions[] = {
        {"新增纪录没有保存，是否保存记录后退出？", isNew, [&] { return saveRows(isNew); }},
        {"存在被修改但未保存的记录，是否保存记录后退出？", isModified,
         [&] { return saveRows(isModified); }},
        {"存在从征订目录转入的临时订购信息，是否保存为订购断点文件？", isTemporary,
         [&] { return saveBreakpoint(); }}};
    for (const Question& q : questions) {
        if (!any(q.which)) continue;
        switch (LIB_AskSave(q.text)) {
            case SaveChoice::Stay:
                return false;
            case SaveChoice::Discard:
                continue;
            case SaveChoice::Save:
                if (q.save() < 0) return failed();
        }
    }
    return true;
}

int frmOrdList::saveBreakpoint() {
    std::string path = chooseBreakpointFile ? chooseBreakpointFile() : std::string();
    if (path.empty()) return -1;
    if (QFileInfo::exists(QString::fromStdString(path)) &&
        LIB_ShowMsg("Q文件已存在,是否覆盖原文件？") != kMsgOk)
        return -1;
    std::vector<const OrdDetail*> temporary;
    for (const OrdDetail& d : rows_)
        if (d.temporary) temporary.push_back(&d);
    std::string error;
    if (intWriteOrdFile(path, temporary, error) < 0) {
        LIB_ShowMsg("E" + error);
        return -1;
    }
    return 0;
}

int frmOrdList::orderedAlready(const std::vector<OrdDetail>& offers, OrdOrderedAlready& found) {
    if (intFindOrderedAlready(PublCode(), OrdYear(), offers, rows_, found) < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    return 0;
}

int frmOrdList::ImportReviewFile(const std::string& path) {
    if (PublCode().empty()) return -1;
    std::vector<OrdFileDetail> read;
    std::string error;
    if (intReadOrdFile(path, read, error) < 0) {
        LIB_ShowMsg("E" + error);
        return -1;
    }
    std::vector<OrdDetail> details;
    for (OrdFileDetail& f : read) {
        f.detail.pub = PublCode();
        f.detail.ordYear = OrdYear();
        f.detail.temporary = true;
        details.push_back(std::move(f.detail));
    }
    OrdOrderedAlready found;
    if (orderedAlready(details, found) < 0) return -1;
    const std::vector<std::string>& taken = found.sameNumber;
    std::erase_if(details, [&](const OrdDetail& d) {
        return std::find(taken.begin(), taken.end(), d.asordNo) != taken.end();
    });
    appendRows(std::move(details));
    if (!taken.empty()) LIB_ShowMsg("I下列征订号在该目录中已经存在：" + joined(taken));
    return 0;
}

int frmOrdList::InsertAsordData(const std::string& publ, const std::string& yearMonth,
                                const std::vector<std::string>& asordNos) {
    if (PublCode().empty()) return -1;
    const std::string asordYear = yearMonth.substr(0, 4), ordYear = OrdYear().substr(0, 4);
    if (asordYear != ordYear && LIB_ShowMsg("Q征订目录是 " + asordYear + " 年度的，订购目录是 " +
                                            ordYear + " 年度的，是否仍然转入？") != kMsgOk)
        return -1;
    std::vector<OrdDetail> details;
    OrdOrderedAlready found;
    if (intAsordToOrdDetails(publ, yearMonth, asordNos, PublCode(), OrdYear(), details) < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    if (orderedAlready(details, found) < 0) return -1;
    auto listed = [](const std::vector<std::string>& nos, const OrdDetail& d) {
        return std::find(nos.begin(), nos.end(), d.asordNo) != nos.end();
    };
    std::erase_if(details, [&](const OrdDetail& d) { return listed(found.sameNumber, d); });
    // A title the catalogue orders already is taken over twice only when the operator says so.
    std::vector<std::string> twice;
    for (const OrdDetail& d : details)
        if (listed(found.sameTitle, d)) twice.push_back(d.asordNo + " " + d.title);
    if (!twice.empty() &&
        LIB_ShowMsg("Q下列刊物在该订购目录中已经订购，是否仍然转入？" + joined(twice)) != kMsgOk)
        std::erase_if(details, [&](const OrdDetail& d) { return listed(found.sameTitle, d); });
    fillUsualCodes(details);
    const int first = ItemCount(), count = static_cast<int>(details.size());
    appendRows(std::move(details));
    if (ItemCount() > first) setCurIndex(first);
    std::string report = "I已转入 " + std::to_string(count) + " 条征订信息。";
    if (!found.sameNumber.empty())
        report += "\n下列征订号在该目录中已经存在：" + joined(found.sameNumber);
    LIB_ShowMsg(report);
    return 0;
}

void frmOrdList::fillUsualCodes(std::vector<OrdDetail>& details,
                                std::optional<OrdTemple> temple) const {
    OrdUsualCodes distributor, library;
    // Without the usual codes a detail keeps what it has; the operator chooses the rest.
    if (intGetOrdUsualCodes(PublCode(), distributor, library) < 0) LIB_DB_ShowError();
    for (OrdDetail& d : details) {
        if (temple)
            ApplyOrdTemple(d, *temple, distributor, library);
        else
            FillUsualCodes(d, distributor, library);
    }
}

int frmOrdList::UpdatePrice(const std::vector<AsordPair>& pairs) {
    for (const AsordPair& p : pairs)
        if (intUpdateOrdPrice(PublCode(), OrdYear(), p.ordAsordNo, p.price, p.sumPrice) < 0)
            return -1;
    LIB_ShowMsg("I完成价格刷新操作！");
    return Refresh();
}

int frmOrdList::UpdateFreq(const std::vector<AsordPair>& pairs) {
    if (intRefreshOrdFreqs(PublCode(), OrdYear(), pairs) < 0) return -1;
    LIB_ShowMsg("I完成频率刷新操作！");
    return Refresh();
}

int frmOrdList::InitPrintData(std::vector<DataFormRow>& rows) {
    rows.clear();
    LibArray a;
    if (intGetOrdPrintData(PublCode(), OrdYear(), a) < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    const char* keys[] = {"AsordNo",    "ISSN",     "Title",   "Carrier", "Price",
                          "TotalPrice", "SumCount", "NewFlag", "Remark",  "PublFreq"};
    for (int r = 2; r < a.rows(); ++r) {
        DataFormRow row;
        for (int c = 0; c < 10; ++c)
            row[keys[c]] = a(c, r).str();
        rows.push_back(std::move(row));
    }
    return 0;
}

int frmOrdList::DeleteItem(bool withMarc) {
    // Saved details go from the database; new ones only leave the list.
    std::vector<int> picked = selectedRows();
    std::vector<std::string> keys;
    for (int r : picked)
        if (!rows_[r].savedAsordNo.empty()) keys.push_back(rows_[r].key);
    if (keys.empty() && !picked.empty()) {
        // Rows never saved are lost for good too: the same question as for saved ones.
        if (LIB_ShowMsg("Q是否确定删除订购信息？") != kMsgOk) return 1;
    } else if (!keys.empty()) {
        if (int rc = intDeleteOrdDetails(keys, true, withMarc); rc != 0) return rc;
    }
    for (auto r = picked.rbegin(); r != picked.rend(); ++r) {
        originals_.erase(rows_[*r].key);
        removeRow(*r);
    }
    emit stateChanged();
    return 0;
}

int frmOrdList::InsertMarcField(const std::string& tag, const std::string& ind,
                                const std::string& data) {
    OrdDetail* d = current();
    if (!d || d->marcNo.empty()) return -1;
    MarcRec rec = MarcLoad(d->marcNo);
    MarcAddField(rec, MakeMarcField(tag, ind, data));
    MarcSortFields(rec);
    if (!MarcSave(rec, 0, 0, "")) return -1;
    showMarc(cur_);
    return 0;
}

int frmOrdList::DeleteMarcField(const std::string& tag) {
    OrdDetail* d = current();
    if (!d || d->marcNo.empty()) return -1;
    MarcRec rec = MarcLoad(d->marcNo);
    MarcDeleteField(rec, tag);
    if (!MarcSave(rec, 0, 0, "")) return -1;
    showMarc(cur_);
    return 0;
}

int frmOrdList::MarcFind(const std::string& text) {
    OrdDetail* d = current();
    if (!d) return -1;
    if (Locked()) {
        ShowLockedRefusal();
        return -1;
    }
    std::string what = text.empty() ? d->title : text;
    LibArray rows;
    if (intOrdMarcFind(what, rows) < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    MarcFound found = rows.recordCount() == 1
                          ? MarcFound{rows(0, 2).str(), rows(1, 2).str(), rows(2, 2).str(),
                                      rows(3, 2).str(), rows(4, 2).str()}
                          : chooseMarc(what);
    if (found.recNo.empty()) return -1;
    MarcRec rec = MarcLoad(found.recNo);
    d->marcNo = found.recNo;
    d->newMarc = {};
    d->title = found.title;
    d->publisher = found.publisher;
    d->issn = found.isbn;
    d->country = sqltext::trim(rec.CountryCode);
    d->language = sqltext::lower(sqltext::trim(rec.LangCode));
    markModified();
    showMarc(cur_);
    return 0;
}

int frmOrdList::CheckRepeat() {
    OrdDetail* d = current();
    if (!d) return -1;
    std::vector<std::string> findings;
    if (intOrdCheckRepeat(d->pub, d->ordYear, d->savedAsordNo, d->marcNo, d->title, findings) < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    LIB_ShowMsg(findings.empty() ? "I没有发现重复的书目或订购！"
                                 : "I查重结果：" + joined(findings));
    return static_cast<int>(findings.size());
}

void frmOrdList::ChangeGray(bool gray) {
    m_frmInfo->setEnabled(!gray);
    m_frmSubInfo->setEnabled(!gray);
}

FormState frmOrdList::State() const {
    if (refreshing()) return FormState::Refreshing;
    if (Locked()) return FormState::Locked;
    if (cur_ >= 0 && rows_[cur_].state == RowState::New) return FormState::New;
    if (cur_ >= 0 && rows_[cur_].state == RowState::Modified) return FormState::Modified;
    return FormState::Browse;
}

int frmOrdList::CheckDataValid() {
    if (LIB_ShowMsg("Q是否确认检查数据完整性") != kMsgOk) return 1;
    std::vector<std::string> missing;
    if (intCheckOrdCata(PublCode(), OrdYear(), missing) < 0) {
        LIB_DB_ShowError();
        return -1;
    }
    if (missing.empty())
        LIB_ShowMsg("I订购明细都有订户，数据完整！");
    else
        LIB_ShowMsg("I下列征订号没有订户：" + joined(missing));
    return static_cast<int>(missing.size());
}

int frmOrdList::subSetEndFlag(bool finished) {
    OrdDetail* d = current();
    if (!d || d->savedAsordNo.empty()) return -1;
    std::string flag = finished ? "1" : "0";
    if (intSetEndFlag(d->pub, d->ordYear, d->savedAsordNo, flag) < 0) return -1;
    // The mark moved the detail's version on; the snapshot a later edit keeps for Cancel must
    // carry both.
    for (OrdDetail* copy : {d, &shown_}) {
        copy->endFlag = flag;
        ++copy->version;
    }
    if (auto it = originals_.find(d->key); it != originals_.end()) {
        it->second.endFlag = flag;
        ++it->second.version;
    }
    model->rowChanged(cur_);
    return 0;
}
