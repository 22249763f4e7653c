// CheckComboBox: a drop-down list of items with check boxes. Its display text is the ticked
// items joined by ";" in list order, or the empty text when none is ticked. A click inside the
// open list ticks or unticks the item under it and leaves the list open (the click that opens
// the list ticks nothing); in the open list the arrows move the highlighted row and the space bar
// ticks or unticks it. The box is wide enough for the empty text and every item.
#pragma once

#include <QComboBox>
#include <QString>

class QStandardItemModel;

namespace lumetra {

class CheckComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit CheckComboBox(QWidget* parent = nullptr);

    void addCheckItem(const QString& text);
    void clearItems();
    bool isChecked(int index) const;
    void setChecked(int index, bool checked);
    int checkedCount() const;

    // What the closed box shows.
    QString displayText() const;
    QString emptyText() const { return emptyText_; }
    void setEmptyText(const QString& text);

    bool isListOpen() const { return open_; }
    void showPopup() override;
    void hidePopup() override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void checkedChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QStandardItemModel* model_;
    QString emptyText_;
    bool open_ = false;
    int pressedRow_ = -1;   // the row a press inside the open list landed on
};

} // namespace lumetra
