// NavBar: the navigation bar of a window: titled groups of clickable items (an icon and a
// caption). Items carry the object name they are given, so code and tests find them.
#pragma once

#include <QIcon>
#include <QString>
#include <QWidget>
#include <functional>

class QToolButton;
class QVBoxLayout;

namespace lumetra {

class NavBar : public QWidget {
    Q_OBJECT
public:
    explicit NavBar(QWidget* parent = nullptr);

    // Adds a group (its header is a label named `name`); returns its index.
    int addGroup(const QString& name, const QString& caption);
    QToolButton* addItem(int group, const QString& name, const QString& caption, const QIcon& icon,
                         std::function<void()> onClick);
    QList<QToolButton*> items(int group) const;
    void clearGroup(int group);

private:
    struct Group {
        QVBoxLayout* layout;
        QList<QToolButton*> items;
    };
    QVBoxLayout* layout_;
    QList<Group> groups_;
};

} // namespace lumetra
