// Frameless windows and child frames: calls landing in fades, deletion, buttons, states, sizes, titles.
#include "stress.h"
#include "testutil.h"

#include "ZBTitleBar.h"

#include <QPointer>
#include <QToolButton>

namespace {

using TestUtil::OpenFrame;

const int Times[] = {-100, -1, 0, 0, 40, 90, 200}; // fade and intensify times

class FrameFamily : public Stress::Family
{
    QWidget desk{nullptr, Qt::FramelessWindowHint}; // holds the child frames
    QList<QPointer<OpenFrame>> frames;
    QHash<OpenFrame*, QString> titles; // the title each title bar must show
    int created = 0;
    OpenFrame* w = nullptr; // the step's frame and numbers
    int what = 0, a = 0, b = 0;

public:
    FrameFamily()
    {
        desk.setGeometry(10, 10, 520, 400);
        desk.show();
        const auto op = [this](const char* name, int weight, std::function<void()> run) {
            ops.push_back({name, weight, [run](Stress::Context&) { run(); }});
        };
        ops.push_back({"create", 2, [this](Stress::Context& c) { Create(c); }});
        op("show()", 8, [this] { w->show(); });
        op("hide()", 3, [this] { w->hide(); });
        op("close()", 3, [this] { w->close(); });
        op("delete", 1, [this] { delete w; });
        op("deleteLater()", 1, [this] { w->deleteLater(); });
        op("CancelFadeAction", 2, [this] { w->CancelFadeAction(b % 2); });
        op("SetFadeTime", 1, [this] { w->SetFadeTime(Times[a % 7]); });
        op("SetIntensifyTime", 1, [this] { w->SetIntensifyTime(Times[a % 7]); });
        op("setMinimumSize", 1, [this] { w->setMinimumSize(a - 90, b); });
        op("setFixedWidth", 1, [this] { w->setFixedWidth(a); });
        op("setFixedHeight", 1, [this] { w->setFixedHeight(a * 3 / 4); });
        op("no maximum size", 1, [this] { w->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX); });
        op("AddMinimizeButton", 1, [this] { w->AddMinimizeButton(); });
        op("AddMaximizeButton", 1, [this] { w->AddMaximizeButton(); });
        op("AddRestoreButton", 1, [this] { w->AddRestoreButton(); });
        op("showMaximized", 1, [this] { w->showMaximized(); });
        op("showNormal", 1, [this] { w->showNormal(); });
        op("showMinimized", 1, [this] { w->showMinimized(); });
        op("click a window button", 2, [this] { // close, minimise, maximise, restore
            if (QToolButton* button = QList<QToolButton*>{w->CloseButton(), w->MinimizeButton(),
                                                          w->MaximizeButton(), w->RestoreButton()}[what % 4])
                button->click();
        });
        // A title on the window, on its content, or on a content just replaced, which must not show.
        op("title", 8, [this] {
            QWidget* target = what % 3 ? w->Content() : static_cast<QWidget*>(w);
            const QString title =
                QList<QString>{w->windowTitle(), {}}.value(b % 3, QStringLiteral("&Title %1").arg(b));
            if (what % 3 == 2) {
                w->ReplaceContent(nullptr); // ignored
                w->ReplaceContent(new QWidget);
                w->Content()->setMinimumSize(a - 90, b * 3 / 4);
                titles[w] = QString();
            } else if (target->windowTitle() != title || title.isEmpty()) { // QWidget drops an unchanged one
                titles[w] = title;
            }
            target->setWindowTitle(title);
        });
        op("let time pass", 4, [this] { Stress::Advance(a - 89); });
    }
    ~FrameFamily() override { qDeleteAll(frames); }
    const char* Name() const override { return "frame"; }

    void Check(Stress::Context& c) override
    {
        frames.removeAll(QPointer<OpenFrame>()); // the deleted ones
        for (OpenFrame* f : std::as_const(frames)) {
            c.Expect(TestUtil::TitleText(f) == titles.value(f),
                     f->objectName() + ": the title shows another one");
            const auto cell = TestUtil::CellOf(TestUtil::GridOf(f, "ZBWIDGETMAINCONTENT"), f->Content());
            c.Expect(cell == qMakePair(0, 0), f->objectName() + ": the content widget is out of its place");
        }
    }

    void Prepare(Stress::Context& c) override
    {
        if (frames.isEmpty())
            Create(c);
        w = c.Pick(frames);
        what = c.Bounded(0, 9);
        a = c.Bounded(90, 480);
        b = c.Bounded(0, 320);
        c.Log(QStringLiteral("%1, way %2: %3 %4").arg(w->objectName()).arg(what).arg(a).arg(b));
    }

    void Create(Stress::Context& c) // the fourth window and later ones are children of the desk
    {
        const bool child = frames.size() - desk.findChildren<OpenFrame*>().size() >= 3;
        const Qt::WindowFlags kinds[] = {Qt::Window, Qt::Tool, Qt::Dialog};
        auto* f = child ? new OpenFrame(&desk) : new OpenFrame(nullptr, kinds[c.Bounded(0, 2)]);
        frames << f;
        f->setObjectName(QStringLiteral("frame %1").arg(++created));
        titles[f] = QString();
        f->setAttribute(Qt::WA_DeleteOnClose, !child && c.Chance(30));
        f->setGeometry(c.Bounded(0, 200), 50, c.Bounded(240, 420), 240);
        if (child || c.Chance(60))
            f->show();
    }
};

} // namespace

ZB_STRESS_FAMILY(FrameFamily);
