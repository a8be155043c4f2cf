// Internal, not part of the API.
#ifndef ZBCOMBOBOX_P_H
#define ZBCOMBOBOX_P_H

#include <QPointer>

class ZBComboBox;
class ZBPopupWidget;

class ZBComboBoxPrivate
{
public:
    explicit ZBComboBoxPrivate(ZBComboBox* q);

    void Init();
    void OpenPopup();
    void ClosePopup();

    ZBComboBox* const q;
    QPointer<ZBPopupWidget> popup; // child window of the combo box; null only in the destructor
};

#endif // ZBCOMBOBOX_P_H
