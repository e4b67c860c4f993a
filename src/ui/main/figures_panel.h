#pragma once

#include "ui/components/bevelpanel.h"

namespace quomble {

class DurationGrid;
class LabelSet;
class LogModel;

// The main window's figures: a caption or a sentence for each row of the duration table
// (StringAlignGrid1) beside it. One row table says where each caption stands, its colour
// and weight; the texts and the figures come from the core.
class FiguresPanel : public BevelPanel {
    Q_OBJECT
public:
    // The panel's labels go into `labels`, which the window shares with its other panels.
    FiguresPanel(LabelSet& labels, QWidget* parent);

    DurationGrid* grid() const { return grid_; }
    // What stays as it is for the run: the sentences' dates and times, the headings, the
    // off-times and their hints, the rows' colours and heights.
    void showFixed(const LogModel& model);
    // What moves with the clock: rows 1..11, their hints, the crash-free warning of row 7.
    void showLive(const LogModel& model);

signals:
    void gridClicked();

private:
    void showRows(const LogModel& model, int first, int last);
    void showHints(const LogModel& model, int first, int last);
    void flowSentences();

    LabelSet& labels_;
    DurationGrid* grid_ = nullptr;
};

}  // namespace quomble
