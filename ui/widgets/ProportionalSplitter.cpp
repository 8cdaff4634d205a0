#include "ProportionalSplitter.h"

#include <QResizeEvent>
#include <cmath>

namespace quorvane::ui {

void ProportionalSplitter::resizeEvent(QResizeEvent* event)
{
    // Sizes other than the ones the last resize gave came from the user or the program: they set
    // the share. The share is kept apart from the sizes, so rounding never wears it down.
    const QList<int> current = sizes();
    if (current.size() == 2 && current != sizesGiven_ && current[0] + current[1] > 0) {
        share_ = static_cast<double>(current[0]) / (current[0] + current[1]);
    }
    QSplitter::resizeEvent(event);
    const QList<int> laidOut = sizes();
    if (laidOut.size() != 2) {
        return;
    }
    const int room = laidOut[0] + laidOut[1];
    if (room > 0) {
        const int first = static_cast<int>(std::lround(share_ * room));
        setSizes({first, room - first});
    }
    sizesGiven_ = sizes();
}

} // namespace quorvane::ui
