// Accession: bound volumes back from the binder and single issues kept unbound become item and
// indi_acct rows in an accession batch (m_peri_check_acct), each with a property number, a
// barcode and a call number. Property numbers come from the operator's section: a recycled
// number of the section first, else the next of the section's range.
#pragma once

#include <string>
#include <vector>

#include "binding/core/basBindFunc.h"

struct CheckAcct {
    std::string batchNo, classTypeCode, date, respWkr, remark;
    int checkType = 0;  // 0 bound volumes, 1 single issues
};
// Inserts the batch (dated today, under the operator when those are empty) or, when it
// exists, rewrites it.
int intSaveCheckAcct(const CheckAcct& batch);
int intLoadCheckAcct(const std::string& batchNo, CheckAcct& batch);
int intListCheckAccts(int checkType, std::vector<CheckAcct>& batches);
// Deletes a batch no volume was accessioned in.
int intDeleteCheckAcct(const std::string& batchNo);

// What the operator enters for one volume. An empty property number is taken from the
// operator's section for the batch's class.
struct StoreEntry {
    std::string propNo, barCode, callNo, bookStatCode = "可借", disLocation, attachment, remark;
    // Loan grade and circulation type of the item (codes; empty: none), as chosen with the
    // call number. Only item has these columns.
    std::string lendGrade, circType;
    // `propNo` is only the section's proposal shown to the operator: the number is taken from
    // the section when the volume is written, so another workstation's meanwhile is never reused.
    bool fromSection = false;
};

// The property number a volume of the class would get now, without taking it (for display).
int intPeekPropNo(const std::string& classTypeCode, std::string& propNo);

// A bound volume back from the binder is checked (bound_flag 1), or the check undone (0).
int intCheckBound(const std::string& bindNo, bool undo);
// Accessions a returned binding record in a bound-volume batch (bound_flag 2). `entry` gets
// the property number used.
int intStoreBound(const std::string& batchNo, const std::string& bindNo, StoreEntry& entry);
// Receiving on frmOldBindBound: the record's values as edited, checked, and with `store` also
// accessioned in the batch. Property number, barcode and call number are required.
int intReceiveBound(const BindRecord& record, const StoreEntry& entry, bool store,
                    const std::string& batchNo);
// Accessions one available copy (state '0' to '2') in a single-issue batch (state '4').
int intStoreSingle(const std::string& batchNo, const BoundCopy& copy, StoreEntry& entry);
// Undoes the accession of a volume: refused while it is on loan. A single copy goes back to
// state 2, a bound volume to checked (1); a property number of the operator's section goes to
// its recycle list.
int intUndoStore(const std::string& propNo);

// A copy of a title that may be accessioned as a single issue ('0' to '2') or has been ('4',
// with its property number).
struct SingleCopy {
    BoundCopy copy;
    std::string itemStat, propNo;
};
// The title's copies at its location and sub-location in the year (empty: any), issue order.
int intListSingleCopies(const BindTitle& title, const std::string& year,
                        std::vector<SingleCopy>& copies);
// Property-number classes (max_number) an accession batch can be of.
int intListPropClasses(std::vector<CodeName>& classes);
// Loan grades and circulation types in use, for the item an accession writes.
int intListLendGrades(std::vector<CodeName>& grades);
int intListCircTypes(std::vector<CodeName>& types);
