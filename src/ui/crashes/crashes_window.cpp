#include "crashes_window.h"

#include "crash_table_model.h"
#include "core/boot_ends.h"
#include "core/table_text.h"
#include "ui/components/cell_delegate.h"
#include "ui/components/control_name.h"
#include "ui/components/file_export.h"
#include "ui/components/keyboard.h"
#include "ui/components/messages.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QScrollBar>
#include <QGuiApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace quomble {
namespace {

QTableView* setUpTable(QTableView* table, const QString& accessibleName, CrashTableModel* model)
{
    table->setAccessibleName(accessibleName);
    table->setModel(model);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSortingEnabled(true);
    table->horizontalHeader()->setSortIndicatorShown(true);
    table->horizontalHeader()->setStretchLastSection(true);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    table->setTabKeyNavigation(false);  // Tab leaves the table
    table->setItemDelegate(new CellDelegate(table, false));
    nameCornerButton(table);
    return table;
}

QPlainTextEdit* setUpText(QPlainTextEdit* text, const QString& accessibleName)
{
    text->setAccessibleName(accessibleName);
    // Its page and scroll bars are read by the text's name too.
    text->viewport()->setAccessibleName(accessibleName);
    text->verticalScrollBar()->setAccessibleName(accessibleName + QStringLiteral(", scrolled up and down"));
    text->horizontalScrollBar()->setAccessibleName(accessibleName + QStringLiteral(", scrolled sideways"));
    text->setReadOnly(true);
    text->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    return text;
}

QLabel* newCaption(QWidget* parent, const char* name, const QString& text, QWidget* buddy)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setBuddy(buddy);
    return label;
}

int confidenceRank(const BootEndRecord* r)
{
    if (!r || r->cause == EndCause::None)
        return -1;
    return static_cast<int>(r->confidence);
}

}  // namespace

CrashesWindow::CrashesWindow(std::filesystem::path logFile, Clock clock, QWidget* parent)
    : QDialog(parent), logFile_(std::move(logFile)), clock_(std::move(clock))
{
    nameWindow(this);
    setWindowTitle(QStringLiteral("Crashes and their likely causes"));
    resize(960, 640);

    crashes_ = new CrashTableModel({kCrashColumns.begin(), kCrashColumns.end() - 1}, this);
    kernels_ =
        new CrashTableModel({"kernel", "boots", "crashes", "crashes per boot", "crashes per 100 h"}, this);
    setUpTable(nameControl(this, QUOMBLE_CONTROL(CrashesWindow, CrashTable), new QTableView(this)),
               QStringLiteral("Boots that ended without a logout"), crashes_);
    setUpTable(nameControl(this, QUOMBLE_CONTROL(CrashesWindow, KernelTable), new QTableView(this)),
               QStringLiteral("Crashes per kernel release"), kernels_);
    setUpText(nameControl(this, QUOMBLE_CONTROL(CrashesWindow, EvidenceText), new QPlainTextEdit(this)),
              QStringLiteral("Evidence of the selected crash"));
    setUpText(
        nameControl(this, QUOMBLE_CONTROL(CrashesWindow, EvidenceSettingsText), new QPlainTextEdit(this)),
        QStringLiteral("What this machine keeps to tell a crash"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(newCaption(this, "CrashTableCaption",
                                 QStringLiteral("&Boots that ended without a logout"), CrashTable));
    layout->addWidget(CrashTable, 3);
    layout->addWidget(
        newCaption(this, "EvidenceCaption", QStringLiteral("&Evidence of the selected crash"), EvidenceText));
    layout->addWidget(EvidenceText, 2);
    layout->addWidget(
        newCaption(this, "KernelTableCaption", QStringLiteral("Crashes per &kernel"), KernelTable));
    layout->addWidget(KernelTable, 2);
    layout->addWidget(newCaption(this, "EvidenceSettingsCaption",
                                 QStringLiteral("&What this machine keeps to tell a crash"),
                                 EvidenceSettingsText));
    layout->addWidget(EvidenceSettingsText, 2);

    nameControl(this, QUOMBLE_CONTROL(CrashesWindow, CrashesMenu), new QMenu(this));
    nameControl(this, QUOMBLE_CONTROL(CrashesWindow, CopyCrashes),
                CrashesMenu->addAction(QStringLiteral("Copy")));
    CopyCrashes->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    nameControl(this, QUOMBLE_CONTROL(CrashesWindow, SaveCrashes),
                CrashesMenu->addAction(QStringLiteral("Save table as...")));
    SaveCrashes->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    nameControl(this, QUOMBLE_CONTROL(CrashesWindow, SortCrashes),
                CrashesMenu->addAction(QStringLiteral("Sort by this column")));
    SortCrashes->setShortcut(QKeySequence(Qt::Key_F9));
    addAction(CopyCrashes);
    addAction(SaveCrashes);
    addAction(SortCrashes);
    connect(SortCrashes, &QAction::triggered, this, &CrashesWindow::sortByCurrentColumn);
    addPopupMenuKeys(this);
    connect(CopyCrashes, &QAction::triggered, this,
            [this] { QGuiApplication::clipboard()->setText(selectedRowsText()); });
    connect(SaveCrashes, &QAction::triggered, this, &CrashesWindow::saveTableAs);
    connect(CrashTable->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { showEvidenceOfCurrentRow(); });
    connect(crashes_, &QAbstractItemModel::modelReset, this, [this] { showEvidenceOfCurrentRow(); });
}

void CrashesWindow::sortByCurrentColumn()
{
    // The table with the focus, else the crash table; the order turns as a header click turns it.
    QTableView* table = KernelTable->hasFocus() ? KernelTable : CrashTable;
    const int column = std::max(0, table->currentIndex().column());
    const QHeaderView* header = table->horizontalHeader();
    const bool again =
        header->sortIndicatorSection() == column && header->sortIndicatorOrder() == Qt::AscendingOrder;
    table->sortByColumn(column, again ? Qt::DescendingOrder : Qt::AscendingOrder);
    // The sort resets the rows; the current cell stays in the column for the next press.
    if (!table->currentIndex().isValid() && table->model()->rowCount() > 0)
        table->setCurrentIndex(table->model()->index(0, column));
}

void CrashesWindow::reload()
{
    const DateTime now = readTimestamp(Datumermitteln(clock_));
    std::vector<LoggedBoot> boots;
    try {
        boots = readLoggedBoots(logFile_);
    } catch (const std::exception&) {
        // The main window has said why the log cannot be read; the tables stay empty.
    }
    const auto records = readBootEnds(logFile_);

    std::vector<CrashTableModel::Row> rows;
    for (const auto& b : boots) {
        if (!b.crashed)
            continue;
        const BootEndRecord* r = findBootEnd(records, b.login);
        CrashTableModel::Row row;
        row.cells = crashCells(b, r);
        std::string evidence;
        if (r) {
            for (const auto& line : r->evidence)
                evidence += line + "\n";
            if (!r->missing.empty())
                evidence += "missing: " + r->missing + "\n";
            if (!r->bootId.empty())
                evidence += "boot id: " + r->bootId + "\n";
        }
        row.detail = evidence.empty() ? "nothing was gathered about this end" : evidence;
        const std::int64_t last = r && r->lastEntry ? *r->lastEntry : -1;
        row.keys = {b.login, last, last >= b.login ? last - b.login : -1, 0, confidenceRank(r), 0, 0};
        rows.push_back(std::move(row));
    }
    crashes_->setRows(std::move(rows));
    const auto header = CrashTable->horizontalHeader();
    crashes_->sort(header->sortIndicatorSection(), header->sortIndicatorOrder());

    std::vector<CrashTableModel::Row> perKernel;
    for (const auto& k : kernelFigures(boots, records, now)) {
        CrashTableModel::Row row;
        row.cells = {k.kernel, std::to_string(k.boots), std::to_string(k.crashes),
                     rateText(k.boots ? static_cast<double>(k.crashes) / k.boots : 0),
                     k.onHours > 0 ? rateText(k.crashes * 100.0 / k.onHours) : "-"};
        row.keys = {0, k.boots, k.crashes, k.boots ? k.crashes * 10000 / k.boots : 0,
                    k.onHours > 0 ? static_cast<std::int64_t>(k.crashes * 1e6 / k.onHours) : -1};
        perKernel.push_back(std::move(row));
    }
    kernels_->setRows(std::move(perKernel));
    CrashTable->resizeColumnsToContents();
    KernelTable->resizeColumnsToContents();

    QString keeps;
    for (const auto& e : evidenceSettings("/")) {
        keeps += QString::fromStdString(e.what) + (e.on ? QStringLiteral(": on") : QStringLiteral(": off"));
        if (!e.on)
            keeps += QStringLiteral(" - without it ") + QString::fromStdString(e.without) +
                     QStringLiteral(".\n    To switch it on: ") + QString::fromStdString(e.command);
        keeps += QLatin1Char('\n');
    }
    EvidenceSettingsText->setPlainText(keeps);
    if (crashes_->rowCount() > 0 && !CrashTable->currentIndex().isValid())
        CrashTable->setCurrentIndex(crashes_->index(0, 0));
}

void CrashesWindow::showModal()
{
    reload();
    exec();
}

void CrashesWindow::showEvidenceOfCurrentRow()
{
    const QModelIndex current = CrashTable->currentIndex();
    if (!current.isValid() || current.row() >= crashes_->rowCount()) {
        EvidenceText->setPlainText(
            crashes_->rowCount() == 0 ? QStringLiteral("No boot ended without a logout.") : QString());
        return;
    }
    EvidenceText->setPlainText(QString::fromStdString(crashes_->row(current.row()).detail));
}

QString CrashesWindow::selectedRowsText() const
{
    std::vector<std::vector<std::string>> rows{{kCrashColumns.begin(), kCrashColumns.end()}};
    auto selected = CrashTable->selectionModel()->selectedRows();
    std::sort(selected.begin(), selected.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    for (const auto& index : selected)
        rows.push_back(crashes_->row(index.row()).cells);
    return QString::fromStdString(rowsText(rows, TableTextFormat::Tsv));
}

bool CrashesWindow::saveTable(const QString& path)
{
    std::vector<std::vector<std::string>> rows{{kCrashColumns.begin(), kCrashColumns.end()}};
    for (int i = 0; i < crashes_->rowCount(); ++i)
        rows.push_back(crashes_->row(i).cells);
    const auto format = path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive) ? TableTextFormat::Csv
                                                                                   : TableTextFormat::Tsv;
    return saveExportFile(path, rowsText(rows, format), this);
}

void CrashesWindow::saveTableAs()
{
    const auto choice =
        askExportFile(this, QStringLiteral("Save table as"),
                      exportFileName(QStringLiteral("crashes"), QStringLiteral("tsv")),
                      {{QStringLiteral("Tab-separated values (*.tsv)"), QStringLiteral("tsv")},
                       {QStringLiteral("CSV (*.csv)"), QStringLiteral("csv")}});
    if (choice)
        saveTable(choice->path);
}

void CrashesWindow::contextMenuEvent(QContextMenuEvent* event)
{
    CrashesMenu->popup(popupPlace(this, event));
}

}  // namespace quomble
