#include "ZBLinkLabel.h"
#include "testutil.h"

#include <QBoxLayout>
#include <QPointer>
#include <QProxyStyle>
#include <QSignalSpy>
#include <QStyleOptionButton>
#include <QTest>

namespace {

// Remembers the text of every push button it draws.
class RecordingStyle : public QProxyStyle
{
public:
    RecordingStyle() : QProxyStyle(QStringLiteral("Fusion")) {}

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override
    {
        if (element == CE_PushButton)
            if (auto* button = qstyleoption_cast<const QStyleOptionButton*>(option))
                drawn << button->text;
        QProxyStyle::drawControl(element, option, painter, widget);
    }

    mutable QStringList drawn;
};

// Counts the paint events of the widget it filters.
class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

} // namespace

class tst_ZBLinkLabel : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { TestUtil::CheckNoLeftoverWindows(); }

    void textSignals()
    {
        ZBLinkLabel label;
        QCOMPARE(label.GetText(), QString());
        QStringList seen;
        connect(&label, qOverload<>(&ZBLinkLabel::TextChanged), &label,
                [&] { seen << QStringLiteral("()"); });
        connect(&label, qOverload<const QString&>(&ZBLinkLabel::TextChanged), &label,
                [&](const QString& text) { seen << text; });

        label.SetText(QStringLiteral("Details"));
        QCOMPARE(seen, (QStringList{QStringLiteral("()"), QStringLiteral("Details")}));
        QCOMPARE(label.GetText(), QStringLiteral("Details"));
        // The button's own text is a separate thing.
        QCOMPARE(label.text(), QString());
        label.setText(QStringLiteral("button"));
        QCOMPARE(label.GetText(), QStringLiteral("Details"));

        seen.clear();
        label.SetText(QStringLiteral("Details"));
        QVERIFY(seen.isEmpty());
        label.SetText(QString());
        QCOMPARE(seen, (QStringList{QStringLiteral("()"), QString()}));
    }

    void sameTextDoesNotRepaint()
    {
        ZBLinkLabel label;
        label.SetText(QStringLiteral("Details"));
        label.show();
        QVERIFY(QTest::qWaitForWindowExposed(&label));
        QTest::qWait(50); // the first paints of the new window
        PaintCounter counter;
        label.installEventFilter(&counter);
        label.SetText(QStringLiteral("Details"));
        QTest::qWait(30);
        QCOMPARE(counter.paints, 0);
        label.SetText(QStringLiteral("More details"));
        QTRY_VERIFY(counter.paints > 0);
    }

    void data()
    {
        ZBLinkLabel label;
        QSignalSpy spy(&label, &ZBLinkLabel::DataChanged);
        QVERIFY(!label.GetData(Qt::UserRole + 3).isValid());
        label.SetData(QVariant(), Qt::UserRole + 3);
        QCOMPARE(spy.count(), 0);

        label.SetData(17, Qt::UserRole + 3);
        label.SetData(17, Qt::UserRole + 3);
        label.SetData(QStringLiteral("x")); // role defaults to Qt::UserRole
        QCOMPARE(spy.count(), 2);
        QCOMPARE(spy.at(0).at(0).toInt(), Qt::UserRole + 3);
        QCOMPARE(spy.at(1).at(0).toInt(), int(Qt::UserRole));
        QCOMPARE(label.GetData(Qt::UserRole + 3).toInt(), 17);
        QCOMPARE(label.GetData().toString(), QStringLiteral("x"));

        // Clearing a role is a change; clearing it again is not.
        label.SetData(QVariant(), Qt::UserRole + 3);
        label.SetData(QVariant(), Qt::UserRole + 3);
        QCOMPARE(spy.count(), 3);
        QVERIFY(!label.GetData(Qt::UserRole + 3).isValid());
    }

    void sizeHintFollowsTextFontAndMargins()
    {
        ZBLinkLabel label;
        QCOMPARE(label.sizeHint(), QSize(0, label.fontMetrics().height()));

        label.SetText(QStringLiteral("Show the log"));
        const QFontMetrics metrics = label.fontMetrics();
        QCOMPARE(label.sizeHint(),
                 QSize(metrics.horizontalAdvance(QStringLiteral("Show the log")), metrics.height()));

        label.setContentsMargins(3, 4, 5, 6);
        QCOMPARE(label.sizeHint(),
                 QSize(metrics.horizontalAdvance(QStringLiteral("Show the log")) + 8, metrics.height() + 10));

        QFont big = label.font();
        big.setPixelSize(40);
        label.setFont(big);
        const QFontMetrics bigMetrics(big);
        QCOMPARE(label.sizeHint(), QSize(bigMetrics.horizontalAdvance(QStringLiteral("Show the log")) + 8,
                                         bigMetrics.height() + 10));
    }

    void layoutTakesTheNewText()
    {
        QWidget window;
        auto* layout = new QHBoxLayout(&window);
        layout->setSizeConstraint(QLayout::SetFixedSize);
        layout->setContentsMargins(0, 0, 0, 0);
        auto* label = new ZBLinkLabel(&window);
        layout->addWidget(label);
        label->SetText(QStringLiteral("Short"));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_COMPARE(label->width(), label->sizeHint().width());
        const int before = label->width();
        label->SetText(QStringLiteral("A considerably longer link text"));
        QTRY_VERIFY(label->width() > before);
        QCOMPARE(label->width(), label->sizeHint().width());
    }

    void paintsTheTextElided()
    {
        RecordingStyle style;
        ZBLinkLabel label;
        label.setStyle(&style);
        const QString text = QStringLiteral("Open the advanced settings of the current page");
        label.SetText(text);

        label.resize(label.sizeHint().width() + 10, 30);
        label.grab();
        QCOMPARE(style.drawn.last(), text);

        label.resize(80, 30);
        label.grab();
        const QString shown = style.drawn.last();
        QVERIFY2(shown.endsWith(QChar(0x2026)), qPrintable(shown));
        QVERIFY(text.startsWith(shown.left(shown.size() - 1)));
        QVERIFY(label.fontMetrics().horizontalAdvance(shown) <= 80);
        QVERIFY(!shown.contains(QLatin1Char('\n')));

        // The button's own text is never drawn.
        label.setText(QStringLiteral("button"));
        label.grab();
        QVERIFY(!style.drawn.last().contains(QStringLiteral("button")));
    }

    void cursorFollowsEnabled()
    {
        QWidget parent;
        auto* label = new ZBLinkLabel(&parent);
        QCOMPARE(label->cursor().shape(), Qt::PointingHandCursor);
        label->setEnabled(false);
        QCOMPARE(label->cursor().shape(), Qt::ArrowCursor);
        label->setEnabled(true);
        QCOMPARE(label->cursor().shape(), Qt::PointingHandCursor);
        parent.setEnabled(false);
        QCOMPARE(label->cursor().shape(), Qt::ArrowCursor);
        parent.setEnabled(true);
        QCOMPARE(label->cursor().shape(), Qt::PointingHandCursor);
    }

    void clicksAndDeletionFromSlots()
    {
        QPointer<ZBLinkLabel> label = new ZBLinkLabel();
        label->SetText(QStringLiteral("Go"));
        label->resize(40, 20);
        QSignalSpy clicked(label.data(), &QAbstractButton::clicked);
        QTest::mouseClick(label, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
        QCOMPARE(clicked.count(), 1);

        connect(label.data(), qOverload<>(&ZBLinkLabel::TextChanged), label.data(),
                [&label] { delete label.data(); });
        label->SetText(QStringLiteral("Gone"));
        QVERIFY(!label);
    }
};

QTEST_MAIN(tst_ZBLinkLabel)
#include "tst_zblinklabel.moc"
