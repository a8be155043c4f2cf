#include "ZBComboBoxItemDelegate.h"

ZBComboBoxItemDelegate::ZBComboBoxItemDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

ZBComboBoxItemDelegate::~ZBComboBoxItemDelegate() = default;
