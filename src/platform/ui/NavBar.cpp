#include "platform/ui/NavBar.h"

#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

namespace lumetra {

NavBar::NavBar(QWidget* parent)
    : QWidget(parent)
    , layout_(new QVBoxLayout(this))
{
    layout_->setContentsMargins(4, 4, 4, 4);
    layout_->setSpacing(2);
    layout_->addStretch(1);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Midlight);
}

int NavBar::addGroup(const QString& name, const QString& caption)
{
    auto* header = new QLabel(caption, this);
    header->setObjectName(name);
    QFont bold = header->font();
    bold.setBold(true);
    header->setFont(bold);
    header->setAutoFillBackground(true);
    header->setBackgroundRole(QPalette::Mid);
    header->setContentsMargins(6, 3, 6, 3);
    auto* items = new QVBoxLayout;
    items->setContentsMargins(6, 2, 2, 8);
    items->setSpacing(1);
    const int at = layout_->count() - 1;   // before the stretch
    layout_->insertWidget(at, header);
    layout_->insertLayout(at + 1, items);
    groups_.append(Group{items, {}});
    return groups_.size() - 1;
}

QToolButton* NavBar::addItem(int group, const QString& name, const QString& caption, const QIcon& icon,
                             std::function<void()> onClick)
{
    auto* button = new QToolButton(this);
    button->setObjectName(name);
    button->setText(caption);
    button->setIcon(icon);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(true);
    button->setCursor(Qt::PointingHandCursor);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(button, &QToolButton::clicked, this, [onClick = std::move(onClick)] {
        if (onClick)
            onClick();
    });
    groups_[group].layout->addWidget(button);
    groups_[group].items.append(button);
    return button;
}

QList<QToolButton*> NavBar::items(int group) const
{
    return groups_.value(group).items;
}

void NavBar::clearGroup(int group)
{
    for (QToolButton* button : groups_[group].items)
        delete button;
    groups_[group].items.clear();
}

} // namespace lumetra
