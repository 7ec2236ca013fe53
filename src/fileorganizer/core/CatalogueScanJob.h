#pragma once

#include "Job.h"

#include <QString>

#include <functional>
#include <vector>

class CategoryRules;
class Store;

// Fills the catalogue table filedetails from the file system: one row per file, its category
// from CategoryRules. The job opens its own handle on the store at storePath (it may run on a
// thread of its own). A scan that adds to the catalogue writes in transactions, so a cancelled
// one keeps every row written before the cancel; a rescan (setClearFirst) replaces the catalogue
// in one transaction, so a cancelled or failed one leaves the catalogue as it was.
//
// Tree mode walks breadth first from the start folder into every subfolder, entering each
// folder once (a symbolic link back into the tree is not followed again); folders and files
// that cannot be read are skipped silently.
class CatalogueScanJob : public Job
{
    Q_OBJECT
public:
    enum class Mode {
        Tree,     // ScanFolderToCatalogue: the folder and every folder beneath it
        OneFolder // AddFolderFilesToCatalogue: the files directly inside the folder
    };

    // One catalogue row as the walk finds it, before it is written.
    struct Row;

    CatalogueScanJob(const QString &storePath, const QString &folder, Mode mode,
                     QObject *parent = nullptr);

    // Empties filedetails ("Delete * from fileDetails") before the scan, in its transaction.
    void setClearFirst(bool clear) { m_clearFirst = clear; }
    // False when the store could not be opened or written; a cancel is no failure.
    bool succeeded() const { return m_succeeded; }

protected:
    void work() override;

private:
    // Writes the rows of the walk; false when the store refused a row.
    bool fill(const Store &store);
    // Walks the folders on the calling thread and hands rows over in batches; stops when
    // deliver answers false or the job is cancelled.
    void walk(CategoryRules &rules, const std::function<bool(std::vector<Row> &&)> &deliver);

    QString m_storePath;
    QString m_folder;
    Mode m_mode;
    bool m_clearFirst = false;
    bool m_succeeded = false;
};
