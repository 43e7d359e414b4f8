// Choosing a catalogue record to link: the search panel in a dialog. It opens with the text it is
// given already searched, the search box focused when nothing was found; Enter on a record (or
// 确定) takes it, Esc leaves without one.
#pragma once

#include <QDialog>

#include "marc/gui/MarcSearchPanel.h"

class QPushButton;

class dlgMarcSearch : public QDialog {
    Q_OBJECT
public:
    explicit dlgMarcSearch(QWidget* parent = nullptr);

    // Puts the text into the search box and, when it is not empty, searches it: as an ISSN or
    // an ISBN when it is shaped like one, otherwise from the start of the titles.
    void startWith(const std::string& text);
    // The record taken; an empty record number unless the dialog was accepted with one.
    MarcFound chosen() const { return chosen_; }

    MarcSearchPanel* panel = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

private:
    void take();

    MarcFound chosen_;
};
