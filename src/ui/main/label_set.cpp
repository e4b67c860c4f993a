#include "ui/main/label_set.h"

#include "ui/components/labels.h"

#include <algorithm>

namespace quomble {

QLabel* LabelSet::add(QWidget* parent, int number, int x, int y, const QString& text, const QColor& color,
                      bool bold)
{
    QLabel* l = makeLabel(parent, QStringLiteral("Label%1").arg(number), x, y, text, {color, bold, 0});
    labels_[number] = l;
    designX_[number] = x;
    return l;
}

QLabel* LabelSet::operator[](int number) const
{
    const auto it = labels_.find(number);
    return it == labels_.end() ? nullptr : it->second;
}

int LabelSet::designX(int number) const
{
    const auto it = designX_.find(number);
    return it == designX_.end() ? 0 : it->second;
}

void LabelSet::flow(const int (&line)[5], bool keepDesignPlaces) const
{
    QLabel* before = (*this)[line[0]];
    for (int i = 1; i < 5 && line[i] != 0; ++i) {
        QLabel* next = (*this)[line[i]];
        const int after = before->x() + before->width() + 3;
        next->move(keepDesignPlaces ? std::max(designX(line[i]), after) : after, next->y());
        before = next;
    }
}

}  // namespace quomble
