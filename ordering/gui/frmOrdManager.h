// The ordering workspace: the order and pre-order catalogue trees on the left, one data form on
// the right (order details or pre-order items), and the command bar that drives the active
// form through the data-form contract. After every command the command-state refresh enables
// exactly the commands valid for the form's state, selection and lock.
#pragma once

#include <QMainWindow>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ordering/core/OrdMarcCmds.h"
#include "ordering/core/OrdTransfer.h"
#include "ordering/gui/IDataForm.h"

class QAction;
class QDockWidget;
class QLineEdit;
class QMenu;
class QStackedWidget;
class QToolBar;
class frmOrdAsordList;
class frmOrdAsordTree;
class frmOrdList;
class frmOrdTree;
class frmOrdSendMail;
class frmOrdMove;
class frmOrdSearch;
class frmOrdMultiModify;
class frmOrdMarcAdd;
struct OrdSearchHit;
enum class OrdPrintBy;
enum class OrdSearchKind;

class frmOrdManager : public QMainWindow {
    Q_OBJECT
public:
    explicit frmOrdManager(QWidget* parent = nullptr);

    QDockWidget* dwOrderTree = nullptr;
    QDockWidget* dwAsordTree = nullptr;
    frmOrdTree* m_frmOrdTree = nullptr;
    frmOrdAsordTree* m_frmAsordTree = nullptr;
    QStackedWidget* stkMain = nullptr;
    frmOrdList* OrderMain = nullptr;
    frmOrdAsordList* AsordMain = nullptr;
    QLineEdit* txtFind = nullptr;
    // The order or review file cmdOpenFile reads; by default a file dialog titled "导入文件".
    std::function<std::string()> chooseImportFile;
    // The mail screen the last cmdEmail opened (window-modal; null before).
    frmOrdSendMail* mailDialog = nullptr;
    // The target screen the last cmdDetlMove opened (window-modal; null before).
    frmOrdMove* moveDialog = nullptr;
    // The spreadsheet the exports write; by default a file dialog.
    std::function<std::string(const std::string& suggested)> chooseExportFile;
    // The search dialog (created by the first cmdSearch, kept with its last result).
    frmOrdSearch* searchDialog = nullptr;
    // The multi-modify dialog of the last cmdMultiModify (window-modal; null before).
    frmOrdMultiModify* multiModifyDialog = nullptr;
    // The print types cmdPrintType offers: the order list, per subscriber, per distribution.
    QMenu* printTypeMenu = nullptr;
    // The new-record dialog of the last cmdMarcAdd or template (window-modal; null before).
    frmOrdMarcAdd* marcAddDialog = nullptr;

    // The command's action (null for an unknown name).
    QAction* command(const std::string& name) const;
    // Runs a command as a click would; false when it is disabled.
    bool runCommand(const std::string& name);
    IDataForm* activeForm() const;
    bool orderMainActive() const;
    void subRefreshCommands();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void addCommand(const std::string& name, const QString& caption, void (frmOrdManager::*run)(),
                    bool checkable = false);
    void onCommand(const std::string& name);
    void cmdDetlNew();
    // Adds a detail through `add` (the active form's new row), refused as 新增 is; true when
    // one was added.
    bool addDetail(const std::function<int(IDataForm&)>& add);
    void cmdDetlDel();
    void cmdDetlDelMarc();
    void cmdLocked();
    void cmdSave();
    void cmdSaveAll();
    void cmdCancel();
    void cmdFindText();
    void cmdMultiSelect();
    void cmdSelectAll();
    void cmdSwitch();
    void cmdMarcFind();
    void cmdMarcRepeat();
    void cmdCheck();
    void cmdGroupView();
    void cmdAsordSelect();
    void cmdOpenFile();
    void cmdEndFlag();
    void cmdFocusFind();
    void cmdRefresh();
    void cmdRestoreLayout();
    // Opens the renewal screen.
    void cmdRenew();
    // Opens batch ordering of gift and exchange intake records.
    void cmdBatchOrd();
    // Sending, check-in progress, printing, export and mail (OrdManagerCommands.cpp).
    void addSendCommands();
    void refreshSendCommands(bool order, bool catalogue, int count, bool editing);
    void cmdSend();
    void cmdUnSend();
    void cmdShowFlag();
    void cmdPrint();
    void cmdPrintType();
    void cmdPrintLoca();
    void cmdPrintDisLoca();
    void cmdExportAll();
    void cmdEmail();
    void cmdReplace();
    void cmdReplaceFreq();
    void refreshFromAsord(bool freq);
    // The selected details' order numbers, after any unsaved change was saved or dropped;
    // false when the operator kept editing.
    bool selectedOrderNumbers(std::vector<std::string>& out);
    void printList(OrdPrintBy by);
    // Writes the catalogue's details (only the named ones when given) to a spreadsheet.
    void exportSheet(const std::vector<std::string>& only);
    // Normalised numbers, the title change copy, moving, copying and pasting details between
    // catalogues (also by dragging onto the tree), the export of the marked rows
    // (OrdManagerXfer.cpp).
    void addXferCommands();
    void refreshXferCommands(bool order, bool catalogue, int count, bool editing, bool locked);
    void cmdStandard();
    void cmdRename();
    void cmdDetlMove();
    void cmdDetlCut();
    void cmdDetlCopy();
    void cmdDetlPaste();
    void cmdExportArea();
    void remember(OrdXferMode mode);
    void transfer(const std::string& publ, const std::string& year,
                  const std::vector<std::string>& asordNos, const std::string& toPubl,
                  const std::string& toYear, OrdXferMode mode);
    void detailsDropped(const QStringList& keys, const QString& publ, const QString& year);
    void catalogueDropped(const QString& fromPubl, const QString& fromYear, const QString& publ,
                          const QString& year);
    // The details cut or copied, waiting for a paste.
    struct Clip {
        std::string publ, year;
        std::vector<std::string> asordNos;
        OrdXferMode mode = OrdXferMode::Copy;
    } clip_;
    // The search across catalogues, multi-modify, the record commands and the templates
    // (OrdManagerSearch.cpp).
    void addSearchCommands();
    void refreshSearchCommands(bool order, int count, bool editing);
    void cmdSearch();
    // Opens the catalogue of a row the search found and makes it the current row.
    void openSearchHit(const OrdSearchHit& hit, OrdSearchKind kind);
    void cmdMultiModify();
    // Writes the changes of the accepted multi-modify dialog to the selected details.
    void applyMultiModify();
    // The current detail's record: its short display; deleting it; a new one.
    void cmdMarcSimpl();
    void cmdMarcDel();
    void cmdMarcAdd();
    // A new detail from a template, then the new-record dialog for its title. NewTemple repeats
    // the template used last.
    void cmdNewTemple();
    void cmdCNPublish();
    void cmdUSPublish();
    void newFromTemple(OrdTemple temple);
    OrdTemple lastTemple_ = OrdTemple::CNPublish;
    // Opens the catalogue the operator had open last, when it still exists.
    void openLastCatalogue();
    void showCatalogue(const QString& publ, const QString& year, const QString& name);

    std::map<std::string, QAction*> commands_;
    QToolBar* bar_ = nullptr;
};
