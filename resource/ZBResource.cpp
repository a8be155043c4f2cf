#include "ZBResource.h"

#include <QHash>

namespace {

QVariant defaultData(ZBResource::ConstRole role)
{
    switch (role) {
    case ZBResource::TitleBarMargins:
        // Room for the title text on the left, the window buttons close to the right edge.
        return ZBResource::MarginsRect(10, 5, 5, 3);
    case ZBResource::MainContentMargins:
        // The 5-pixel resize band on the left, right and bottom; the title bar covers the top.
        return ZBResource::MarginsRect(5, 0, 5, 5);
    }
    return QVariant();
}

QHash<int, QVariant>& overrides()
{
    static QHash<int, QVariant> values;
    return values;
}

} // namespace

QVariant ZBResource::GetData(ConstRole role)
{
    const auto& values = overrides();
    const auto it = values.constFind(role);
    return it != values.constEnd() ? it.value() : defaultData(role);
}

void ZBResource::SetData(ConstRole role, const QVariant& value)
{
    if (value.isValid())
        overrides().insert(role, value);
    else
        overrides().remove(role);
}

QRect ZBResource::MarginsRect(int left, int top, int right, int bottom)
{
    return QRect(QPoint(left, top), QPoint(right, bottom));
}
