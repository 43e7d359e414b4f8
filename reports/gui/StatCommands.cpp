#include "reports/gui/StatCommands.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "common/gui/FileDialogs.h"
#include "common/gui/PrintPreview.h"
#include "common/gui/StdKeys.h"
#include "db/basLibMsg.h"
#include "reports/core/StatExport.h"

bool statExportFile(const StatTable& t, const QString& path, const QString& extraHtml) {
    std::string error;
    const std::string p = path.toStdString();
    int rc = path.endsWith(".pdf", Qt::CaseInsensitive)    ? statWritePdf(p, t, error, extraHtml)
             : path.endsWith(".xlsx", Qt::CaseInsensitive) ? statWriteXlsx(p, t, error)
                                                           : statWriteCsv(p, t, error);
    if (rc < 0) {
        LIB_ShowMsg("E" + error);
        return false;
    }
    return true;
}

QLabel* statTitleLabel(const QString& title, QWidget* screen) {
    auto* label = new QLabel(title, screen);
    label->setObjectName("lblTitle");
    QFont big = label->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    label->setFont(big);
    return label;
}

QHBoxLayout* statCommandRow(QWidget* screen, const StatCommands& c) {
    auto* row = new QHBoxLayout;
    auto button = [&](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, screen);
        b->setObjectName(name);
        row->addWidget(b);
        return b;
    };
    QPushButton* print = button("cmdPrint", "打印预览");
    QPushButton* pdf = button("cmdPdf", "PDF…");
    QPushButton* xlsx = button("cmdXlsx", "XLSX…");
    QPushButton* csv = button("cmdCsv", "CSV…");
    row->addStretch();
    QPushButton* exit = button("cmdExit", "退出");

    auto* refresh = new QAction(c.run->text(), screen);
    LIB_SetStdKey(refresh, StdKey::Refresh);
    screen->addAction(refresh);
    c.run->setToolTip(refresh->toolTip());
    QObject::connect(refresh, &QAction::triggered, screen, c.onRun);
    QObject::connect(c.run, &QPushButton::clicked, screen, c.onRun);
    auto* cancel = new QAction("退出", screen);
    LIB_SetStdKey(cancel, StdKey::Cancel);
    screen->addAction(cancel);
    exit->setToolTip(cancel->toolTip());
    QObject::connect(cancel, &QAction::triggered, screen, &QWidget::close);
    QObject::connect(exit, &QPushButton::clicked, screen, &QWidget::close);

    auto extra = [c] { return c.extraHtml ? c.extraHtml() : QString(); };
    QObject::connect(print, &QPushButton::clicked, screen, [c, extra, screen] {
        printedListPreview(statPrintHtml(c.shown(), extra()), screen);
    });
    auto save = [c, extra, screen](const QString& filter) {
        const StatTable& t = c.shown();
        QString path =
            LIB_SaveFileName(screen, "导出", "export", QString::fromStdString(t.title), filter);
        if (!path.isEmpty()) statExportFile(t, path, extra());
    };
    QObject::connect(pdf, &QPushButton::clicked, screen, [save] { save("PDF 文件 (*.pdf)"); });
    QObject::connect(xlsx, &QPushButton::clicked, screen,
                     [save] { save("Excel 工作簿 (*.xlsx)"); });
    QObject::connect(csv, &QPushButton::clicked, screen, [save] { save("CSV 文件 (*.csv)"); });
    return row;
}
