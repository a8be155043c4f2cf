// Internal, not part of the API.
#ifndef ZBPIXMAPFOLLOWER_P_H
#define ZBPIXMAPFOLLOWER_P_H

#include <QPixmap>

#include <functional>

class QLabel;

/*
    Pictures that stay sharp wherever their window goes. A label's pixmap is built for one device
    pixel ratio; when the window moves to a screen of another density (or the screen's own ratio
    changes), the label would scale it and blur. A followed label has its pixmap built anew for the
    ratio it is shown at: when its window is shown and whenever its screen or ratio changes.
*/
namespace ZBPixmapFollower {

/*!
    Shows \a build(ratio) on \a label now and again whenever the label's device pixel ratio has
    changed; replaces what the label followed before. Returns the pixmap shown now.
*/
QPixmap Follow(QLabel* label, std::function<QPixmap(qreal ratio)> build);

/*! Stops following on \a label, which keeps the pixmap it shows. */
void Stop(QLabel* label);

} // namespace ZBPixmapFollower

#endif // ZBPIXMAPFOLLOWER_P_H
