// Qt habits that keep working on the library's classes: closing, focus, titles, Qt's own API, and the
// additions that applications ported from Qt's widgets reach for.
#include "ZBDockWidget.h"
#include "ZBMdiAreaWidget.h"
#include "ZBMdiAreaWidget_p.h"
#include "ZBMdiSubWindow.h"
#include "ZBTitleBar.h"
#include "ZBToolBar.h"
#include "testutil.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QToolButton>
#include <memory>

namespace {

// Decides on its close events alone and counts the times it agreed: an editor asked by its sub-window,
// or a sub-window subclass that does not hand the event to its base class.
template <class Base>
struct Deciding : Base
{
    int* agreed;
    bool refuse;
    Deciding(int* agreed, bool refuse) : agreed(agreed), refuse(refuse) {}
    void closeEvent(QCloseEvent* event) override
    {
        event->setAccepted(!refuse);
        *agreed += refuse ? 0 : 1;
    }
};

// A window filled by an area.
struct Host : QWidget
{
    ZBMdiAreaWidget* area = new ZBMdiAreaWidget(this);
    QList<ZBMdiSubWindow*> aboutClose;

    Host()
    {
        resize(700, 500);
        area->resize(700, 500);
        connect(area, &ZBMdiAreaWidget::SubWindowAboutClose, [this](ZBMdiSubWindow* s) { aboutClose << s; });
        show();
    }
    ZBMdiSubWindow* Add(QWidget* widget, ZBMdiSubWindow* sub = new ZBMdiSubWindow)
    {
        sub->SetWidget(widget);
        area->AddSubWindow(sub);
        sub->setGeometry(0, 0, 200, 150);
        return sub;
    }
    // What a row names: "press" on the frame, "close()", or one of the area's slots.
    void Do(const QByteArray& what, ZBMdiSubWindow* sub)
    {
        if (what == "press")
            TestUtil::SendMouse(sub, QEvent::MouseButtonPress, QPoint(sub->width() / 2, 8));
        else if (what == "close()")
            sub->close();
        else if (what == "SetActiveSubWindow")
            area->SetActiveSubWindow(sub);
        else
            QMetaObject::invokeMethod(area, what.constData());
    }
};

// The title line of a frame: "icon " while the icon label (made first, hidden at first) shows, then
// the text of the title label.
QString titleLine(ZBWidget* frame)
{
    const QList<QLabel*> labels = frame->TitleBar()->findChildren<QLabel*>();
    return (labels[0]->isHidden() ? QString() : QStringLiteral("icon ")) + labels[1]->text();
}

} // namespace

class tst_QtParity : public QObject
{
    Q_OBJECT

    std::unique_ptr<Host> h;

private slots:
    void init()
    {
        h.reset(new Host);
        QVERIFY(QTest::qWaitForWindowActive(h.get()));
    }
    void cleanup()
    {
        QTRY_COMPARE(QApplication::topLevelWidgets().size(), 1); // closed sub-windows fade out first
        h.reset();
        TestUtil::CheckNoLeftoverWindows();
    }

    // Every way of closing asks the widget once, also with the frame's fade closing a second time; a
    // refusal by the widget or by a subclass leaves the sub-window registered, shown and active,
    // without SubWindowAboutClose.
    void closing_data()
    {
        QTest::addColumn<QByteArray>("how");
        QTest::addColumn<int>("who");
        const char* whos[] = {"accepted", "widget refuses", "subclass refuses", "subclass accepts"};
        for (const char* how : {"close()", "CloseActiveSubWindow", "CloseAllSubWindows"}) {
            for (int who = 0; who < 4; ++who)
                QTest::addRow("%s, %s", how, whos[who]) << QByteArray(how) << who;
        }
    }
    void closing()
    {
        QFETCH(QByteArray, how);
        QFETCH(int, who);
        int agreed = 0;
        auto* editor = new Deciding<QLineEdit>(&agreed, who == 1);
        h->Add(new QLineEdit);
        ZBMdiSubWindow* address =
            h->Add(editor, who >= 2 ? new Deciding<ZBMdiSubWindow>(&agreed, who == 2) : new ZBMdiSubWindow);
        QPointer<ZBMdiSubWindow> doc = address;
        h->Do(how, doc);
        const bool refused = who == 1 || who == 2;
        QTRY_COMPARE(doc.isNull(), !refused);
        QCOMPARE(agreed, refused ? 0 : 1);
        QCOMPARE(h->aboutClose.contains(address), !refused);
        if (!refused)
            return;
        QCOMPARE(std::make_tuple(doc->isVisible(), h->area->SubWindows().contains(doc),
                                 h->area->ActiveSubWindow()),
                 std::make_tuple(true, true, doc.data()));
        QCOMPARE(h->area->SubWindowsCount(), how == "CloseAllSubWindows" ? 1 : 2);
        editor->refuse = false; // agreeing now, it is asked once more
        h->area->CloseActiveSubWindow();
        QTRY_COMPARE(doc.isNull(), who == 1);
        QCOMPARE(agreed, who == 1 ? 1 : 0);
    }

    // Activation moves the keyboard focus into the document: to the child that had it last, to its
    // first child that takes the focus, or to a minimised sub-window itself.
    void focus_data()
    {
        QTest::addColumn<QByteArray>("how");
        QTest::addColumn<bool>("minimised");
        for (const char* how : {"SetActiveSubWindow", "ActivateNextSubWindow", "ActivatePreviousSubWindow",
                                "CloseActiveSubWindow", "press", "maximised"}) {
            QTest::addRow("%s", how) << QByteArray(how) << false;
            QTest::addRow("%s, minimised", how) << QByteArray(how) << true;
        }
    }
    void focus()
    {
        QFETCH(QByteArray, how);
        QFETCH(bool, minimised);
        auto* form = new QWidget;
        auto* first = new QLineEdit(form);
        auto* second = new QLineEdit(form);
        ZBMdiSubWindow* doc = h->Add(form);
        QCOMPARE(QApplication::focusWidget(), first);
        second->setFocus();
        if (minimised)
            doc->ShowMinimized();
        ZBMdiSubWindow* other = h->Add(new QLineEdit);
        QCOMPARE(QApplication::focusWidget(), other->GetWidget());
        if (how == "maximised") { // the area maximises the document it activates
            other->ShowMaximized();
            how = "ActivateNextSubWindow";
            minimised = false;
        }
        h->Do(how, doc);
        QCOMPARE(h->area->ActiveSubWindow(), doc);
        QCOMPARE(QApplication::focusWidget(), minimised ? static_cast<QWidget*>(doc) : second);
    }

    // Titles show as Qt shows them in a native title bar, and follow the modified flag and the icon.
    void titles_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("modified");
        QTest::addColumn<QString>("unmodified");
        QTest::addColumn<QString>("shown");
        QTest::newRow("placeholder") << "doc1[*] - Editor" << false << "doc1 - Editor"
                                     << "doc1 - Editor";
        QTest::newRow("modified") << "doc1[*] - Editor" << true << "doc1 - Editor"
                                  << "doc1* - Editor";
        QTest::newRow("none") << "doc1" << true << "doc1"
                              << "doc1";
        QTest::newRow("escaped") << "[*][*]doc1" << true << "[*]doc1"
                                 << "[*]doc1";
        QTest::newRow("escaped and placeholder") << "a[*][*][*]b" << true << "a[*]b"
                                                 << "a[*]*b";
        QTest::newRow("two runs") << "a[*] b[*]" << true << "a b"
                                  << "a* b*";
    }
    void titles()
    {
        QFETCH(QString, title);
        QFETCH(bool, modified);
        QFETCH(QString, shown);
        auto* edit = new QLineEdit;
        edit->setWindowTitle(title);
        ZBMdiSubWindow* sub = h->Add(edit);
        QTEST(titleLine(sub), "unmodified");
        edit->setWindowModified(modified);
        QCOMPARE(titleLine(sub), shown);
        edit->setWindowIcon(QIcon(QPixmap(16, 16)));
        QCOMPARE(titleLine(sub), QStringLiteral("icon ") + shown);
        QCOMPARE(std::make_pair(sub->isWindowModified(), h->isWindowModified()),
                 std::make_pair(modified, false));

        ZBWidget frame;
        frame.setWindowModified(modified);
        frame.setWindowTitle(title);
        frame.Content()->setWindowIcon(QIcon(QPixmap(16, 16)));
        QCOMPARE(titleLine(&frame), QStringLiteral("icon ") + shown);
    }

    // Qt's own calls on the dock widget and the tool bar keep their structure.
    void qtCalls()
    {
        ZBDockWidget dock;
        auto* list = new QLabel;
        dock.setWidget(list);
        QCOMPARE(dock.GetWidget(), list);
        QVERIFY(TestUtil::Named(&dock, "ZBDOCKWIDGETCONTENT")->isAncestorOf(list));
        // widget() is QDockWidget's own: the main content frame, whatever the static type.
        QWidget* main = TestUtil::Named(&dock, "ZBDOCKWIDGETMAINCONTENT");
        QCOMPARE(dock.widget(), main);
        QCOMPARE(static_cast<QDockWidget&>(dock).widget(), main);

        ZBMdiSubWindow sub; // its own title is the widget's from the start and follows it
        auto* document = new QLabel;
        document->setWindowTitle(QStringLiteral("a.txt[*]"));
        sub.SetWidget(document);
        QCOMPARE(sub.windowTitle(), QStringLiteral("a.txt[*]"));
        document->setWindowTitle(QStringLiteral("b.txt"));
        QCOMPARE(sub.windowTitle(), QStringLiteral("b.txt"));

        ZBToolBar bar;
        // The tool bar's row, left to right: buttons by their action's text, other tools by object name.
        const auto toolRow = [&bar] {
            for (QToolButton* button : bar.findChildren<QToolButton*>())
                button->setObjectName(button->defaultAction() ? button->defaultAction()->text() : QString());
            return TestUtil::RowNames(TestUtil::Named(&bar, "ZBTOOLBARCONTENT"));
        };
        bar.AddWidget(TestUtil::Name(new QWidget, "first"), 5);
        QAction* a = bar.addAction(QStringLiteral("a"));
        auto* b = new QAction(QStringLiteral("b"), &bar);
        bar.insertAction(a, b);
        QAction* separator = bar.addSeparator();
        bar.addWidget(TestUtil::Name(new QLabel, "label"));
        bar.AddWidget(TestUtil::Name(new QWidget, "last"));
        QCOMPARE(toolRow(), QStringLiteral("first b a ZBTOOLBARSEPARATOR label last"));
        bar.removeAction(b);
        delete separator;
        QCOMPARE(toolRow(), QStringLiteral("first a label last"));
        QCOMPARE(bar.Actions(), QList<QAction*>{a});
    }

    // Tiling fills the viewport above the minimised row without overlaps; cascading ends with the
    // active one on top; the three list orders. Right to left, both are mirrored.
    void arranging_data()
    {
        QTest::addColumn<bool>("rtl");
        QTest::newRow("left to right") << false;
        QTest::newRow("right to left") << true;
    }
    void arranging()
    {
        QFETCH(bool, rtl);
        h->area->setLayoutDirection(rtl ? Qt::RightToLeft : Qt::LeftToRight);
        const auto seen = [&](ZBMdiSubWindow* sub) { // as it stands left to right
            const QRect r = sub->geometry();
            return rtl ? QRect(h->area->viewport()->width() - 1 - r.right(), r.y(), r.width(), r.height())
                       : r;
        };
        for (int n = 0; n < 30; ++n) {
            const QRect domain(3, 4, 701 + n, 499 - n);
            QRegion covered;
            const QList<QRect> tiles = ZBMdiLayout::Tiled(n, domain);
            QCOMPARE(tiles.size(), n);
            for (const QRect& r : tiles) {
                QCOMPARE(std::make_pair(domain.contains(r), covered.intersects(r)),
                         std::make_pair(true, false));
                covered += r;
            }
            QCOMPARE(covered, n == 0 ? QRegion() : QRegion(domain));
        }
        QList<ZBMdiSubWindow*> subs;
        for (int i = 0; i < 5; ++i)
            subs << h->Add(new QLineEdit);
        subs[4]->ShowMinimized();
        h->area->SetActiveSubWindow(subs[1]);
        subs[1]->ShowMaximized();
        QCOMPARE(h->area->SubWindowList(), subs);
        const QList<ZBMdiSubWindow*> history{subs[0], subs[2], subs[3], subs[4], subs[1]};
        QCOMPARE(h->area->SubWindowList(ZBMdiAreaWidget::ActivationHistoryOrder), history);
        QCOMPARE(h->area->SubWindowList(ZBMdiAreaWidget::StackingOrder), history);

        const auto onTop = [this](ZBMdiSubWindow* sub, const QPoint& at) {
            QWidget* hit = h->area->viewport()->childAt(at);
            return hit == sub || sub->isAncestorOf(hit);
        };
        h->area->TileSubWindows(); // leaves the maximised mode; the minimised row stays clear
        QRegion tiles;
        for (ZBMdiSubWindow* sub : subs.mid(0, 4)) {
            QVERIFY(onTop(sub, sub->geometry().center()));
            tiles += sub->geometry();
        }
        QCOMPARE(tiles, QRegion(0, 0, h->area->viewport()->width(), subs[4]->y() - 2));
        QCOMPARE(seen(subs[0]).topLeft(), QPoint(0, 0));

        h->area->SetActiveSubWindow(subs[2]);
        h->area->CascadeSubWindows();
        const int step = subs[0]->TitleBar()->height();
        int i = 0;
        for (ZBMdiSubWindow* sub : {subs[0], subs[1], subs[3], subs[2]})
            QCOMPARE(seen(sub).topLeft(), QPoint(step, step) * i++);
        QVERIFY(onTop(subs[2], subs[2]->geometry().center()));
    }

    // The active frame and sub-window carry the property "active", re-polished for style sheets.
    void activeLook()
    {
        qApp->setStyleSheet(QStringLiteral("ZBWidget[active=\"false\"] QLabel { color: #010203; }"));
        const auto dimmed = [](ZBWidget* w) {
            return w->TitleBar()->findChildren<QLabel*>().last()->palette().color(QPalette::WindowText) ==
                   QColor(1, 2, 3);
        };
        ZBMdiSubWindow* a = h->Add(new QLineEdit);
        ZBMdiSubWindow* b = h->Add(new QLineEdit);
        const auto looks = [&] {
            return std::make_tuple(dimmed(a), dimmed(b), b->property("active").toBool());
        };
        QCOMPARE(looks(), std::make_tuple(true, false, true));
        h->area->SetActiveSubWindow(a);
        QCOMPARE(looks(), std::make_tuple(false, true, false));

        ZBWidget frame;
        frame.show();
        frame.activateWindow();
        QTRY_COMPARE(std::make_pair(frame.property("active").toBool(), dimmed(&frame)),
                     std::make_pair(true, false));
        h->activateWindow();
        QTRY_VERIFY(dimmed(&frame));
        qApp->setStyleSheet(QString());
    }
};

QTEST_MAIN(tst_QtParity)
#include "tst_qtparity.moc"
