#include "platform/ui/CheckComboBox.h"

#include <QAbstractItemView>
#include <QEvent>
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
    connect(model_, &QStandardItemModel::itemChanged, this, [this] {
        update();
        emit checkedChanged();
    });
}

void CheckComboBox::addCheckItem(const QString& text)
{
    auto* item = new QStandardItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    item->setData(Qt::Unchecked, Qt::CheckStateRole);
    model_->appendRow(item);
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
    if (watched == view()->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QModelIndex index = view()->indexAt(mouse->position().toPoint());
        if (index.isValid())
            setChecked(index.row(), !isChecked(index.row()));
        return true;   // keep the list open
    }
    return QComboBox::eventFilter(watched, event);
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
