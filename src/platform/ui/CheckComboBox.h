// CheckComboBox: a drop-down list of items with check boxes. Its display text is the ticked
// items joined by ";" in list order, or the empty text when none is ticked. Clicking an item
// ticks or unticks it and leaves the list open.
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

signals:
    void checkedChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QStandardItemModel* model_;
    QString emptyText_;
    bool open_ = false;
};

} // namespace lumetra
