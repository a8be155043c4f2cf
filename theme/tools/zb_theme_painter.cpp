// Paints the default theme's images into the folder given on the command line, one subfolder per
// variant ("light", "dark") with the same file names.
//
// Everything is drawn with paths (no fonts), so the program needs no platform plugin and gives the
// same pixels on every machine. Sizes are twice the size at which the images are shown, so that
// they stay sharp on high-density screens and scale down smoothly elsewhere.
#include <QColor>
#include <QDir>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>
#include <functional>

namespace {

// What differs between the variants. Title bars are dark in both, so their glyphs are light in both;
// the chevrons stand on the window body and take its text colour; the message badges are lifted a
// little on the dark body, so that they do not sink into it.
struct Look
{
    QColor glyph;  // window-button glyphs, on the title bar
    QColor arrow;  // chevrons, on the window body
    int badgeLift; // QColor::lighter() factor for the message badges
    QColor mark;   // the white mark inside a badge
};

const Look LightLook{QColor(255, 255, 255), QColor(0x4a, 0x54, 0x68), 100, QColor(255, 255, 255)};
const Look DarkLook{QColor(0xf4, 0xf6, 0xf9), QColor(0xc3, 0xca, 0xd6), 112, QColor(255, 255, 255)};

QImage canvas(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void setUp(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
}

QPen glyphPen(const QColor& color, qreal width)
{
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// Window-button glyphs: 40x40 images shown at 20x20, white strokes in the middle 20x20 pixels.
constexpr int ButtonSize = 40;
constexpr qreal ButtonStroke = 2.4;
const QRectF GlyphBox(10.0, 10.0, 20.0, 20.0);

QImage closeGlyph(const Look& look)
{
    QImage image = canvas(ButtonSize);
    QPainter p(&image);
    setUp(p);
    p.setPen(glyphPen(look.glyph, ButtonStroke));
    const QRectF r = GlyphBox.adjusted(1, 1, -1, -1);
    p.drawLine(r.topLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomLeft());
    return image;
}

QImage minimizeGlyph(const Look& look)
{
    QImage image = canvas(ButtonSize);
    QPainter p(&image);
    setUp(p);
    p.setPen(glyphPen(look.glyph, ButtonStroke));
    const qreal y = GlyphBox.center().y();
    p.drawLine(QPointF(GlyphBox.left(), y), QPointF(GlyphBox.right(), y));
    return image;
}

QImage maximizeGlyph(const Look& look)
{
    QImage image = canvas(ButtonSize);
    QPainter p(&image);
    setUp(p);
    p.setPen(glyphPen(look.glyph, ButtonStroke));
    p.drawRoundedRect(GlyphBox.adjusted(1, 1, -1, -1), 3, 3);
    return image;
}

QImage restoreGlyph(const Look& look)
{
    QImage image = canvas(ButtonSize);
    QPainter p(&image);
    setUp(p);
    p.setPen(glyphPen(look.glyph, ButtonStroke));
    // The front window at the bottom left, the back one peeking out above and to the right.
    const QRectF front(GlyphBox.left() + 0.5, GlyphBox.top() + 5.5, 14.0, 14.0);
    p.drawRoundedRect(front, 2.5, 2.5);
    QPainterPath back;
    back.moveTo(front.left() + 5.0, front.top());
    back.lineTo(front.left() + 5.0, GlyphBox.top() + 3.0);
    back.quadTo(front.left() + 5.0, GlyphBox.top() + 0.5, front.left() + 7.5, GlyphBox.top() + 0.5);
    back.lineTo(GlyphBox.right() - 3.0, GlyphBox.top() + 0.5);
    back.quadTo(GlyphBox.right() - 0.5, GlyphBox.top() + 0.5, GlyphBox.right() - 0.5, GlyphBox.top() + 3.0);
    back.lineTo(GlyphBox.right() - 0.5, front.bottom() - 5.0);
    back.lineTo(front.right(), front.bottom() - 5.0);
    p.drawPath(back);
    return image;
}

// Message images: 96x96, shown at 48x48. A filled badge with a soft top-to-bottom shade and a
// white glyph.
constexpr int MessageSize = 96;

QLinearGradient badgeFill(const QColor& color)
{
    QLinearGradient fill(0, 4, 0, MessageSize - 4);
    fill.setColorAt(0.0, color.lighter(112));
    fill.setColorAt(1.0, color.darker(106));
    return fill;
}

void drawDisc(QPainter& p, const QColor& color)
{
    p.setPen(Qt::NoPen);
    p.setBrush(badgeFill(color));
    p.drawEllipse(QRectF(4, 4, MessageSize - 8, MessageSize - 8));
}

void drawDot(QPainter& p, const QPointF& centre, qreal radius, const QColor& color)
{
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawEllipse(centre, radius, radius);
}

QImage criticalIcon(const Look& look)
{
    QImage image = canvas(MessageSize);
    QPainter p(&image);
    setUp(p);
    drawDisc(p, QColor(0xe5, 0x48, 0x4d).lighter(look.badgeLift));
    p.setPen(glyphPen(look.mark, 9.0));
    const QRectF r(32, 32, 32, 32);
    p.drawLine(r.topLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomLeft());
    return image;
}

QImage infoIcon(const Look& look)
{
    QImage image = canvas(MessageSize);
    QPainter p(&image);
    setUp(p);
    drawDisc(p, QColor(0x3d, 0x7e, 0xff).lighter(look.badgeLift));
    drawDot(p, QPointF(48, 29), 6.0, look.mark);
    p.setPen(glyphPen(look.mark, 10.0));
    p.drawLine(QPointF(48, 45), QPointF(48, 69));
    return image;
}

QImage questionIcon(const Look& look)
{
    QImage image = canvas(MessageSize);
    QPainter p(&image);
    setUp(p);
    drawDisc(p, QColor(0x7c, 0x5c, 0xe6).lighter(look.badgeLift));
    // The hook of the question mark: an arc over the top, then down into the stem.
    QPainterPath hook;
    hook.moveTo(36, 38);
    hook.cubicTo(36, 24, 60, 22, 61, 36);
    hook.cubicTo(62, 46, 48, 47, 48, 58);
    hook.lineTo(48, 60);
    p.setPen(glyphPen(look.mark, 9.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(hook);
    drawDot(p, QPointF(48, 72), 5.5, look.mark);
    return image;
}

QImage warningIcon(const Look& look)
{
    QImage image = canvas(MessageSize);
    QPainter p(&image);
    setUp(p);
    // A triangle with rounded corners: stroke its outline with a thick round-joined pen in the
    // fill colour and fill it, which rounds the corners by half the pen width.
    QPainterPath triangle;
    triangle.moveTo(48, 14);
    triangle.lineTo(84, 78);
    triangle.lineTo(12, 78);
    triangle.closeSubpath();
    const QColor amber = QColor(0xf5, 0xa5, 0x24).lighter(look.badgeLift);
    p.setPen(QPen(QBrush(badgeFill(amber)), 12.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(badgeFill(amber));
    p.drawPath(triangle);
    p.setPen(glyphPen(look.mark, 9.0));
    p.drawLine(QPointF(48, 38), QPointF(48, 58));
    drawDot(p, QPointF(48, 71), 5.0, look.mark);
    return image;
}

// Arrows for expanding and collapsing panels: 32x32 chevrons shown at 16x16, in the body's text colour.
constexpr int ArrowSize = 32;

QImage chevron(const Look& look, bool down)
{
    QImage image = canvas(ArrowSize);
    QPainter p(&image);
    setUp(p);
    p.setPen(glyphPen(look.arrow, 3.0));
    const qreal tip = down ? 21.0 : 11.0;
    const qreal arms = down ? 12.0 : 20.0;
    QPainterPath path;
    path.moveTo(8, arms);
    path.lineTo(16, tip);
    path.lineTo(24, arms);
    p.drawPath(path);
    return image;
}

// A check mark for check boxes drawn in the accent colour: 28x28, shown at 14x14, white in both variants.
constexpr int CheckSize = 28;

QImage checkMark(const Look& look)
{
    QImage image = canvas(CheckSize);
    QPainter p(&image);
    setUp(p);
    p.setPen(glyphPen(look.mark, 3.5));
    QPainterPath path;
    path.moveTo(7, 14.5);
    path.lineTo(12, 19.5);
    path.lineTo(21, 9);
    p.drawPath(path);
    return image;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    using Painter = std::function<QImage(const Look&)>;
    const QList<QPair<QString, Painter>> images = {
        {QStringLiteral("close.png"), closeGlyph},
        {QStringLiteral("minimize.png"), minimizeGlyph},
        {QStringLiteral("maximize.png"), maximizeGlyph},
        {QStringLiteral("restore.png"), restoreGlyph},
        {QStringLiteral("criticalicon.png"), criticalIcon},
        {QStringLiteral("infoicon.png"), infoIcon},
        {QStringLiteral("questionicon.png"), questionIcon},
        {QStringLiteral("warningicon.png"), warningIcon},
        {QStringLiteral("arrow-down.png"), [](const Look& look) { return chevron(look, true); }},
        {QStringLiteral("arrow-up.png"), [](const Look& look) { return chevron(look, false); }},
        {QStringLiteral("check.png"), checkMark},
    };
    const QList<QPair<QString, Look>> variants = {{QStringLiteral("light"), LightLook},
                                                  {QStringLiteral("dark"), DarkLook}};
    for (const auto& variant : variants) {
        const QDir folder(QDir(QString::fromLocal8Bit(argv[1])).filePath(variant.first));
        if (!QDir().mkpath(folder.path())) {
            std::fprintf(stderr, "cannot create %s\n", qPrintable(folder.path()));
            return 1;
        }
        for (const auto& entry : images) {
            const QString path = folder.filePath(entry.first);
            if (!entry.second(variant.second).save(path, "PNG")) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
                return 1;
            }
        }
    }
    return 0;
}
