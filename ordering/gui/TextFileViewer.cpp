#include "ordering/gui/TextFileViewer.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QVBoxLayout>

TextFileViewer::TextFileViewer(const QString& title, const QString& path, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(title + " - " + path);
    txtContent = new QPlainTextEdit(this);
    txtContent->setObjectName("txtContent");
    txtContent->setReadOnly(true);
    txtContent->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtContent->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    QFile file(path);
    txtContent->setPlainText(file.open(QIODevice::ReadOnly | QIODevice::Text)
                                 ? QString::fromUtf8(file.readAll())
                                 : "没有日志文件：" + path);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(txtContent);
    layout->addWidget(buttons);
    resize(760, 480);
}
