#include "ZBComboBox.h"
#include "ZBDockWidget.h"
#include "ZBLinkLabel.h"
#include "ZBMdiAreaWidget.h"
#include "ZBMdiSubWindow.h"
#include "ZBMessageBox.h"
#include "ZBPopupInfo.h"
#include "ZBToolBarContainer.h"
#include "testutil.h"

#include <QAccessible>
#include <QAction>
#include <QMenu>
#include <QMetaEnum>
#include <QTextEdit>
#include <algorithm>
#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

namespace {

// One widget of each kind in a shown window, found by object name; the events sent, as lines.
struct Fixture
{
    explicit Fixture(int current = 1)
    {
        events.clear();
        frame.Content()->setWindowTitle(QStringLiteral("Frame title"));
        box.setWindowTitle(QStringLiteral("Question"));
        box.SetText(QStringLiteral("Save changes?"));
        const QStringList fruits = QStringLiteral("Apple Banana Cherry Blueberry Date").split(' ');
        for (int i = 0; i < fruits.size(); ++i) {
            combo->InsertItem(i);
            combo->SetItemData(i, fruits[i], Qt::DisplayRole);
        }
        combo->SetCurrentIndex(current);
        combo->SetItemData(2, QStringLiteral("Red cherry"), Qt::AccessibleTextRole);
        QObject::connect(combo, qOverload<int>(&ZBComboBox::CurrentIndexChanged), [this] { ++changes; });
        link->SetText(QStringLiteral("A rather long link text"));
        link->setFixedWidth(20);
        dock->SetTitle(QStringLiteral("Shown title"));
        for (const char* title : {"A", "B", "C"})
            TestUtil::Name(area->AddWidget(new QTextEdit()), title)
                ->setWindowTitle(QString::fromLatin1(title));
        combo->setFocusPolicy(Qt::StrongFocus); // as the gallery does
        container->setFocusPolicy(Qt::StrongFocus);
        frame.show();
        box.show();
        ZBPopupInfo::ShowTextPopup(QStringLiteral("<b>Saved</b>"), QPixmap(), 0, &root, 60000, 0, 0);
        // The offscreen platform activates every window shown: the one to type in comes last.
        QVERIFY(QTest::qWaitForWindowExposed(root.findChild<ZBPopupInfo*>()));
        root.show();
        container->AddButton(QStringLiteral("Bold"), QIcon(), QString(), -1);
        QTest::qWait(0); // queued set-up runs
        windows = QApplication::topLevelWidgets().size();
    }

    // "ZBWidget/CLOSEBUTTON/0": an object by name or class, one inside it, an accessible child by index.
    static QAccessibleInterface* Find(const QString& path)
    {
        QAccessibleInterface* iface = nullptr;
        QObjectList scope;
        for (QWidget* w : QApplication::topLevelWidgets())
            scope << w << w->findChildren<QObject*>();
        for (const QString& part : path.split(QLatin1Char('/'))) {
            bool index = false;
            const int n = part.toInt(&index);
            const auto named = std::find_if(scope.begin(), scope.end(),
                                            [&](QObject* o) { return TestUtil::Text(o) == part; });
            QObject* object = named == scope.end() ? nullptr : *named;
            iface = index ? iface->child(n) : QAccessible::queryAccessibleInterface(object);
            scope = iface && iface->object() ? iface->object()->findChildren<QObject*>() : QObjectList();
        }
        return iface;
    }

    // The user's view of the widgets that take keys, then the events sent.
    QString Summary() const
    {
        QMenu* menu = container->findChild<QMenu*>();
        return QString::asprintf(
            "combo %d %s %d changes, area %s of %d, menu %s, focus %s, %s", combo->CurrentIndex(),
            combo->findChild<ZBWidget*>()->isVisible() ? "open" : "closed", changes,
            qPrintable(area->ActiveSubWindow() ? area->ActiveSubWindow()->windowTitle() : QString()),
            area->SubWindowsCount(),
            qPrintable(menu->isVisible() && menu->activeAction() ? menu->activeAction()->text() : "closed"),
            qPrintable(TestUtil::Text(QApplication::focusWidget())),
            qPrintable(events.join(QStringLiteral(", "))));
    }

    static void Record(QAccessibleEvent* event)
    {
        QStringList line = {QMetaEnum::fromType<QAccessible::Event>().valueToKey(event->type()),
                            TestUtil::Text(event->object())};
        if (event->child() >= 0)
            line << QString::number(event->child());
        if (event->type() == QAccessible::ValueChanged)
            line << static_cast<QAccessibleValueChangeEvent*>(event)->value().toString();
        if (auto* change = dynamic_cast<QAccessibleStateChangeEvent*>(event))
            line << QLatin1String(change->changedStates().active ? "active" : "") +
                        QLatin1String(change->changedStates().expanded ? "expanded" : "");
        events << line.join(QLatin1Char(' '));
    }

    QWidget root;
    ZBWidget frame;
    ZBMessageBox box;
    ZBComboBox* combo = new ZBComboBox(&root);
    ZBLinkLabel* link = new ZBLinkLabel(&root);
    ZBDockWidget* dock = new ZBDockWidget(QStringLiteral("Dock title"), &root);
    ZBMdiAreaWidget* area = new ZBMdiAreaWidget(&root);
    ZBToolBarContainer* container = new ZBToolBarContainer(&root);
    int changes = 0, windows = 0;
    static inline QStringList events;
};

} // namespace

class tst_Accessibility : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // The offscreen platform has no screen reader; this test listens to every event instead.
        QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(true);
        QAccessible::installUpdateHandler(&Fixture::Record);
    }
    void cleanup() { TestUtil::CheckNoLeftoverWindows(); }

    // Each interface, by its path (Fixture::Find): role 'name' 'value, else description' states.
    void interfaces()
    {
        Fixture fixture;
        const char* const table[][2] = {
            {"ZBWidget", "Window 'Frame title' ''"},
            {"ZBWidget/ZBTitleBar", "TitleBar 'Frame title' ''"},
            {"ZBMessageBox", "AlertMessage 'Question' 'Save changes?'"},
            {"ZBMessageBox/CLOSEBUTTON", "Button 'Close' 'Close' invisible"},
            {"ZBPopupInfo", "Notification 'Saved' ''"},
            {"ZBComboBox", "ComboBox '' 'Banana' collapsed hasPopup focusable"},
            {"ZBLinkLabel", "Link 'A rather long link text' '' linked focusable"},
            {"ZBDockWidget", "Window 'Shown title' ''"},
            {"C", "Window 'C' '' active focusable"},
            {"C/RESTOREBUTTON", "Button 'Restore' 'Restore' invisible focusable"},
            {"ZBToolBarContainer", "ButtonMenu 'Tools' '' hasPopup focusable"},
            {"ZBToolBarContainer/QMenu/0", "MenuItem 'Bold' '' invisible checked"}};
        for (const auto& [path, expected] : table) {
            QAccessibleInterface* iface = Fixture::Find(QString::fromLatin1(path));
            QVERIFY2(iface, path);
            ZB_STEP_COMPARE(path, iface->isValid(), true);
            const QString value = iface->text(QAccessible::Value);
            const QAccessible::State s = iface->state();
            QString line =
                QStringLiteral("%1 '%2' '%3'")
                    .arg(QLatin1String(QMetaEnum::fromType<QAccessible::Role>().valueToKey(iface->role())),
                         iface->text(QAccessible::Name),
                         value.isEmpty() ? iface->text(QAccessible::Description) : value);
            const std::pair<const char*, bool> flags[] = {
                {"invisible", s.invisible}, {"active", s.active},      {"collapsed", s.collapsed},
                {"expanded", s.expanded},   {"hasPopup", s.hasPopup},  {"linked", s.linked},
                {"checked", s.checked},     {"focusable", s.focusable}};
            for (const auto& [flag, set] : flags)
                line += set ? QLatin1Char(' ') + QLatin1String(flag) : QString();
            ZB_STEP_COMPARE(path, line, QString::fromLatin1(expected));
        }
    }

    // Keys from the focus given (the combo box from the index given).
    void keys_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("expected"); // parts of the summary, the events sent among them
        const auto row = [](const char* focus, const char* keys, const char* expected) {
            QTest::addRow("%s: %s", focus, keys) << focus << keys << expected;
        };
        row("ZBComboBox -1", "Down", "combo 0 closed 1 changes, ValueChanged ZBComboBox Apple");
        row("ZBComboBox 2", "End Home", "combo 0 closed 2 changes");
        row("ZBComboBox 0", "F4 Down Down Return",
            "combo 2 closed 1 changes, focus ZBComboBox, Focus ZBCOMBOBOXPOPUPWIDGETITEMAREA 0, "
            "Focus ZBCOMBOBOXPOPUPWIDGETITEMAREA 2, ValueChanged ZBComboBox Red cherry");
        // The area's keys; Shift+Tab comes as Backtab, Ctrl+W is the platform's close key, also offscreen.
        row("C/QTextEdit", "Ctrl+Tab",
            "area B of 3, focus QTextEdit, StateChanged C active, StateChanged B active");
        row("C/QTextEdit", "Ctrl+Tab Ctrl+Tab", "area A of 3");
        row("C/QTextEdit", "Ctrl+Shift+Backtab Ctrl+Shift+Backtab", "area B of 3");
        row("C/QTextEdit", "Ctrl+F4", "area B of 2, focus QTextEdit");
        row("C/QTextEdit", "Ctrl+F4 Ctrl+F4 Ctrl+Tab", "area A of 1");
        row("C/QTextEdit", "Ctrl+W", "area B of 2");
        row("ZBToolBarContainer", "Space", "menu Bold");
    }

    void keys()
    {
        QFETCH(QString, focus);
        QFETCH(QString, keys);
        QFETCH(QString, expected);
        Fixture fixture(focus.section(QLatin1Char(' '), 1).toInt());
        QVERIFY(QTest::qWaitForWindowActive(&fixture.root));
        static_cast<QWidget*>(Fixture::Find(focus.section(QLatin1Char(' '), 0, 0))->object())->setFocus();
        QTRY_VERIFY(QApplication::focusWidget());
        Fixture::events.clear();
        for (const QString& key : keys.split(QLatin1Char(' ')))
            QTest::keySequence(static_cast<QWidget*>(nullptr), QKeySequence(key)); // to the focus widget
        for (const QString& part : expected.split(QStringLiteral(", ")))
            QTRY_VERIFY2(fixture.Summary().split(QStringLiteral(", ")).contains(part),
                         qPrintable(fixture.Summary()));
        QTRY_COMPARE(QApplication::topLevelWidgets().size(), fixture.windows); // closed sub-windows fade out
    }
};

QTEST_MAIN(tst_Accessibility)
#include "tst_accessibility.moc"
