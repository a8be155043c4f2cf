#include "ZBLinkLabel.h"
#include "testutil.h"

#include <QProxyStyle>
#include <QStyleOptionButton>
#include <QTest>

namespace {

// Remembers the text of the last push button it drew.
class RecordingStyle : public QProxyStyle
{
public:
    RecordingStyle() : QProxyStyle(QStringLiteral("Fusion")) {}
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override
    {
        if (auto* button = qstyleoption_cast<const QStyleOptionButton*>(option))
            drawn = element == CE_PushButton ? button->text : drawn;
        QProxyStyle::drawControl(element, option, painter, widget);
    }
    mutable QString drawn;
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
        connect(&label, &ZBLinkLabel::DataChanged, &label, [&](int role) { seen << QString::number(role); });
        label.SetText(QStringLiteral("Details"));
        label.SetText(QStringLiteral("Details"));
        label.setText(QStringLiteral("button")); // the button's own text is another thing
        label.SetData(QVariant(), 300);          // nothing stored, nothing changes
        label.SetData(17, 300);
        label.SetData(17, 300);
        label.SetData(QStringLiteral("x")); // role defaults to Qt::UserRole
        label.SetData(QVariant(), 300);
        QCOMPARE(seen.join(' '), QStringLiteral("() Details 300 256 300"));
        QCOMPARE(label.GetText(), QStringLiteral("Details"));
        QCOMPARE(label.GetData().toString(), QStringLiteral("x"));
        QVERIFY(!label.GetData(300).isValid());
    }

    void sizeAndElision()
    {
        RecordingStyle style;
        ZBLinkLabel label;
        label.setStyle(&style);
        QCOMPARE(label.sizeHint(), QSize(0, label.fontMetrics().height()));
        const QString text = QStringLiteral("Open the advanced settings");
        label.SetText(text);
        label.setContentsMargins(3, 4, 5, 6);
        for (int pixels : {0, 30}) {
            QFont font = label.font();
            if (pixels)
                font.setPixelSize(pixels);
            label.setFont(font);
            QCOMPARE(label.sizeHint(), QSize(label.fontMetrics().horizontalAdvance(text) + 8,
                                             label.fontMetrics().height() + 10));
        }
        label.resize(label.sizeHint().width() + 2, 50);
        label.grab();
        QCOMPARE(style.drawn, text);
        label.resize(88, 50); // 80 pixels inside the margins
        label.grab();
        QVERIFY2(style.drawn.endsWith(QChar(0x2026)) && text.startsWith(style.drawn.chopped(1)),
                 qPrintable(style.drawn));
        QVERIFY(label.fontMetrics().horizontalAdvance(style.drawn) <= 80);
    }

    void cursorFollowsEnabled()
    {
        QWidget parent;
        auto* label = new ZBLinkLabel(&parent);
        QCOMPARE(label->cursor().shape(), Qt::PointingHandCursor);
        label->setEnabled(false);
        QCOMPARE(label->cursor().shape(), Qt::ArrowCursor);
        label->setEnabled(true);
        parent.setEnabled(false); // disabled through its parent too
        QCOMPARE(label->cursor().shape(), Qt::ArrowCursor);
        parent.setEnabled(true);
        QCOMPARE(label->cursor().shape(), Qt::PointingHandCursor);
    }
};

QTEST_MAIN(tst_ZBLinkLabel)
#include "tst_zblinklabel.moc"
