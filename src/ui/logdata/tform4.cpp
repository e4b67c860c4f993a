#include "ui/logdata/tform4.h"

#include "ui/components/busyindicator.h"
#include "ui/components/control_name.h"
#include "ui/components/file_export.h"
#include "ui/components/keyboard.h"
#include "ui/components/labels.h"
#include "ui/components/scheme_widgets.h"
#include "ui/components/screens.h"
#include "ui/components/cell_delegate.h"
#include "ui/logdata/log_table_model.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QEventLoop>
#include <QHeaderView>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <thread>

namespace quomble {

namespace {

constexpr int kFrameWidth = 8;  // the outer width includes a frame of 4 pixels each side
constexpr int kClientHeight = 374;
constexpr int kRowHeight = 18;

}  // namespace

TForm4::TForm4(const LogModel& model, const Settings& settings, QWidget* parent)
    : QDialog(parent), model_(model)
{
    FormCreate(settings.LogDataPageIndex);
}

TForm4::~TForm4() = default;

QTableView* TForm4::makeGrid(QWidget* page, LogTableModel* model)
{
    auto* grid = new QTableView(page);
    grid->setModel(model);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    // A click selects one row; Shift, Ctrl and Ctrl+A select a block to copy.
    grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setShowGrid(true);
    grid->setWordWrap(false);
    grid->setTextElideMode(Qt::ElideNone);
    // Cells hold their text whole, a little apart from the grid lines, at any font and scale.
    grid->setStyleSheet(QStringLiteral("QTableView::item { padding: 0px 1px; }"));
    // Its own copy of the window's font: a style-sheet grid would take the desktop's font at
    // the desktop's next change of fonts or scheme.
    grid->setFont(page->window()->font());
    grid->setItemDelegate(new CellDelegate(grid));
    grid->setSortingEnabled(false);
    // Tab leaves the table for the tabs; the arrow keys move within it.
    grid->setTabKeyNavigation(false);
    nameCornerButton(grid);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setDefaultSectionSize(kRowHeight);
    grid->horizontalHeader()->setDefaultSectionSize(50);
    grid->horizontalHeader()->setSectionsClickable(true);
    grid->horizontalHeader()->setHighlightSections(false);
    grid->horizontalHeader()->setFixedHeight(kRowHeight + 2);
    grid->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    QFont bold = grid->font();  // the window's, not the desktop's
    bold.setBold(true);
    grid->horizontalHeader()->setFont(bold);
    grid->viewport()->setBackgroundRole(QPalette::Button);  // follows a change of the desktop's scheme
    const auto& columns = tableColumns(model->order().table());
    for (int c = 0; c < static_cast<int>(columns.size()); ++c)
        grid->setColumnWidth(c, columns[static_cast<std::size_t>(c)].width);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(grid);
    return grid;
}

void TForm4::FormCreate(int pageIndex)
{
    nameWindow(this);
    setWindowTitle(QStringLiteral("LogData"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setWindowIcon(QApplication::windowIcon());
    setFont(sansFont(11));

    nameControl(this, QUOMBLE_CONTROL(TForm4, PageControl1), new QTabWidget(this));
    nameControl(this, QUOMBLE_CONTROL(TForm4, TabSheet1), new QWidget);
    nameControl(this, QUOMBLE_CONTROL(TForm4, TabSheet2), new QWidget);
    PageControl1->addTab(TabSheet1, QStringLiteral("Boots"));
    PageControl1->addTab(TabSheet2, QStringLiteral("Days"));
    highlightTabsUnderMouse(PageControl1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(PageControl1);

    boots_ = new LogTableModel(model_, LogTable::Boots, this);
    days_ = new LogTableModel(model_, LogTable::Days, this);
    nameControl(this, QUOMBLE_CONTROL(TForm4, StringAlignGrid1), makeGrid(TabSheet1, boots_));
    nameControl(this, QUOMBLE_CONTROL(TForm4, StringAlignGrid2), makeGrid(TabSheet2, days_));
    nameControl(this, QUOMBLE_CONTROL(TForm4, Animate1), new BusyIndicator(TabSheet1));
    nameControl(this, QUOMBLE_CONTROL(TForm4, Animate2), new BusyIndicator(TabSheet2));
    StringAlignGrid1->setAccessibleName(QStringLiteral("Boots table"));
    StringAlignGrid1->setAccessibleDescription(
        QStringLiteral("Every boot of the log: number, login, logout, on-time and off-time"));
    StringAlignGrid2->setAccessibleName(QStringLiteral("Days table"));
    StringAlignGrid2->setAccessibleDescription(
        QStringLiteral("Every day from the first boot to today: number, weekday, date, boots, crashes and "
                       "on-time"));
    for (BusyIndicator* animation : {Animate1, Animate2})
        animation->setAccessibleName(QStringLiteral("Sorting the table"));

    connect(StringAlignGrid1->horizontalHeader(), &QHeaderView::sectionPressed, this,
            [this](int column) { StringAlignGrid1FixedColClick(column); });
    connect(StringAlignGrid2->horizontalHeader(), &QHeaderView::sectionPressed, this,
            [this](int column) { StringAlignGrid2FixedColClick(column); });

    PageControl1->setCurrentIndex(pageIndex == 1 ? 1 : 0);
    connect(PageControl1, &QTabWidget::currentChanged, this, [this] { PageControl1Change(); });
    setFixedHeight(kClientHeight);
    PageControl1Change();
    buildMenu();
    addPageKeys(this, PageControl1);
    addPopupMenuKeys(this);
}

void TForm4::buildMenu()
{
    nameControl(this, QUOMBLE_CONTROL(TForm4, PopupMenu1), new QMenu(this));
    auto item = [this](QAction* TForm4::*member, const char* name, const QString& caption,
                       const QKeySequence& shortcut) {
        QAction* a = nameControl(this, member, name, PopupMenu1->addAction(caption));
        a->setShortcut(shortcut);
        a->setShortcutContext(Qt::WindowShortcut);
        addAction(a);  // the shortcut works while the menu is closed
    };
    item(QUOMBLE_CONTROL(TForm4, CopyRows1), QStringLiteral("Copy"), QKeySequence(Qt::CTRL | Qt::Key_C));
    item(QUOMBLE_CONTROL(TForm4, SaveTable1), QStringLiteral("Save table as..."),
         QKeySequence(Qt::CTRL | Qt::Key_S));
    item(QUOMBLE_CONTROL(TForm4, SortColumn1), QStringLiteral("Sort by this column"),
         QKeySequence(Qt::Key_F9));
    connect(CopyRows1, &QAction::triggered, this, &TForm4::CopyRows1Click);
    connect(SortColumn1, &QAction::triggered, this, &TForm4::SortColumn1Click);
    connect(SaveTable1, &QAction::triggered, this, &TForm4::SaveTable1Click);
}

void TForm4::contextMenuEvent(QContextMenuEvent* event) { PopupMenu1->popup(popupPlace(this, event)); }

QTableView* TForm4::shownGrid() const
{
    return PageControl1->currentIndex() == 0 ? StringAlignGrid1 : StringAlignGrid2;
}

LogTableModel* TForm4::shownModel() const { return PageControl1->currentIndex() == 0 ? boots_ : days_; }

QString TForm4::selectedRowsText() const
{
    std::vector<int> rows;
    for (const QItemSelectionRange& range : shownGrid()->selectionModel()->selection())
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.push_back(row + 1);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return QString::fromStdString(tableText(model_, shownModel()->order(), TableTextFormat::Tsv, rows));
}

void TForm4::CopyRows1Click() { QGuiApplication::clipboard()->setText(selectedRowsText()); }

bool TForm4::saveShownTable(const QString& path, TableTextFormat format)
{
    return saveExportFile(path, tableText(model_, shownModel()->order(), format), this);
}

void TForm4::SaveTable1Click()
{
    static const QList<ExportFileType> kTypes = {
        {QStringLiteral("Tab-separated text (*.tsv)"), QStringLiteral("tsv")},
        {QStringLiteral("CSV, comma-separated values (*.csv)"), QStringLiteral("csv")},
    };
    const QString title = PageControl1->tabText(PageControl1->currentIndex());
    const auto choice = askExportFile(this, QStringLiteral("Save table as"),
                                      exportFileName(title, QStringLiteral("tsv")), kTypes);
    if (choice)
        saveShownTable(choice->path, choice->type == 1 ? TableTextFormat::Csv : TableTextFormat::Tsv);
}

void TForm4::placeAnimations()
{
    // Each centred on the page whose grid it stands in for.
    for (BusyIndicator* animation : {Animate1, Animate2}) {
        const QWidget* page = animation->parentWidget();
        animation->move((page->width() - animation->width()) / 2, (page->height() - animation->height()) / 2);
    }
}

void TForm4::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    // A grid with a style sheet keeps the palette it was polished with; it is handed the
    // desktop's new scheme.
    if (event->type() == QEvent::PaletteChange)
        for (QTableView* grid : {StringAlignGrid1, StringAlignGrid2})
            if (grid) {
                grid->setPalette(palette());
                grid->viewport()->setPalette(palette());
            }
}

void TForm4::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    placeAnimations();
}

void TForm4::PageControl1Change()
{
    const int outer = PageControl1->currentIndex() == 0 ? kBootsWidth : kDaysWidth;
    setFixedWidth(outer - kFrameWidth);
}

void TForm4::ini_File_read(const std::filesystem::path& iniFile, Settings& settings)
{
    settings.readLogData(iniFile);
    if (!settings.LogDataPlace)
        return;
    moveToStoredPlace(this, QPoint(settings.LogDataPlace->left, settings.LogDataPlace->top));
}

void TForm4::storeSettings(Settings& settings) const
{
    // A window never shown nor placed from the settings opens where the system puts it.
    const QPoint place = shownOnce_ || testAttribute(Qt::WA_Moved) ? pos() : placeOverParent(this);
    settings.LogDataPlace =
        settings.placeAtEnd(settings.LogDataPlace, WindowPlace{place.x(), place.y()}, shownOnce_);
    settings.LogDataPageIndex = PageControl1->currentIndex();
}

void TForm4::showModal() { exec(); }

void TForm4::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    shownOnce_ = true;
    FormShow();
}

void TForm4::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    keepPlaceForNextShowing(this);
}

void TForm4::FormShow()
{
    (PageControl1->currentIndex() == 0 ? StringAlignGrid1 : StringAlignGrid2)->setFocus();
    StringGrid_fuellen();
}

void TForm4::selectAndReveal(QTableView* grid, int row, int column)
{
    if (row < 1 || row > grid->model()->rowCount())
        return;
    const QModelIndex index = grid->model()->index(row - 1, column);
    grid->selectionModel()->setCurrentIndex(index,
                                            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    grid->scrollTo(index, QAbstractItemView::PositionAtBottom);
}

void TForm4::StringGrid_fuellen()
{
    boots_->fill();
    fitNumberColumn(StringAlignGrid1);
    selectAndReveal(StringAlignGrid1, boots_->order().selectedRow());
    days_->fill();
    fitNumberColumn(StringAlignGrid2);
    selectAndReveal(StringAlignGrid2, days_->order().selectedRow());
}

void TForm4::fitNumberColumn(QTableView* grid)
{
    // The Nr. column keeps its design width unless the highest number needs more.
    const int digits = static_cast<int>(QString::number(grid->model()->rowCount()).size());
    const QFontMetrics metrics(grid->font());
    int widest = 0;
    for (char c = '0'; c <= '9'; ++c)
        widest = std::max(widest, metrics.horizontalAdvance(QLatin1Char(c)));
    const int margins = 2 * (grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1) + 2;
    const int needed = widest * digits + metrics.horizontalAdvance(QLatin1Char(' ')) + margins + 1;
    const auto& columns = tableColumns(grid == StringAlignGrid1 ? LogTable::Boots : LogTable::Days);
    grid->setColumnWidth(0, std::max(columns[0].width, needed));
}

QString TForm4::Wochentag_lang(const QString& code)
{
    return QString::fromStdString(weekdayLongName(code.toStdString()));
}

void TForm4::SortColumn1Click()
{
    const QModelIndex current = shownGrid()->currentIndex();
    headerPressed(PageControl1->currentIndex() == 0 ? 1 : 2, current.isValid() ? current.column() : 0);
}

void TForm4::StringAlignGrid1FixedColClick(int column) { headerPressed(1, column); }
void TForm4::StringAlignGrid2FixedColClick(int column) { headerPressed(2, column); }

void TForm4::headerPressed(int table, int column)
{
    LogTableModel* model = table == 1 ? boots_ : days_;
    QWidget* cursorOwner = table == 1 ? TabSheet1 : static_cast<QWidget*>(StringAlignGrid2);
    cursorOwner->setCursor(Qt::WaitCursor);
    setWindowTitle(QStringLiteral("Sorting Data..."));
    const bool ascending = model->order().nextPressAscending(column);
    StringGrid_sortieren(table, column, ascending);
    setWindowTitle(QStringLiteral("LogData"));
    cursorOwner->unsetCursor();
}

void TForm4::StringGrid_sortieren(int table, int column, bool ascending)
{
    LogTableModel* model = table == 1 ? boots_ : days_;
    QTableView* grid = table == 1 ? StringAlignGrid1 : StringAlignGrid2;
    BusyIndicator* animation = table == 1 ? Animate1 : Animate2;
    // Keep the selection of the grid in the order before sorting.
    const QModelIndex current = grid->selectionModel()->currentIndex();
    if (current.isValid())
        model->order().select(current.row() + 1);
    const bool hadFocus = grid->hasFocus();

    grid->hide();
    placeAnimations();
    animation->start();
    emit sortingChanged(true);
    // The sort runs beside the window's thread, which keeps the animation moving but takes
    // no input until it is done.
    QEventLoop wait;
    std::thread worker([&] {
        try {
            model->order().sortAs(model_, column, ascending);
        } catch (const std::exception&) {
            // Out of memory: the rows stay a valid order, only not a sorted one.
        }
        QMetaObject::invokeMethod(&wait, "quit", Qt::QueuedConnection);
    });
    wait.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    emit sortingChanged(false);
    animation->stop();
    grid->show();
    model->sortedBy(column, ascending);
    selectAndReveal(grid, model->order().selectedRow(), current.isValid() ? current.column() : 0);
    if (hadFocus)
        grid->setFocus(Qt::OtherFocusReason);
}

}  // namespace quomble
