#include <ZBFooterBar.h>
#include <ZBResource.h>
#include <ZBTitleBar.h>

#include <QApplication>
#include <QToolButton>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    ZBTitleBar bar;
    bar.SetTitle(QStringLiteral("consumer"));
    QToolButton* button = bar.AddButton(Qt::AlignRight, QStringLiteral("Close"));
    ZBFooterBar footer(&bar);
    const bool ok =
        button && footer.Content() && ZBResource::GetData(ZBResource::MainContentMargins).toRect().isValid();
    return ok ? 0 : 1;
}
