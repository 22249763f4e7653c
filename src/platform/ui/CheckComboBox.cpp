#include "platform/ui/CheckComboBox.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStandardItemModel>
#include <QStyleOptionComboBox>
#include <QStylePainter>

namespace lumetra {

CheckComboBox::CheckComboBox(QWidget* parent)
    : QComboBox(parent)
    , model_(new QStandardItemModel(this))
{
    setModel(model_);
    view()->viewport()->installEventFilter(this);
    view()->installEventFilter(this);
    connect(model_, &QStandardItemModel::itemChanged, this, [this] {
        update();
        emit checkedChanged();
    });
}

void CheckComboBox::addCheckItem(const QString& text)
{
    auto* item = new QStandardItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setData(Qt::Unchecked, Qt::CheckStateRole);
    model_->appendRow(item);
    updateGeometry();
    update();
}

void CheckComboBox::clearItems()
{
    model_->clear();
    update();
}

bool CheckComboBox::isChecked(int index) const
{
    const QStandardItem* item = model_->item(index);
    return item && item->checkState() == Qt::Checked;
}

void CheckComboBox::setChecked(int index, bool checked)
{
    if (QStandardItem* item = model_->item(index))
        item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

int CheckComboBox::checkedCount() const
{
    int count = 0;
    for (int i = 0; i < model_->rowCount(); ++i)
        count += isChecked(i);
    return count;
}

QString CheckComboBox::displayText() const
{
    QStringList ticked;
    for (int i = 0; i < model_->rowCount(); ++i)
        if (isChecked(i))
            ticked << model_->item(i)->text();
    return ticked.isEmpty() ? emptyText_ : ticked.join(QLatin1Char(';'));
}

void CheckComboBox::setEmptyText(const QString& text)
{
    emptyText_ = text;
    updateGeometry();
    update();
}

void CheckComboBox::showPopup()
{
    open_ = true;
    QComboBox::showPopup();
}

void CheckComboBox::hidePopup()
{
    open_ = false;
    QComboBox::hidePopup();
}

bool CheckComboBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == view()->viewport()) {
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            const QModelIndex index = view()->indexAt(mouse->position().toPoint());
            pressedRow_ = index.isValid() ? index.row() : -1;
            if (index.isValid())
                view()->setCurrentIndex(index);
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            const QModelIndex index = view()->indexAt(mouse->position().toPoint());
            // Only a click that began inside the list counts: the release of the click that
            // opened it lands on whatever item opened under the pointer.
            if (index.isValid() && index.row() == pressedRow_)
                setChecked(index.row(), !isChecked(index.row()));
            pressedRow_ = -1;
            return true;   // keep the list open
        }
    } else if (watched == view() && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Space) {
            const QModelIndex index = view()->currentIndex();
            if (index.isValid())
                setChecked(index.row(), !isChecked(index.row()));
            return true;
        }
    }
    return QComboBox::eventFilter(watched, event);
}

QSize CheckComboBox::sizeHint() const
{
    QSize size = QComboBox::sizeHint();
    QStyleOptionComboBox option;
    initStyleOption(&option);
    int ancho = fontMetrics().horizontalAdvance(emptyText_);
    for (int i = 0; i < model_->rowCount(); ++i)
        ancho = std::max(ancho, fontMetrics().horizontalAdvance(model_->item(i)->text()));
    const QSize contenido = style()->sizeFromContents(QStyle::CT_ComboBox, &option, QSize(ancho + 8, size.height()), this);
    return {std::max(size.width(), contenido.width()), size.height()};
}

QSize CheckComboBox::minimumSizeHint() const
{
    return {sizeHint().width(), QComboBox::minimumSizeHint().height()};
}

void CheckComboBox::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText = displayText();
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

} // namespace lumetra
