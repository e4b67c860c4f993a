#pragma once

#include "core/datetime.h"

#include <QDialog>

#include <filesystem>

class QAction;
class QMenu;
class QPlainTextEdit;
class QTableView;

namespace quomble {

class CrashTableModel;

// Every boot of the log that ended without a logout: its login, the last journal entry,
// the on-time up to it, the likely cause with its confidence, the kernel; the evidence of
// the selected one; the crashes per kernel; and what this machine keeps to tell a crash.
// The same records as `quomble-report --crashes`, read from the log and the ends file
// beside it each time the window is shown.
class CrashesWindow : public QDialog {
    Q_OBJECT
public:
    CrashesWindow(std::filesystem::path logFile, Clock clock, QWidget* parent = nullptr);

    // Reads the log and its ends file again and shows the window modally.
    void showModal();
    // The records as they are now (the window shows them at its next showing).
    void reload();

    QTableView* crashTable() const { return CrashTable; }
    QTableView* kernelTable() const { return KernelTable; }
    QPlainTextEdit* evidenceText() const { return EvidenceText; }
    QPlainTextEdit* settingsText() const { return EvidenceSettingsText; }
    QAction* copyAction() const { return CopyCrashes; }

    // The selected rows with the header, tab-separated, in the shown order.
    QString selectedRowsText() const;
    // Writes the whole crash table in its shown order, as TSV or CSV by the name's suffix.
    bool saveTable(const QString& path);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void showEvidenceOfCurrentRow();
    void saveTableAs();
    // "Sort by this column" (F9): the focused table by the column of its current cell.
    void sortByCurrentColumn();

    std::filesystem::path logFile_;
    Clock clock_;
    CrashTableModel* crashes_ = nullptr;
    CrashTableModel* kernels_ = nullptr;
    QTableView* CrashTable = nullptr;
    QTableView* KernelTable = nullptr;
    QPlainTextEdit* EvidenceText = nullptr;
    QPlainTextEdit* EvidenceSettingsText = nullptr;
    QMenu* CrashesMenu = nullptr;
    QAction* CopyCrashes = nullptr;
    QAction* SaveCrashes = nullptr;
    QAction* SortCrashes = nullptr;
};

}  // namespace quomble
