#include "ui/main/figures_panel.h"

#include "core/figures.h"
#include "ui/components/durationgrid.h"
#include "ui/components/labels.h"
#include "ui/components/palette.h"
#include "ui/components/texts.h"
#include "ui/main/figures_format.h"
#include "ui/main/label_set.h"

#include <QLabel>

namespace quomble {

namespace {

// One row of the duration table and its caption: a label of its own, or a sentence of five
// labels (opening words, date, "at", time, "o'clock, thus before") whose date and time are
// bold. A bold row has a bold caption and bold cells.
struct FigureRowLayout {
    int row;
    int y;
    QColor color;
    bool bold;
    int labels[5];  // the caption label, or the sentence's five
    int x[5];       // their places in the layout
};

const FigureRowLayout kRows[] = {
    {1, 24, palette::Black, false, {1, 2, 12, 26, 3}, {10, 60, 127, 138, 192}},
    {2, 40, palette::Navy, false, {4, 5, 29, 30, 10}, {10, 82, 149, 160, 214}},
    {3, 56, palette::Green, true, {11}, {10}},
    {4, 76, palette::Maroon, false, {33}, {10}},
    {5, 92, palette::Maroon, false, {17}, {10}},
    {6, 108, palette::Maroon, false, {13, 14, 31, 32, 15}, {10, 74, 141, 152, 206}},
    {7, 124, palette::Maroon, false, {16}, {10}},
    {8, 144, palette::Green, false, {18}, {10}},
    {9, 160, palette::Green, false, {19}, {10}},
    {10, 176, palette::Green, false, {20}, {10}},
    {11, 192, palette::Green, true, {21}, {10}},
    {12, 212, palette::Red, false, {22}, {10}},
    {13, 228, palette::Red, false, {25}, {10}},
    {14, 244, palette::Red, false, {27}, {10}},
    {15, 260, palette::Red, true, {28}, {10}},
};

const FigureRowLayout& layoutOf(int row) { return kRows[row - 1]; }

// Rows whose cells stand 4 pixels apart from the row before them.
constexpr int kTallRows[] = {3, 7, 11};
// Rows whose caption tells on hover when their figure happened.
constexpr int kHintRows[] = {4, 8, 10, 12, 14};

}  // namespace

FiguresPanel::FiguresPanel(LabelSet& labels, QWidget* parent)
    : BevelPanel(BevelPanel::Bevel::Lowered, BevelPanel::Bevel::Raised, parent), labels_(labels)
{
    setObjectName(QStringLiteral("Panel1"));
    setGeometry(6, 22, 428, 282);

    for (const FigureRowLayout& r : kRows) {
        const QString caption = QString::fromLatin1(kFigureCaptions[static_cast<std::size_t>(r.row)]);
        if (!isSentenceRow(r.row)) {
            labels_.add(this, r.labels[0], r.x[0], r.y, caption, r.color, r.bold);
            continue;
        }
        const QString words[5] = {caption, QString(), QString::fromLatin1(kSentenceAt), QString(),
                                  QString::fromLatin1(kSentenceEnd)};
        for (int i = 0; i < 5; ++i)
            labels_.add(this, r.labels[i], r.x[i], r.y, words[i], r.color, i == 1 || i == 3);
    }
    setHint(labels_[17], QStringLiteral("results from \"sum of all OnTimes\" per number of crashes "));
    for (int row : kHintRows)
        labels_[layoutOf(row).labels[0]]->setToolTipDuration(60000);  // their hints are set at run time

    grid_ = new DurationGrid(4, kFigureRows, this);
    grid_->setObjectName(QStringLiteral("StringAlignGrid1"));
    grid_->setGeometry(308, 6, 115, 270);
    grid_->setColumnWidth(0, 40);
    for (int c = 1; c < 4; ++c)
        grid_->setColumnWidth(c, 24);
    connect(grid_, &DurationGrid::clicked, this, &FiguresPanel::gridClicked);
    flowSentences();
}

void FiguresPanel::showFixed(const LogModel& model)
{
    for (int row : {1, 2, 6}) {
        const FigureMoment moment = figureMoment(model, row);
        const FigureRowLayout& r = layoutOf(row);
        setLabelText(labels_[r.labels[1]], QString::fromStdString(moment.date));
        setLabelText(labels_[r.labels[3]], QString::fromStdString(moment.time));
    }
    flowSentences();
    showHints(model, kFirstFixedFigureRow, kFigureRows - 1);

    grid_->setColumnWidth(0, 40);
    for (int c = 1; c < 4; ++c)
        grid_->setColumnWidth(c, 24);
    for (int r = 0; r < grid_->rowCount(); ++r)
        grid_->setRowHeight(r, 16);
    showRows(model, 0, 0);  // the headings
    showRows(model, kFirstFixedFigureRow, kFigureRows - 1);
    for (const FigureRowLayout& r : kRows) {
        if (r.row == 1)
            continue;  // the first row keeps the window's text colour
        for (int c = 0; c < 4; ++c) {
            grid_->setCellColor(c, r.row, r.color);
            grid_->setCellBold(c, r.row, r.bold);
        }
    }
    for (int r : kTallRows)
        grid_->setRowHeight(r, 20);
    grid_->clearSelection();
}

void FiguresPanel::showLive(const LogModel& model)
{
    showHints(model, 1, kFirstFixedFigureRow - 1);
    showRows(model, 1, kFirstFixedFigureRow - 1);  // row 6 shows "-" while there is no crash
    if (model.CrashCount <= 0) {
        const FigureRowLayout& r = layoutOf(6);
        setLabelText(labels_[r.labels[1]], QStringLiteral("-"));
        setLabelText(labels_[r.labels[3]], QStringLiteral("-"));
        flowSentences();
    }
    const QColor warning = crashFreeWarning(model) ? palette::Red : layoutOf(7).color;
    for (int c = 0; c < 4; ++c)
        grid_->setCellColor(c, 7, warning);
}

void FiguresPanel::showRows(const LogModel& model, int first, int last)
{
    const FigureTable table = figureTable(model);
    for (int row = first; row <= last; ++row)
        for (int c = 0; c < 4; ++c)
            grid_->setCell(
                c, row,
                QString::fromStdString(table[static_cast<std::size_t>(row)][static_cast<std::size_t>(c)]));
}

void FiguresPanel::showHints(const LogModel& model, int first, int last)
{
    for (int row : kHintRows) {
        if (row < first || row > last)
            continue;
        const FigureHint hint = figureHint(model, row);
        QString text;
        if (hint.kind == FigureHint::Kind::OnClock)
            text = onClockHint(textFromCore(hint.text));
        else if (hint.kind == FigureHint::Kind::Text)
            text = textFromCore(hint.text);
        setHint(labels_[layoutOf(row).labels[0]], text);
    }
}

void FiguresPanel::flowSentences()
{
    for (int row : {1, 2, 6})
        labels_.flow(layoutOf(row).labels, true);
    // A sentence that runs past the table's left edge stays readable over its empty left
    // part (the day column is right-aligned).
    for (int row : {1, 2, 6})
        labels_[layoutOf(row).labels[4]]->raise();
}

}  // namespace quomble
