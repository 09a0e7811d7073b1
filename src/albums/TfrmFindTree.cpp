#include "albums/TfrmFindTree.h"

#include <exception>
#include <vector>

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

#include "albums/RadioGroup.h"
#include "albums/TTreeMaker.h"
#include "albums/TreeError.h"
#include "albums/TreeHooks.h"
#include "ui/Dialogs.h"
#include "ui/FormWidgets.h"

namespace {

// Letters A to Z only; every other character, Chinese included, stays as it is.
QString asciiLower(QString text) {
    for (QChar& c : text)
        if (c >= u'A' && c <= u'Z') c = QChar(c.unicode() + (u'a' - u'A'));
    return text;
}

bool allowsSeveral(const QTreeWidget* tree) {
    const auto mode = tree->selectionMode();
    return mode == QAbstractItemView::MultiSelection ||
           mode == QAbstractItemView::ExtendedSelection ||
           mode == QAbstractItemView::ContiguousSelection;
}

}  // namespace

TfrmFindTree::TfrmFindTree(QObject* owner)
    : QDialog(qobject_cast<QWidget*>(owner)), m_owner(owner) {
    setObjectName(QStringLiteral("frmFindTree"));
    setWindowTitle(QStringLiteral("查找"));
    setModal(false);
    setFixedSize(448, 271);
    buildControls();

    // Closing frees the window, by the close box, Esc or a button, shown or not; a window
    // that is closing is never handed out again.
    setAttribute(Qt::WA_DeleteOnClose);
    connect(this, &QDialog::finished, this, [this] {
        m_closing = true;
        deleteLater();
    });
    // An owner that is not a widget cannot be the window's parent; the window goes with it.
    if (owner && !parentWidget()) connect(owner, &QObject::destroyed, this, &QObject::deleteLater);

    // The window sees key presses before its controls.
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
}

void TfrmFindTree::buildControls() {
    auto* labelItem = new QLabel(QStringLiteral("查找项"), this);
    cboFindItem = new QComboBox(this);
    cboFindItem->setObjectName(QStringLiteral("cboFindItem"));
    cboFindItem->addItems({QStringLiteral("相册名"), QStringLiteral("相册编号")});
    cboFindItem->setCurrentIndex(0);
    labelItem->setBuddy(cboFindItem);

    auto* labelValue = new QLabel(QStringLiteral("查找值"), this);
    edtFindValue = ui::lineEdit(this, "edtFindValue");
    edtFindValue->clear();
    labelValue->setBuddy(edtFindValue);

    auto* options = new QGroupBox(QStringLiteral("选项"), this);
    options->setObjectName(QStringLiteral("GroupBox1"));
    chkIgnoreCase = ui::checkBox(options, QStringLiteral("忽略大小写"), "chkIgnoreCase");
    chkIgnoreCase->setChecked(false);
    chkLikeFind = ui::checkBox(options, QStringLiteral("模糊查找"), "chkLikeFind");
    chkLikeFind->setChecked(true);
    auto* optionsLayout = new QVBoxLayout(options);
    optionsLayout->setContentsMargins(8, 4, 8, 4);
    optionsLayout->setSpacing(2);
    optionsLayout->addWidget(chkIgnoreCase);
    optionsLayout->addWidget(chkLikeFind);

    rgFindWay = new RadioGroup(QStringLiteral("查找方向"),
                               {QStringLiteral("向后查找"), QStringLiteral("向前查找")}, this);
    rgFindWay->setObjectName(QStringLiteral("rgFindWay"));
    rgFindWay->setItemIndex(0);
    rgFindArea = new RadioGroup(QStringLiteral("查找范围"),
                                {QStringLiteral("所有节点"), QStringLiteral("选择的节点")}, this);
    rgFindArea->setObjectName(QStringLiteral("rgFindArea"));
    rgFindArea->setItemIndex(0);
    rgFindStart = new RadioGroup(
        QStringLiteral("查找起点"),
        {QStringLiteral("从当前节点开始查找"), QStringLiteral("从第一个节点开始查找")}, this);
    rgFindStart->setObjectName(QStringLiteral("rgFindStart"));
    rgFindStart->setItemIndex(0);

    btnFindNext = ui::button(this, QStringLiteral("下一个(&N)"), "btnFindNext");
    btnFindNext->setAutoDefault(false);
    btnFind = ui::button(this, QStringLiteral("确定(&O)"), "btnFind");
    btnFind->setDefault(true);
    btnCancel = ui::button(this, QStringLiteral("取消(&C)"), "btnCancel");
    btnCancel->setAutoDefault(false);

    auto* fields = new QGridLayout;
    fields->addWidget(labelItem, 0, 0);
    fields->addWidget(cboFindItem, 0, 1);
    fields->addWidget(labelValue, 1, 0);
    fields->addWidget(edtFindValue, 1, 1);
    fields->setColumnStretch(1, 1);

    auto* groups = new QGridLayout;
    groups->addWidget(options, 0, 0);
    groups->addWidget(rgFindWay, 0, 1);
    groups->addWidget(rgFindArea, 1, 0);
    groups->addWidget(rgFindStart, 1, 1);

    auto* left = new QVBoxLayout;
    left->addLayout(fields);
    left->addLayout(groups);
    left->addStretch();

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(btnFindNext);
    buttons->addWidget(btnFind);
    buttons->addWidget(btnCancel);
    buttons->addStretch();

    auto* main = new QHBoxLayout(this);
    main->addLayout(left, 1);
    main->addLayout(buttons);

    connect(btnFindNext, &QPushButton::clicked, this,
            [this] { runReported(&TfrmFindTree::btnFindNextClick); });
    connect(btnFind, &QPushButton::clicked, this,
            [this] { runReported(&TfrmFindTree::btnFindClick); });
    connect(btnCancel, &QPushButton::clicked, this, &TfrmFindTree::btnCancelClick);
    connect(rgFindWay, &RadioGroup::clicked, this, &TfrmFindTree::rgFindWayClick);
}

TfrmFindTree* TfrmFindTree::openFor(QObject* owner) {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* found = qobject_cast<TfrmFindTree*>(window);
        if (found && !found->m_closing && found->m_owner == owner) return found;
    }
    return nullptr;
}

QObject* TfrmFindTree::findOwner() const { return m_owner; }

QTreeWidget* TfrmFindTree::treeView() const { return m_tree; }

TTreeMaker* TfrmFindTree::treeMaker() const { return m_maker; }

void TfrmFindTree::SetTreeView(QTreeWidget* tree) {
    m_tree = tree;
    const bool several = tree && allowsSeveral(tree);
    rgFindArea->setEnabled(several);
    if (!several) rgFindArea->setItemIndex(0);
    btnFindNext->setEnabled(tree != nullptr);
    btnFind->setEnabled(tree != nullptr);
}

void TfrmFindTree::SetTreeMaker(TTreeMaker* maker) {
    m_maker = maker;
    if (maker) cboFindItem->setEnabled(true);
    SetTreeView(maker ? maker->treeView() : nullptr);
}

void TfrmFindTree::FormShow() {
    // Ids can be searched only through a builder.
    if (!m_maker) {
        cboFindItem->setCurrentIndex(0);
        cboFindItem->setEnabled(false);
    }
    if (!m_tree) {
        SetTreeView(m_maker ? m_maker->treeView() : nullptr);
    }
}

void TfrmFindTree::showEvent(QShowEvent* event) {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    FormShow();
    QDialog::showEvent(event);
}

void TfrmFindTree::closeEvent(QCloseEvent* event) {
    QDialog::closeEvent(event);
    if (event->isAccepted()) m_closing = true;
}

bool TfrmFindTree::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && FormKeyDown(static_cast<QKeyEvent*>(event)))
        return true;
    return QDialog::eventFilter(watched, event);
}

bool TfrmFindTree::FormKeyDown(QKeyEvent* event) {
    if (event->key() != Qt::Key_F3 || !btnFindNext->isEnabled()) return false;
    runReported(&TfrmFindTree::btnFindNextClick);
    return true;
}

void TfrmFindTree::rgFindWayClick() {
    if (rgFindWay->itemIndex() == 1) {
        btnFindNext->setText(QStringLiteral("上一个(&N)"));
        rgFindStart->setItemText(1, QStringLiteral("从最后一个节点开始查找"));
    } else {
        btnFindNext->setText(QStringLiteral("下一个(&N)"));
        rgFindStart->setItemText(1, QStringLiteral("从第一个节点开始查找"));
    }
}

QString TfrmFindTree::nodeText(const QTreeWidgetItem* node) const {
    QString text;
    if (cboFindItem->currentIndex() == 1 && m_maker)
        m_maker->GetNodeId(node, text);
    else
        text = node->text(0);
    return chkIgnoreCase->isChecked() ? asciiLower(text) : text;
}

QTreeWidgetItem* TfrmFindTree::FindNode() {
    QTreeWidget* tree = m_tree;
    if (!tree) return nullptr;
    std::vector<QTreeWidgetItem*> nodes;
    for (QTreeWidgetItemIterator it(tree); *it; ++it) nodes.push_back(*it);
    if (nodes.empty()) return nullptr;

    const bool forward = rgFindWay->itemIndex() != 1;
    const int last = static_cast<int>(nodes.size()) - 1;
    int from = 0;
    int to = last;
    if (rgFindStart->itemIndex() == 1) {
        rgFindStart->setItemIndex(0);  // one search only; the next goes on from the result
        from = forward ? 0 : last;
        to = forward ? last : 0;
    } else if (QTreeWidgetItem* selected = albums::selectedNode(tree)) {
        int index = 0;
        while (index <= last && nodes[static_cast<size_t>(index)] != selected) ++index;
        from = forward ? index + 1 : index - 1;
        to = forward ? last : 0;
    }
    // With no selected node the range stays first..last in either direction, so a backward
    // search then looks at a single-node tree only.

    const QString wanted =
        chkIgnoreCase->isChecked() ? asciiLower(edtFindValue->text()) : edtFindValue->text();
    const bool fuzzy = chkLikeFind->isChecked();
    const bool selectedOnly = rgFindArea->itemIndex() == 1;
    const auto matches = [&](const QTreeWidgetItem* node) {
        const QString text = nodeText(node);
        return fuzzy ? text.contains(wanted) : text == wanted;
    };

    if (forward) {
        for (int i = from; i <= to; ++i) {
            QTreeWidgetItem* node = nodes[static_cast<size_t>(i)];
            if ((!selectedOnly || node->isSelected()) && matches(node)) return node;
        }
    } else {
        for (int i = from; i >= to; --i) {
            QTreeWidgetItem* node = nodes[static_cast<size_t>(i)];
            if (matches(node)) return node;
        }
    }
    return nullptr;
}

void TfrmFindTree::btnFindNextClick() {
    QTreeWidgetItem* node = FindNode();
    if (!node) return;
    QTreeWidget* tree = m_tree;
    const albums::TreeChangingHandler changing = albums::treeChangingHandler(tree);
    const albums::TreeChangedHandler changed = albums::treeChangedHandler(tree);

    // The tree's own notifications stay off while the node is selected, so that the owner
    // hears of the change once, from the call below.
    const QSignalBlocker blocker(tree);
    if (changing && !changing(tree, node)) {
        ui::dialogs::message(this, QStringLiteral("系统提示"),
                             QStringLiteral("找到了一个匹配的节点,但该树不允许选中该节点"),
                             QMessageBox::Warning, QMessageBox::Ok);
        return;
    }
    albums::selectTreeNode(tree, node);
    if (changed) changed(tree, node);
}

void TfrmFindTree::btnFindClick() {
    btnFindNextClick();
    close();
}

void TfrmFindTree::btnCancelClick() { close(); }

void TfrmFindTree::runReported(void (TfrmFindTree::*action)()) {
    try {
        (this->*action)();
    } catch (const albums::TreeError& e) {
        ui::dialogs::message(this, QApplication::applicationDisplayName(), e.message(),
                             QMessageBox::Critical, QMessageBox::Ok);
    } catch (const std::exception& e) {
        ui::dialogs::message(this, QApplication::applicationDisplayName(),
                             QString::fromUtf8(e.what()), QMessageBox::Critical, QMessageBox::Ok);
    }
}
