#include "ZBPixmapFollower_p.h"

#include "ZBQtCompat_p.h"

#include <QEvent>
#include <QLabel>

namespace {

const char FollowerName[] = "zb_pixmap_follower";

// A child of the label and its event filter: it dies with the label, and Stop() simply deletes it.
class Follower : public QObject
{
public:
    Follower(QLabel* label, std::function<QPixmap(qreal)> build)
        : QObject(label), label(label), build(std::move(build))
    {
        setObjectName(QLatin1String(FollowerName));
        label->installEventFilter(this);
    }

    QPixmap Rebuild()
    {
        ratio = label->devicePixelRatioF();
        const QPixmap pixmap = build(ratio);
        label->setPixmap(pixmap);
        return pixmap;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // A window shown on another screen than the one the label was built on has a ratio of its own
        // without a change of screen.
        if (watched == label && (event->type() == QEvent::Show || ZBCompat::IsScreenOrRatioChange(event)) &&
            !qFuzzyCompare(label->devicePixelRatioF(), ratio))
            Rebuild();
        return false;
    }

private:
    QLabel* const label;
    const std::function<QPixmap(qreal)> build;
    qreal ratio = 0;
};

Follower* followerOf(QLabel* label)
{
    return dynamic_cast<Follower*>(
        label->findChild<QObject*>(QLatin1String(FollowerName), Qt::FindDirectChildrenOnly));
}

} // namespace

QPixmap ZBPixmapFollower::Follow(QLabel* label, std::function<QPixmap(qreal ratio)> build)
{
    Stop(label);
    return (new Follower(label, std::move(build)))->Rebuild();
}

void ZBPixmapFollower::Stop(QLabel* label)
{
    delete followerOf(label);
}
