#pragma once

#include "core/model.h"
#include "core/table_text.h"
#include "core/tables.h"
#include "ui/components/window_plugs.h"

#include <QDialog>

class QAction;
class QMenu;
class QTabWidget;
class QTableView;

namespace quomble {

class BusyIndicator;
class LogTableModel;

// The log data window: every boot and every day in two tables on two pages, sortable by
// any column with a press on its header.
class TForm4 : public QDialog, public SecondaryWindow {
    Q_OBJECT
public:
    // settings: the main window's values; the window opens on LogDataPageIndex.
    TForm4(const LogModel& model, const Settings& settings, QWidget* parent = nullptr);
    ~TForm4() override;

    // --- The main window's plug ----------------------------------------------------------
    void ini_File_read(const std::filesystem::path& iniFile, Settings& settings) override;
    void storeSettings(Settings& settings) const override;
    void showModal() override;

    // --- Operations and handlers -----------------------------------------------------------
    void StringGrid_fuellen();
    void PageControl1Change();
    void StringAlignGrid1FixedColClick(int column);
    void StringAlignGrid2FixedColClick(int column);
    // table: 1 boots, 2 days.
    void StringGrid_sortieren(int table, int column, bool ascending);
    static QString Wochentag_lang(const QString& code);
    // "Copy": the selected rows of the shown table, header line first, tab-separated, to
    // the clipboard.
    void CopyRows1Click();
    // "Sort by this column" (F9): the shown table by the column of its current cell, as a
    // press on that column's header sorts it.
    void SortColumn1Click();
    // "Save table as...": asks for a file and writes the shown table as TSV or CSV.
    void SaveTable1Click();
    // The selected rows of the shown table as the clipboard gets them.
    QString selectedRowsText() const;
    // Writes the whole shown table in its shown order; false, after the error box, when it
    // failed.
    bool saveShownTable(const QString& path, TableTextFormat format);

    // The outer width the window takes for the active page.
    static constexpr int kBootsWidth = 462;
    static constexpr int kDaysWidth = 399;

    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;
    QWidget* TabSheet2 = nullptr;
    QTableView* StringAlignGrid1 = nullptr;
    QTableView* StringAlignGrid2 = nullptr;
    BusyIndicator* Animate1 = nullptr;
    BusyIndicator* Animate2 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* CopyRows1 = nullptr;
    QAction* SaveTable1 = nullptr;
    QAction* SortColumn1 = nullptr;
    LogTableModel* bootsModel() const { return boots_; }
    LogTableModel* daysModel() const { return days_; }

signals:
    // A sort runs (true) or has ended (false); the log data must not change meanwhile.
    void sortingChanged(bool running);

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void FormCreate(int pageIndex);
    void FormShow();
    void headerPressed(int table, int column);
    void placeAnimations();
    QTableView* makeGrid(QWidget* page, LogTableModel* model);
    void selectAndReveal(QTableView* grid, int row, int column = 0);
    void buildMenu();
    QTableView* shownGrid() const;
    LogTableModel* shownModel() const;
    void fitNumberColumn(QTableView* grid);

    const LogModel& model_;
    LogTableModel* boots_ = nullptr;
    LogTableModel* days_ = nullptr;
    bool shownOnce_ = false;
};

}  // namespace quomble
