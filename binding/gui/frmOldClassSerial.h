// Class maintenance: the class series of a classification scheme listed, one added, its prefix
// and last serial corrected, or one never used deleted. Writing locks the series' row as taking
// a serial does, so a correction never crosses a serial being taken at another workstation.
#pragma once

#include <QWidget>
#include <optional>
#include <vector>

#include "binding/core/basCallNo.h"
#include "binding/gui/BindGrid.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

class frmOldClassSerial : public QWidget {
    Q_OBJECT
public:
    // The series of the scheme `clsId` (empty: the first scheme).
    explicit frmOldClassSerial(const QString& clsId = {}, QWidget* parent = nullptr);

    QComboBox* cmbClsCode = nullptr;
    BindGrid spdSerial;
    QLineEdit* txtClsNo = nullptr;
    QLineEdit* txtPrefix = nullptr;
    QSpinBox* txtMaxSerial = nullptr;
    QPushButton *cmdNew, *cmdOk, *cmdDelete, *cmdCancel;

    void loadSeries();
    void cmdOk_Click();
    void cmdDelete_Click();
    const std::vector<ClassSerial>& series() const { return series_; }

signals:
    void seriesChanged();

private:
    void showSeries(const ClassSerial* row);
    std::vector<ClassSerial> series_;
    std::optional<ClassKey> editing_;  // the series the fields hold; none: a new one
};
