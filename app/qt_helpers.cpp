#include "app/qt_helpers.h"

#include <QVariant>
#include <QWidget>

QWidget* ControlById(const QWidget* parent, int id) {
    for (QWidget* child : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const QVariant tag = child->property(CONTROL_ID_PROPERTY);
        if (tag.isValid() && tag.toInt() == id) {
            return child;
        }
    }
    return nullptr;
}
