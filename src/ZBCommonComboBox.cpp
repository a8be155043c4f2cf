#include "ZBCommonComboBox.h"

#include <QListView>

ZBCommonComboBox::ZBCommonComboBox(QWidget* parent) : QComboBox(parent)
{
    setView(new QListView()); // the combo box takes ownership
}

ZBCommonComboBox::~ZBCommonComboBox() = default;
