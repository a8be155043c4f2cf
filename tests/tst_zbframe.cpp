// The frame family: ZBWidget, ZBTitleBar and its sparse grid, ZBFooterBar, theme constants, frame geometry.
#include "ZBFooterBar.h"
#include "ZBFrameGeometry_p.h"
#include "ZBResource.h"
#include "ZBSparseGridLayout_p.h"
#include "ZBTitleBar.h"
#include "testutil.h"

#include <QAbstractEventDispatcher>
#include <QPointer>
#include <QProxyStyle>
#include <QRandomGenerator>
#include <QScreen>
#include <QStyle>
#include <QToolButton>

using namespace TestUtil;
using namespace ZBFrameGeometry;

namespace {

const int Tick = -1; // a timer event in Frame::log
const QRect Place(100, 100, 300, 200);
const int Plain = 0, IgnoringResize = 1, IgnoringTitleMove = 2, RightButton = 3, Maximised = 4, OneMove = 5;

// Logs each announced fade state, and Tick with the opacity it left after every timer event.
struct Frame : OpenFrame
{
    using OpenFrame::OpenFrame;
    QMetaObject::Connection logging =
        connect(this, &ZBWidget::FadeStateChanged, [this](int state) { log << state; });
    QSize minimumSizeHint() const override { return {120, 90}; } // above the layout's minimum size
    // The resize cursor; the title bar must show the same one as the main content.
    Qt::CursorShape Cursor() const
    {
        const Qt::CursorShape shape = Named(this, "ZBWIDGETMAINCONTENT")->cursor().shape();
        return shape == TitleBar()->cursor().shape() ? shape : Qt::BitmapCursor;
    }
    void timerEvent(QTimerEvent* event) override
    {
        ZBWidget::timerEvent(event);
        log << Tick;
        opacities << windowOpacity();
    }
    bool Fading() { return !QAbstractEventDispatcher::instance()->registeredTimers(this).isEmpty(); }
    QList<int> Take() { return std::exchange(log, {}); }
    QList<int> log;
    QList<double> opacities;
};

// A style that asks for no animations, as desktops set it for reduced motion.
struct NoAnimation : QProxyStyle
{
    int styleHint(StyleHint hint, const QStyleOption* o, const QWidget* w, QStyleHintReturn* r) const override
    {
        return hint == SH_Widget_Animate ? 0 : QProxyStyle::styleHint(hint, o, w, r);
    }
};

} // namespace

class tst_ZBFrame : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        ZBResource::SetData(ZBResource::TitleBarMargins, QVariant());
        CheckNoLeftoverWindows();
    }

    // The frame's arithmetic. First the region under a point, with nothing fixed, the width, the height,
    // then both fixed; in the frame (100, 50) to (299, 199) unless another is given.
    void geometry()
    {
        const std::tuple<bool, QPoint, QList<int>, QRect> table[] = {
            {false, {104, 125}, {Left, NoRegion, Left, NoRegion}, {}}, // left band, inner pixel
            // Where bands meet, the band tested first decides; a fixed band hands over to the squares.
            {false, {104, 54}, {Left, Top, Left, NoRegion}, {}},
            {false, {104, 53}, {Top, Top, Left, NoRegion}, {}},
            // The 9-pixel corner squares decide only where no band holds.
            {false, {105, 55}, {TopLeft, Top, Left, NoRegion}, {}},
            {false, {5, 5}, {BottomLeft, Bottom, Left, NoRegion}, {0, 0, 12, 12}}, // overlapping squares
            // A floating dock: 4-pixel bands on three sides, from the very top, and 7-pixel bottom corners.
            {true, {103, 50}, {Left, NoRegion, Left, NoRegion}, {}},
            {true, {294, 197}, {Bottom, Bottom, Right, NoRegion}, {}}, // the bottom band wins in the corner
            {true, {106, 193}, {BottomLeft, Bottom, Left, NoRegion}, {}}};
        for (const auto& [dock, point, regions, frame] : table) {
            QList<int> found;
            for (int fixed : {0, int(Qt::Horizontal), int(Qt::Vertical), int(Qt::Horizontal | Qt::Vertical)})
                found << RegionAt(frame.isNull() ? QRect(100, 50, 200, 150) : frame, point,
                                  Qt::Orientations(fixed), dock ? DockBands() : FrameBands());
            ZB_STEP_COMPARE(point.x() * 1000 + point.y(), found, regions);
        }
        // Resized from the press, at any scale the edges that do not move keep their device pixel, the
        // moving ones stay within three pixels of the mouse, the size at or above the minimum and on the
        // steps that Qt asks the window manager for.
        const QPoint origin(1921, 0); // the screen's top-left
        const QRect press(2001, 101, 301, 201);
        for (qreal scale : {1.0, 1.25, 1.5, 2.0}) {
            const auto device = [&](const QRect& r) { // Qt rounds a window's position and size each alone
                return QRect(origin + (r.topLeft() - origin) * scale, r.size() * scale);
            };
            const int steps = qRound(scale);
            for (Region region : {Left, TopLeft, BottomRight}) {
                const Qt::Edges e = Edges(region);
                for (int d = -45; d <= 400; ++d) {
                    const QString step = QStringLiteral("%1 %2 %3").arg(scale).arg(region).arg(d);
                    const QPoint grip = GripOffset(region, press, press.center());
                    const QRect t = Resized(region, press, press.center() + QPoint(d, d), grip, {120, 90});
                    const QRect r = DeviceExact(region, press, t, scale, origin, {120, 90});
                    const QRect a = device(r), p = device(press);
                    const QRect held(
                        QPoint((e & Qt::LeftEdge ? a : p).left(), (e & Qt::TopEdge ? a : p).top()),
                        QPoint((e & Qt::RightEdge ? a : p).right(), (e & Qt::BottomEdge ? a : p).bottom()));
                    ZB_STEP_COMPARE(step, a, held);
                    const QPoint shift = r.topLeft() - t.topLeft();
                    ZB_STEP_COMPARE(step, qMax(qAbs(shift.x()), qAbs(shift.y())) <= 3, true);
                    ZB_STEP_COMPARE(step,
                                    QSize(e & Qt::LeftEdge ? a.width() % steps : 0,
                                          e & Qt::TopEdge ? a.height() % steps : 0),
                                    QSize(0, 0));
                    ZB_STEP_COMPARE(step, r.size().expandedTo({120, 90}), r.size());
                }
            }
        }
        // Windows' maximised size in device pixels from Qt's work area: the same device pixels at every
        // scale, the position relative to the monitor (none on a secondary one). Rows: the work area, the
        // monitor, primary, the ratio; the maximised position and size, the minimum of a 301 by 201 window.
        const std::tuple<QRect, QRect, bool, qreal, QRect, QSize> screens[] = {
            {{0, 0, 1920, 1040}, {0, 0, 1920, 1080}, true, 1.0, {0, 0, 1920, 1040}, {301, 201}},
            {{0, 0, 1536, 824}, {0, 0, 1536, 864}, true, 1.25, {0, 0, 1920, 1030}, {377, 252}},
            {{0, 27, 1280, 693}, {0, 0, 1280, 720}, true, 1.5, {0, 41, 1920, 1039}, {452, 302}}, // task bar
                                                                                                 // on top
            {{1280, 27, 1280, 693}, {1280, 0, 1280, 720}, false, 1.5, {0, 0, 1920, 1039}, {452, 302}},
            {{-1920, 0, 1920, 1040}, {-1920, 0, 1920, 1080}, false, 1.0, {0, 0, 1920, 1040}, {301, 201}}};
        for (const auto& [available, screen, primary, ratio, maximized, minimum] : screens) {
            const MaxInfo info = MaximizedInfo(available, screen, primary, {301, 201}, ratio);
            ZB_STEP_COMPARE(available.x() + 100 * ratio, QRect(info.maxPosition, info.maxSize), maximized);
            ZB_STEP_COMPARE(available.x() + 100 * ratio, info.minTrackSize, minimum);
        }
    }

    // Presses at a point of the 300 by 200 window at Place (or of the maximised one) and drags: the cursor
    // shown on the hover, and how far each edge moves outward.
    void mouse()
    {
        const std::tuple<const char*, int, QPoint, QPoint, Qt::CursorShape, QMargins> table[] = {
            {"left", Plain, {2, 120}, {-30, 7}, Qt::SizeHorCursor, {30, 0, 0, 0}},
            {"top, over the title bar", Plain, {150, 3}, {35, -15}, Qt::SizeVerCursor, {0, 15, 0, 0}},
            {"top-left", Plain, {1, 1}, {-8, -10}, Qt::SizeFDiagCursor, {8, 10, 0, 0}},
            {"bottom-left, one move", OneMove, {1, 198}, {-8, 10}, Qt::SizeBDiagCursor, {8, 0, 0, 10}},
            // Inward drags stop at minimumSizeHint(), not minimumSize(); the opposite edge stays.
            {"left inward", Plain, {2, 120}, {400, 0}, Qt::SizeHorCursor, {-180, 0, 0, 0}},
            // Ignored after the hover showed the resize cursor: pressed there, nothing resizes.
            {"ignored resize", IgnoringResize, {2, 120}, {-30, 0}, Qt::SizeHorCursor, {}},
            {"title drag", Plain, {150, 15}, {-70, 30}, Qt::ArrowCursor, {70, -30, -70, 30}},
            {"ignored title drag", IgnoringTitleMove, {150, 15}, {40, 25}, Qt::ArrowCursor, {}},
            {"right-button title drag", RightButton, {150, 15}, {30, 30}, Qt::ArrowCursor, {}},
            {"maximised: edge", Maximised, {2, 120}, {40, 0}, Qt::ArrowCursor, {}}};
        for (const auto& [name, setup, at, delta, cursor, grow] : table) {
            Frame w;
            w.IgnoreTitleMove(setup == IgnoringTitleMove);
            w.setGeometry(Place);
            (w.*(setup == Maximised ? &QWidget::showMaximized : &QWidget::show))();
            QTRY_COMPARE(w.geometry(), setup == Maximised ? w.screen()->availableGeometry() : Place);
            const QRect start = w.geometry(), expected = start.marginsAdded(grow);
            HoverAt(&w, start.topLeft() + at);
            ZB_STEP_COMPARE(name, w.Cursor(), cursor);
            w.IgnoreResize(setup == IgnoringResize);
            const bool title = grow.left() && grow.left() == -grow.right();
            const auto moved =
                Drag(&w, start.topLeft() + at, delta, false,
                     setup == RightButton ? Qt::RightButton : Qt::LeftButton, setup == OneMove);
            // A first move only arms a resize; released, hovering resizes nothing.
            ZB_STEP_COMPARE(name, moved.first, title ? start.translated(delta / 2) : start);
            ZB_STEP_COMPARE(name, moved.second, expected);
            HoverAt(&w, start.topLeft() + at + 2 * delta);
            ZB_STEP_COMPARE(name, w.geometry(), expected);
            if (setup == IgnoringResize)
                ZB_STEP_COMPARE(name, w.Cursor(), Qt::ArrowCursor);
        }
    }

    // The frameless window's buttons, and its fades in and out.
    void buttonsAndFades()
    {
        Frame w;
        for (auto add :
             {&ZBWidget::AddMinimizeButton, &ZBWidget::AddMaximizeButton, &ZBWidget::AddRestoreButton})
            (w.*add)();
        w.setGeometry(Place);
        w.SetIntensifyTime(400);
        w.show();
        QCOMPARE(w.windowOpacity(), 0.0); // not seen before the first tick
        QTRY_VERIFY(!w.Fading());
        // Steps of 0.1 within Qt's 1/255; steady on the tick that reaches 1.0, ten ticks for 400 ms.
        QCOMPARE(w.opacities.size(), 10);
        for (int i = 0; i < w.opacities.size(); ++i)
            ZB_STEP_COMPARE(i, qRound(w.opacities[i] * 10), i + 1);
        QCOMPARE(w.Take().mid(9), (QList<int>{Tick, ZBWidget::Steady, Tick}));
        QMap<int, QString> row; // left to right
        for (QToolButton* b : w.TitleBar()->findChildren<QToolButton*>())
            row.insert(b->x(), b->objectName() + QLatin1Char(':') + b->toolTip());
        QCOMPARE(row.values().join(' '),
                 "RESTOREBUTTON:Restore MAXIMIZEBUTTON:Maximize MINIMIZEBUTTON:Minimize CLOSEBUTTON:Close");
        // maximised, the maximise button shown, the restore button shown
        const auto look = [&w] {
            return QList<bool>{w.isMaximized(), w.MaximizeButton()->isVisible(),
                               w.RestoreButton()->isVisible()};
        };
        w.MaximizeButton()->click();
        QCOMPARE(look(), (QList<bool>{true, false, true}));
        w.RestoreButton()->click();
        QCOMPARE(look(), (QList<bool>{false, true, false}));
        ZBFooterBar bar(&w); // its content fills it
        bar.setGeometry(0, 0, 200, 30);
        bar.show();
        QCOMPARE(qMakePair(bar.Content(), bar.Content()->geometry()),
                 qMakePair(Named(&bar, "ZBFOOTERBARCONTENT"), bar.rect()));
        w.SetFadeTime(-5); // counts as 0, as the default intensify time: each fade ends on its first tick
        w.CloseButton()->click();
        QVERIFY2(w.isVisible(), "the close waits for its fade");
        QTRY_COMPARE(w.log, (QList<int>{ZBWidget::Closing, ZBWidget::Closed, ZBWidget::Hiding, Tick,
                                        ZBWidget::Steady, Tick}));
        // Steps below Qt's 1/255 opacity resolution must still advance; a cancel ends the fade either way.
        w.SetIntensifyTime(20000);
        w.SetFadeTime(20000);
        w.Take();
        w.show();
        QTRY_VERIFY(w.windowOpacity() > 0.01);
        QVERIFY2(!w.close(), "a shown frame closes through a fade");
        const double reached = w.windowOpacity();
        QTRY_VERIFY(w.windowOpacity() < reached);
        w.CancelFadeAction(true); // opacity, shown, fading:
        QCOMPARE((QList<double>{w.windowOpacity(), double(w.isVisible()), double(w.Fading())}),
                 (QList<double>{1.0, 1.0, 0.0}));
        w.log.removeAll(Tick);
        QCOMPARE(w.Take(), (QList<int>{ZBWidget::Intensifying, ZBWidget::Closing}));
        QVERIFY2(!w.close(), "a new close fade");
        w.CancelFadeAction(false);
        QCOMPARE((QList<double>{w.windowOpacity(), double(w.isVisible())}), (QList<double>{0.0, 0.0}));
        Frame calm; // never shown: closes at once, without a fade
        QVERIFY(calm.close());
        QCOMPARE(calm.log, QList<int>());
        NoAnimation still; // reduced motion: the same states, each fade ending at once, no timer ticking
        calm.setStyle(&still);
        calm.SetFadeTime(280);
        calm.show();
        QCoreApplication::sendPostedEvents(&calm, QEvent::MetaCall);
        QCOMPARE(calm.windowOpacity(), 1.0);
        QVERIFY(!calm.close());
        QTRY_COMPARE(calm.log, (QList<int>{ZBWidget::Intensifying, ZBWidget::Steady, ZBWidget::Closing,
                                           ZBWidget::Closed, ZBWidget::Hiding, ZBWidget::Steady}));
    }

    // Widgets and buttons take their cells by alignment (each side counting its own, anything but exact
    // left or bottom on the right, 0 nowhere) and keep them when the background is replaced on a shown bar.
    void titleBar()
    {
        QWidget window;
        auto* bar = new ZBTitleBar(&window);
        window.resize(500, 40);
        bar->resize(500, 40);
        window.show();
        const auto grid = [bar](int row, int column) {
            return qobject_cast<QGridLayout*>(
                GridOf(bar, "TITLECONTENT")->itemAtPosition(row, column)->layout());
        };
        bar->SetTitle(QStringLiteral("Moved"));
        const int leftTop = Qt::AlignLeft | Qt::AlignTop, bottomRight = Qt::AlignBottom | Qt::AlignRight;
        const int table[][4] = {// alignment; grid (0 the buttons', 1 the bottom row's, -1 none); cell
                                {Qt::AlignLeft, 0, 0, 0}, {Qt::AlignRight, 0, 0, 1000},
                                {Qt::AlignLeft, 0, 0, 1}, {Qt::AlignBottom, 1, 0, 0},
                                {0, -1, -1, -1},          {Qt::AlignBottom, 1, 1, 0},
                                {leftTop, 0, 0, 999},     {bottomRight, 0, 0, 998}};
        QWidgetList widgets; // then a hidden button (997) and one deleted by its owner; created hidden
        for (const auto& row : table) {
            widgets << new QLabel(&window);
            bar->AddWidget(widgets.last(), Qt::Alignment(row[0]));
        }
        bar->AddButton(Qt::AlignRight, QString())->hide();
        delete bar->AddButton(Qt::AlignLeft, QString());
        QPointer<QWidget> old = Named(bar, "TITLECONTENT");
        bar->ReplaceBackground(old); // the current one: ignored
        auto* replacement = new QWidget;
        new QGridLayout(replacement); // a layout of its own, which must go
        ZBResource::SetData(ZBResource::TitleBarMargins, ZBResource::MarginsRect(3, 4, 5, 6));
        for (int step = 0; step < 2; ++step) {
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            for (int i = 0; i < int(std::size(table)); ++i) {
                const QPair<int, int> cell(table[i][2], table[i][3]), nowhere(-1, -1);
                ZB_STEP_COMPARE(i, CellOf(grid(0, 3), widgets[i]), table[i][1] == 0 ? cell : nowhere);
                ZB_STEP_COMPARE(i, CellOf(grid(1, 0), widgets[i]), table[i][1] == 1 ? cell : nowhere);
                ZB_STEP_COMPARE(i, widgets[i]->parentWidget(),
                                table[i][1] < 0 ? &window : Named(bar, "TITLECONTENT"));
                ZB_STEP_COMPARE(i, widgets[i]->isVisible(), table[i][1] >= 0);
            }
            bar->ReplaceBackground(step ? nullptr : replacement);
        }
        QVERIFY2(!old, "the old background is deleted");
        QCOMPARE(qMakePair(Named(bar, "TITLECONTENT"), TitleText(bar)),
                 qMakePair(replacement, QStringLiteral("Moved")));
        QCOMPARE(replacement->layout()->contentsMargins(), QMargins(3, 4, 5, 6));
        QVERIFY(grid(0, 3)->itemAtPosition(0, 997)->widget()->isHidden());
        QToolButton* later = bar->AddButton(Qt::AlignRight, QString()); // onto the new background, next cell
        QCOMPARE(qMakePair(later->parentWidget(), CellOf(grid(0, 3), later)),
                 qMakePair(replacement, qMakePair(0, 996)));
    }

    // The title bar's sparse button grid lays out exactly as QGridLayout: twin windows, one with each,
    // built from the same random cells, spacings, margins, directions, stretches and window sizes.
    void sparseGrid()
    {
        for (quint32 seed = 1; seed <= 400; ++seed) {
            const auto build = [seed](QGridLayout* grid) {
                QRandomGenerator r(seed);
                QWidget window;
                for (int i = 0, n = 1 + r.bounded(6); i < n; ++i) {
                    const int kind = r.bounded(3), width = 10 + r.bounded(40);
                    QWidget* w = kind == 0   ? new QToolButton
                                 : kind == 1 ? new QLabel(QString(width / 5, QLatin1Char('x')))
                                             : new QWidget;
                    QSizePolicy policy = w->sizePolicy();
                    if (kind == 2)
                        policy.setHorizontalPolicy(QSizePolicy::Expanding);
                    policy.setHorizontalStretch(r.bounded(3));
                    w->setSizePolicy(policy);
                    w->setMinimumWidth(kind == 2 ? width : 0);
                    const int row = r.bounded(3) == 0 ? r.bounded(5) : 0;
                    const int column = r.bounded(2) ? 1000 - r.bounded(5) : r.bounded(1001);
                    grid->addWidget(w, row, column, r.bounded(4) ? Qt::Alignment() : Qt::AlignRight);
                    w->setHidden(r.bounded(6) == 0);
                }
                const int spacing = r.bounded(6), stretch = r.bounded(3);
                grid->setContentsMargins(r.bounded(3), 1, 2, 0);
                grid->setHorizontalSpacing(spacing);
                grid->setVerticalSpacing(spacing + 1);
                grid->setOriginCorner(Qt::Corner(r.bounded(4)));
                int row, column, rowSpan, columnSpan;
                grid->getItemPosition(0, &row, &column, &rowSpan, &columnSpan);
                grid->setColumnStretch(column, stretch);
                grid->setRowMinimumHeight(row, stretch * 10);
                auto* outer = new QGridLayout(&window);
                outer->addWidget(new QLabel(QStringLiteral("left")), 0, 0);
                outer->addLayout(grid, 0, 1);
                if (r.bounded(2))
                    outer->setSizeConstraint(QLayout::SetNoConstraint);
                window.setLayoutDirection(r.bounded(4) ? Qt::LeftToRight : Qt::RightToLeft);
                window.resize(5 + r.bounded(500), 5 + r.bounded(120));
                window.show(); // a hidden widget's items are empty
                outer->activate();
                QString m; // what the grid tells its parent layout, and where it put the widgets
                QDebug(&m) << grid->sizeHint() << grid->minimumSize() << grid->maximumSize()
                           << grid->expandingDirections();
                for (const QWidget* w : window.findChildren<QWidget*>())
                    QDebug(&m) << w->geometry();
                return m;
            };
            ZB_STEP_COMPARE(seed, build(new ZBSparseGridLayout), build(new QGridLayout));
        }
    }
};

QTEST_MAIN(tst_ZBFrame)
#include "tst_zbframe.moc"
