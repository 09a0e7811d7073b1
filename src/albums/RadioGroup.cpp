#include "albums/RadioGroup.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

RadioGroup::RadioGroup(const QString& title, const QStringList& items, QWidget* parent)
    : QGroupBox(title, parent), m_group(new QButtonGroup(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 4);
    layout->setSpacing(2);
    for (int i = 0; i < items.size(); ++i) {
        auto* radio = new QRadioButton(items[i], this);
        m_group->addButton(radio, i);
        layout->addWidget(radio);
    }
    connect(m_group, &QButtonGroup::idClicked, this, &RadioGroup::clicked);
}

int RadioGroup::count() const { return static_cast<int>(m_group->buttons().size()); }

int RadioGroup::itemIndex() const { return m_group->checkedId(); }

void RadioGroup::setItemIndex(int index) {
    if (QAbstractButton* b = m_group->button(index)) b->setChecked(true);
}

QString RadioGroup::itemText(int index) const {
    const QAbstractButton* b = m_group->button(index);
    return b ? b->text() : QString();
}

void RadioGroup::setItemText(int index, const QString& text) {
    if (QAbstractButton* b = m_group->button(index)) b->setText(text);
}

QRadioButton* RadioGroup::button(int index) const {
    return qobject_cast<QRadioButton*>(m_group->button(index));
}
