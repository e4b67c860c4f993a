#include "ui/main/figures_panel.h"

#include "core/figures.h"
#include "ui/components/durationgrid.h"
#include "ui/components/labels.h"
#include "ui/components/palette.h"
#include "ui/components/texts.h"
#include "ui/main/figures_format.h"
#include "ui/main/label_set.h"

#include <QLabel>

#include <algorithm>
#include <iterator>

namespace quomble {

namespace {

// The place and look of a row's caption (core/figures.h says what the row is): a label of
// its own, or a sentence of five labels (opening words, date, "at", time, "o'clock, thus
// before") whose date and time are bold. A bold row has a bold caption and bold cells.
struct FigureRowLayout {
    QColor color;
    bool bold;
    int labels[5];  // the caption label, or the sentence's five
    int x[5];       // their places in the layout
};

// Rows 1..15 in order.
const FigureRowLayout kRows[] = {
    {palette::Black, false, {1, 2, 12, 26, 3}, {10, 60, 127, 138, 192}},
    {palette::Navy, false, {4, 5, 29, 30, 10}, {10, 82, 149, 160, 214}},
    {palette::Green, true, {11}, {10}},
    {palette::Maroon, false, {33}, {10}},
    {palette::Maroon, false, {17}, {10}},
    {palette::Maroon, false, {13, 14, 31, 32, 15}, {10, 74, 141, 152, 206}},
    {palette::Maroon, false, {16}, {10}},
    {palette::Green, false, {18}, {10}},
    {palette::Green, false, {19}, {10}},
    {palette::Green, false, {20}, {10}},
    {palette::Green, true, {21}, {10}},
    {palette::Red, false, {22}, {10}},
    {palette::Red, false, {25}, {10}},
    {palette::Red, false, {27}, {10}},
    {palette::Red, true, {28}, {10}},
};
static_assert(std::size(kRows) == kFigureRows - 1, "one layout for each figure row");

const FigureRowLayout& layoutOf(int row) { return kRows[row - 1]; }

// A duration of the table in words: "2 days, 5 hours, 1 minute, 7 seconds"; "none" for "-".
QString durationWords(const FigureTable& table, int row)
{
    static const char* const kUnits[4] = {"day", "hour", "minute", "second"};
    QStringList parts;
    for (int c = 0; c < 4; ++c) {
        const std::string& cell = table[static_cast<std::size_t>(row)][static_cast<std::size_t>(c)];
        if (cell == "-")
            return QStringLiteral("none");
        if (!cell.empty())
            parts << QString::fromStdString(cell) + QLatin1Char(' ') + QLatin1String(kUnits[c]) +
                         (cell == "1" ? QString() : QStringLiteral("s"));
    }
    return parts.join(QStringLiteral(", "));
}

void setNameIfNew(QWidget* widget, const QString& name)
{
    if (widget->accessibleName() != name)
        widget->setAccessibleName(name);
}

constexpr int kRowHeight = 16;
constexpr int kGroupGap = 4;  // a row that ends a group stands this much taller

// The top of a row's caption: the rows stand kRowHeight apart, a group's end adds its gap.
int captionTop(int row)
{
    int y = 24 + kRowHeight * (row - 1);
    for (int before = 1; before < row; ++before)
        if (figureRow(before).breakAfter == FigureBreak::Group)
            y += kGroupGap;
    return y;
}

}  // namespace

FiguresPanel::FiguresPanel(LabelSet& labels, QWidget* parent)
    : BevelPanel(BevelPanel::Bevel::Lowered, BevelPanel::Bevel::Raised, parent), labels_(labels)
{
    setGeometry(6, 22, 428, 282);

    for (int row = 1; row < kFigureRows; ++row) {
        const FigureRowLayout& r = layoutOf(row);
        const int y = captionTop(row);
        const QString caption = QString::fromLatin1(figureRow(row).caption);
        if (!figureRow(row).sentence) {
            labels_.add(this, r.labels[0], r.x[0], y, caption, r.color, r.bold);
        } else {
            const QString words[5] = {caption, QString(), QString::fromLatin1(kSentenceAt), QString(),
                                      QString::fromLatin1(kSentenceEnd)};
            for (int i = 0; i < 5; ++i)
                labels_.add(this, r.labels[i], r.x[i], y, words[i], r.color, i == 1 || i == 3);
        }
        if (figureRow(row).hint)
            labels_[r.labels[0]]->setToolTipDuration(60000);  // their hints are set at run time
    }
    setHint(labels_[17], QStringLiteral("results from \"sum of all OnTimes\" per number of crashes "));

    grid_ = new DurationGrid(4, kFigureRows, this);
    grid_->setAccessibleName(QStringLiteral("Durations"));
    grid_->setAccessibleDescription(
        QStringLiteral("Days, hours, minutes and seconds of each figure beside it; each figure's caption "
                       "reads its value"));
    grid_->setGeometry(308, 6, 115, 270);
    grid_->setColumnWidth(0, 40);
    for (int c = 1; c < 4; ++c)
        grid_->setColumnWidth(c, 24);
    connect(grid_, &DurationGrid::clicked, this, &FiguresPanel::gridClicked);
    flowSentences();
}

void FiguresPanel::showFixed(const LogModel& model)
{
    for (int row = 1; row < kFigureRows; ++row) {
        if (!figureRow(row).sentence)
            continue;
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
        grid_->setRowHeight(r, kRowHeight);
    showRows(model, 0, 0);  // the headings
    showRows(model, kFirstFixedFigureRow, kFigureRows - 1);
    for (int row = 2; row < kFigureRows; ++row) {  // the first row keeps the window's text colour
        for (int c = 0; c < 4; ++c) {
            grid_->setCellColor(c, row, layoutOf(row).color);
            grid_->setCellBold(c, row, layoutOf(row).bold);
        }
    }
    for (int row = 1; row < kFigureRows; ++row)
        if (figureRow(row).breakAfter == FigureBreak::Group)
            grid_->setRowHeight(row, kRowHeight + kGroupGap);
    grid_->clearSelection();
}

void FiguresPanel::showLive(const LogModel& model)
{
    showHints(model, 1, kFirstFixedFigureRow - 1);
    if (model.CrashCount <= 0) {  // row 6 shows "-" while there is no crash
        const FigureRowLayout& r = layoutOf(6);
        setLabelText(labels_[r.labels[1]], QStringLiteral("-"));
        setLabelText(labels_[r.labels[3]], QStringLiteral("-"));
        flowSentences();
    }
    showRows(model, 1, kFirstFixedFigureRow - 1);
    for (int row = 1; row < kFigureRows; ++row) {
        if (!figureRow(row).warning)
            continue;
        const QColor color = crashFreeWarning(model) ? palette::Red : layoutOf(row).color;
        for (int c = 0; c < 4; ++c)
            grid_->setCellColor(c, row, color);
    }
}

void FiguresPanel::showRows(const LogModel& model, int first, int last)
{
    const FigureTable table = figureTable(model);
    for (int row = first; row <= last; ++row)
        for (int c = 0; c < 4; ++c)
            grid_->setCell(
                c, row,
                QString::fromStdString(table[static_cast<std::size_t>(row)][static_cast<std::size_t>(c)]));
    // A screen reader reads each figure at its caption: the row's words and its duration.
    for (int row = std::max(first, 1); row <= last; ++row) {
        const FigureRowLayout& r = layoutOf(row);
        QStringList words;
        for (int i = 0; i < (figureRow(row).sentence ? 5 : 1); ++i)
            words << labels_[r.labels[i]]->text();
        setNameIfNew(labels_[r.labels[0]],
                     words.join(QLatin1Char(' ')) + QStringLiteral(": ") + durationWords(table, row));
    }
}

void FiguresPanel::showHints(const LogModel& model, int first, int last)
{
    for (int row = std::max(first, 1); row <= last; ++row) {
        if (!figureRow(row).hint)
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
    for (int row = 1; row < kFigureRows; ++row)
        if (figureRow(row).sentence)
            labels_.flow(layoutOf(row).labels, true);
    // A sentence that runs past the table's left edge stays readable over its empty left
    // part (the day column is right-aligned).
    for (int row = 1; row < kFigureRows; ++row)
        if (figureRow(row).sentence)
            labels_[layoutOf(row).labels[4]]->raise();
}

}  // namespace quomble
