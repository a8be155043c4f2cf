#ifndef ZBCOMMONCOMBOBOX_H
#define ZBCOMMONCOMBOBOX_H

#include "zebguicore_export.h"

#include <QComboBox>

/*!
    A QComboBox whose drop-down list is a plain QListView rather than the view the style would
    choose, so that style sheets address an ordinary list. Everything else is QComboBox.
*/
class ZEBGUICORE_EXPORT ZBCommonComboBox : public QComboBox
{
    Q_OBJECT

public:
    /*!
        Builds an empty combo box, a child of \a parent (which may be null), with a QListView as its
        drop-down view.
    */
    explicit ZBCommonComboBox(QWidget* parent = nullptr);
    ~ZBCommonComboBox() override;
};

#endif // ZBCOMMONCOMBOBOX_H
