// Frameless windows and child frames: fades (a second call landing in the first one's fade), deletion,
// window buttons and states, size limits, titles and content. The unit test drags.
#include "stress.h"
#include "testutil.h"

#include "ZBTitleBar.h"

#include <QPointer>
#include <QToolButton>

namespace {

using TestUtil::OpenFrame;

const std::pair<const char*, void (*)(OpenFrame*)> Actions[] = {
    {"delete", [](OpenFrame* w) { delete w; }},
    {"deleteLater()", [](OpenFrame* w) { w->deleteLater(); }},
    {"show()", [](OpenFrame* w) { w->show(); }},
    {"hide()", [](OpenFrame* w) { w->hide(); }},
    {"close()", [](OpenFrame* w) { w->close(); }},
    {"CancelFadeAction(true)", [](OpenFrame* w) { w->CancelFadeAction(true); }},
    {"CancelFadeAction(false)", [](OpenFrame* w) { w->CancelFadeAction(false); }},
};

class FrameFamily : public Stress::Family
{
    QWidget* desk = new QWidget(nullptr, Qt::FramelessWindowHint); // holds the child frames
    QList<QPointer<OpenFrame>> frames;
    QHash<OpenFrame*, QString> titles; // the title each title bar must show
    int created = 0;

public:
    FrameFamily() { desk->setGeometry(10, 10, 520, 400), desk->show(); }
    ~FrameFamily() override
    {
        qDeleteAll(frames);
        delete desk;
    }
    const char* Name() const override { return "frame"; }
    const char* Ops() const override
    {
        return "create:2|fade calls:18|settings:8|buttons and states:8|titles and content:8|let time pass:4";
    }

    void Check(Stress::Context& c) override
    {
        for (OpenFrame* w : std::as_const(frames)) {
            c.Expect(!w || TestUtil::TitleText(w) == titles.value(w),
                     w ? w->objectName() + ": the title shows another one" : "");
            c.Expect(!w || (TestUtil::Named<QToolButton>(w, "CLOSEBUTTON") == w->CloseButton() &&
                            TestUtil::CellOf(TestUtil::GridOf(w, "ZBWIDGETMAINCONTENT"), w->Content()) ==
                                qMakePair(0, 0)),
                     "the close button or the content widget is out of its place");
            c.Expect(!w || (w->windowOpacity() >= 0.0 && w->windowOpacity() <= 1.0), "opacity out of range");
        }
    }

    void Run(Stress::Context& c, int op) override
    {
        frames.removeAll(QPointer<OpenFrame>());
        if (op == 0 || frames.isEmpty()) { // the fourth window and later ones are children of the desk
            const bool child = frames.size() - desk->findChildren<OpenFrame*>().size() >= 3;
            const Qt::WindowFlags kinds[] = {Qt::Window, Qt::Tool, Qt::Dialog};
            frames << (child ? new OpenFrame(desk) : new OpenFrame(nullptr, kinds[c.Bounded(0, 2)]));
            frames.last()->setObjectName(QStringLiteral("frame %1").arg(++created));
            titles[frames.last()] = QString();
            frames.last()->setAttribute(Qt::WA_DeleteOnClose, !child && c.Chance(30));
            frames.last()->setGeometry(c.Bounded(0, 200), 50, c.Bounded(240, 420), 240);
            child || c.Chance(60) ? frames.last()->show() : void();
        }
        OpenFrame* w = frames[c.Bounded(0, int(frames.size()) - 1)];
        const int what = c.Bounded(0, 9), a = c.Bounded(90, 480), b = c.Bounded(0, 320);
        const int ms = QList<int>{-100, -1, 0, 0, 40, 90, 200}.at(a % 7);
        const QString title = what == 1   ? w->windowTitle()
                              : what == 2 ? QString()
                                          : QStringLiteral("&Title %1").arg(b);
        QToolButton* buttons[] = {w->CloseButton(), w->MinimizeButton(), w->MaximizeButton(),
                                  w->RestoreButton()};
        void (QWidget::*show[])() = {&QWidget::showMaximized, &QWidget::showNormal, &QWidget::showMinimized};
        c.Log(QStringLiteral("%1, way %2: %3 %4").arg(w->objectName()).arg(what).arg(a).arg(b));
        if (op == 1) { // one fade call, or two, the second within the first one's fade; show() is favoured
            QPointer<OpenFrame> alive(w);
            Actions[what < 3 ? 2 : what - 3].second(w);
            if (b < 100 && alive)
                Stress::Advance(a % 70);
            if (b < 100 && alive)
                Actions[b % 7].second(w);
        } else if (op == 2) {
            what == 0   ? w->SetFadeTime(ms)
            : what == 1 ? w->SetIntensifyTime(ms)
            : what == 2 ? w->IgnoreTitleMove(b % 2)
            : what == 3 ? w->IgnoreResize(b % 2)
            : what == 4 ? w->setMinimumSize(a - 90, b)
            : what == 5 ? w->setFixedWidth(a)
            : what == 6 ? w->setFixedHeight(a * 3 / 4)
                        : w->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        } else if (op == 3 && what < 3) {
            (w->*QList<void (ZBWidget::*)()>{&ZBWidget::AddMinimizeButton, &ZBWidget::AddMaximizeButton,
                                             &ZBWidget::AddRestoreButton}[what])();
        } else if (op == 3) {
            what < 6 ? (w->*show[what - 3])() : buttons[what - 6] ? buttons[what - 6]->click() : void();
        } else if (op == 4 &&
                   what < 7) { // the window's or the content's title; QWidget drops an unchanged one
            QWidget* target = what % 2 ? w : w->Content();
            if (target->windowTitle() != title || title.isEmpty())
                titles[w] = title;
            target->setWindowTitle(title);
        } else if (op == 4) { // new content, then a title for the old one (deleted later) that must not show
            QWidget* old = w->Content();
            w->ReplaceContent(nullptr); // ignored
            w->ReplaceContent(new QWidget), w->Content()->setMinimumSize(a - 90, b * 3 / 4);
            titles[w] = QString();
            old->setWindowTitle(title);
        } else {
            Stress::Advance(a - 89);
        }
    }
};

} // namespace

ZB_STRESS_FAMILY(FrameFamily);
