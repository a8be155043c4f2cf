// Internal, not part of the API.
#ifndef ZBFOOTERBAR_P_H
#define ZBFOOTERBAR_P_H

class QWidget;
class ZBFooterBar;

class ZBFooterBarPrivate
{
public:
    explicit ZBFooterBarPrivate(ZBFooterBar* q);

    void Init();

    ZBFooterBar* const q;
    QWidget* content = nullptr; // "ZBFOOTERBARCONTENT"
};

#endif // ZBFOOTERBAR_P_H
