#include "ZBTheme.h"

#include "ZBQtCompat_p.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QHash>
#include <QPalette>
#include <QPixmapCache>
#include <QPointer>
#include <QRegularExpression>
#include <QStyleHints>

#include <cmath>

// Q_INIT_RESOURCE must be used outside any namespace. A shared build registers the resources when
// it is loaded; calling it again is harmless and keeps a static build working too.
static void initThemeResources()
{
    Q_INIT_RESOURCE(zebguicoretheme);
}

namespace {

QString imageFolder(ZBTheme::Variant variant)
{
    return variant == ZBTheme::Dark ? QStringLiteral(":/zebguicore/theme/images/dark")
                                    : QStringLiteral(":/zebguicore/theme/images/light");
}

// The style-sheet fragments joined in file-name order, their colour roles unfilled.
QString fragments()
{
    initThemeResources();
    const QDir folder(QStringLiteral(":/zebguicore/theme/qss"));
    QString sheet;
    const QStringList names = folder.entryList(QStringList{QStringLiteral("*.qss")}, QDir::Files, QDir::Name);
    for (const QString& name : names) {
        QFile file(folder.filePath(name));
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            continue;
        sheet += QString::fromUtf8(file.readAll());
        // A fragment without a final line break must not run into the next one.
        if (!sheet.endsWith(QLatin1Char('\n')))
            sheet += QLatin1Char('\n');
    }
    return sheet;
}

// The fixed colour roles of each variant. The roles made from the accent colour are added by
// colorRoles(); both lists together are every name the fragments may use.
struct FixedRole
{
    const char* name;
    QRgb light;
    QRgb dark;
};

const FixedRole fixedRoles[] = {
    {"window", 0xfff5f6f8, 0xff1e2228},         // window bodies, tool bars
    {"base", 0xffffffff, 0xff16191e},           // contents, lists, buttons
    {"panel", 0xffeceff3, 0xff262b33},          // footers and other bands beside the content
    {"workspace", 0xffe4e7ec, 0xff121418},      // the multi-document area behind its documents
    {"hover", 0xffe6eaf1, 0xff2b313a},          // a neutral fill under the mouse
    {"border", 0xffc9ced6, 0xff3a414c},         // outlines of controls and bands
    {"border-soft", 0xffdfe3ea, 0xff2f353e},    // quieter outlines and dividers
    {"text", 0xff1f2633, 0xffe6e9ef},           // text on every fill above
    {"text-muted", 0xff5b6578, 0xffa3acba},     // secondary text, still readable
    {"text-disabled", 0xff9aa3b0, 0xff68707c},  // text of disabled controls
    {"fill-disabled", 0xffeef0f3, 0xff22262d},  // fill of disabled buttons
    {"title-inactive", 0xff5f6b80, 0xff3a4250}, // title bar of a window that is not the active one
    {"title-text", 0xffffffff, 0xfff4f6f9},     // title, glyphs and text on title bars and notes
    {"title-hover", 0x24ffffff, 0x24ffffff},    // title-bar button under the mouse
    {"title-pressed", 0x14ffffff, 0x14ffffff},  // title-bar button pressed
    {"title-outline", 0x5affffff, 0x5affffff},  // outlined buttons on a title bar
    {"danger", 0xffe5484d, 0xffd93d42},         // Close under the mouse
    {"danger-pressed", 0xffc4373c, 0xffb3292e}, // Close pressed
};

// WCAG 2 relative luminance and contrast ratio.
qreal luminance(const QColor& color)
{
    const auto channel = [](qreal c) {
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(color.redF()) + 0.7152 * channel(color.greenF()) +
           0.0722 * channel(color.blueF());
}

qreal contrast(const QColor& a, const QColor& b)
{
    const qreal la = luminance(a);
    const qreal lb = luminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

// Makes \a color darker (against light backgrounds) or lighter (against dark ones), keeping its hue,
// until its contrast with each of \a backgrounds reaches \a ratio. Text drawn on the result, or the
// result drawn as text, then stays readable whatever accent the application chose.
QColor readableOn(QColor color, const QList<QColor>& backgrounds, qreal ratio)
{
    const bool darken = luminance(backgrounds.first()) > 0.18;
    for (int step = 0; step < 100; ++step) {
        qreal worst = 21.0;
        for (const QColor& background : backgrounds)
            worst = qMin(worst, contrast(color, background));
        if (worst >= ratio)
            break;
        const qreal lightness = color.lightnessF();
        color = QColor::fromHslF(color.hslHueF(), color.hslSaturationF(),
                                 darken ? qMax(0.0, lightness - 0.01) : qMin(1.0, lightness + 0.01));
    }
    return color;
}

QColor mix(const QColor& a, const QColor& b, qreal share)
{
    return QColor::fromRgbF(a.redF() * share + b.redF() * (1 - share),
                            a.greenF() * share + b.greenF() * (1 - share),
                            a.blueF() * share + b.blueF() * (1 - share));
}

// Computed roles aim a little above the 4.5:1 of WCAG AA, so that anti-aliased text keeps it.
constexpr qreal TextContrast = 5.0;

QHash<QString, QColor> colorRoles(bool dark, const QColor& accent)
{
    QHash<QString, QColor> roles;
    for (const FixedRole& role : fixedRoles)
        roles.insert(QLatin1String(role.name), QColor::fromRgba(dark ? role.dark : role.light));
    const QColor window = roles.value(QStringLiteral("window"));
    const QColor base = roles.value(QStringLiteral("base"));
    const QColor white(Qt::white);
    const QColor accentText = contrast(accent, white) >= contrast(accent, roles.value(QStringLiteral("text")))
                                  ? white
                                  : QColor(0x1f, 0x26, 0x33);
    const QColor fill = readableOn(accent, {accentText}, TextContrast);
    const QColor title = readableOn(dark ? accent.darker(160) : accent.darker(125), {white}, 5.5);
    const QColor link =
        readableOn(accent, {window, base, roles.value(QStringLiteral("panel"))}, TextContrast);
    roles.insert(QStringLiteral("accent"), accent);
    roles.insert(QStringLiteral("accent-fill"), fill);
    roles.insert(QStringLiteral("accent-fill-hover"), fill.darker(112));
    roles.insert(QStringLiteral("accent-fill-pressed"), fill.darker(130));
    roles.insert(QStringLiteral("accent-text"), accentText);
    roles.insert(QStringLiteral("accent-soft"), mix(accent, base, dark ? 0.28 : 0.12));
    roles.insert(QStringLiteral("link"), link);
    roles.insert(QStringLiteral("link-hover"), dark ? link.lighter(125) : link.darker(125));
    roles.insert(QStringLiteral("title"), title);
    roles.insert(QStringLiteral("note"), title);
    roles.insert(QStringLiteral("note-text"), roles.value(QStringLiteral("title-text")));
    return roles;
}

QString cssColor(const QColor& color)
{
    if (color.alpha() == 255)
        return color.name();
    return QStringLiteral("rgba(%1, %2, %3, %4)")
        .arg(color.red())
        .arg(color.green())
        .arg(color.blue())
        .arg(color.alpha());
}

// Whether a palette is dark: its window darker than its text.
bool isDark(const QPalette& palette)
{
    return palette.color(QPalette::Window).lightness() < palette.color(QPalette::WindowText).lightness();
}

// A palette of the variant's colours, for the widgets that the style sheet does not address.
QPalette variantPalette(const QHash<QString, QColor>& roles)
{
    const auto role = [&roles](const char* name) { return roles.value(QLatin1String(name)); };
    struct Entry
    {
        QPalette::ColorRole color;
        const char* role;
    };
    static const Entry entries[] = {
        {QPalette::Window, "window"},
        {QPalette::WindowText, "text"},
        {QPalette::Base, "base"},
        {QPalette::AlternateBase, "panel"},
        {QPalette::Text, "text"},
        {QPalette::Button, "panel"},
        {QPalette::ButtonText, "text"},
        {QPalette::Highlight, "accent-fill"},
        {QPalette::HighlightedText, "accent-text"},
        {QPalette::Link, "link"},
        {QPalette::LinkVisited, "link"},
        {QPalette::ToolTipBase, "note"},
        {QPalette::ToolTipText, "note-text"},
        {QPalette::PlaceholderText, "text-muted"},
        {QPalette::Mid, "border"},
    };
    QPalette palette(role("panel"), role("window")); // derives the bevel shades from these two
    for (const Entry& entry : entries)
        palette.setColor(entry.color, role(entry.role));
    palette.setColor(QPalette::BrightText, Qt::white);
    palette.setColor(QPalette::Dark, role("border").darker(130));
    for (const QPalette::ColorRole text : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, text, role("text-disabled"));
    palette.setColor(QPalette::Disabled, QPalette::Button, role("fill-disabled"));
    return palette;
}

// The theme's state: one per process, on the GUI thread. Its event filter watches the application
// for palette changes, and updates are queued, so that a burst of changes makes one update.
class ThemeState : public QObject
{
public:
    ZBTheme::Variant variant = ZBTheme::System;
    QColor accent;              // invalid: the palette's highlight
    QString applicationSheet;   // SetApplicationStyleSheet(), unfilled
    QString appliedSheet;       // the text the theme last put in front of the application's sheet
    QPointer<QApplication> app; // set by Install()
    bool ownPalette = false;    // the application's palette is the variant's, set by the theme
    QPalette systemPalette;     // the application's own palette while ownPalette is true
    bool applying = false;      // the theme itself is changing the palette
    bool updateQueued = false;

    QPalette SystemPalette() const { return ownPalette ? systemPalette : QGuiApplication::palette(); }

    ZBTheme::Variant Effective() const
    {
        if (variant != ZBTheme::System)
            return variant;
        return isDark(SystemPalette()) ? ZBTheme::Dark : ZBTheme::Light;
    }

    QColor Accent() const { return accent.isValid() ? accent : SystemPalette().color(QPalette::Highlight); }

    QHash<QString, QColor> Roles() const { return colorRoles(Effective() == ZBTheme::Dark, Accent()); }

    void RegisterImages()
    {
        const QString prefix = QStringLiteral("theme");
        const QString folder = imageFolder(Effective());
        const QString other = imageFolder(Effective() == ZBTheme::Dark ? ZBTheme::Light : ZBTheme::Dark);
        QStringList paths = QDir::searchPaths(prefix);
        if (paths.contains(folder) && !paths.contains(other))
            return;
        // The other variant's folder is replaced where it stands, after the application's own paths.
        const int index = paths.indexOf(other);
        paths.removeAll(other);
        paths.removeAll(folder);
        paths.insert(index < 0 ? paths.size() : qMin(index, int(paths.size())), folder);
        QDir::setSearchPaths(prefix, paths);
        // Pixmaps loaded from "theme:" paths are cached by name: the style sheet must load them anew.
        QPixmapCache::clear();
    }

    void Apply()
    {
        updateQueued = false;
        RegisterImages();
        if (!app)
            return;
        const QHash<QString, QColor> roles = Roles();
        ApplyPalette(roles);
        QString sheet = Fill(fragments(), roles);
        if (!applicationSheet.isEmpty())
            sheet += Fill(applicationSheet, roles) + QLatin1Char('\n');
        const QString current = app->styleSheet();
        QString next;
        if (!appliedSheet.isEmpty() && current.startsWith(appliedSheet))
            next = sheet + current.mid(appliedSheet.size());
        else if (current.contains(sheet))
            next = current;
        else
            next = current.isEmpty() ? sheet : sheet + QLatin1Char('\n') + current;
        appliedSheet = sheet;
        if (next != current)
            app->setStyleSheet(next);
    }

    void ApplyPalette(const QHash<QString, QColor>& roles)
    {
        if (variant == ZBTheme::System && !ownPalette)
            return;
        applying = true;
        if (variant == ZBTheme::System) {
            ownPalette = false;
            QApplication::setPalette(systemPalette);
        } else {
            if (!ownPalette)
                systemPalette = QGuiApplication::palette();
            ownPalette = true;
            const QPalette palette = variantPalette(roles);
            if (!(palette == QGuiApplication::palette()))
                QApplication::setPalette(palette);
        }
        applying = false;
    }

    static QString Fill(const QString& sheet, const QHash<QString, QColor>& roles)
    {
        static const QRegularExpression placeholder(QStringLiteral("@([a-z][a-z0-9-]*)"));
        QString filled;
        filled.reserve(sheet.size());
        int from = 0;
        QRegularExpressionMatchIterator matches = placeholder.globalMatch(sheet);
        while (matches.hasNext()) {
            const QRegularExpressionMatch match = matches.next();
            const auto found = roles.constFind(match.captured(1));
            if (found == roles.constEnd())
                continue; // not a role: left as written
            filled += sheet.mid(from, match.capturedStart() - from) + cssColor(found.value());
            from = match.capturedEnd();
        }
        return filled + sheet.mid(from);
    }

    void QueueUpdate()
    {
        if (updateQueued)
            return;
        updateQueued = true;
        QMetaObject::invokeMethod(
            this, [this] { Apply(); }, Qt::QueuedConnection);
    }

    void Watch(QApplication* application)
    {
        if (app == application)
            return;
        if (app)
            app->removeEventFilter(this);
        app = application;
        app->installEventFilter(this);
#if ZB_HAVE_COLOR_SCHEME_SIGNAL
        connect(QGuiApplication::styleHints(), &QStyleHints::colorSchemeChanged, this,
                [this] { QueueUpdate(); });
#endif
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        const bool paletteChange = type == QEvent::ApplicationPaletteChange ||
                                   (type == QEvent::PaletteChange && watched == app.data());
        // Qt announces a new application palette to every widget: the first announcement queues the update.
        if (paletteChange && !applying && !updateQueued) {
            // A palette the application set while the theme had its own becomes the one to go back to.
            if (ownPalette && !(QGuiApplication::palette() == variantPalette(Roles())))
                systemPalette = QGuiApplication::palette();
            QueueUpdate();
        }
        return QObject::eventFilter(watched, event);
    }
};

ThemeState& state()
{
    static ThemeState* theme = new ThemeState; // lives as long as the process, like the images
    return *theme;
}

} // namespace

void ZBTheme::Install(QApplication* app)
{
    initThemeResources();
    ThemeState& theme = state();
    if (!app)
        app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (app)
        theme.Watch(app);
    theme.Apply();
}

QString ZBTheme::StyleSheet()
{
    return ThemeState::Fill(fragments(), state().Roles());
}

void ZBTheme::SetVariant(Variant variant)
{
    if (variant != Light && variant != Dark && variant != System)
        return;
    ThemeState& theme = state();
    if (theme.variant == variant)
        return;
    theme.variant = variant;
    if (theme.app)
        theme.Apply();
}

ZBTheme::Variant ZBTheme::GetVariant()
{
    return state().variant;
}

ZBTheme::Variant ZBTheme::GetEffectiveVariant()
{
    return state().Effective();
}

void ZBTheme::SetAccentColor(const QColor& color)
{
    ThemeState& theme = state();
    theme.accent = color.isValid() ? QColor(color.rgb()) : QColor();
    if (theme.app)
        theme.Apply();
}

QColor ZBTheme::GetAccentColor()
{
    return state().Accent();
}

void ZBTheme::SetApplicationStyleSheet(const QString& sheet)
{
    ThemeState& theme = state();
    theme.applicationSheet = sheet;
    if (theme.app)
        theme.Apply();
}
