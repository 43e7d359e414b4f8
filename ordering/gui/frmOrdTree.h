// The two catalogue trees of the order manager: order catalogues by distributor (frmOrdTree,
// created, re-keyed and deleted here) and pre-order catalogues by distributor (frmOrdAsordTree).
#pragma once

#include <QDialog>
#include <QWidget>
#include <string>

class QComboBox;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

// Roles of a catalogue node's data.
enum OrdTreeRole {
    kRolePubl = Qt::UserRole,
    kRoleYear,
    kRoleName,
    kRoleIcon,  // SendCata, UnSendCata, SendSelected, UnSendSelected; PubOpen, PubClose
};

// Distributor and year batch of a catalogue to create or re-key.
class frmOrdCataEdit : public QDialog {
    Q_OBJECT
public:
    frmOrdCataEdit(const QString& title, const std::string& publ, const std::string& year,
                   QWidget* parent = nullptr);
    QComboBox* cboPubl = nullptr;
    QLineEdit* txtYear = nullptr;
    std::string publ() const;
    std::string year() const;
};

class frmOrdTree : public QWidget {
    Q_OBJECT
public:
    explicit frmOrdTree(QWidget* parent = nullptr);
    QTreeWidget* trvOrder = nullptr;
    QLineEdit* txtFromYear = nullptr;
    QLineEdit* txtToYear = nullptr;

    int Reload();
    // Makes the catalogue's node current (and announces it); false when it is not listed.
    bool selectCatalogue(const std::string& publ, const std::string& year);
    QTreeWidgetItem* catalogueNode(const std::string& publ, const std::string& year) const;
    // The current catalogue ("" when a distributor or nothing is selected).
    std::string currentPubl() const;
    std::string currentYear() const;

    // Shows the catalogue's send state in its node's icon.
    void setCatalogueSent(const std::string& publ, const std::string& year, bool sent);

    // "name batch" of a catalogue, for questions about it.
    std::string catalogueLabel(const std::string& publ, const std::string& year) const;

    int NewCatalogue(const std::string& publ, const std::string& year);
    int RenameCatalogue(const std::string& newPubl, const std::string& newYear);
    int DeleteCatalogue();
    // The same through the catalogue dialog.
    void newCatalogueDialog();
    void renameCatalogueDialog();

signals:
    void catalogueChosen(const QString& publ, const QString& year, const QString& name);
    void catalogueRemoved(const QString& publ, const QString& year);
    // Order details dragged from the list (their row keys) dropped on a catalogue node.
    void detailsDropped(const QStringList& keys, const QString& publ, const QString& year);
    // A catalogue node dragged onto another.
    void catalogueDropped(const QString& fromPubl, const QString& fromYear, const QString& publ,
                          const QString& year);

protected:
    // Drops on the tree are taken here, so that the tree never rearranges its own nodes.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void markSelection(QTreeWidgetItem* now, QTreeWidgetItem* before);
    // The catalogue node a drop at the event's position would go to; null when it may not.
    QTreeWidgetItem* dropTarget(const class QDropEvent* event) const;
    bool draggingCatalogue(const class QDropEvent* event) const;
};

class frmOrdAsordTree : public QWidget {
    Q_OBJECT
public:
    explicit frmOrdAsordTree(QWidget* parent = nullptr);
    QTreeWidget* trvAsord = nullptr;
    int Reload();
    bool selectCatalogue(const std::string& publ, const std::string& yearMonth);

signals:
    void asordChosen(const QString& publ, const QString& yearMonth, const QString& name);
};
