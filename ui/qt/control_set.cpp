#include "ui/qt/control_set.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTreeWidget>

#include <algorithm>
#include <limits>

#include "platform/qt/qt_text.h"
#include "ui/qt/control_font.h"
#include "ui/qt/phone_control_widget.h"

namespace kw::qt {

namespace {

QLabel* MakeLabel(const ui::ControlLayout& layout, QWidget* parent) {
    auto* label = new QLabel(ToQString(layout.caption), parent);
    // Labels show text, never markup: the caller line carries forged numbers.
    label->setTextFormat(Qt::PlainText);
    if (layout.centred) {
        label->setAlignment(Qt::AlignCenter);
    } else {
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setWordWrap(true);
    }
    return label;
}

QWidget* MakeWidget(const ui::ControlLayout& layout, QWidget* parent) {
    switch (layout.kind) {
        case ui::ControlKind::Label:
        case ui::ControlKind::Picture:
            return MakeLabel(layout, parent);
        case ui::ControlKind::Button:
            return new QPushButton(ToQString(layout.caption), parent);
        case ui::ControlKind::TextBox: {
            auto* box = new QLineEdit(parent);
            box->setMaxLength(std::numeric_limits<int>::max());
            if (layout.password) {
                box->setEchoMode(QLineEdit::Password);
            }
            return box;
        }
        case ui::ControlKind::OptionButton:
            return new QRadioButton(ToQString(layout.caption), parent);
        case ui::ControlKind::CheckBox:
            return new QCheckBox(ToQString(layout.caption), parent);
        case ui::ControlKind::Frame:
            return new QGroupBox(ToQString(layout.caption), parent);
        case ui::ControlKind::TabControl:
            return new QTabWidget(parent);
        case ui::ControlKind::PhoneControl:
            return new PhoneControlWidget(parent);
        case ui::ControlKind::ListBox:
            return new QListWidget(parent);
        case ui::ControlKind::ListView: {
            auto* list = new QTreeWidget(parent);
            list->setRootIsDecorated(false);
            list->setSelectionMode(QAbstractItemView::ExtendedSelection);
            return list;
        }
    }
    return new QWidget(parent);
}

}  // namespace

ControlSet::ControlSet(QWidget& window, std::span<const ui::ControlLayout> layouts,
                       const TwipsScale& scale)
    : layouts_(layouts) {
    for (const ui::ControlLayout& layout : layouts) {
        QWidget* parent = layout.container.empty() ? &window : &widget(layout.container);
        QWidget* made = MakeWidget(layout, parent);
        made->setObjectName(ToQString(layout.name));
        made->setGeometry(scale.rect(layout.rect));
        made->setFont(ControlFont(layout.font));
        made->setEnabled(layout.enabled);
        if (!layout.tooltip.empty()) {
            made->setToolTip(ToQString(layout.tooltip));
        }
        if (auto* frame = dynamic_cast<QLabel*>(made); frame != nullptr && layout.border) {
            frame->setFrameStyle(QFrame::Box | QFrame::Plain);
            frame->setLineWidth(1);
        }
        if (layout.tabPage >= 0) {
            pageControls_.emplace_back(made, layout.tabPage);
        }
        widgets_.emplace(layout.name, made);
    }
}

QWidget& ControlSet::widget(std::string_view name) const {
    return *widgets_.at(name);
}

void ControlSet::applyTabOrder() const {
    std::vector<const ui::ControlLayout*> ordered;
    for (const ui::ControlLayout& layout : layouts_) {
        if (layout.tabIndex >= 0 && widget(layout.name).focusPolicy() != Qt::NoFocus) {
            ordered.push_back(&layout);
        }
    }
    std::sort(ordered.begin(), ordered.end(),
              [](const ui::ControlLayout* a, const ui::ControlLayout* b) {
                  return a->tabIndex < b->tabIndex;
              });
    for (std::size_t i = 1; i < ordered.size(); ++i) {
        QWidget::setTabOrder(&widget(ordered[i - 1]->name), &widget(ordered[i]->name));
    }
}

}  // namespace kw::qt
