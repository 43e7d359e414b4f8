// The order manager: builds the trees, the two data forms and the command bar, and maps each
// command to the active form's contract.
#include "ordering/gui/frmOrdManager.h"

#include <QAction>
#include <QCloseEvent>
#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QShowEvent>
#include <QStackedWidget>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "common/gui/FileDialogs.h"
#include "common/gui/LayoutMemory.h"
#include "common/gui/StdKeys.h"

#include "db/basLibMsg.h"
#include "ordering/gui/frmCataBatchOrd.h"
#include "ordering/gui/frmOrdAsordList.h"
#include "ordering/gui/frmOrdList.h"
#include "ordering/gui/frmOrdRenew.h"
#include "ordering/gui/frmOrdTree.h"

frmOrdManager::frmOrdManager(QWidget* parent) : QMainWindow(parent) {
    setObjectName("frmOrdManager");
    setWindowTitle("期刊订购");
    m_frmOrdTree = new frmOrdTree(this);
    m_frmAsordTree = new frmOrdAsordTree(this);
    dwOrderTree = new QDockWidget("订购目录", this);
    dwOrderTree->setObjectName("dwOrderTree");
    dwOrderTree->setWidget(m_frmOrdTree);
    dwAsordTree = new QDockWidget("征订目录", this);
    dwAsordTree->setObjectName("dwAsordTree");
    dwAsordTree->setWidget(m_frmAsordTree);
    addDockWidget(Qt::LeftDockWidgetArea, dwOrderTree);
    addDockWidget(Qt::LeftDockWidgetArea, dwAsordTree);
    tabifyDockWidget(dwOrderTree, dwAsordTree);
    dwOrderTree->raise();
    // The trees need little width; the list and its panes take the rest.
    resizeDocks({dwOrderTree, dwAsordTree}, {240, 240}, Qt::Horizontal);

    OrderMain = new frmOrdList(this);
    AsordMain = new frmOrdAsordList(this);
    stkMain = new QStackedWidget(this);
    stkMain->addWidget(OrderMain);
    stkMain->addWidget(AsordMain);
    setCentralWidget(stkMain);

    addCommand("cmdFirst", "首条(&F)", nullptr);
    addCommand("cmdPrevious", "上条(&P)", nullptr);
    addCommand("cmdNext", "下条(&X)", nullptr);
    addCommand("cmdLast", "末条(&L)", nullptr);
    addCommand("cmdDetlNew", "新增明细(&N)", &frmOrdManager::cmdDetlNew);
    addCommand("cmdSave", "保存(&S)", &frmOrdManager::cmdSave);
    addCommand("cmdSaveAll", "全部保存(&A)", &frmOrdManager::cmdSaveAll);
    addCommand("cmdCancel", "取消(&C)", &frmOrdManager::cmdCancel);
    addCommand("cmdLocked", "锁定(&K)", &frmOrdManager::cmdLocked, true);
    addCommand("cmdDetlDel", "删除明细(&D)", &frmOrdManager::cmdDetlDel);
    addCommand("cmdDetlDelNormal", "仅删除订购信息", &frmOrdManager::cmdDetlDel);
    addCommand("cmdDetlDelMarc", "同时删除书目", &frmOrdManager::cmdDetlDelMarc);
    addCommand("cmdEndFlag", "完成标记(&E)", &frmOrdManager::cmdEndFlag, true);
    addCommand("cmdMultiSelect", "多选(&M)", &frmOrdManager::cmdMultiSelect, true);
    addCommand("cmdSelectAll", "全选", &frmOrdManager::cmdSelectAll);
    addCommand("GroupView", "分组显示(&G)", &frmOrdManager::cmdGroupView, true);
    addCommand("cmdCheck", "完整性检查(&I)", &frmOrdManager::cmdCheck);
    addCommand("cmdMarcFind", "查找书目(&B)", &frmOrdManager::cmdMarcFind);
    addCommand("cmdMarcRepeat", "查重(&R)", &frmOrdManager::cmdMarcRepeat);
    addCommand("cmdSwitch", "订购/征订(&W)", &frmOrdManager::cmdSwitch);
    addCommand("cmdAsordSelect", "选订到订购目录(&T)", &frmOrdManager::cmdAsordSelect);
    addCommand("cmdOpenFile", "导入文件(&O)", &frmOrdManager::cmdOpenFile);
    addCommand("cmdFrameNone", "隐藏窗格", nullptr);
    addCommand("cmdFrameOnlyInfo", "仅订购信息", nullptr);
    addCommand("cmdFrameOnlySubInfo", "仅订户信息", nullptr);
    addCommand("cmdFrameLevel", "并列窗格", nullptr);
    addCommand("cmdFrameTabbed", "分页窗格", nullptr);
    addCommand("cmdGrid", "仅列表", nullptr);
    addCommand("cmdFindText", "查找(&Q)", &frmOrdManager::cmdFindText);
    addCommand("cmdFind", "定位到查找框", &frmOrdManager::cmdFocusFind);
    addCommand("cmdRefresh", "刷新", &frmOrdManager::cmdRefresh);
    addCommand("cmdRestoreLayout", "恢复默认布局", &frmOrdManager::cmdRestoreLayout);
    addCommand("cmdRenew", "期刊续订(&Y)...", &frmOrdManager::cmdRenew);
    addCommand("cmdBatchOrd", "批量订购...", &frmOrdManager::cmdBatchOrd);
    LIB_SetStdKey(command("cmdDetlNew"), StdKey::New);
    LIB_SetStdKey(command("cmdSave"), StdKey::Save);
    LIB_SetStdKey(command("cmdSaveAll"), StdKey::SaveAll);
    LIB_SetStdKey(command("cmdCancel"), StdKey::Cancel);
    LIB_SetStdKey(command("cmdDetlDel"), StdKey::Delete);
    LIB_SetStdKey(command("cmdFind"), StdKey::Find);
    LIB_SetStdKey(command("cmdRefresh"), StdKey::Refresh);
    command("cmdMarcFind")->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));
    command("cmdPrevious")->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Up));
    command("cmdNext")->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Down));
    for (auto& [name, action] : commands_) {
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(action);
        LIB_TipWithShortcut(action);
    }

    // The toolbar holds what is used all day, icons with text; the rest is in the menus.
    bar_ = addToolBar("命令");
    bar_->setObjectName("tbrCommands");
    bar_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QStyle* st = style();
    auto icon = [&](const char* name, QStyle::StandardPixmap pix) {
        command(name)->setIcon(st->standardIcon(pix));
    };
    icon("cmdDetlNew", QStyle::SP_FileIcon);
    icon("cmdSave", QStyle::SP_DialogSaveButton);
    icon("cmdSaveAll", QStyle::SP_DriveHDIcon);
    icon("cmdCancel", QStyle::SP_DialogCancelButton);
    icon("cmdDetlDel", QStyle::SP_TrashIcon);
    icon("cmdMarcFind", QStyle::SP_FileDialogContentsView);
    icon("cmdMarcRepeat", QStyle::SP_FileDialogDetailedView);
    icon("cmdAsordSelect", QStyle::SP_ArrowRight);
    icon("cmdSwitch", QStyle::SP_BrowserReload);
    icon("cmdFindText", QStyle::SP_FileDialogStart);
    icon("cmdPrevious", QStyle::SP_ArrowUp);
    icon("cmdNext", QStyle::SP_ArrowDown);
    for (const char* name : {"cmdDetlNew", "cmdSave", "cmdSaveAll", "cmdCancel"})
        bar_->addAction(command(name));
    bar_->addSeparator();
    for (const char* name : {"cmdMarcFind", "cmdMarcRepeat", "cmdSwitch", "cmdAsordSelect"})
        bar_->addAction(command(name));
    bar_->addSeparator();
    txtFind = new QLineEdit(this);
    txtFind->setObjectName("txtFind");
    txtFind->setPlaceholderText("查找内容 (Ctrl+F)");
    txtFind->setToolTip("在列表中查找；“查找书目”按刊名、ISSN 或作者检索书目记录");
    txtFind->setMaximumWidth(180);
    bar_->addWidget(txtFind);
    bar_->addAction(command("cmdFindText"));
    connect(txtFind, &QLineEdit::returnPressed, this, [this] { runCommand("cmdFindText"); });
    // The deletes stand apart, at the end, behind one button with its menu.
    bar_->addSeparator();
    auto* del = new QToolButton(this);
    del->setObjectName("btnDelete");
    del->setDefaultAction(command("cmdDetlDel"));
    del->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    del->setPopupMode(QToolButton::MenuButtonPopup);
    auto* delMenu = new QMenu(del);
    delMenu->addAction(command("cmdDetlDelNormal"));
    delMenu->addAction(command("cmdDetlDelMarc"));
    del->setMenu(delMenu);
    bar_->addWidget(del);

    QMenu* edit = menuBar()->addMenu("编辑(&E)");
    for (const char* name : {"cmdDetlNew", "cmdSave", "cmdSaveAll", "cmdCancel"})
        edit->addAction(command(name));
    edit->addSeparator();
    for (const char* name : {"cmdLocked", "cmdEndFlag", "cmdMultiSelect", "cmdSelectAll"})
        edit->addAction(command(name));
    edit->addSeparator();
    for (const char* name : {"cmdDetlDel", "cmdDetlDelNormal", "cmdDetlDelMarc"})
        edit->addAction(command(name));
    QMenu* go = menuBar()->addMenu("记录(&R)");
    for (const char* name : {"cmdFirst", "cmdPrevious", "cmdNext", "cmdLast"})
        go->addAction(command(name));
    go->addSeparator();
    for (const char* name : {"cmdFind", "cmdFindText", "cmdRefresh"})
        go->addAction(command(name));
    QMenu* tools = menuBar()->addMenu("工具(&T)");
    for (const char* name :
         {"cmdMarcFind", "cmdMarcRepeat", "cmdCheck", "cmdSwitch", "cmdAsordSelect"})
        tools->addAction(command(name));
    tools->addSeparator();
    tools->addAction(command("cmdRenew"));
    tools->addAction(command("cmdOpenFile"));
    tools->addAction(command("cmdBatchOrd"));
    QMenu* view = menuBar()->addMenu("视图(&V)");
    view->addAction(command("GroupView"));
    view->addSeparator();
    for (const char* name : {"cmdFrameLevel", "cmdFrameTabbed", "cmdFrameOnlyInfo",
                             "cmdFrameOnlySubInfo", "cmdFrameNone", "cmdGrid"})
        view->addAction(command(name));
    view->addSeparator();
    view->addAction(command("cmdRestoreLayout"));
    addSendCommands();
    addXferCommands();
    addSearchCommands();

    chooseImportFile = [this] {
        // An order list takes order (breakpoint) files, a pre-order list review files.
        const bool order = orderMainActive();
        return LIB_OpenFileName(this, "导入文件", order ? "orderfile" : "asordfile",
                                order ? "订购断点文件 (*.csv)" : "征订文件 (*.csv *.txt)")
            .toStdString();
    };
    connect(m_frmOrdTree, &frmOrdTree::catalogueChosen, this, &frmOrdManager::showCatalogue);
    connect(m_frmOrdTree, &frmOrdTree::catalogueRemoved, this,
            [this](const QString& publ, const QString& year) {
                if (OrderMain->PublCode() == publ.toStdString() &&
                    OrderMain->OrdYear() == year.toStdString()) {
                    OrderMain->setPublCode("");
                    OrderMain->setOrdYear("");
                    OrderMain->ClearItems();
                }
                subRefreshCommands();
            });
    connect(m_frmAsordTree, &frmOrdAsordTree::asordChosen, this,
            [this](const QString& publ, const QString& ym, const QString& name) {
                AsordMain->DataSet(publ.toStdString(), ym.toStdString(), name.toStdString());
                if (orderMainActive()) cmdSwitch();
                subRefreshCommands();
            });
    for (OrdDataForm* f : std::initializer_list<OrdDataForm*>{OrderMain, AsordMain})
        connect(f, &OrdDataForm::stateChanged, this, &frmOrdManager::subRefreshCommands);
    LIB_RememberWindow(this, "ordering/manager");
    openLastCatalogue();
    subRefreshCommands();
}

void frmOrdManager::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // The operator starts by finding a title.
    // After the window has settled, which would otherwise give the focus to the tree.
    if (!event->spontaneous())
        QTimer::singleShot(0, txtFind, [this] { txtFind->setFocus(Qt::OtherFocusReason); });
}

void frmOrdManager::addCommand(const std::string& name, const QString& caption,
                               void (frmOrdManager::*run)(), bool checkable) {
    auto* a = new QAction(caption, this);
    a->setObjectName(QString::fromStdString(name));
    a->setCheckable(checkable);
    connect(a, &QAction::triggered, this, [this, name, run] {
        if (run) (this->*run)();
        onCommand(name);
        subRefreshCommands();
    });
    commands_[name] = a;
}

QAction* frmOrdManager::command(const std::string& name) const {
    auto it = commands_.find(name);
    return it == commands_.end() ? nullptr : it->second;
}

bool frmOrdManager::runCommand(const std::string& name) {
    QAction* a = command(name);
    if (!a || !a->isEnabled()) return false;
    a->trigger();
    return true;
}

IDataForm* frmOrdManager::activeForm() const {
    return orderMainActive() ? static_cast<IDataForm*>(OrderMain) : AsordMain;
}

bool frmOrdManager::orderMainActive() const {
    return stkMain->currentWidget() == OrderMain;
}

// Commands whose whole work is one call of the contract.
void frmOrdManager::onCommand(const std::string& name) {
    IDataForm* f = activeForm();
    static const std::map<std::string, FrameStyle> frames{
        {"cmdFrameNone", FrameStyle::None},
        {"cmdFrameOnlyInfo", FrameStyle::OnlyInfo},
        {"cmdFrameOnlySubInfo", FrameStyle::OnlySubInfo},
        {"cmdFrameLevel", FrameStyle::Level},
        {"cmdFrameTabbed", FrameStyle::Tabbed},
        {"cmdGrid", FrameStyle::Grid}};
    if (name == "cmdFirst") f->MoveFirst();
    if (name == "cmdPrevious") f->MovePrevious();
    if (name == "cmdNext") f->MoveNext();
    if (name == "cmdLast") f->MoveLast();
    if (auto it = frames.find(name); it != frames.end()) OrderMain->setFrameStyle(it->second);
}

void frmOrdManager::subRefreshCommands() {
    IDataForm* f = activeForm();
    const bool order = orderMainActive();
    const int n = f->ItemCount(), cur = f->CurIndex();
    const FormState state = f->State();
    const bool editing = state == FormState::New || state == FormState::Modified;
    const bool catalogue = !f->PublCode().empty();
    const bool locked = f->Locked();
    auto set = [this](const char* name, bool on) { commands_.at(name)->setEnabled(on); };
    set("cmdFirst", n > 0 && cur > 0);
    set("cmdPrevious", n > 0 && cur > 0);
    set("cmdNext", n > 0 && cur < n - 1);
    set("cmdLast", n > 0 && cur < n - 1);
    set("cmdDetlNew", true);
    set("cmdSave", order && editing);
    set("cmdSaveAll", order && OrderMain->hasUnsaved());
    set("cmdCancel", order && editing);
    set("cmdLocked", order && cur >= 0);
    commands_.at("cmdLocked")->setChecked(locked);
    for (const char* del : {"cmdDetlDel", "cmdDetlDelNormal", "cmdDetlDelMarc"})
        set(del, order && cur >= 0 && !locked);
    set("cmdEndFlag", order && cur >= 0 && state == FormState::Browse);
    if (order && cur >= 0)
        commands_.at("cmdEndFlag")->setChecked(OrderMain->current()->endFlag == "1");
    set("cmdMultiSelect", n > 0);
    commands_.at("cmdMultiSelect")->setChecked(f->MultiSelected());
    set("cmdSelectAll", n > 0);
    set("GroupView", n > 0);
    commands_.at("GroupView")->setChecked(f->GroupMode());
    set("cmdCheck", catalogue);
    set("cmdMarcFind", order && cur >= 0 && !locked);
    set("cmdMarcRepeat", order && cur >= 0);
    set("cmdSwitch", true);
    set("cmdAsordSelect", !order && n > 0 && !OrderMain->PublCode().empty());
    set("cmdOpenFile", catalogue && !locked);
    for (const char* frame : {"cmdFrameNone", "cmdFrameOnlyInfo", "cmdFrameOnlySubInfo",
                              "cmdFrameLevel", "cmdFrameTabbed", "cmdGrid"})
        set(frame, order);
    set("cmdFindText", n > 0);
    set("cmdFind", true);
    set("cmdRefresh", catalogue);
    set("cmdRestoreLayout", true);
    set("cmdRenew", true);
    set("cmdBatchOrd", true);
    refreshSendCommands(order, catalogue, n, editing);
    refreshXferCommands(order, catalogue, n, editing, locked);
    refreshSearchCommands(order, n, editing);
}

void frmOrdManager::cmdOpenFile() {
    // An order breakpoint file (or an order file from elsewhere) comes back into the order list
    // as temporary rows; a review file adds items to the pre-order catalogue shown.
    const std::string path = chooseImportFile ? chooseImportFile() : std::string();
    if (!path.empty()) activeForm()->ImportReviewFile(path);
}

void frmOrdManager::showCatalogue(const QString& publ, const QString& year, const QString& name) {
    if (OrderMain->PublCode() == publ.toStdString() && OrderMain->OrdYear() == year.toStdString() &&
        orderMainActive())
        return;
    if (!OrderMain->QueryClose()) {
        m_frmOrdTree->selectCatalogue(OrderMain->PublCode(), OrderMain->OrdYear());
        return;
    }
    OrderMain->setLocked(false);
    OrderMain->DataSet(publ.toStdString(), year.toStdString(), name.toStdString());
    LIB_SetLayoutValue("ordering/lastCatalogue", QStringList{publ, year, name});
    if (!orderMainActive()) cmdSwitch();
    subRefreshCommands();
}

void frmOrdManager::cmdDetlNew() {
    // Typing starts in the first field of the new detail.
    if (addDetail([](IDataForm& f) { return f.NewItem(); }) && orderMainActive())
        OrderMain->focusFirstField();
}

bool frmOrdManager::addDetail(const std::function<int(IDataForm&)>& add) {
    IDataForm* f = activeForm();
    if (f->State() == FormState::Refreshing) {
        LIB_ShowMsg("E处于刷新状态，不能执行新增明细操作！");
        return false;
    }
    if (f->Locked() || add(*f) < 0) {
        LIB_ShowMsg("E不能执行新增明细操作！");
        return false;
    }
    return true;
}

void frmOrdManager::cmdDetlDel() {
    activeForm()->DeleteItem(false);
}

void frmOrdManager::cmdDetlDelMarc() {
    activeForm()->DeleteItem(true);
}

void frmOrdManager::cmdLocked() {
    activeForm()->setLocked(commands_.at("cmdLocked")->isChecked());
}

void frmOrdManager::cmdSave() {
    activeForm()->SaveItem();
}

void frmOrdManager::cmdSaveAll() {
    if (LIB_ShowMsg("Q是否保存所有的纪录？") == kMsgOk) activeForm()->SaveAllItems();
}

void frmOrdManager::cmdCancel() {
    IDataForm* f = activeForm();
    if (f->State() == FormState::New && LIB_ShowMsg("Q是否取消新增该纪录？") != kMsgOk) return;
    f->Cancel();
}

void frmOrdManager::cmdFindText() {
    activeForm()->FindText(txtFind->text().trimmed().toStdString());
}

void frmOrdManager::cmdMultiSelect() {
    activeForm()->setMultiSelected(commands_.at("cmdMultiSelect")->isChecked());
}

void frmOrdManager::cmdSelectAll() {
    activeForm()->SelectAll();
}

void frmOrdManager::cmdGroupView() {
    activeForm()->setGroupMode(commands_.at("GroupView")->isChecked());
}

void frmOrdManager::cmdSwitch() {
    stkMain->setCurrentWidget(orderMainActive() ? static_cast<QWidget*>(AsordMain) : OrderMain);
    setWindowTitle(orderMainActive() ? "期刊订购 - 订购明细" : "期刊订购 - 征订明细");
}

void frmOrdManager::cmdMarcFind() {
    activeForm()->MarcFind(txtFind->text().trimmed().toStdString());
}

void frmOrdManager::cmdMarcRepeat() {
    activeForm()->CheckRepeat();
}

void frmOrdManager::cmdCheck() {
    activeForm()->CheckDataValid();
}

void frmOrdManager::cmdAsordSelect() {
    std::vector<std::string> numbers;
    for (const DataFormRow& r : AsordMain->GetSelectItems())
        numbers.push_back(r.at("AsordNo"));
    cmdSwitch();
    OrderMain->InsertAsordData(AsordMain->PublCode(), AsordMain->OrdYear(), numbers);
}

void frmOrdManager::cmdEndFlag() {
    OrderMain->subSetEndFlag(commands_.at("cmdEndFlag")->isChecked());
}

void frmOrdManager::closeEvent(QCloseEvent* event) {
    if (OrderMain->QueryClose())
        event->accept();
    else
        event->ignore();
}

void frmOrdManager::cmdFocusFind() {
    txtFind->setFocus(Qt::ShortcutFocusReason);
    txtFind->selectAll();
}

void frmOrdManager::cmdRefresh() {
    IDataForm* f = activeForm();
    if (orderMainActive() && !OrderMain->QueryClose()) return;
    f->Refresh();
}

void frmOrdManager::cmdRestoreLayout() {
    LIB_RestoreDefaultLayout("ordering/");
}

void frmOrdManager::openLastCatalogue() {
    const QStringList last = LIB_LayoutValue("ordering/lastCatalogue").toStringList();
    if (last.size() != 3) return;
    if (m_frmOrdTree->selectCatalogue(last[0].toStdString(), last[1].toStdString()))
        showCatalogue(last[0], last[1], last[2]);
}

void frmOrdManager::cmdRenew() {
    frmOrdRenew renew(this);
    renew.exec();
    // The new year's catalogues appear in the tree.
    if (renew.lastResult().catalogues > 0) m_frmOrdTree->Reload();
}

void frmOrdManager::cmdBatchOrd() {
    frmCataBatchOrd batch(this);
    batch.exec();
    if (batch.lastResult().ordered > 0) m_frmOrdTree->Reload();
}
