#include "hostapi/CtrlTeclado.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace lumetra {

namespace {

bool inGrid(const QWidget* w)
{
    // The focused widget is a grid, its viewport, or an editor inside one of its cells.
    for (int depth = 0; w && depth < 3; ++depth, w = w->parentWidget())
        if (qobject_cast<const QAbstractItemView*>(w) && !qobject_cast<const QComboBox*>(w->parentWidget()))
            return true;
    return false;
}

const QComboBox* comboOf(const QWidget* w)
{
    if (auto* combo = qobject_cast<const QComboBox*>(w))
        return combo;
    return w ? qobject_cast<const QComboBox*>(w->parentWidget()) : nullptr;
}

} // namespace

bool TCtrlTeclado::PermiteEnter(const QWidget* enfocado) const
{
    if (!enfocado)
        return true;
    if (inGrid(enfocado))
        return false;
    if (qobject_cast<const QTextEdit*>(enfocado) || qobject_cast<const QPlainTextEdit*>(enfocado)
        || qobject_cast<const QTextEdit*>(enfocado->parentWidget())
        || qobject_cast<const QPlainTextEdit*>(enfocado->parentWidget()))
        return false;
    if (const QComboBox* combo = comboOf(enfocado))
        if (combo->view() && combo->view()->isVisible())
            return false;
    return true;
}

} // namespace lumetra
