#include "checkin/gui/frmNewSearch.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "common/basCodeFunc.h"

namespace {

const char* const kYearRange = "<年度区间>";
const char* const kAnyYear = "<不定>";

// A code-table drop-down with an empty "any" entry first.
void fillCodes(QComboBox* box, const LibArray& table) {
    box->addItem("<全部>", QString());
    for (int r = 2; r < table.rows(); ++r)
        box->addItem(QString::fromStdString(table(1, r).str()),
                     QString::fromStdString(table(0, r).str()));
}

}  // namespace

frmNewSearch::frmNewSearch(QWidget* parent) : QDialog(parent) {
    setObjectName("frmNewSearch");
    setWindowTitle("期刊签收检索");
    cmbOption = new QComboBox(this);
    cmbOption->setObjectName("cmbOption");
    cmbContent = new QComboBox(this);
    cmbContent->setObjectName("cmbContent");
    cmbContent->setEditable(true);
    cmbContent->setMinimumWidth(280);
    cmbYear = new QComboBox(this);
    cmbYear->setObjectName("cmbYear");
    txtYearFrom = new QLineEdit(this);
    txtYearFrom->setObjectName("txtYearFrom");
    txtYearTo = new QLineEdit(this);
    txtYearTo->setObjectName("txtYearTo");
    for (QLineEdit* e : {txtYearFrom, txtYearTo}) {
        e->setInputMask("9999");
        e->setMaximumWidth(70);
    }
    cmbLanguage = new QComboBox(this);
    cmbLanguage->setObjectName("cmbLanguage");
    cmbLanguage->addItem("<全部>", QString());
    cmbLanguage->addItem("中文", "CHI");
    cmbLanguage->addItem("外文", "FOREIGN");
    cmbGetMode = new QComboBox(this);
    cmbGetMode->setObjectName("cmbGetMode");
    cmbCarrier = new QComboBox(this);
    cmbCarrier->setObjectName("cmbCarrier");
    cmdOk = new QPushButton("检索(&S)", this);
    cmdOk->setObjectName("cmdOk");
    cmdOk->setDefault(true);
    cmdCancel = new QPushButton("取消", this);
    cmdCancel->setObjectName("cmdCancel");

    auto* range = new QHBoxLayout;
    range->addWidget(cmbYear);
    range->addWidget(txtYearFrom);
    range->addWidget(txtYearTo);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    auto* form = new QFormLayout(this);
    form->addRow("检索途径(&W)", cmbOption);
    form->addRow("检索内容(&C)", cmbContent);
    form->addRow("订购年度(&Y)", range);
    if (auto* yearLabel = qobject_cast<QLabel*>(form->labelForField(range)))
        yearLabel->setBuddy(cmbYear);
    form->addRow("语种(&L)", cmbLanguage);
    form->addRow("获得方式(&G)", cmbGetMode);
    form->addRow("载体(&M)", cmbCarrier);
    form->addRow(buttons);

    connect(cmbYear, &QComboBox::currentIndexChanged, this, &frmNewSearch::yearChanged);
    connect(cmdOk, &QPushButton::clicked, this, &frmNewSearch::subSearch);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    subInitOption();
    // The text is what the operator came to type: the cursor goes there once the dialog is up.
    QMetaObject::invokeMethod(
        cmbContent, [box = cmbContent] { box->setFocus(); }, Qt::QueuedConnection);
}

void frmNewSearch::subInitOption() {
    fields_ = LoadChkSearchFields();
    cmbOption->clear();
    for (const auto& f : fields_)
        cmbOption->addItem(QString::fromStdString(f.caption));
    std::vector<std::string> years;
    intLoadOrdYears(years);
    cmbYear->clear();
    for (const auto& y : years)
        cmbYear->addItem(QString::fromStdString(y));
    cmbYear->addItem(kYearRange);
    cmbYear->addItem(kAnyYear);
    cmbGetMode->clear();
    fillCodes(cmbGetMode, g_arrGetMode);
    cmbCarrier->clear();
    fillCodes(cmbCarrier, g_arrCarrier);
    yearChanged();
}

void frmNewSearch::yearChanged() {
    bool range = cmbYear->currentText() == kYearRange;
    txtYearFrom->setVisible(range);
    txtYearTo->setVisible(range);
}

ChkSearchQuery frmNewSearch::query() const {
    ChkSearchQuery q;
    int f = cmbOption->currentIndex();
    if (f >= 0 && f < static_cast<int>(fields_.size()))
        q.field = fields_[static_cast<std::size_t>(f)];
    q.text = cmbContent->currentText().toStdString();
    const QString year = cmbYear->currentText();
    if (year == kYearRange) {
        q.yearRange = true;
        q.yearFrom = txtYearFrom->text().trimmed().toStdString();
        q.yearTo = txtYearTo->text().trimmed().toStdString();
    } else if (year != kAnyYear) {
        q.year = year.toStdString();
    }
    q.language = cmbLanguage->currentData().toString().toStdString();
    q.getMode = cmbGetMode->currentData().toString().toStdString();
    q.carrier = cmbCarrier->currentData().toString().toStdString();
    return q;
}

void frmNewSearch::subSearch() {
    if (intChkSearch(query(), rows_) == 0) accept();
}
