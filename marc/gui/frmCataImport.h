// Importing a file of catalogue records from the client: the file, its format and encoding as
// `marc import` takes them, a run showing records, rate and skipped records that can be stopped
// between records, then the counts and every warning. The import itself is the core's.
#pragma once

#include <QDialog>

#include "marc/core/MarcImport.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;

class frmCataImport : public QDialog {
    Q_OBJECT
public:
    explicit frmCataImport(QWidget* parent = nullptr);

    QLineEdit* txtFile = nullptr;
    QPushButton* cmdBrowse = nullptr;
    QComboBox* cmbFormat = nullptr;
    QComboBox* cmbEncoding = nullptr;
    QProgressBar* pbImport = nullptr;
    QLabel* lblProg = nullptr;
    QListWidget* lstWarnings = nullptr;
    QLabel* lblResult = nullptr;
    QPushButton* cmdStart = nullptr;
    QPushButton* cmdStop = nullptr;
    QPushButton* cmdClose = nullptr;

    // Imports the file named in the controls; false when it could not be started.
    bool run();
    bool isRunning() const { return running_; }
    // The counts of the last run.
    const MarcImportReport& lastReport() const { return report_; }

signals:
    // Emitted with every progress update of a run, after the controls show it.
    void progressShown(int records);

protected:
    void reject() override;

private:
    void browse();
    void showProgress(const MarcImportReport& r);
    void updateEnabled();
    MarcFormat format() const;
    MarcEncoding encoding() const;

    bool running_ = false;
    bool stop_ = false;
    double fileBytes_ = 0;
    MarcImportReport report_;
};
