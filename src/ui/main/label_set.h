#pragma once

#include <QColor>
#include <QString>

#include <map>

class QLabel;
class QWidget;

namespace quomble {

// The numbered labels of the main window (Label1 ... Label81), with the place each has in
// the layout. Both panels put theirs into one set, so the window finds any label by number.
class LabelSet {
public:
    QLabel* add(QWidget* parent, int number, int x, int y, const QString& text, const QColor& color,
                bool bold);
    QLabel* operator[](int number) const;
    int designX(int number) const;

    // Each label of a line keeps its place unless the text before it reaches into it (a
    // wider font than the layout was made for); then it follows 3 pixels after that text.
    // A line holds up to five label numbers (0 ends it early); without keepDesignPlaces every
    // label simply follows its neighbour.
    void flow(const int (&line)[5], bool keepDesignPlaces) const;

private:
    std::map<int, QLabel*> labels_;
    std::map<int, int> designX_;
};

}  // namespace quomble
