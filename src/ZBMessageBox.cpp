#include "ZBMessageBox.h"
#include "ZBMessageBox_p.h"

#include "ZBAccessible_p.h"
#include "ZBDeferredDelete_p.h"
#include "ZBPixmapFollower_p.h"
#include "ZBQtCompat_p.h"
#include "ZBWidgetTree_p.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSignalMapper>
#include <QSpacerItem>
#include <QStringList>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextFrame>
#include <QToolButton>

#include <iterator>

namespace {

constexpr int IconSize = 48;

struct ButtonKind
{
    int value;
    const char* text;
};

// In column order: the kind at index i takes column i + 1 of the button row (column 0 is the spacer).
const ButtonKind buttonKinds[] = {
    {ZBMessageBox::NoButton, ""},
    {ZBMessageBox::Ok, QT_TRANSLATE_NOOP("ZBMessageBox", "OK")},
    {ZBMessageBox::Save, QT_TRANSLATE_NOOP("ZBMessageBox", "Save")},
    {ZBMessageBox::SaveAll, QT_TRANSLATE_NOOP("ZBMessageBox", "Save all")},
    {ZBMessageBox::Open, QT_TRANSLATE_NOOP("ZBMessageBox", "Open")},
    {ZBMessageBox::Yes, QT_TRANSLATE_NOOP("ZBMessageBox", "Yes")},
    {ZBMessageBox::YesToAll, QT_TRANSLATE_NOOP("ZBMessageBox", "Yes to all")},
    {ZBMessageBox::No, QT_TRANSLATE_NOOP("ZBMessageBox", "No")},
    {ZBMessageBox::NoToAll, QT_TRANSLATE_NOOP("ZBMessageBox", "No to all")},
    {ZBMessageBox::Abort, QT_TRANSLATE_NOOP("ZBMessageBox", "Abort")},
    {ZBMessageBox::Retry, QT_TRANSLATE_NOOP("ZBMessageBox", "Retry")},
    {ZBMessageBox::Ignore, QT_TRANSLATE_NOOP("ZBMessageBox", "Ignore")},
    {ZBMessageBox::Close, QT_TRANSLATE_NOOP("ZBMessageBox", "Close")},
    {ZBMessageBox::Cancel, QT_TRANSLATE_NOOP("ZBMessageBox", "Cancel")},
    {ZBMessageBox::Discard, QT_TRANSLATE_NOOP("ZBMessageBox", "Discard")},
    {ZBMessageBox::Help, QT_TRANSLATE_NOOP("ZBMessageBox", "Help")},
    {ZBMessageBox::Apply, QT_TRANSLATE_NOOP("ZBMessageBox", "Apply")},
    {ZBMessageBox::Reset, QT_TRANSLATE_NOOP("ZBMessageBox", "Reset")},
    {ZBMessageBox::RestoreDefaults, QT_TRANSLATE_NOOP("ZBMessageBox", "Restore defaults")},
};

// The standard images, indexed by ZBMessageBox::Icon, loaded by the first box that finds their files
// and shared by every box for the rest of the process: at 48 by 48, and as the files hold them, for
// screens of a higher density.
QImage standardImages[4];
QImage standardSources[4];

void loadStandardImages()
{
    struct Source
    {
        ZBMessageBox::Icon icon;
        const char* path;
    };
    static const Source sources[] = {
        {ZBMessageBox::CriticalIcon, "theme:criticalicon.png"},
        {ZBMessageBox::InformationIcon, "theme:infoicon.png"},
        {ZBMessageBox::WarningIcon, "theme:warningicon.png"},
        {ZBMessageBox::QuestionIcon, "theme:questionicon.png"},
    };
    for (const Source& source : sources) {
        QImage& image = standardImages[source.icon];
        if (!image.isNull())
            continue;
        const QImage loaded(QString::fromLatin1(source.path));
        if (!loaded.isNull()) {
            image = loaded.scaled(IconSize, IconSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
            standardSources[source.icon] = loaded;
        }
    }
}

// Standard image \a index as a 48 by 48 pixmap for the device pixel ratio \a ratio: scaled from the
// file's own pixels, where the 48-pixel image would be scaled up again and blur.
QPixmap standardPixmap(int index, qreal ratio)
{
    const QImage& source = standardSources[index];
    if (ratio <= 1.0 || source.isNull())
        return QPixmap::fromImage(standardImages[index]);
    const int physical = qRound(IconSize * ratio);
    QPixmap pixmap =
        QPixmap::fromImage(source.scaled(physical, physical, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

// A text browser as wide as its minimum width: the box's arithmetic sizes the text for that width,
// where QTextBrowser would ask for a fixed 256 pixels.
class TextView : public QTextBrowser
{
public:
    using QTextBrowser::QTextBrowser;

    QSize sizeHint() const override
    {
        QSize hint = QTextBrowser::sizeHint();
        if (minimumWidth() > 0)
            hint.setWidth(minimumWidth());
        return hint;
    }
};

// Runs a box with the standard image of \a icon, or with \a pixmap when one is given.
ZBMessageBox::StandardButton runBox(ZBMessageBox::Icon icon, QWidget* parent, const QString& title,
                                    const QString& text, ZBMessageBox::StandardButtons buttons,
                                    ZBMessageBox::StandardButton defaultButton,
                                    const QPixmap* pixmap = nullptr)
{
    // On the heap: the box's parent, the dialogs' top-level widget, may be destroyed while it runs.
    QPointer<ZBMessageBox> box = new ZBMessageBox(parent);
    // The standard images are loaded by the box's constructor.
    pixmap ? box->SetIcon(*pixmap) : box->SetIcon(icon);
    box->setWindowTitle(title);
    box->SetText(text);
    box->AddButtons(buttons);
    box->SetDefaultButton(defaultButton);
    const int result = box->Exec();
    delete box.data();
    return ZBMessageBox::StandardButton(result);
}

} // namespace

QSize ZBMessageBoxText::ViewSize(const QFont& font, const QString& plainText, const QRect& available)
{
    const QFontMetrics metrics(font);
    const QStringList parts = plainText.split(QLatin1Char('\n'));
    QList<int> widths;
    int maxW = 0;
    for (const QString& part : parts) {
        widths << metrics.horizontalAdvance(part);
        maxW = qMax(maxW, widths.last());
    }

    const int limitW = available.width() / 3;
    const int w = maxW > limitW ? limitW : maxW + TextRoom;

    // One line more than the wrapped lines of the parts, wrapped at the width without the room.
    const int ww = w - TextRoom;
    qint64 h = metrics.height(); // 64 bits: a huge text must not wrap round to a small height
    if (ww > 0) {
        qint64 lines = 1;
        for (qint64 partW : widths)
            lines += (partW + ww - 1) / ww;
        h = metrics.height() * lines + 1;
    }

    const int limitH = available.height() / 3;
    return QSize(w, int(qMin(h, qint64(limitH))));
}

int ZBMessageBoxText::LongestRun(const QString& plainText)
{
    int longest = 0;
    int run = 0;
    for (const QChar c : plainText) {
        run = c.isSpace() ? 0 : run + 1;
        longest = qMax(longest, run);
    }
    return longest;
}

ZBMessageBoxPrivate::ZBMessageBoxPrivate(ZBMessageBox* q) : q(q) {}

void ZBMessageBoxPrivate::Init()
{
    ZBAccessible::AnnounceOnShow(q);
    loadStandardImages();
    defaultButton = nullptr;

    QWidget* content = q->Content();
    auto* mainLayout = ZBWidgetTree::NewGridLayout(content);
    mainLayout->setContentsMargins(13, 20, 13, 10);
    mainLayout->setSpacing(6);

    buttonRow = new QGridLayout();
    mainLayout->addLayout(buttonRow, 100, 0, 1, -1);
    buttonRow->addItem(new QSpacerItem(0, 0, QSizePolicy::Expanding, QSizePolicy::Minimum), 0, 0, 1, 1);

    mapper = new QSignalMapper(q);
    QObject::connect(mapper, &QSignalMapper::mappedInt, q, &ZBDialog::Done);

    textView = new TextView(content);
    textView->setObjectName(QStringLiteral("ZBMESSBOXTEXTLABEL"));
    textView->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    textView->setOpenExternalLinks(true);
    textView->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Maximum);
    mainLayout->addWidget(textView, 0, 1, Qt::AlignCenter);

    iconLabel = new QLabel(content);
    iconLabel->setObjectName(QStringLiteral("ZBMESSBOXICONLABEL"));
    iconLabel->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    iconLabel->setMinimumSize(IconSize, IconSize);
    iconLabel->setMaximumSize(IconSize, IconSize);
    iconLabel->setAlignment(Qt::AlignCenter);
    iconLabel->hide();
    mainLayout->addWidget(iconLabel, 0, 0, Qt::Alignment());

    // The box always takes its layout's size.
    if (q->layout())
        q->layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void ZBMessageBoxPrivate::SizeTextView()
{
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    textView->ensurePolished(); // measure with the font the style sheet gives
    const QRect available = screen->availableGeometry();
    const QSize size = ZBMessageBoxText::ViewSize(textView->font(), textView->toPlainText(), available);
    textView->setMinimumWidth(size.width());
    textView->setMinimumHeight(size.height());
    textView->setMaximumHeight(size.height());
    FitMarginsIntoTextRoom();
    // A text held to a third of the screen's height scrolls; one that was measured to fit gets no
    // scroll bar, which would take its width from the text and wrap it where it was not measured.
    textView->setVerticalScrollBarPolicy(size.height() < available.height() / 3 ? Qt::ScrollBarAlwaysOff
                                                                                : Qt::ScrollBarAsNeeded);
}

void ZBMessageBoxPrivate::FitMarginsIntoTextRoom()
{
    // The width holds TextRoom pixels beside the text: the frame and the document's left and right
    // margins share them, leaving a pixel for what measuring in whole pixels rounds away, so that the
    // text wraps where it was measured. Above and below, the spare line of the height holds a small
    // margin.
    const int frame = textView->frameWidth();
    const int side = qMax(0, (ZBMessageBoxText::TextRoom - 1 - 2 * frame) / 2);
    QTextFrame* root = textView->document()->rootFrame();
    QTextFrameFormat format = root->frameFormat();
    format.setLeftMargin(side);
    format.setRightMargin(side);
    format.setTopMargin(qMin(side, 2));
    format.setBottomMargin(qMin(side, 2));
    root->setFrameFormat(format);
}

void ZBMessageBoxPrivate::MakeDefault(QPushButton* button)
{
    button->setDefault(true);
    defaultButton = button;
    // The answer the box proposes has the keyboard focus when the box is shown, so that Tab, Space
    // and the arrows start from it; on a shown box the focus moves to it at once.
    button->setFocus(Qt::OtherFocusReason);
}

int ZBMessageBoxPrivate::ColumnOf(int kind)
{
    for (int i = 0; i < int(std::size(buttonKinds)); ++i) {
        if (buttonKinds[i].value == kind)
            return i + 1;
    }
    return -1;
}

QString ZBMessageBoxPrivate::TextOf(int kind)
{
    const int column = ColumnOf(kind);
    return column < 0 ? QString() : ZBMessageBox::tr(buttonKinds[column - 1].text);
}

ZBMessageBox::ZBMessageBox(QWidget* parent, Qt::WindowFlags f)
    : ZBDialog(parent, f), d(new ZBMessageBoxPrivate(this))
{
    d->Init();
    IgnoreResize(true);
    if (QToolButton* close = CloseButton())
        close->setVisible(false);
}

ZBMessageBox::~ZBMessageBox() = default;

QPushButton* ZBMessageBox::AddButton(const QString& text, StandardButton kind)
{
    if (ZBMessageBoxPrivate::ColumnOf(kind) < 0)
        return nullptr;
    auto* button = new QPushButton(text, Content());
    AddButton(button, kind);
    return button;
}

QPushButton* ZBMessageBox::AddButton(StandardButton kind)
{
    return AddButton(ZBMessageBoxPrivate::TextOf(kind), kind);
}

void ZBMessageBox::AddButton(QPushButton* button, StandardButton kind)
{
    const int column = ZBMessageBoxPrivate::ColumnOf(kind);
    if (!button || column < 0 || ZBWidgetTree::Within(this, button))
        return;

    // A button added again moves to its new place instead of standing in two.
    if (d->buttonRow->indexOf(button) != -1)
        d->buttonRow->removeWidget(button);

    QLayoutItem* item = d->buttonRow->itemAtPosition(0, column);
    auto* old = item ? qobject_cast<QPushButton*>(item->widget()) : nullptr;
    if (old && old != button) {
        d->mapper->removeMappings(old);
        disconnect(old, &QAbstractButton::clicked, d->mapper, nullptr);
    }
    if (button->parentWidget() != Content())
        button->setParent(Content());
    button->setMinimumSize(160, 32);
    ZBDeferredDelete::ReplaceInCell(Content(), d->buttonRow, 0, column, old, button);
    d->mapper->setMapping(button, int(kind));
    connect(button, &QAbstractButton::clicked, d->mapper, qOverload<>(&QSignalMapper::map),
            Qt::UniqueConnection);
}

void ZBMessageBox::AddButtons(StandardButtons buttons)
{
    for (const ButtonKind& kind : buttonKinds) {
        if (kind.value != NoButton && buttons.testFlag(StandardButton(kind.value)))
            AddButton(StandardButton(kind.value));
    }
}

void ZBMessageBox::SetDefaultButton(QPushButton* button)
{
    if (d->defaultButton)
        d->defaultButton->setDefault(false);
    d->defaultButton = nullptr;
    if (button && d->buttonRow->indexOf(button) != -1)
        d->MakeDefault(button);
}

void ZBMessageBox::SetDefaultButton(StandardButton kind)
{
    if (d->defaultButton)
        d->defaultButton->setDefault(false);
    d->defaultButton = nullptr;
    const int column = ZBMessageBoxPrivate::ColumnOf(kind);
    QLayoutItem* item = column < 0 ? nullptr : d->buttonRow->itemAtPosition(0, column);
    if (auto* button = item ? qobject_cast<QPushButton*>(item->widget()) : nullptr)
        d->MakeDefault(button);
}

void ZBMessageBox::SetIcon(const QPixmap& pixmap)
{
    ZBPixmapFollower::Stop(d->iconLabel);
    d->iconLabel->setPixmap(pixmap);
    d->iconLabel->setVisible(!pixmap.isNull());
}

void ZBMessageBox::SetIcon(Icon icon)
{
    const int index = int(icon);
    if (index < CriticalIcon || index > QuestionIcon)
        return;
    // Built anew for the screen the box is shown on, and for each screen it moves to.
    const QPixmap pixmap =
        ZBPixmapFollower::Follow(d->iconLabel, [index](qreal ratio) { return standardPixmap(index, ratio); });
    d->iconLabel->setVisible(!pixmap.isNull());
}

void ZBMessageBox::SetText(const QString& text)
{
    // Qt wraps a run without white space in time quadratic in its length when it may break at word
    // boundaries; breaking anywhere is linear. The text goes in that way, and keeps word wrapping
    // unless it holds such a run, which would be broken anywhere in any case.
    d->textView->setWordWrapMode(QTextOption::WrapAnywhere);
    d->textView->setText(text);
    if (ZBMessageBoxText::LongestRun(d->textView->toPlainText()) <= ZBMessageBoxText::WordWrapRunLimit)
        d->textView->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    d->SizeTextView();
}

ZBMessageBox::StandardButton ZBMessageBox::Critical(QWidget* parent, const QString& title,
                                                    const QString& text, StandardButtons buttons,
                                                    StandardButton defaultButton)
{
    return runBox(CriticalIcon, parent, title, text, buttons, defaultButton);
}

ZBMessageBox::StandardButton ZBMessageBox::Information(QWidget* parent, const QString& title,
                                                       const QString& text, StandardButtons buttons,
                                                       StandardButton defaultButton)
{
    return runBox(InformationIcon, parent, title, text, buttons, defaultButton);
}

ZBMessageBox::StandardButton ZBMessageBox::Question(QWidget* parent, const QString& title,
                                                    const QString& text, StandardButtons buttons,
                                                    StandardButton defaultButton)
{
    return runBox(QuestionIcon, parent, title, text, buttons, defaultButton);
}

ZBMessageBox::StandardButton ZBMessageBox::Warning(QWidget* parent, const QString& title, const QString& text,
                                                   StandardButtons buttons, StandardButton defaultButton)
{
    return runBox(WarningIcon, parent, title, text, buttons, defaultButton);
}

void ZBMessageBox::About(QWidget* parent, const QString& title, const QString& text)
{
    // QWidget::windowIcon() falls back to the application's icon.
    const QIcon icon = parent ? parent->windowIcon() : QApplication::windowIcon();
    const qreal ratio = parent ? parent->devicePixelRatioF() : qApp->devicePixelRatio();
    const QPixmap pixmap = ZBCompat::IconPixmap(icon, IconSize, ratio);
    runBox(InformationIcon, parent, title, text, Ok, Ok, &pixmap);
}
