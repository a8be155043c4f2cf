#include "ZBLinkLabel.h"
#include "testutil.h"

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
        if (auto* button = qstyleoption_cast<const QStyleOptionButton*>(option))
            if (element == CE_PushButton)
                drawn << button->text;
        QProxyStyle::drawControl(element, option, painter, widget);
    }
    mutable QStringList drawn;
};

} // namespace

class tst_ZBLinkLabel : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { TestUtil::CheckNoLeftoverWindows(); }

    void textAndDataSignals()
    {
        ZBLinkLabel label;
        QStringList seen;
        connect(&label, qOverload<>(&ZBLinkLabel::TextChanged), &label,
                [&] { seen << QStringLiteral("()"); });
        connect(&label, qOverload<const QString&>(&ZBLinkLabel::TextChanged), &label,
                [&](const QString& text) { seen << text; });
        label.SetText(QStringLiteral("Details"));
        label.SetText(QStringLiteral("Details"));
        label.setText(QStringLiteral("button")); // the button's own text is another thing
        QCOMPARE(seen, (QStringList{QStringLiteral("()"), QStringLiteral("Details")}));
        QCOMPARE(label.GetText(), QStringLiteral("Details"));

        QSignalSpy data(&label, &ZBLinkLabel::DataChanged);
        label.SetData(QVariant(), Qt::UserRole + 3); // nothing stored, nothing changes
        label.SetData(17, Qt::UserRole + 3);
        label.SetData(17, Qt::UserRole + 3);
        label.SetData(QStringLiteral("x")); // role defaults to Qt::UserRole
        label.SetData(QVariant(), Qt::UserRole + 3);
        QCOMPARE(data.count(), 3);
        QCOMPARE(data.at(0).at(0).toInt(), Qt::UserRole + 3);
        QCOMPARE(label.GetData().toString(), QStringLiteral("x"));
        QVERIFY(!label.GetData(Qt::UserRole + 3).isValid());
    }

    void sizeHintFollowsTextFontAndMargins()
    {
        ZBLinkLabel label;
        QCOMPARE(label.sizeHint(), QSize(0, label.fontMetrics().height()));
        const QString text = QStringLiteral("Show the log");
        label.SetText(text);
        label.setContentsMargins(3, 4, 5, 6);
        QCOMPARE(label.sizeHint(),
                 QSize(label.fontMetrics().horizontalAdvance(text) + 8, label.fontMetrics().height() + 10));
        QFont big = label.font();
        big.setPixelSize(40);
        label.setFont(big);
        const QFontMetrics metrics(big);
        QCOMPARE(label.sizeHint(), QSize(metrics.horizontalAdvance(text) + 8, metrics.height() + 10));
    }

    void paintsItsTextElided()
    {
        RecordingStyle style;
        ZBLinkLabel label;
        label.setStyle(&style);
        label.setText(QStringLiteral("button"));
        const QString text = QStringLiteral("Open the advanced settings of the current page");
        label.SetText(text);
        label.resize(label.sizeHint().width() + 10, 30);
        label.grab();
        QCOMPARE(style.drawn.last(), text);
        label.resize(80, 30);
        label.grab();
        const QString shown = style.drawn.last();
        QVERIFY2(shown.endsWith(QChar(0x2026)) && text.startsWith(shown.chopped(1)), qPrintable(shown));
        QVERIFY(label.fontMetrics().horizontalAdvance(shown) <= 80);
    }

    void cursorFollowsEnabled()
    {
        QWidget parent;
        auto* label = new ZBLinkLabel(&parent);
        QCOMPARE(label->cursor().shape(), Qt::PointingHandCursor);
        label->setEnabled(false);
        QCOMPARE(label->cursor().shape(), Qt::ArrowCursor);
        label->setEnabled(true);
        parent.setEnabled(false);
        QCOMPARE(label->cursor().shape(), Qt::ArrowCursor);
        parent.setEnabled(true);
        QCOMPARE(label->cursor().shape(), Qt::PointingHandCursor);
    }
};

QTEST_MAIN(tst_ZBLinkLabel)
#include "tst_zblinklabel.moc"
