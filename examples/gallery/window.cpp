#include "window.h"

#include "gallery.h"

#include "ZBTheme.h"
#include "ZBTitleBar.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QScrollArea>
#include <QStackedWidget>
#include <QStyleFactory>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The gallery's icon: a small window in the theme's colours.
QIcon galleryIcon()
{
    QIcon icon;
    for (const int size : {16, 32, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        const qreal s = size / 32.0;
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x3d, 0x7e, 0xff));
        p.drawRoundedRect(QRectF(1 * s, 1 * s, 30 * s, 30 * s), 7 * s, 7 * s);
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(7 * s, 8 * s, 18 * s, 16 * s), 2.5 * s, 2.5 * s);
        p.setBrush(QColor(0x2b, 0x3a, 0x55));
        QPainterPath bar;
        bar.addRoundedRect(QRectF(7 * s, 8 * s, 18 * s, 5 * s), 2.5 * s, 2.5 * s);
        p.drawPath(bar);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QString readResource(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly | QIODevice::Text) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

void Gallery::InstallLook(QApplication& app)
{
    // The same look everywhere: Fusion, the theme in the variant of the palette, the gallery's rules.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    ZBTheme::Install(&app);
    ZBTheme::SetApplicationStyleSheet(readResource(QStringLiteral(":/gallery/gallery.qss")));
}

Gallery::Window::Window() : ZBWidget(nullptr)
{
    setObjectName(QStringLiteral("GalleryWindow"));
    // Each new button lands left of the earlier ones: this order reads minimize, maximize, close.
    AddRestoreButton();
    AddMaximizeButton();
    AddMinimizeButton();
    // The frame shows Restore only once the window has been maximised.
    RestoreButton()->hide();
    setWindowTitle(tr("ZebGuiCore Gallery"));
    setWindowIcon(galleryIcon());
    TitleBar()->SetIcon(galleryIcon());
    SetIntensifyTime(160);
    SetFadeTime(160);

    auto* layout = new QHBoxLayout(Content());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* side = new QWidget(Content());
    side->setObjectName(QStringLiteral("GallerySide"));
    side->setFixedWidth(230);
    auto* sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 10);
    m_list = new QListWidget(side);
    m_list->setObjectName(QStringLiteral("GalleryPageList"));
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setTextElideMode(Qt::ElideRight);
    m_list->setFrameShape(QFrame::NoFrame);
    sideLayout->addWidget(m_list, 1);

    // Light, dark or the system's: the theme follows the palette until told otherwise.
    auto* variantRow = new QHBoxLayout;
    variantRow->setContentsMargins(18, 0, 18, 0);
    auto* variantLabel = new QLabel(tr("Appearance:"), side);
    auto* variants = new QComboBox(side);
    variants->setObjectName(QStringLiteral("GalleryVariant"));
    variants->addItem(tr("System"), int(ZBTheme::System));
    variants->addItem(tr("Light"), int(ZBTheme::Light));
    variants->addItem(tr("Dark"), int(ZBTheme::Dark));
    variants->setCurrentIndex(variants->findData(int(ZBTheme::GetVariant())));
    variantLabel->setBuddy(variants);
    connect(variants, QOverload<int>::of(&QComboBox::currentIndexChanged), this, [variants](int index) {
        ZBTheme::SetVariant(ZBTheme::Variant(variants->itemData(index).toInt()));
    });
    variantRow->addWidget(variantLabel);
    variantRow->addWidget(variants, 1);
    sideLayout->addLayout(variantRow);

    m_stack = new QStackedWidget(Content());
    m_stack->setObjectName(QStringLiteral("GalleryPages"));
    layout->addWidget(side);
    layout->addWidget(m_stack, 1);

    for (const Gallery::Page& page : Gallery::Pages()) {
        m_list->addItem(page.title);
        m_stack->addWidget(WrapPage(page));
    }
    connect(m_list, &QListWidget::currentRowChanged, m_stack, &QStackedWidget::setCurrentIndex);
    if (m_list->count() > 0)
        m_list->setCurrentRow(0);
}

int Gallery::Window::PageCount() const
{
    return m_list->count();
}

QString Gallery::Window::PageTitle(int index) const
{
    return m_list->item(index)->text();
}

void Gallery::Window::ShowPage(int index)
{
    m_list->setCurrentRow(index);
}

// Each page sits under a heading in a scroll area, so that long pages stay usable.
QWidget* Gallery::Window::WrapPage(const Gallery::Page& page)
{
    auto* holder = new QWidget(m_stack);
    auto* layout = new QVBoxLayout(holder);
    layout->setContentsMargins(24, 18, 12, 0);
    layout->setSpacing(10);
    auto* heading = new QLabel(page.title, holder);
    heading->setObjectName(QStringLiteral("GalleryPageTitle"));
    layout->addWidget(heading);

    auto* scroll = new QScrollArea(holder);
    scroll->setObjectName(QStringLiteral("GalleryPageScroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    QWidget* content = page.make(scroll);
    if (!content)
        content = new QWidget(scroll);
    scroll->setWidget(content);
    layout->addWidget(scroll, 1);
    return holder;
}
