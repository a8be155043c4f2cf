// Qt habits that keep working on the library's classes: closing, focus, titles, Qt's own API, and the
// additions that applications ported from Qt's widgets reach for.
#include "ZBMdiAreaWidget.h"
#include "ZBMdiSubWindow.h"
#include "testutil.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <memory>

namespace {

// An editor asked before it closes; it may refuse, and counts the times it agreed.
struct Editor : QLineEdit
{
    int* agreed;
    bool refuse;
    Editor(int* agreed, bool refuse) : agreed(agreed), refuse(refuse) {}
    void closeEvent(QCloseEvent* event) override { event->setAccepted(!refuse && ++*agreed); }
};

// A sub-window subclass that decides by itself, without handing the event to the base class.
struct DecidingSubWindow : ZBMdiSubWindow
{
    bool accept;
    explicit DecidingSubWindow(bool accept) : accept(accept) {}
    void closeEvent(QCloseEvent* event) override { event->setAccepted(accept); }
};

// A shown, active window filled by an area.
struct Host : QWidget
{
    ZBMdiAreaWidget* area = new ZBMdiAreaWidget(this);
    QStringList aboutClose;

    ZBMdiSubWindow* Add(const QString& name, QWidget* widget, ZBMdiSubWindow* sub = nullptr)
    {
        if (!sub)
            sub = new ZBMdiSubWindow;
        sub->SetWidget(widget);
        area->AddSubWindow(sub);
        sub->setObjectName(name);
        sub->setGeometry(0, 0, 200, 150);
        return sub;
    }
    // What a row names: "press" on the frame, its Close "button", "close()", or one of the area's slots.
    void Do(const QByteArray& what, ZBMdiSubWindow* sub)
    {
        if (what == "press")
            TestUtil::SendMouse(sub, QEvent::MouseButtonPress, QPoint(sub->width() / 2, 8));
        else if (what == "button")
            QTest::mouseClick(sub->findChild<QWidget*>(QStringLiteral("CLOSEBUTTON")), Qt::LeftButton);
        else if (what == "close()")
            sub->close();
        else if (what == "SetActiveSubWindow")
            area->SetActiveSubWindow(sub);
        else
            QMetaObject::invokeMethod(area, what.constData());
    }
};

} // namespace

class tst_QtParity : public QObject
{
    Q_OBJECT

    std::unique_ptr<Host> h;

private slots:
    void init()
    {
        h.reset(new Host);
        h->resize(700, 500);
        h->area->resize(700, 500);
        connect(h->area, &ZBMdiAreaWidget::SubWindowAboutClose, h.get(),
                [this](ZBMdiSubWindow* s) { h->aboutClose << s->objectName(); });
        h->show();
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
        for (const char* how : {"button", "CloseActiveSubWindow", "CloseAllSubWindows", "close()"}) {
            for (int who = 0; who < 4; ++who)
                QTest::addRow("%s, %s", how, whos[who]) << QByteArray(how) << who;
        }
    }
    void closing()
    {
        QFETCH(QByteArray, how);
        QFETCH(int, who);
        int agreed = 0;
        auto* editor = new Editor(&agreed, who == 1);
        h->Add(QStringLiteral("other"), new QLineEdit);
        QPointer<ZBMdiSubWindow> doc =
            h->Add(QStringLiteral("doc"), editor, who >= 2 ? new DecidingSubWindow(who == 3) : nullptr);
        h->Do(how, doc);
        const bool refused = who == 1 || who == 2;
        QTRY_COMPARE(doc.isNull(), !refused);
        QCOMPARE(agreed, who == 0 ? 1 : 0);
        QCOMPARE(h->aboutClose.contains(QStringLiteral("doc")), !refused);
        if (!refused)
            return;
        QVERIFY(doc->isVisible() && h->area->SubWindows().contains(doc));
        QCOMPARE(h->area->SubWindowsCount(), how == "CloseAllSubWindows" ? 1 : 2);
        QCOMPARE(h->area->ActiveSubWindow(), doc.data());
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
        ZBMdiSubWindow* doc = h->Add(QStringLiteral("doc"), form);
        QCOMPARE(QApplication::focusWidget(), first);
        second->setFocus();
        if (minimised)
            doc->ShowMinimized();
        ZBMdiSubWindow* other = h->Add(QStringLiteral("other"), new QLineEdit);
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
};

QTEST_MAIN(tst_QtParity)
#include "tst_qtparity.moc"
