// The screen only reads its controls, calls the catalogue core and shows what it returns.
#include "marc/gui/frmCataView.h"

#include <QAction>
#include <QLineEdit>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include "common/gui/LayoutMemory.h"
#include "common/gui/StdKeys.h"
#include "marc/core/basBMStore.h"
#include "marc/gui/MarcRecModel.h"
#include "marc/gui/MarcSearchPanel.h"

frmCataView::frmCataView(QWidget* parent) : QWidget(parent) {
    setObjectName("frmCataView");
    setWindowTitle("书目记录浏览");
    panel = new MarcSearchPanel("marc/frmCataView/grdRecords", this);
    vsfBM = new MarcRecView(this);
    splMain = new QSplitter(Qt::Vertical, this);
    splMain->setObjectName("splMain");
    splMain->addWidget(panel);
    splMain->addWidget(vsfBM);
    splMain->setStretchFactor(0, 1);
    splMain->setStretchFactor(1, 1);
    LIB_RememberSplitter(splMain, "marc/frmCataView/splMain");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splMain, 1);

    auto* refresh = new QAction("重新检索", this);
    LIB_SetStdKey(refresh, StdKey::Refresh);
    connect(refresh, &QAction::triggered, this, [this] {
        if (!panel->cmbContent->text().trimmed().isEmpty()) subSearch();
    });
    addAction(refresh);
    setFocusProxy(panel);

    connect(panel, &MarcSearchPanel::currentRecordChanged, this,
            [this] { subShowRecord(panel->grdRecords->currentIndex().row()); });
}

int frmCataView::subSearch() {
    return panel->subSearch();
}

void frmCataView::subShowRecord(int row) {
    const std::string recNo = panel->recordAt(row).recNo;
    vsfBM->showRecord(recNo.empty() ? MarcRec{} : MarcLoad(recNo));
}
