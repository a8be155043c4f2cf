// Benchmark rows for the dialogs: the modal dialog, the message box and the text popup.
#include "bench.h"

#include <ZBDialog.h>
#include <ZBMessageBox.h>
#include <ZBPopupInfo.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <functional>

namespace {

// Notices the first paint of a window chosen by a predicate, whatever widget of it is painted.
class PaintWatch : public QObject
{
public:
    explicit PaintWatch(std::function<bool(QWidget*)> isTarget) : isTarget(std::move(isTarget))
    {
        qApp->installEventFilter(this);
    }
    ~PaintWatch() override { qApp->removeEventFilter(this); }

    // Processes events until the window has painted, for two seconds at most.
    void Wait()
    {
        QElapsedTimer limit;
        limit.start();
        while (!painted && limit.elapsed() < 2000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType() &&
            isTarget(static_cast<QWidget*>(watched)->window()))
            painted = true;
        return false;
    }

    bool painted = false;

private:
    std::function<bool(QWidget*)> isTarget;
};

// Builds a window with `make`, shows it and waits for its first paint; returns the nanoseconds spent.
template <typename Make>
qint64 showUntilPainted(Make make)
{
    QWidget* window = nullptr;
    PaintWatch watch([&window](QWidget* w) { return w == window; });
    const qint64 ns = Bench::Time([&] {
        window = make();
        window->show();
        watch.Wait();
    });
    delete window;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return ns;
}

void fillContent(QWidget* content)
{
    auto* grid = new QGridLayout(content);
    grid->addWidget(new QLabel(QStringLiteral("Enter the name of the new layer.")), 0, 0, 1, 2);
    grid->addWidget(new QPushButton(QStringLiteral("OK")), 1, 0);
    grid->addWidget(new QPushButton(QStringLiteral("Cancel")), 1, 1);
}

const QString boxText = QStringLiteral("Save the changes to \"Untitled\" before closing?");
const QString popupText = QStringLiteral("All 24 pictures were exported.");

void addRows()
{
    Bench::Row dialog;
    dialog.group = QStringLiteral("ZBDialog");
    dialog.name = QStringLiteral("construct with a label and two buttons + show + first paint");
    dialog.qtLabel = QStringLiteral("QDialog");
    dialog.target = 1.2;
    dialog.zb = [] {
        return showUntilPainted([] {
            auto* d = new ZBDialog;
            fillContent(d->Content());
            return d;
        });
    };
    dialog.qt = [] {
        return showUntilPainted([] {
            auto* d = new QDialog;
            fillContent(d);
            return d;
        });
    };
    Bench::AddRow(dialog);

    Bench::Row box;
    box.group = QStringLiteral("ZBMessageBox");
    box.name = QStringLiteral("construct with text and three buttons + show + first paint");
    box.qtLabel = QStringLiteral("QMessageBox");
    box.target = 1.5;
    box.zb = [] {
        return showUntilPainted([] {
            auto* b = new ZBMessageBox;
            b->SetIcon(ZBMessageBox::QuestionIcon);
            b->SetText(boxText);
            b->AddButtons(ZBMessageBox::Yes | ZBMessageBox::No | ZBMessageBox::Cancel);
            b->SetDefaultButton(ZBMessageBox::Yes);
            return b;
        });
    };
    box.qt = [] {
        return showUntilPainted([] {
            auto* b = new QMessageBox;
            b->setIcon(QMessageBox::Question);
            b->setText(boxText);
            b->setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            b->setDefaultButton(QMessageBox::Yes);
            return b;
        });
    };
    Bench::AddRow(box);

    Bench::Row popup;
    popup.group = QStringLiteral("ZBPopupInfo");
    popup.name = QStringLiteral("ShowTextPopup + first paint");
    popup.qtLabel = QStringLiteral("frameless QLabel");
    popup.target = 1.2;
    popup.zb = [] {
        PaintWatch watch([](QWidget* w) { return qobject_cast<ZBPopupInfo*>(w) != nullptr; });
        const qint64 ns = Bench::Time([&] {
            ZBPopupInfo::ShowTextPopup(popupText, QPixmap(), Qt::AlignCenter, nullptr, 3000, 0, 0);
            watch.Wait();
        });
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (qobject_cast<ZBPopupInfo*>(w))
                delete w;
        }
        return ns;
    };
    popup.qt = [] {
        return showUntilPainted([] {
            auto* label = new QLabel(popupText, nullptr, Qt::Window | Qt::FramelessWindowHint);
            label->setMargin(9);
            label->setAttribute(Qt::WA_TransparentForMouseEvents);
            label->setAttribute(Qt::WA_ShowWithoutActivating);
            return label;
        });
    };
    Bench::AddRow(popup);
}

} // namespace

ZB_BENCH_REGISTER(addRows);
