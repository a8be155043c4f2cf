// Internal, not part of the API.
#ifndef ZBFOOTERBAR_P_H
#define ZBFOOTERBAR_P_H

#include <QPointer>
#include <QWidget>

class ZBFooterBar;

class ZBFooterBarPrivate
{
public:
    explicit ZBFooterBarPrivate(ZBFooterBar* q);

    void Init();

    ZBFooterBar* const q;
    QPointer<QWidget> content; // "ZBFOOTERBARCONTENT"; null once the application deleted it
};

#endif // ZBFOOTERBAR_P_H
