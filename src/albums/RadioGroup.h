#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

// A titled group of radio buttons addressed by index, one item checked at a time.
// clicked(index) is emitted when the user picks an item; setItemIndex() emits nothing.
class RadioGroup final : public QGroupBox {
    Q_OBJECT
public:
    RadioGroup(const QString& title, const QStringList& items, QWidget* parent = nullptr);

    int count() const;
    int itemIndex() const;
    void setItemIndex(int index);
    QString itemText(int index) const;
    void setItemText(int index, const QString& text);
    QRadioButton* button(int index) const;

signals:
    void clicked(int index);

private:
    QButtonGroup* m_group;
};
